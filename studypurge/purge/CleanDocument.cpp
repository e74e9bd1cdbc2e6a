#include "CleanDocument.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace purge {
namespace {

std::u16string Folded(const std::u16string& name) {
    std::u16string out = name;
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return out;
}

std::uint64_t StreamBytesBelow(Storage& storage) {
    std::uint64_t sum = 0;
    const auto elements = storage.elements();
    if (!elements) {
        return 0;
    }
    for (const StorageElement& e : *elements) {
        if (e.type == ElementType::Stream) {
            sum += e.size;
        } else if (auto child = storage.openStorage(e.name)) {
            sum += StreamBytesBelow(*child);
        }
    }
    return sum;
}

std::uint64_t FileSize(const std::string& path) {
    std::error_code ignored;
    const auto size = std::filesystem::file_size(
        std::filesystem::path(std::u8string(path.begin(), path.end())), ignored);
    return ignored ? 0 : static_cast<std::uint64_t>(size);
}

// Removes (or, in a dry run, only finds) the selection's items in one sub-storage.
bool CleanSubStorage(const std::u16string& subName, Storage& sub, const CleanOptions& options,
                     CleanResult& result) {
    const auto elements = sub.elements();
    if (!elements) {
        return true;
    }
    std::set<std::u16string> done;
    bool ok = true;
    ForEachProductItem(options.products, sub, [&](const std::u16string& name) {
        // Names match as the storage matches them: without regard to case.
        const auto it = std::find_if(elements->begin(), elements->end(),
                                     [&](const auto& e) { return Folded(e.name) == Folded(name); });
        if (it == elements->end() || !done.insert(Folded(name)).second) {
            return;
        }
        std::uint64_t bytes = it->size;
        if (it->type != ElementType::Stream) {
            auto child = sub.openStorage(it->name);
            bytes = child ? StreamBytesBelow(*child) : 0;
        }
        if (!options.dryRun && !sub.destroyElement(it->name)) {
            ok = false;
            return;
        }
        result.removed.push_back({Utf16ToUtf8(subName + u"/" + it->name), bytes});
        result.bytesFreed += bytes;
    });
    return ok;
}

}  // namespace

std::string RefusalReason(const OpenFailure& failure) {
    switch (failure.problem) {
        case OpenProblem::NotCompound:
            return "not a compound file";
        case OpenProblem::InUse:
            return "open in another program";
        case OpenProblem::ReadOnly:
            return "read-only";
        case OpenProblem::Damaged:
            return "damaged: " + failure.reason;
        case OpenProblem::NoAccess:
        case OpenProblem::None:
            break;
    }
    return failure.reason.empty() ? "cannot be read" : "cannot be read: " + failure.reason;
}

CleanResult CleanDocument(const std::string& path, const CleanOptions& options,
                          StorageSystem& storage) {
    CleanResult result;
    if (!storage.fileExists(path)) {
        result.outcome = CleanOutcome::Refused;
        result.reason = "not found";
        return result;
    }
    OpenFailure failure;
    {
        auto root = storage.open(
            path, options.dryRun ? AccessMode::ReadOnly : AccessMode::ReadWrite, failure);
        if (!root) {
            result.outcome = CleanOutcome::Refused;
            result.reason = RefusalReason(failure);
            return result;
        }
        bool ok = true;
        ForEachSubStorage(options.products, *root, [&](const std::u16string& name, Storage& sub) {
            ok = CleanSubStorage(name, sub, options, result) && ok;
        });
        if (!ok) {
            result.outcome = CleanOutcome::Failed;
            result.reason = "a change could not be written";
            return result;
        }
    }  // the document is closed here, before it is compacted
    result.outcome = result.removed.empty() ? CleanOutcome::Unchanged : CleanOutcome::Cleaned;
    if (options.compact && !options.dryRun && result.outcome == CleanOutcome::Cleaned) {
        result.sizeBefore = FileSize(path);
        std::string error;
        if (!storage.compact(path, error)) {
            result.outcome = CleanOutcome::Failed;
            result.reason = "cleaned, but not compacted: " + error;
            return result;
        }
        result.compacted = true;
        result.sizeAfter = FileSize(path);
    }
    return result;
}

}  // namespace purge
