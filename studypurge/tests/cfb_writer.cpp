#include "cfb_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace cfbtest {

namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatMark = 0xFFFFFFFD;
constexpr std::uint32_t kDifatMark = 0xFFFFFFFC;

void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
void put64(std::uint8_t* p, std::uint64_t v) {
    put32(p, static_cast<std::uint32_t>(v));
    put32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

struct Flat {
    const Node* node;
    std::string path;
    std::uint32_t left = kFree, right = kFree, child = kFree;
    std::uint32_t start = kEnd;
};

bool nameLess(const Node* a, const Node* b) {
    if (a->name.size() != b->name.size()) {
        return a->name.size() < b->name.size();
    }
    for (std::size_t i = 0; i < a->name.size(); ++i) {
        const auto ua = a->name[i] < 128 ? std::toupper(a->name[i]) : a->name[i];
        const auto ub = b->name[i] < 128 ? std::toupper(b->name[i]) : b->name[i];
        if (ua != ub) {
            return ua < ub;
        }
    }
    return false;
}

std::string narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        out += static_cast<char>(c);
    }
    return out;
}

// Entries breadth first; siblings sorted and chained through their right links, all
// red, as simple writers do.
std::vector<Flat> flatten(const Node& root, bool caseSensitive) {
    std::vector<Flat> flat{{&root, ""}};
    for (std::size_t i = 0; i < flat.size(); ++i) {
        std::vector<const Node*> kids;
        for (const Node& c : flat[i].node->children) {
            kids.push_back(&c);
        }
        std::sort(kids.begin(), kids.end(), [caseSensitive](const Node* a, const Node* b) {
            return caseSensitive ? a->name < b->name : nameLess(a, b);
        });
        const auto first = static_cast<std::uint32_t>(flat.size());
        for (std::size_t k = 0; k < kids.size(); ++k) {
            const std::string path =
                (flat[i].path.empty() ? "" : flat[i].path + "/") + narrow(kids[k]->name);
            Flat f{kids[k], path};
            if (k + 1 < kids.size()) {
                f.right = first + static_cast<std::uint32_t>(k + 1);
            }
            flat.push_back(f);
        }
        if (!kids.empty()) {
            flat[i].child = first;
        }
    }
    return flat;
}

std::vector<std::uint8_t> content(const Node& n) {
    if (!n.generatedSize) {
        return n.data;
    }
    std::vector<std::uint8_t> out(n.generatedSize);
    for (std::uint64_t i = 0; i < out.size(); ++i) {
        out[i] = generatedByte(n.seed, i);
    }
    return out;
}

class Output {
  public:
    explicit Output(std::FILE* f) : f_(f) {}
    bool at(std::uint64_t offset, const void* data, std::size_t size) {
        return std::fseek(f_, static_cast<long>(offset), SEEK_SET) == 0 &&
               std::fwrite(data, 1, size, f_) == size;
    }

  private:
    std::FILE* f_;
};

}  // namespace

Node storage(std::u16string name, std::vector<Node> children) {
    Node n;
    n.name = std::move(name);
    n.storage = true;
    n.children = std::move(children);
    return n;
}

Node stream(std::u16string name, std::vector<std::uint8_t> data) {
    Node n;
    n.name = std::move(name);
    n.data = std::move(data);
    return n;
}

Node stream(std::u16string name, const std::string& text) {
    return stream(std::move(name), std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::uint8_t generatedByte(std::uint8_t seed, std::uint64_t position) {
    return static_cast<std::uint8_t>(seed + position * 7 + (position >> 11));
}

std::uint64_t Layout::entryOffset(std::uint32_t id) const {
    const std::uint32_t perSector = sectorSize / 128;
    return sectorOffset(directoryStart + id / perSector) + (id % perSector) * 128ull;
}

std::uint64_t Layout::fatEntryOffset(std::uint32_t sector) const {
    const std::uint32_t perSector = sectorSize / 4;
    return sectorOffset(fatSectors[sector / perSector]) + (sector % perSector) * 4ull;
}

std::uint64_t Layout::miniFatEntryOffset(std::uint32_t miniSector) const {
    const std::uint32_t perSector = sectorSize / 4;
    return sectorOffset(miniFatStart + miniSector / perSector) + (miniSector % perSector) * 4ull;
}

bool writeCompoundFile(const std::string& path, const Node& root, const WriteOptions& options,
                       Layout& layout, std::string& error) {
    const std::uint32_t ss = options.majorVersion == 4 ? 4096 : 512;
    const std::uint32_t perFat = ss / 4;
    layout = Layout{};
    layout.sectorSize = ss;
    std::vector<Flat> flat = flatten(root, options.caseSensitiveOrder);

    // Mini stream content and big stream sizes.
    std::uint64_t miniBytes = 0;
    std::uint64_t bigSectors = 0;
    for (std::size_t i = 1; i < flat.size(); ++i) {
        const Node& n = *flat[i].node;
        if (n.storage || n.size() == 0) {
            continue;
        }
        if (n.size() < 4096) {
            flat[i].start = static_cast<std::uint32_t>(miniBytes / 64);
            miniBytes += (n.size() + 63) / 64 * 64;
        } else {
            bigSectors += (n.size() + ss - 1) / ss;
        }
    }
    const std::uint32_t dirSectors = static_cast<std::uint32_t>((flat.size() * 128 + ss - 1) / ss);
    const std::uint32_t miniSectors = static_cast<std::uint32_t>(miniBytes / 64);
    const std::uint32_t miniFatSectors = (miniSectors + perFat - 1) / perFat;
    const std::uint32_t miniStreamSectors = static_cast<std::uint32_t>((miniBytes + ss - 1) / ss);
    const std::uint64_t dataSectors = dirSectors + miniFatSectors + miniStreamSectors + bigSectors;

    std::uint32_t fatCount = std::max<std::uint32_t>(1, options.minFatSectors);
    std::uint32_t difatCount = 0;
    for (;; ++fatCount) {
        difatCount = fatCount > 109 ? (fatCount - 109 + perFat - 2) / (perFat - 1) : 0;
        if (std::uint64_t{fatCount} * perFat >= dataSectors + fatCount + difatCount) {
            break;
        }
    }
    std::vector<std::uint32_t> fat(std::size_t{fatCount} * perFat, kFree);
    std::uint32_t next = 0;
    auto chain = [&](std::uint32_t count, std::uint32_t mark) {
        const std::uint32_t first = count ? next : kEnd;
        for (std::uint32_t i = 0; i < count; ++i, ++next) {
            fat[next] = mark != 0 ? mark : (i + 1 < count ? next + 1 : kEnd);
        }
        return first;
    };
    chain(fatCount, kFatMark);
    for (std::uint32_t i = 0; i < fatCount; ++i) {
        layout.fatSectors.push_back(i);
    }
    const std::uint32_t firstDifat = chain(difatCount, kDifatMark);
    for (std::uint32_t i = 0; i < difatCount; ++i) {
        layout.difatSectors.push_back(firstDifat + i);
    }
    layout.directoryStart = chain(dirSectors, 0);
    layout.miniFatStart = chain(miniFatSectors, 0);
    layout.miniStreamStart = chain(miniStreamSectors, 0);
    flat[0].start = layout.miniStreamStart;
    for (std::size_t i = 1; i < flat.size(); ++i) {
        const Node& n = *flat[i].node;
        if (!n.storage && n.size() >= 4096) {
            flat[i].start = chain(static_cast<std::uint32_t>((n.size() + ss - 1) / ss), 0);
        }
    }
    layout.fileSize = std::uint64_t{next + 1} * ss;

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(path.c_str(), options.skipGeneratedData ? "r+b" : "w+b"), &std::fclose);
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    Output out(file.get());
    bool ok = true;

    // Header.
    std::vector<std::uint8_t> header(ss, 0);
    const std::uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(header.data(), signature, 8);
    put16(&header[24], 0x3E);
    put16(&header[26], options.majorVersion);
    put16(&header[28], 0xFFFE);
    put16(&header[30], options.majorVersion == 4 ? 12 : 9);
    put16(&header[32], 6);
    put32(&header[40], options.majorVersion == 4 ? dirSectors : 0);
    put32(&header[44], fatCount);
    put32(&header[48], layout.directoryStart);
    put32(&header[56], 4096);
    put32(&header[60], layout.miniFatStart);
    put32(&header[64], miniFatSectors);
    put32(&header[68], firstDifat);
    put32(&header[72], difatCount);
    for (std::uint32_t i = 0; i < 109; ++i) {
        put32(&header[76 + 4 * i], i < fatCount ? i : kFree);
    }
    ok = ok && out.at(0, header.data(), header.size());

    // DIFAT sectors.
    for (std::uint32_t d = 0; d < difatCount; ++d) {
        std::vector<std::uint8_t> sector(ss);
        for (std::uint32_t i = 0; i + 1 < perFat; ++i) {
            const std::uint64_t fatIndex = 109 + std::uint64_t{d} * (perFat - 1) + i;
            put32(&sector[4 * i],
                  fatIndex < fatCount ? static_cast<std::uint32_t>(fatIndex) : kFree);
        }
        put32(&sector[ss - 4], d + 1 < difatCount ? firstDifat + d + 1 : kEnd);
        ok = ok && out.at(layout.sectorOffset(firstDifat + d), sector.data(), ss);
    }

    // FAT.
    std::vector<std::uint8_t> fatBytes(fat.size() * 4);
    for (std::size_t i = 0; i < fat.size(); ++i) {
        put32(&fatBytes[4 * i], fat[i]);
    }
    ok = ok && out.at(layout.sectorOffset(0), fatBytes.data(), fatBytes.size());

    // Directory.
    std::vector<std::uint8_t> dir(std::size_t{dirSectors} * ss, 0);
    for (std::size_t i = 0; i < dir.size() / 128; ++i) {
        std::uint8_t* e = &dir[i * 128];
        put32(e + 68, kFree);
        put32(e + 72, kFree);
        put32(e + 76, kFree);
        if (i >= flat.size()) {
            continue;
        }
        const Flat& f = flat[i];
        const std::u16string name = i == 0 ? u"Root Entry" : f.node->name;
        for (std::size_t c = 0; c < name.size() && c < 31; ++c) {
            put16(e + 2 * c, name[c]);
        }
        put16(e + 64, static_cast<std::uint16_t>((std::min<std::size_t>(name.size(), 31) + 1) * 2));
        e[66] = i == 0 ? 5 : (f.node->storage ? 1 : 2);
        e[67] = i == 0 ? 1 : 0;
        put32(e + 68, f.left);
        put32(e + 72, f.right);
        put32(e + 76, f.child);
        put32(e + 116, f.node->storage && i != 0 ? 0 : f.start);
        put64(e + 120, i == 0 ? miniBytes : (f.node->storage ? 0 : f.node->size()));
        layout.ids[f.path] = static_cast<std::uint32_t>(i);
        layout.starts.push_back(f.start);
    }
    ok = ok && out.at(layout.sectorOffset(layout.directoryStart), dir.data(), dir.size());

    // Mini FAT and mini stream.
    std::vector<std::uint8_t> miniFat(std::size_t{miniFatSectors} * ss, 0xFF);
    std::vector<std::uint8_t> mini(std::size_t{miniStreamSectors} * ss, 0);
    for (std::size_t i = 1; i < flat.size(); ++i) {
        const Node& n = *flat[i].node;
        if (n.storage || n.size() == 0 || n.size() >= 4096) {
            continue;
        }
        const auto bytes = content(n);
        std::memcpy(&mini[std::size_t{flat[i].start} * 64], bytes.data(), bytes.size());
        const auto count = static_cast<std::uint32_t>((n.size() + 63) / 64);
        for (std::uint32_t k = 0; k < count; ++k) {
            put32(&miniFat[4 * (flat[i].start + k)], k + 1 < count ? flat[i].start + k + 1 : kEnd);
        }
    }
    if (miniFatSectors) {
        ok = ok && out.at(layout.sectorOffset(layout.miniFatStart), miniFat.data(), miniFat.size());
        ok = ok && out.at(layout.sectorOffset(layout.miniStreamStart), mini.data(), mini.size());
    }

    // Big streams, padded to whole sectors.
    for (std::size_t i = 1; i < flat.size(); ++i) {
        const Node& n = *flat[i].node;
        if (n.storage || n.size() < 4096 || (n.generatedSize && options.skipGeneratedData)) {
            continue;
        }
        std::vector<std::uint8_t> bytes;
        const std::uint64_t padded = (n.size() + ss - 1) / ss * ss;
        const std::uint64_t chunk = 1 << 22;
        for (std::uint64_t pos = 0; pos < padded && ok; pos += chunk) {
            const std::uint64_t len = std::min(chunk, padded - pos);
            bytes.assign(len, 0);
            for (std::uint64_t k = 0; k < len && pos + k < n.size(); ++k) {
                bytes[k] = n.generatedSize ? generatedByte(n.seed, pos + k) : n.data[pos + k];
            }
            ok = out.at(layout.sectorOffset(flat[i].start) + pos, bytes.data(), len);
        }
    }
    if (!ok) {
        error = "cannot write " + path;
    }
    return ok;
}

}  // namespace cfbtest
