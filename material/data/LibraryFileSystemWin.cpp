#include <windows.h>

#include <algorithm>
#include <string>

#include "LibraryFileSystem.h"

namespace material {
namespace {

std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) {
        out.pop_back();
    }
    return out.empty() ? "Error " + std::to_string(code) : out;
}

FileError LastError() {
    const DWORD code = GetLastError();
    FileErrorKind kind = FileErrorKind::Other;
    switch (code) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            kind = FileErrorKind::FileExists;
            break;
        case ERROR_TOO_MANY_OPEN_FILES:
            kind = FileErrorKind::TooManyFiles;
            break;
        case ERROR_DEV_NOT_EXIST:
        case ERROR_BAD_UNIT:
            kind = FileErrorKind::DeviceUnavailable;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            kind = FileErrorKind::PermissionDenied;
            break;
        case ERROR_NOT_READY:
            kind = FileErrorKind::DiskNotReady;
            break;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            kind = FileErrorKind::PathFileAccess;
            break;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            kind = FileErrorKind::PathNotFound;
            break;
        default:
            break;
    }
    return {kind, SystemText(code)};
}

class WinOutputFile final : public OutputFile {
  public:
    explicit WinOutputFile(HANDLE h) : h_(h) {}
    ~WinOutputFile() override {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
    }

    bool Write(std::string_view bytes, FileError& error) override {
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(h_, bytes.data(), chunk, &written, nullptr) || written == 0) {
                error = LastError();
                return false;
            }
            bytes.remove_prefix(written);
        }
        return true;
    }

    bool Commit(FileError& error) override {
        const bool flushed = FlushFileBuffers(h_) != 0;
        if (!flushed) {
            error = LastError();
        }
        const bool closed = CloseHandle(h_) != 0;
        if (flushed && !closed) {
            error = LastError();
        }
        h_ = INVALID_HANDLE_VALUE;
        return flushed && closed;
    }

  private:
    HANDLE h_;
};

class WinFileSystem final : public LibraryFileSystem {
  public:
    bool ReadAll(const std::string& path, std::string& bytes, FileError& error) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            error = LastError();
            return false;
        }
        bytes.clear();
        char buffer[1 << 16];
        DWORD n = 0;
        bool ok = true;
        while ((ok = ReadFile(h, buffer, sizeof buffer, &n, nullptr) != 0) && n > 0) {
            bytes.append(buffer, n);
        }
        if (!ok) {
            error = LastError();
        }
        CloseHandle(h);
        return ok;
    }

    std::unique_ptr<OutputFile> CreateTemporaryBeside(const std::string& target,
                                                      std::string& tempPath,
                                                      FileError& error) override {
        // A write-protected library has to stay as it is, not be replaced by a rename.
        const DWORD attributes = GetFileAttributesA(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            SetLastError(ERROR_ACCESS_DENIED);
            error = LastError();
            return nullptr;
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            tempPath = target + ".~" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(attempt);
            HANDLE h = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                return std::make_unique<WinOutputFile>(h);
            }
            const DWORD code = GetLastError();
            if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
                break;
            }
        }
        error = LastError();
        return nullptr;
    }

    bool Replace(const std::string& from, const std::string& to, FileError& error) override {
        if (!MoveFileExA(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error = LastError();
            return false;
        }
        return true;
    }

    void Remove(const std::string& path) override { DeleteFileA(path.c_str()); }
};

}  // namespace

LibraryFileSystem& PlatformFileSystem() {
    static WinFileSystem files;
    return files;
}

}  // namespace material
