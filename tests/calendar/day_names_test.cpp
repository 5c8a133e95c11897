#include "calendar/day_names.h"

#include <gtest/gtest.h>

namespace daybrook {
namespace {

TEST(DayNames, RecognisesAnyPrefixIgnoringCaseWithTiesToTheEarlierDay) {
    struct Case { std::string_view typed; int expected; };
    const Case cases[] = {
        {"t", 2}, {"th", 4}, {"s", 0}, {"sa", 6}, {"WED", 3}, {"Sunday", 0}, {"saturDAY", 6},
        {"F", 5}, {"m", 1}, {"mondays", -1}, {"x", -1}, {" mon", -1}, {"mon ", -1},
        {"", -1},  // an empty text names no day
    };
    for (const auto& c : cases)
        EXPECT_EQ(find_day_name(c.typed), c.expected) << '"' << c.typed << '"';
}

}  // namespace
}  // namespace daybrook
