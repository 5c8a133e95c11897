#include "calendar/text_helpers.h"

#include <algorithm>
#include <climits>

namespace daybrook {

namespace {

// The white space that the C library skips in the "C" locale.
constexpr bool is_c_space(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view view_before(std::string_view text, std::string_view separator) noexcept {
    const auto position = separator.empty() ? std::string_view::npos : text.find(separator);
    return text.substr(0, position);
}

std::string_view view_after(std::string_view text, std::string_view separator) noexcept {
    const auto position = separator.empty() ? std::string_view::npos : text.find(separator);
    if (position != std::string_view::npos) return text.substr(position + separator.size());
    // The start is clamped so that a text shorter than the separator gives an empty part instead
    // of one read from past its end.
    const auto start = separator.empty() ? 0 : std::min(separator.size() - 1, text.size());
    return text.substr(start);
}

std::string ascii_lower(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = ascii_lower(c);
    return folded;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) noexcept {
    return std::ranges::equal(a, b, [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

bool holds_word(std::string_view text, std::string_view word, bool case_sensitive) {
    if (case_sensitive) return text.find(word) != std::string_view::npos;
    return ascii_lower(text).find(ascii_lower(word)) != std::string::npos;
}

int text_to_int(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulated as a negative number, whose range is the larger one, so INT_MIN is exact.
    int value = 0;  // [INT_MIN, 0]
    for (; i < text.size() && is_digit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (value < (INT_MIN + digit) / 10) return negative ? INT_MIN : INT_MAX;
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == INT_MIN ? INT_MAX : -value;
}

}  // namespace daybrook
