// The code page of the entry records, Windows-1252: one byte a character. Bytes below 0x80 and
// from 0xA0 are the Unicode characters of the same numbers; 0x80 to 0x9F hold typographic signs,
// five of them nothing. The one table of it: the screen and calendar files both convert here.
#pragma once

#include <optional>

namespace daybrook {

// The character a record byte stands for; U+FFFD for the five bytes the code page leaves undefined.
char32_t unicode_of_byte(unsigned char byte) noexcept;

// The record byte of a character, or nothing when the code page has none for it.
std::optional<unsigned char> byte_of_unicode(char32_t character) noexcept;

}  // namespace daybrook
