#pragma once
// The file header: format version, sector sizes and where the tables start.

#include <array>
#include <cstdint>
#include <string>

namespace cfb::detail {

struct Header {
    static constexpr std::size_t kSize = 512;  // fields read; version 4 pads to 4096

    std::uint16_t majorVersion = 3;
    std::uint32_t sectorSize = 512;
    std::uint32_t fatSectorCount = 0;
    std::uint32_t firstDirectorySector = 0;
    std::uint32_t firstMiniFatSector = 0;
    std::uint32_t firstDifatSector = 0;
    std::uint32_t difatSectorCount = 0;
    std::array<std::uint32_t, 109> difat{};

    // Reads and checks the first 512 bytes of a file of `fileSize` bytes. Fields
    // that no reader relies on (class id, minor version, reserved bytes) are not checked.
    static bool hasSignature(const std::uint8_t* bytes);
    static bool parse(const std::uint8_t* bytes, std::uint64_t fileSize, Header& header,
                      std::string& error);
};

}  // namespace cfb::detail
