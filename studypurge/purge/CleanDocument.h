#pragma once
// Cleaning one document without a dialog: what the command line runs per document.
// Only the compound-file route is taken (the document manager needs the CAD host's
// user session); the outcome says what was removed, or why nothing was.

#include <cstdint>
#include <string>
#include <vector>

#include "PurgeRoutines.h"
#include "Storage.h"

namespace purge {

struct RemovedItem {
    std::string path;        // "ThirdPtyStore/Korworks"
    std::uint64_t bytes = 0;  // stream data in it
};

enum class CleanOutcome {
    Cleaned,    // items were removed (or, in a dry run, would be)
    Unchanged,  // nothing of the chosen products was there
    Refused,    // the document could not be opened for cleaning; it is untouched
    Failed,     // a write failed part way, or compacting failed
};

struct CleanOptions {
    ProductSelection products;
    bool dryRun = false;   // read-only: report what would be removed
    bool compact = false;  // rewrite a cleaned document without its free space
};

struct CleanResult {
    CleanOutcome outcome = CleanOutcome::Unchanged;
    std::string reason;  // why it was refused or failed
    std::vector<RemovedItem> removed;
    std::uint64_t bytesFreed = 0;
    bool compacted = false;
    std::uint64_t sizeBefore = 0;  // file sizes around compacting
    std::uint64_t sizeAfter = 0;
};

CleanResult CleanDocument(const std::string& path, const CleanOptions& options,
                          StorageSystem& storage);

// The reason shown for a document that could not be opened.
std::string RefusalReason(const OpenFailure& failure);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace purge
