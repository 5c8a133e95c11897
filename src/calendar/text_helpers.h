// Small text routines shared by the date and file-name code.
#pragma once

#include <string>
#include <string_view>

namespace daybrook {

// The text before the first separator; the whole text when the separator does not occur.
// The text after the first separator. When it does not occur the part starts at position
// (separator length - 1), which for a one-character separator is the whole text, and is empty
// when the text is shorter than that. An empty separator never occurs: both then give the whole
// text. Both are views into text, valid as long as it is.
std::string_view view_before(std::string_view text, std::string_view separator) noexcept;
std::string_view view_after(std::string_view text, std::string_view separator) noexcept;

// 'A' to 'Z' folded to 'a' to 'z'; every other byte, Windows-1252 letters included, as it is.
constexpr char ascii_lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text with 'A' to 'Z' folded to lower case and every other byte as it is: the one fold of
// the diary, for day names and key-word searches alike.
std::string ascii_lower(std::string_view text);

// Whether the texts are the same once both are folded with ascii_lower.
bool equal_ignoring_case(std::string_view a, std::string_view b) noexcept;

// Whether the word occurs in the text as a run of bytes, anywhere, inside a longer word too.
// Without case sensitivity both are folded with ascii_lower first. An empty word occurs in
// every text.
bool holds_word(std::string_view text, std::string_view word, bool case_sensitive);

// Reads a decimal integer the way the C library's atoi does: leading white space, an optional
// sign, digits up to the first non-digit, 0 without digits. Out-of-range values saturate at the
// limits of int instead of being undefined.
int text_to_int(std::string_view text) noexcept;

}  // namespace daybrook
