#include "Header.h"

#include "Format.h"

namespace cfb::detail {

namespace {

const std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

std::string hex16(std::uint16_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value)};
    return hexBytes(bytes, 2);
}

bool checkLayout(const std::uint8_t* bytes, Header& header, std::string& error) {
    if (std::memcmp(bytes, kSignature, 8) != 0) {
        error = "header: expected signature D0CF11E0A1B11AE1, found " + hexBytes(bytes, 8);
        return false;
    }
    const std::uint16_t byteOrder = getU16(bytes + 28);
    if (byteOrder != 0xFFFE) {
        error = "header: expected byte order FFFE, found " + hex16(byteOrder);
        return false;
    }
    header.majorVersion = getU16(bytes + 26);
    if (header.majorVersion != 3 && header.majorVersion != 4) {
        error =
            "header: expected major version 3 or 4, found " + std::to_string(header.majorVersion);
        return false;
    }
    const std::uint16_t shift = getU16(bytes + 30);
    const std::uint16_t expectedShift = header.majorVersion == 3 ? 9 : 12;
    if (shift != expectedShift) {
        error = "header: expected sector shift " + std::to_string(expectedShift) + " for version " +
                std::to_string(header.majorVersion) + ", found " + std::to_string(shift);
        return false;
    }
    header.sectorSize = 1u << shift;
    const std::uint16_t miniShift = getU16(bytes + 32);
    if (miniShift != 6) {
        error = "header: expected mini sector shift 6, found " + std::to_string(miniShift);
        return false;
    }
    const std::uint32_t cutoff = getU32(bytes + 56);
    if (cutoff != kMiniStreamCutoff) {
        error = "header: expected mini stream cutoff 4096, found " + std::to_string(cutoff);
        return false;
    }
    return true;
}

}  // namespace

bool Header::hasSignature(const std::uint8_t* bytes) {
    return std::memcmp(bytes, kSignature, 8) == 0;
}

bool Header::parse(const std::uint8_t* bytes, std::uint64_t fileSize, Header& header,
                   std::string& error) {
    if (fileSize < kSize) {
        error = "header: expected at least 512 bytes, found a file of " + std::to_string(fileSize);
        return false;
    }
    if (!checkLayout(bytes, header, error)) {
        return false;
    }
    if (fileSize <= header.sectorSize) {
        error = "header: expected sectors after the " + std::to_string(header.sectorSize) +
                "-byte header, found a file of " + std::to_string(fileSize) + " bytes";
        return false;
    }
    header.fatSectorCount = getU32(bytes + 44);
    header.firstDirectorySector = getU32(bytes + 48);
    header.firstMiniFatSector = getU32(bytes + 60);
    header.firstDifatSector = getU32(bytes + 68);
    header.difatSectorCount = getU32(bytes + 72);
    for (std::size_t i = 0; i < header.difat.size(); ++i) {
        header.difat[i] = getU32(bytes + 76 + 4 * i);
    }
    const std::uint64_t sectorsInFile = (fileSize - 1) / header.sectorSize;
    if (header.fatSectorCount == 0 || header.fatSectorCount > sectorsInFile) {
        error = "header: expected 1 to " + std::to_string(sectorsInFile) + " FAT sectors, found " +
                std::to_string(header.fatSectorCount);
        return false;
    }
    return true;
}

}  // namespace cfb::detail
