// The compacting writer: a fresh compound file with the same tree and streams and
// no free sectors. Layout: FAT, DIFAT, directory, mini FAT, mini stream, then every
// large stream in one run of sectors each.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "CompoundFileImpl.h"

namespace cfb {

using namespace detail;

namespace {

std::uint64_t ceilDiv(std::uint64_t a, std::uint64_t b) {
    return (a + b - 1) / b;
}

// Sequential output through a large buffer.
class Output {
  public:
    explicit Output(int fd) : fd_(fd) { buffer_.reserve(kCapacity); }

    bool put(const void* data, std::size_t length, std::string& error) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        if (length >= kCapacity / 4) {
            // Large pieces go straight to the file instead of through the buffer.
            return flush(error) && writeAll(bytes, length, error);
        }
        while (length > 0) {
            const std::size_t take = std::min(length, kCapacity - buffer_.size());
            buffer_.insert(buffer_.end(), bytes, bytes + take);
            bytes += take;
            length -= take;
            if (buffer_.size() == kCapacity && !flush(error)) {
                return false;
            }
        }
        return true;
    }
    bool zeros(std::uint64_t length, std::string& error) {
        static const std::vector<std::uint8_t> none(64 * 1024, 0);
        while (length > 0) {
            const auto take =
                static_cast<std::size_t>(std::min<std::uint64_t>(length, none.size()));
            if (!put(none.data(), take, error)) {
                return false;
            }
            length -= take;
        }
        return true;
    }
    bool putU32s(const std::vector<std::uint32_t>& values, std::string& error) {
        std::vector<std::uint8_t> bytes(values.size() * 4);
        for (std::size_t i = 0; i < values.size(); ++i) {
            putU32(bytes.data() + 4 * i, values[i]);
        }
        return put(bytes.data(), bytes.size(), error);
    }
    bool flush(std::string& error) {
        const bool ok = writeAll(buffer_.data(), buffer_.size(), error);
        buffer_.clear();
        return ok;
    }

  private:
    bool writeAll(const std::uint8_t* data, std::size_t length, std::string& error) {
        std::size_t done = 0;
        while (done < length) {
            const ssize_t n = ::write(fd_, data + done, length - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                error = std::string("write error: ") + std::strerror(errno);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    static constexpr std::size_t kCapacity = 4 << 20;
    int fd_;
    std::vector<std::uint8_t> buffer_;
};

// One entry of the new directory.
struct NewEntry {
    std::uint32_t oldId;
    std::uint32_t left = kNoEntry;
    std::uint32_t right = kNoEntry;
    std::uint32_t child = kNoEntry;
    std::uint8_t color = kBlack;
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
    bool small = false;  // a stream in the mini stream
    bool big = false;    // a stream in sectors of its own
};

// Sector and entry counts of the new file.
struct Plan {
    std::uint32_t sectorSize = 0;
    std::vector<NewEntry> entries;
    std::uint64_t miniSectors = 0;
    std::uint64_t bigSectors = 0;
    std::uint32_t fat = 0, difat = 0, directory = 0, miniFat = 0, miniStream = 0;

    std::uint32_t perSector() const { return sectorSize / 4; }
    std::uint32_t firstDifat() const { return fat; }
    std::uint32_t firstDirectory() const { return fat + difat; }
    std::uint32_t firstMiniFat() const { return firstDirectory() + directory; }
    std::uint32_t firstMiniStream() const { return firstMiniFat() + miniFat; }
    std::uint32_t firstBig() const { return firstMiniStream() + miniStream; }
    std::uint64_t total() const {
        return std::uint64_t{fat} + difat + directory + miniFat + miniStream + bigSectors;
    }
};

}  // namespace

struct CompactWriter {
    const CompoundFile::Impl& in;
    Plan plan;

    // New ids in breadth order; each storage's children keep their in-order sequence
    // in a balanced, validly coloured tree.
    void numberEntries() {
        plan.entries.push_back({CompoundFile::kRootId});
        for (std::size_t i = 0; i < plan.entries.size(); ++i) {
            const DirEntry& e = in.directory.entry(plan.entries[i].oldId);
            if (e.type != kTypeStorage && e.type != kTypeRoot) {
                continue;
            }
            const auto kids = in.directory.children(plan.entries[i].oldId);
            std::vector<std::uint32_t> ids;
            for (std::uint32_t kid : kids) {
                ids.push_back(static_cast<std::uint32_t>(plan.entries.size()));
                plan.entries.push_back({kid});
            }
            const BalancedTree tree = balanceSequence(ids);
            plan.entries[i].child = tree.root;
            for (std::size_t k = 0; k < ids.size(); ++k) {
                NewEntry& n = plan.entries[ids[k]];
                n.left = tree.nodes[k].left;
                n.right = tree.nodes[k].right;
                n.color = tree.nodes[k].color;
            }
        }
    }

    void placeStreams() {
        std::uint64_t mini = 0;
        std::uint64_t big = 0;
        for (NewEntry& n : plan.entries) {
            const DirEntry& e = in.directory.entry(n.oldId);
            if (e.type != kTypeStream || e.size == 0) {
                continue;
            }
            n.size = e.size;
            n.small = in.inMiniStream(e);
            n.big = !n.small;
            if (n.small) {
                n.start = static_cast<std::uint32_t>(mini);
                mini += ceilDiv(e.size, kMiniSectorSize);
            } else {
                n.start = static_cast<std::uint32_t>(big);  // made absolute below
                big += ceilDiv(e.size, plan.sectorSize);
            }
        }
        plan.miniSectors = mini;
        plan.bigSectors = big;
    }

    bool sizeTables(std::string& error) {
        const std::uint32_t per = plan.perSector();
        plan.directory =
            static_cast<std::uint32_t>(ceilDiv(plan.entries.size(), plan.sectorSize / kEntrySize));
        plan.miniFat = static_cast<std::uint32_t>(ceilDiv(plan.miniSectors, per));
        plan.miniStream = static_cast<std::uint32_t>(
            ceilDiv(plan.miniSectors * kMiniSectorSize, plan.sectorSize));
        // The FAT covers itself and the DIFAT that lists it: grow both until they fit.
        for (;;) {
            const auto fat = static_cast<std::uint32_t>(ceilDiv(plan.total(), per));
            const std::uint32_t difat =
                fat > kHeaderDifatCount
                    ? static_cast<std::uint32_t>(ceilDiv(fat - kHeaderDifatCount, per - 1))
                    : 0;
            if (fat == plan.fat && difat == plan.difat) {
                break;
            }
            plan.fat = std::max(plan.fat, fat);
            plan.difat = std::max(plan.difat, difat);
        }
        if (plan.total() > kMaxRegularSector) {
            error = "the document is too large to rewrite";
            return false;
        }
        for (NewEntry& n : plan.entries) {
            if (n.big) {
                n.start += plan.firstBig();
            }
        }
        plan.entries[0].start = plan.miniSectors > 0 ? plan.firstMiniStream() : kEndOfChain;
        plan.entries[0].size = plan.miniSectors * kMiniSectorSize;
        return true;
    }

    std::vector<std::uint8_t> header() const {
        std::vector<std::uint8_t> h(plan.sectorSize, 0);
        std::uint8_t original[Header::kSize];
        std::string ignored;
        in.file->read(0, original, sizeof original, ignored);
        std::memcpy(h.data(), original, 24);  // signature and class id
        h[24] = 0x3E;
        h[26] = static_cast<std::uint8_t>(in.header.majorVersion);
        h[28] = 0xFE, h[29] = 0xFF;
        h[30] = in.header.majorVersion == 3 ? 9 : 12;
        h[32] = 6;
        putU32(h.data() + 40, in.header.majorVersion == 3 ? 0 : plan.directory);
        putU32(h.data() + 44, plan.fat);
        putU32(h.data() + 48, plan.firstDirectory());
        putU32(h.data() + 56, static_cast<std::uint32_t>(kMiniStreamCutoff));
        putU32(h.data() + 60, plan.miniFat ? plan.firstMiniFat() : kEndOfChain);
        putU32(h.data() + 64, plan.miniFat);
        putU32(h.data() + 68, plan.difat ? plan.firstDifat() : kEndOfChain);
        putU32(h.data() + 72, plan.difat);
        for (std::uint32_t i = 0; i < kHeaderDifatCount; ++i) {
            putU32(h.data() + 76 + 4 * i, i < plan.fat ? i : kFreeSector);
        }
        return h;
    }

    static void chainRun(std::vector<std::uint32_t>& table, std::uint32_t first,
                         std::uint64_t count) {
        for (std::uint64_t i = 0; i < count; ++i) {
            table[first + i] =
                i + 1 < count ? static_cast<std::uint32_t>(first + i + 1) : kEndOfChain;
        }
    }

    std::vector<std::uint32_t> fatTable() const {
        std::vector<std::uint32_t> fat(std::size_t{plan.fat} * plan.perSector(), kFreeSector);
        std::fill_n(fat.begin(), plan.fat, kFatSector);
        std::fill_n(fat.begin() + plan.firstDifat(), plan.difat, kDifatSector);
        chainRun(fat, plan.firstDirectory(), plan.directory);
        chainRun(fat, plan.firstMiniFat(), plan.miniFat);
        chainRun(fat, plan.firstMiniStream(), plan.miniStream);
        for (const NewEntry& n : plan.entries) {
            if (n.big) {
                chainRun(fat, n.start, ceilDiv(n.size, plan.sectorSize));
            }
        }
        return fat;
    }

    std::vector<std::uint32_t> difatTable() const {
        const std::uint32_t per = plan.perSector();
        std::vector<std::uint32_t> difat(std::size_t{plan.difat} * per, kFreeSector);
        for (std::uint32_t i = kHeaderDifatCount; i < plan.fat; ++i) {
            const std::uint32_t at = i - kHeaderDifatCount;
            difat[std::size_t{at / (per - 1)} * per + at % (per - 1)] = i;
        }
        for (std::uint32_t d = 0; d < plan.difat; ++d) {
            difat[std::size_t{d} * per + per - 1] =
                d + 1 < plan.difat ? plan.firstDifat() + d + 1 : kEndOfChain;
        }
        return difat;
    }

    std::vector<std::uint32_t> miniFatTable() const {
        std::vector<std::uint32_t> table(std::size_t{plan.miniFat} * plan.perSector(), kFreeSector);
        for (const NewEntry& n : plan.entries) {
            if (n.small) {
                chainRun(table, n.start, ceilDiv(n.size, kMiniSectorSize));
            }
        }
        return table;
    }

    std::vector<std::uint8_t> directoryBytes() const {
        std::vector<std::uint8_t> bytes(std::size_t{plan.directory} * plan.sectorSize, 0);
        for (std::size_t id = 0; id * kEntrySize < bytes.size(); ++id) {
            std::uint8_t* raw = bytes.data() + id * kEntrySize;
            if (id >= plan.entries.size()) {
                putU32(raw + 68, kNoEntry);
                putU32(raw + 72, kNoEntry);
                putU32(raw + 76, kNoEntry);
                continue;
            }
            const NewEntry& n = plan.entries[id];
            std::memcpy(raw, in.directory.rawEntry(n.oldId), kEntrySize);
            raw[67] = n.color;
            putU32(raw + 68, n.left);
            putU32(raw + 72, n.right);
            putU32(raw + 76, n.child);
            const std::uint8_t type = raw[66];
            putU32(raw + 116, type == kTypeStorage ? 0 : n.start);
            putU32(raw + 120, static_cast<std::uint32_t>(n.size));
            putU32(raw + 124, static_cast<std::uint32_t>(n.size >> 32));
        }
        return bytes;
    }

    // Copies a stream's content, padded to whole units.
    bool copyStream(const NewEntry& n, std::uint64_t unit, Output& out, std::string& error) const {
        const DirEntry& e = in.directory.entry(n.oldId);
        if (unit == kMiniSectorSize) {
            std::vector<std::uint8_t> data(e.size);
            const auto chain = in.mini.table().chain(e.startSector);
            for (std::size_t i = 0; i < chain.size() && i * unit < e.size; ++i) {
                const std::size_t length =
                    static_cast<std::size_t>(std::min(unit, e.size - i * unit));
                if (!in.file->read(in.mini.offsetOf(*in.file, chain[i]), data.data() + i * unit,
                                   length, error)) {
                    return false;
                }
            }
            return out.put(data.data(), data.size(), error) &&
                   out.zeros(ceilDiv(e.size, unit) * unit - e.size, error);
        }
        // Large streams are read in runs of consecutive sectors.
        const auto chain = in.fat.chain(e.startSector);
        std::vector<std::uint8_t> buffer;
        std::uint64_t left = e.size;
        for (std::size_t i = 0; i < chain.size() && left > 0;) {
            std::size_t run = 1;
            while (i + run < chain.size() && chain[i + run] == chain[i] + run && run < 8192) {
                ++run;
            }
            const std::uint64_t length = std::min<std::uint64_t>(left, run * unit);
            buffer.resize(static_cast<std::size_t>(length));
            if (!in.file->read(in.file->sectorOffset(chain[i]), buffer.data(), buffer.size(),
                               error) ||
                !out.put(buffer.data(), buffer.size(), error)) {
                return false;
            }
            left -= length;
            i += run;
        }
        return out.zeros(ceilDiv(e.size, unit) * unit - e.size, error);
    }

    bool write(int fd, std::string& error) {
        Output out(fd);
        const std::uint64_t ss = plan.sectorSize;
        if (!out.put(header().data(), ss, error) || !out.putU32s(fatTable(), error) ||
            !out.putU32s(difatTable(), error) ||
            !out.put(directoryBytes().data(), std::size_t{plan.directory} * ss, error) ||
            !out.putU32s(miniFatTable(), error)) {
            return false;
        }
        for (const NewEntry& n : plan.entries) {
            if (n.small && !copyStream(n, kMiniSectorSize, out, error)) {
                return false;
            }
        }
        if (!out.zeros(std::uint64_t{plan.miniStream} * ss - plan.miniSectors * kMiniSectorSize,
                       error)) {
            return false;
        }
        for (const NewEntry& n : plan.entries) {
            if (n.big && !copyStream(n, ss, out, error)) {
                return false;
            }
        }
        return out.flush(error);
    }
};

bool CompoundFile::writeCompacted(const std::string& target, std::string& error) const {
    CompactWriter writer{*impl_, {}};
    writer.plan.sectorSize = impl_->file->sectorSize();
    writer.numberEntries();
    writer.placeStreams();
    if (!writer.sizeTables(error)) {
        return false;
    }
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    const bool written = writer.write(fd, error);
    const bool synced = written && ::fsync(fd) == 0;
    if (written && !synced) {
        error = "cannot flush " + target + ": " + std::strerror(errno);
    }
    ::close(fd);
    return synced;
}

}  // namespace cfb
