#include "SectorFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace cfb::detail {

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<SectorFile> SectorFile::open(const std::string& path, std::string& error) {
    Failure failure = Failure::None;
    return open(path, false, failure, error);
}

std::unique_ptr<SectorFile> SectorFile::open(const std::string& path, bool readOnly,
                                             Failure& failure, std::string& error) {
    failure = Failure::Unreadable;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = systemError("cannot open " + path);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "cannot open " + path + ": expected a regular file";
        return nullptr;
    }
    // A file without any write permission is read-only, whoever runs the program.
    if (!readOnly && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        failure = Failure::ReadOnly;
        error = "cannot open " + path + ": the file is read-only";
        return nullptr;
    }
    const int fd = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        failure = !readOnly && (errno == EACCES || errno == EROFS) ? Failure::ReadOnly
                                                                   : Failure::Unreadable;
        error = systemError("cannot open " + path);
        return nullptr;
    }
    if (::flock(fd, (readOnly ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        failure = errno == EWOULDBLOCK ? Failure::InUse : Failure::Unreadable;
        error = errno == EWOULDBLOCK ? "cannot open " + path + ": the file is in use"
                                     : systemError("cannot lock " + path);
        ::close(fd);
        return nullptr;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "cannot open " + path + ": expected a regular file";
        ::close(fd);
        return nullptr;
    }
    failure = Failure::None;
    return std::unique_ptr<SectorFile>(
        new SectorFile(fd, static_cast<std::uint64_t>(info.st_size), readOnly));
}

SectorFile::~SectorFile() {
    ::close(fd_);  // also releases the lock
}

std::uint32_t SectorFile::sectorCount() const {
    if (size_ <= sectorSize_) {
        return 0;
    }
    const std::uint64_t count = (size_ - sectorSize_ + sectorSize_ - 1) / sectorSize_;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(count, 0xFFFFFFFBull));
}

bool SectorFile::read(std::uint64_t offset, void* buffer, std::size_t length,
                      std::string& error) const {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < length && offset + done < size_) {
        const ssize_t n =
            ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = systemError("read error at offset " + std::to_string(offset + done));
            return false;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    std::fill(out + done, out + length, std::uint8_t{0});
    return true;
}

bool SectorFile::write(std::uint64_t offset, const void* data, std::size_t length,
                       std::string& error) {
    if (offset >= size_) {
        return true;
    }
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset));
    if (readOnly_) {
        error = "the file is open read-only";
        return false;
    }
    if (writesLeft_ == 0) {
        error = "write error at offset " + std::to_string(offset) + ": no space left";
        return false;
    }
    --writesLeft_;
    const auto* in = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pwrite(fd_, in + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = systemError("write error at offset " + std::to_string(offset + done));
            return false;
        }
        done += static_cast<std::size_t>(n);
        written_ += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool SectorFile::writeZeros(std::uint64_t offset, std::uint64_t length, std::string& error) {
    static const std::vector<std::uint8_t> zeros(64 * 1024, 0);
    while (length > 0) {
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(length, zeros.size()));
        if (!write(offset, zeros.data(), chunk, error)) {
            return false;
        }
        offset += chunk;
        length -= chunk;
    }
    return true;
}

}  // namespace cfb::detail
