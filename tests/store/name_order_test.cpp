// Sorting by name must give exactly the order of a plain sort of the names, whatever the names
// share: the sync pairs its record with the folders by walking both in that order.
#include "store/name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace daybrook {
namespace {

TEST(NameOrder, SortsAsAPlainSortWhateverTheNamesShare) {
    std::vector<std::string> names = {"", "a", "ab", "abcdefgh", "abcdefg", "abcdefgh0", "abcdefgh\x7f",
                                      "abcdefgh\x80", "\xff", "\x80z", "DAT20794.000", "DAT20794.009",
                                      "DAT20794.001", "yearly-0-1@daybrook.ics", "yearly-0-2@daybrook.ics"};
    std::mt19937 random(20261208);
    const std::string letters = "ab\x80\xff-.";
    for (int count = 0; count < 500; ++count) {
        std::string name(random() % 14, 'a');
        for (char& c : name) c = letters[random() % letters.size()];
        names.push_back(name);
    }
    std::shuffle(names.begin(), names.end(), random);
    struct Item {
        std::string name;
        int tag;
    };
    std::vector<Item> items;
    for (std::size_t at = 0; at < names.size(); ++at) items.push_back({names[at], int(at)});

    const std::vector<std::string> unsorted = names;

    sort_by_name(items, [](const Item& item) -> std::string_view { return item.name; });
    std::sort(names.begin(), names.end());
    ASSERT_EQ(items.size(), names.size());
    for (std::size_t at = 0; at < names.size(); ++at) {
        EXPECT_EQ(items[at].name, names[at]) << "at " << at;
        EXPECT_EQ(unsorted[std::size_t(items[at].tag)], items[at].name) << "an item keeps its own fields";
    }
}

}  // namespace
}  // namespace daybrook
