#pragma once
// The library keeps its texts in the single-byte Windows-1252 code page. Front ends and
// workbooks hand over UTF-8; these functions carry texts across and say which character
// a library text cannot hold.

#include <string>
#include <string_view>

namespace material {

struct EncodedText {
    std::string bytes;        // Windows-1252; every character that cannot be held is "?"
    std::string firstUnheld;  // UTF-8 of the first character the code page cannot hold
    bool complete() const { return firstUnheld.empty(); }
};

// UTF-8 to Windows-1252. A broken UTF-8 sequence counts as a character not held.
EncodedText EncodeLibraryText(std::string_view utf8);
// Windows-1252 to UTF-8.
std::string DecodeLibraryText(std::string_view bytes);

// How messages name a character (UTF-8), whatever code page shows them:
// "the character U+03A9", or "an unreadable character" for a broken sequence.
std::string CharacterName(std::string_view character);
// The message that refuses a typed text holding `character` (UTF-8).
std::string UnheldCharacterMessage(std::string_view character);

}  // namespace material
