#include "TextCodec.h"

namespace material {

QString fromLibraryText(std::string_view bytes) {
    return QString::fromStdString(DecodeLibraryText(bytes));
}

std::string toLibraryText(const QString& text) {
    return encodeLibraryText(text).bytes;
}

EncodedText encodeLibraryText(const QString& text) {
    return EncodeLibraryText(text.toStdString());
}

}  // namespace material
