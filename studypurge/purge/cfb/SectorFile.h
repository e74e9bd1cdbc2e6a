#pragma once
// Bottom layer: the opened, exclusively locked file, addressed in sectors. Reads
// beyond the end give zeros; writes never grow the file.

#include <cstdint>
#include <memory>
#include <string>

namespace cfb::detail {

class SectorFile {
  public:
    // Opens `path` read-write with an exclusive lock. Fails for files that are locked,
    // read-only (no write permission bit), unreadable or not regular files.
    static std::unique_ptr<SectorFile> open(const std::string& path, std::string& error);
    // Why the last open failed, for callers that tell the user.
    enum class Failure { None, Unreadable, InUse, ReadOnly };
    // Read-only: shared lock, and no permission to write is needed.
    static std::unique_ptr<SectorFile> open(const std::string& path, bool readOnly,
                                            Failure& failure, std::string& error);
    ~SectorFile();
    SectorFile(const SectorFile&) = delete;
    SectorFile& operator=(const SectorFile&) = delete;

    std::uint64_t fileSize() const { return size_; }

    // Set once the header has told the sector size.
    void setSectorSize(std::uint32_t bytes) { sectorSize_ = bytes; }
    std::uint32_t sectorSize() const { return sectorSize_; }
    // Sectors after the header, a partial last one included.
    std::uint32_t sectorCount() const;
    std::uint64_t sectorOffset(std::uint32_t sector) const {
        return (std::uint64_t{sector} + 1) * sectorSize_;
    }

    bool read(std::uint64_t offset, void* buffer, std::size_t length, std::string& error) const;
    bool readSector(std::uint32_t sector, void* buffer, std::string& error) const {
        return read(sectorOffset(sector), buffer, sectorSize_, error);
    }
    // Writes the part of the range that lies inside the file.
    bool write(std::uint64_t offset, const void* data, std::size_t length, std::string& error);
    bool writeZeros(std::uint64_t offset, std::uint64_t length, std::string& error);

    // Bytes handed to the operating system by write() and writeZeros() so far.
    std::uint64_t bytesWritten() const { return written_; }
    // Lets only `count` more write calls through; later ones fail as on a full disk.
    void limitWrites(std::uint64_t count) { writesLeft_ = count; }

  private:
    SectorFile(int fd, std::uint64_t size, bool readOnly)
        : fd_(fd), size_(size), readOnly_(readOnly) {}

    int fd_;
    std::uint64_t size_;
    bool readOnly_;
    std::uint32_t sectorSize_ = 512;
    std::uint64_t written_ = 0;
    std::uint64_t writesLeft_ = UINT64_MAX;
};

}  // namespace cfb::detail
