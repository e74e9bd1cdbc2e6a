#pragma once
// The string table for the Qt front end, and the conversion of its file-dialog filter.

#include <QString>

#include "Strings.h"

namespace spdialog {

using spapp::IDS_ABOUTBOX;
using spapp::kFallbackFilter;

// The text of a string-table entry; empty for an unknown id.
QString loadQString(int id);

// Turns a "description|patterns|...||" filter into Qt's "description (patterns);;..."
// form. Qt reads the patterns from the parentheses, blank-separated, so the
// description's own parenthesised list is replaced by the pair's pattern list.
QString qtFilterFromPairs(const QString& pairs);

}  // namespace spdialog
