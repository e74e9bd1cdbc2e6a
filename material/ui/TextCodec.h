// The library keeps its texts as single-byte Windows-1252 bytes; the widgets show
// Unicode. These functions carry texts across.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "data/Cp1252.h"

namespace material {

QString fromLibraryText(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?".
std::string toLibraryText(const QString& text);
// The text in the library's code page, with the first character it cannot hold.
EncodedText encodeLibraryText(const QString& text);

}  // namespace material
