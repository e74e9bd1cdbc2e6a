// The library keeps its texts as single-byte Windows-1252 bytes; the widgets show
// Unicode. These two functions carry texts across.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace material {

QString fromLibraryText(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?".
std::string toLibraryText(const QString& text);

}  // namespace material
