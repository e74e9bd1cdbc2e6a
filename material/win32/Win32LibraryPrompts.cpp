#include "Win32LibraryPrompts.h"

#include <commdlg.h>

#include "WideText.h"
#include "data/Cp1252.h"

namespace material::win32 {

namespace {

constexpr wchar_t kBoxTitle[] = L"Korvex/M Material Browser";

std::wstring fromLibraryText(std::string_view text) {
    return widen(DecodeLibraryText(text));
}

UINT boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return MB_YESNO;
        case MessageButtons::YesNoCancel:
            return MB_YESNOCANCEL;
        case MessageButtons::RetryCancel:
            return MB_RETRYCANCEL;
        case MessageButtons::OkCancel:
            return MB_OKCANCEL;
        case MessageButtons::Ok:
            break;
    }
    return MB_OK;
}

UINT boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Critical:
            return MB_ICONHAND;
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::None:
            break;
    }
    return 0;
}

MessageAnswer answerOf(int button, MessageButtons buttons) {
    switch (button) {
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        case IDRETRY:
            return MessageAnswer::Retry;
        case IDOK:
            return MessageAnswer::Ok;
        case IDCANCEL:
            return MessageAnswer::Cancel;
        default:
            // Closed without a button: Cancel where there is one, else No or Ok.
            if (buttons == MessageButtons::YesNo) {
                return MessageAnswer::No;
            }
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

// The path in the ANSI code page, or nothing when that code page cannot spell it: a
// lossy conversion would name another file.
std::optional<std::string> ansiPath(const std::wstring& path) {
    BOOL lossy = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(),
                            static_cast<int>(path.size()), nullptr, 0, nullptr, &lossy);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), static_cast<int>(path.size()),
                        bytes.data(), size, nullptr, &lossy);
    if (lossy) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::wstring dialogFilter(std::string_view filter) {
    std::wstring pairs = fromLibraryText(filter);
    for (wchar_t& c : pairs) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    pairs.push_back(L'\0');
    pairs.push_back(L'\0');
    return pairs;
}

MessageAnswer Win32LibraryPrompts::Message(const std::string& text, MessageButtons buttons,
                                           MessageIcon icon) {
    const int button = MessageBoxW(owner_, fromLibraryText(text).c_str(), kBoxTitle,
                                   boxButtons(buttons) | boxIcon(icon));
    return answerOf(button, buttons);
}

std::optional<std::string> Win32LibraryPrompts::OpenFile(const FileDialogRequest& request) {
    return askForFile(request, false);
}

std::optional<std::string> Win32LibraryPrompts::SaveFile(const FileDialogRequest& request) {
    return askForFile(request, true);
}

std::optional<std::string> Win32LibraryPrompts::askForFile(const FileDialogRequest& request,
                                                           bool forSaving) {
    const std::wstring title = fromLibraryText(request.title);
    const std::wstring filter = dialogFilter(request.filter);
    std::wstring suffix = fromLibraryText(request.defaultSuffix);
    if (!suffix.empty() && suffix.front() == L'.') {
        suffix.erase(0, 1);
    }
    wchar_t path[MAX_PATH * 4] = {};

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(std::size(path));
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (request.fileMustExist) {
        dialog.Flags |= OFN_FILEMUSTEXIST;
    }
    if (request.hideReadOnly) {
        dialog.Flags |= OFN_HIDEREADONLY;
    }
    if (request.overwritePrompt) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
    }
    const BOOL chosen = forSaving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) {
        return std::nullopt;
    }
    return ansiPath(path);
}

}  // namespace material::win32
