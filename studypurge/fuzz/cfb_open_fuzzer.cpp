// Opens arbitrary bytes as a compound file, walks it, reads every stream and destroys
// one element; a file accepted once must be accepted again after the destroy and list
// exactly as before minus the destroyed element.
//
// Inputs that do not start with the file signature are taken as (offset, value)
// patches to a small valid file, so that most runs reach the deeper layers.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "CompoundFile.h"
#include "Directory.h"
#include "cfb_writer.h"

namespace {

// A memory-backed folder when there is one; the file is made anew for every input
// because truncating and rewriting one would make the file system flush it each time.
std::string scratchPath() {
    const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/cfb_open_fuzzer_" + std::to_string(::getpid()) + ".bin";
}

void writeScratch(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    ::unlink(path.c_str());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> makeTemplate() {
    using namespace cfbtest;
    Node root = storage(u"Root Entry");
    Node big = stream(u"Big", std::vector<std::uint8_t>{});
    big.generatedSize = 5000;
    root.children = {big, stream(u"Small", std::string(300, 's')),
                     storage(u"ThirdPtyStore", {stream(u"KorvexQuiklet", std::string(70, 'k')),
                                                stream(u"MDI_DDMPL", std::string(9000, 'm')),
                                                storage(u"Korworks", {stream(u"A", "a")})})};
    Layout layout;
    std::string error;
    const std::string path = scratchPath();
    if (!writeCompoundFile(path, root, {}, layout, error)) {
        std::abort();
    }
    std::atexit([] { ::unlink(scratchPath().c_str()); });
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> fileFor(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> base = makeTemplate();
    if (size >= 8 && data[0] == 0xD0 && data[1] == 0xCF) {
        return {data, data + size};
    }
    std::vector<std::uint8_t> bytes = base;
    for (std::size_t i = 0; i + 3 <= size; i += 3) {
        const std::size_t offset = (std::size_t{data[i]} << 8 | data[i + 1]) * 7 % bytes.size();
        bytes[offset] = data[i + 2];
    }
    return bytes;
}

struct Line {
    std::vector<std::u16string> path;  // names may hold any unit, separators too
    std::uint64_t size;
    std::vector<std::uint8_t> content;
    bool operator==(const Line&) const = default;
};

// Depth-first, in-order listing; an element's descendants follow it directly.
std::vector<Line> listing(cfb::CompoundFile& file) {
    std::vector<Line> lines;
    // An explicit stack keeps deep nesting off the call stack.
    struct Frame {
        std::vector<cfb::EntryInfo> children;
        std::size_t next;
        std::vector<std::u16string> prefix;
    };
    std::vector<Frame> stack{{file.children(0), 0, {}}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.children.size()) {
            stack.pop_back();
            continue;
        }
        const cfb::EntryInfo info = top.children[top.next++];
        std::vector<std::u16string> path = top.prefix;
        path.push_back(info.name);
        Line line{path, info.size, {}};
        if (info.type == cfb::EntryType::Stream) {
            std::string error;
            if (!file.readStream(info.id, line.content, error)) {
                std::abort();  // a validated stream must read
            }
        }
        lines.push_back(line);
        if (info.type != cfb::EntryType::Stream) {
            stack.push_back({file.children(info.id), 0, path});
        }
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes = fileFor(data, size);
    const std::string path = scratchPath();
    writeScratch(path, bytes);
    std::string error;
    auto file = cfb::CompoundFile::open(path, error);
    if (!file) {
        return 0;
    }
    std::vector<Line> before = listing(*file);
    const auto top = file->children(0);
    if (top.empty()) {
        return 0;
    }
    const cfb::EntryInfo victim = top[top.size() / 2];
    if (!file->destroy(0, victim.name, error)) {
        std::abort();
    }
    file.reset();
    file = cfb::CompoundFile::open(path, error);
    if (!file) {
        std::fprintf(stderr, "reopen after destroy failed: %s\n", error.c_str());
        std::abort();
    }
    // The destroyed element is the first top-level one of that name in order.
    std::size_t first = 0;
    while (first < before.size() && !(before[first].path.size() == 1 &&
                                      cfb::detail::sameName(before[first].path[0], victim.name))) {
        ++first;
    }
    if (first == before.size()) {
        std::abort();
    }
    std::size_t last = first + 1;
    while (last < before.size() && before[last].path.size() > 1 &&
           before[last].path[0] == before[first].path[0]) {
        ++last;
    }
    before.erase(before.begin() + static_cast<std::ptrdiff_t>(first),
                 before.begin() + static_cast<std::ptrdiff_t>(last));
    if (listing(*file) != before) {
        std::fprintf(stderr, "listing after destroy differs\n");
        std::abort();
    }
    // The compacted copy reads back the same.
    const std::string compacted = path + ".compacted";
    writeScratch(compacted, {});
    if (!file->writeCompacted(compacted, error)) {
        std::fprintf(stderr, "compacting failed: %s\n", error.c_str());
        std::abort();
    }
    auto copy = cfb::CompoundFile::open(compacted, error);
    if (!copy || listing(*copy) != before) {
        std::fprintf(stderr, "compacted copy differs: %s\n", error.c_str());
        std::abort();
    }
    copy.reset();
    ::unlink(compacted.c_str());
    return 0;
}
