#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "LibraryFileSystem.h"

namespace material {
namespace {

FileError ErrorFromErrno(int code) {
    FileErrorKind kind = FileErrorKind::Other;
    switch (code) {
        case EEXIST:
            kind = FileErrorKind::FileExists;
            break;
        case EMFILE:
        case ENFILE:
            kind = FileErrorKind::TooManyFiles;
            break;
        case ENODEV:
        case ENXIO:
            kind = FileErrorKind::DeviceUnavailable;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            kind = FileErrorKind::PermissionDenied;
            break;
#ifdef ENOMEDIUM
        case ENOMEDIUM:
            kind = FileErrorKind::DiskNotReady;
            break;
#endif
        case EISDIR:
        case ENAMETOOLONG:
        case EINVAL:
            kind = FileErrorKind::PathFileAccess;
            break;
        case ENOENT:
        case ENOTDIR:
            kind = FileErrorKind::PathNotFound;
            break;
        default:
            break;
    }
    return {kind, std::strerror(code)};
}

class PosixOutputFile final : public OutputFile {
  public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}
    ~PosixOutputFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    bool Write(std::string_view bytes, FileError& error) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                error = ErrorFromErrno(n < 0 ? errno : EIO);
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool Commit(FileError& error) override {
        const bool synced = ::fsync(fd_) == 0;
        const int syncError = errno;
        const bool closed = ::close(fd_) == 0;
        const int closeError = errno;
        fd_ = -1;
        if (!synced || !closed) {
            error = ErrorFromErrno(!synced ? syncError : closeError);
            return false;
        }
        return true;
    }

  private:
    int fd_;
};

class PosixFileSystem final : public LibraryFileSystem {
  public:
    bool ReadAll(const std::string& path, std::string& bytes, FileError& error) override {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) {
            error = ErrorFromErrno(errno);
            return false;
        }
        bytes.clear();
        char buffer[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
            bytes.append(buffer, n);
        }
        const bool failed = std::ferror(f) != 0;
        const int code = errno;
        std::fclose(f);
        if (failed) {
            error = ErrorFromErrno(code);
            return false;
        }
        return true;
    }

    std::unique_ptr<OutputFile> CreateTemporaryBeside(const std::string& target,
                                                      std::string& tempPath,
                                                      FileError& error) override {
        // The new file keeps the permissions of the file it replaces.
        struct stat old {};
        const bool exists = ::stat(target.c_str(), &old) == 0;
        const mode_t mode = exists ? (old.st_mode & 07777) : 0666;
        // Renaming over a write-protected file would replace it; it has to stay as it is.
        // A file without any write bit counts as protected even for root.
        if (exists && S_ISREG(old.st_mode) &&
            ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
            error = ErrorFromErrno(EACCES);
            return nullptr;
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            tempPath = target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                if (mode != 0666) {
                    ::fchmod(fd, mode);
                }
                return std::make_unique<PosixOutputFile>(fd);
            }
            if (errno != EEXIST) {
                break;
            }
        }
        error = ErrorFromErrno(errno);
        return nullptr;
    }

    bool Replace(const std::string& from, const std::string& to, FileError& error) override {
        if (std::rename(from.c_str(), to.c_str()) != 0) {
            error = ErrorFromErrno(errno);
            return false;
        }
        return true;
    }

    void Remove(const std::string& path) override { ::unlink(path.c_str()); }
};

}  // namespace

LibraryFileSystem& PlatformFileSystem() {
    static PosixFileSystem files;
    return files;
}

}  // namespace material
