#include "calendar/text_helpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

namespace daybrook {
namespace {

TEST(TextHelpers, SplitsAtFirstSeparatorAndKeepsMissingSeparatorRule) {
    struct Case { std::string_view text, separator, before, after; };
    const Case cases[] = {
        {"12/05/27", "/", "12", "05/27"},
        {"/27", "/", "", "27"},
        {"12/", "/", "12", ""},
        {"1205", "/", "1205", "1205"},          // one-character separator missing: whole text
        {"DAT20793.000", "DAT", "", "20793.000"},
        {"XY20793", "DAT", "XY20793", "20793"}, // missing: the copy starts at position 2
        {"AB", "DAT", "AB", ""},                // shorter than that start: empty, not past the end
        {"", "DAT", "", ""},
        {"a.b", "", "a.b", "a.b"},              // an empty separator never occurs
    };
    for (const auto& c : cases) {
        EXPECT_EQ(view_before(c.text, c.separator), c.before) << c.text << " " << c.separator;
        EXPECT_EQ(view_after(c.text, c.separator), c.after) << c.text << " " << c.separator;
    }
}

TEST(TextHelpers, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(ascii_lower("Mon [AZaz@`{] \xC9t\xE9 9"), "mon [azaz@`{] \xC9t\xE9 9");
    EXPECT_EQ(ascii_lower(std::string_view("A\0Z", 3)), std::string_view("a\0z", 3));
}

TEST(TextHelpers, ReadsIntegersLikeAtoiButSaturates) {
    struct Case { std::string_view text; int expected; };
    const Case cases[] = {
        {"27", 27}, {"  \t\n\v\f\r05/", 5}, {"-12x", -12}, {"+7", 7}, {"- 7", 0},
        {"", 0}, {"abc", 0}, {"+", 0}, {"--1", 0}, {"0012", 12}, {"1 2", 1},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"-99999999999999999999", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(text_to_int(c.text), c.expected) << '"' << c.text << '"';
    // A view ends where it ends, even when the bytes after it are digits.
    EXPECT_EQ(text_to_int(std::string_view("123", 2)), 12);
}

}  // namespace
}  // namespace daybrook
