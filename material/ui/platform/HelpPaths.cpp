#include "ui/platform/HelpPaths.h"

#include <cstddef>

namespace material {

namespace {

// The installed layout: <suite>\<9-character program folder> beside <suite>\help, so the
// separator and the folder name make up the last 10 characters.
constexpr std::size_t kProgramFolderNameLength = 10;

std::string helpFileSuffix(PathStyle style) {
    return style == PathStyle::Windows ? "\\help\\Material.chm" : "/help/Material.chm";
}

bool isSeparator(char c, PathStyle style) {
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

bool isUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset at which the last `count` UTF-8 characters of `text` begin, or npos when the
// text has fewer characters.
std::size_t startOfLastCharacters(std::string_view text, std::size_t count) {
    std::size_t pos = text.size();
    for (std::size_t found = 0; found < count; ++found) {
        if (pos == 0) {
            return std::string_view::npos;
        }
        --pos;
        while (pos > 0 && isUtf8Continuation(text[pos])) {
            --pos;
        }
    }
    return pos;
}

}  // namespace

std::string folderHelpPath(std::string_view programFolder, PathStyle style) {
    std::string_view folder = programFolder;
    // A drive or file-system root is reported with its separator ("C:\", "/").
    if (!folder.empty() && isSeparator(folder.back(), style)) {
        folder.remove_suffix(1);
    }
    const std::size_t cut = startOfLastCharacters(folder, kProgramFolderNameLength);
    if (cut != std::string_view::npos) {
        folder = folder.substr(0, cut);
    }
    return std::string(folder) + helpFileSuffix(style);
}

std::string installationHelpPath(std::string_view korvexmValue, PathStyle style) {
    return std::string(korvexmValue) + helpFileSuffix(style);
}

}  // namespace material
