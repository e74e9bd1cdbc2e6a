#pragma once
// The program's string table and the conversion of its file-dialog filter.

#include <QString>

namespace spdialog {

enum StringId {
    IDS_ABOUTBOX = 101,
    IDS_FILE_NOT_FOUND = 102,
    IDS_CLEANED = 103,
    IDS_NO_FILE = 104,
    IDS_NO_PRODUCT = 105,
    IDS_FILE_FILTER = 106,
};

// The text of a string-table entry; empty for an unknown id.
QString loadString(int id);

// Filter used when string 106 is empty.
inline constexpr const char* kFallbackFilter =
    "Plandry Part Files (*.pldprt)|*.pldprt|Plandry Assembly Files (*.pldasm)|*.pldasm||";

// Turns a "description|patterns|...||" filter into Qt's "description (patterns);;..."
// form. Qt reads the patterns from the parentheses, blank-separated, so the
// description's own parenthesised list is replaced by the pair's pattern list.
QString qtFilterFromPairs(const QString& pairs);

}  // namespace spdialog
