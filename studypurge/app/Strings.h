#pragma once
// The program's string table, shared by both front ends. Texts are UTF-8.

#include <string>

namespace spapp {

enum StringId {
    IDS_ABOUTBOX = 101,
    IDS_FILE_NOT_FOUND = 102,
    IDS_CLEANED = 103,
    IDS_NO_FILE = 104,
    IDS_NO_PRODUCT = 105,
    IDS_FILE_FILTER = 106,
};

// The text of a string-table entry; empty for an unknown id.
std::string loadString(int id);

// Filter used when string 106 is empty.
inline constexpr const char* kFallbackFilter =
    "Plandry Part Files (*.pldprt)|*.pldprt|Plandry Assembly Files (*.pldasm)|*.pldasm||";

// String 106, or the fallback filter when it is empty: "description|patterns|...||".
std::string openFileFilter();

}  // namespace spapp
