// Memo text between the records' single bytes of the Windows-1252 code page and the UTF-8 of
// calendar files.
#pragma once

#include <string>
#include <string_view>

namespace daybrook {

// The UTF-8 of record bytes. The five bytes the code page leaves undefined become U+FFFD.
std::string windows_1252_to_utf8(std::string_view bytes);

// The record bytes of a UTF-8 text, one byte per character the code page holds. Of the others,
// those with an obvious spelling in the code page take it: a base letter followed by a combining
// accent becomes the accented letter, Latin letters with other accents lose them ("Ł" "l",
// "č" "c"), typographic dashes, spaces and quotes, full-width forms and the fi ligatures become
// their plain forms, and invisible joiners and variation selectors go. Every other character
// becomes `replacement`, one for a whole emoji sequence (joined by U+200D, a flag's pair, a skin
// tone). A text that is not valid UTF-8 is taken for Windows-1252 already, as older programs
// write it; its undefined bytes become `replacement`.
std::string utf8_to_windows_1252(std::string_view text, char replacement = '?');

}  // namespace daybrook
