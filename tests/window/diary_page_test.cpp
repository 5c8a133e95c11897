#include "window/diary_page.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QPushButton>

#include <gtest/gtest.h>

#include "calendar/day_names.h"
#include "store/entry_files.h"
#include "support/temp_dir.h"
#include "window/compose_page.h"

namespace daybrook {
namespace {

TEST(PageFont, IsATwentyFifthOfTheClientHeightWhileTheColumnsHoldIt) {
    EXPECT_EQ(DiaryPage::page_font(435).pixelSize(), 17);
    EXPECT_EQ(DiaryPage::page_font(435).weight(), QFont::Black);
    EXPECT_EQ(DiaryPage::page_font(10).pixelSize(), 1);
}

TEST(PageFont, StopsGrowingWhereTheMonthsWouldRunIntoTheDays) {
    const QFont font = DiaryPage::page_font(2000);
    EXPECT_LT(font.pixelSize(), 2000 / 25);
    EXPECT_GT(font.pixelSize(), 17);
    const QFontMetrics metrics(font);
    for (std::string_view month : month_names)
        EXPECT_LE(metrics.horizontalAdvance(QString::fromLatin1(month.data(), qsizetype(month.size()))),
                  15 * int(month.size()))
            << month;
}

// The texts a screen reader finds in the page's list: its lines, then the buttons on it.
QStringList spoken_children(QAccessibleInterface& page) {
    QStringList texts;
    for (int i = 0; i < page.childCount(); ++i) texts << page.child(i)->text(QAccessible::Name);
    return texts;
}

// A screen reader hears the page composed last, red letters and yearly entries in words, and
// follows the page when it is composed anew: the lines it already holds say the new words, and
// those the new page no longer has are gone.
TEST(DiaryPageAccessibility, AScreenReaderHearsEachLineOfTheComposedPage) {
    constexpr DayNumber today = 20793;  // Sunday 6 December 2026
    testing::TempDir store;
    ASSERT_EQ(add_entry(store.path(), today, {.text = "Dentist \xa3" "5", .red = 1}).error, StoreError::none);
    ASSERT_EQ(add_entry(store.path(), today, {.text = "Mum's birthday", .yearly = EntryRecord::yearly_pending}).error,
              StoreError::none);
    ASSERT_EQ(add_entry(store.path(), today - 1, {.text = ""}).error, StoreError::none);
    DiaryPage page;
    page.resize(630, 435);
    auto* exit = new QPushButton("Exit", &page);
    const PageGeometry geometry = page.layout_geometry();
    DiaryState state{.today = today};
    state.view = {.page_mode = PageMode::week, .start_day = today};
    page.show_page(compose_page(state, {2026, 12, 6, 9, 5}, store.path(), geometry), geometry);

    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&page);
    ASSERT_NE(described, nullptr);
    EXPECT_EQ(described->role(), QAccessible::List);
    const QStringList week{"The Next Seven Days: Year 2026",
                           "Saturday 5 December: blank entry",
                           QString::fromUtf8("Sunday 6 December: Dentist \u00a35, red letter; Mum's birthday, yearly"),
                           "Monday 7 December: no entries",
                           "Tuesday 8 December: no entries",
                           "Wednesday 9 December: no entries",
                           "Thursday 10 December: no entries",
                           "Friday 11 December: no entries",
                           "Saturday 12 December: no entries",
                           "Time now: 9:05 hrs."};
    EXPECT_EQ(spoken_children(*described), week + QStringList{"Exit"});
    EXPECT_EQ(described->text(QAccessible::Name), week.front());
    EXPECT_EQ(described->text(QAccessible::Description), week.join('\n'));
    QAccessibleInterface* second_line = described->child(2);
    EXPECT_EQ(second_line->role(), QAccessible::ListItem);
    EXPECT_EQ(described->indexOfChild(second_line), 2);
    EXPECT_EQ(described->indexOfChild(QAccessible::queryAccessibleInterface(exit)), int(week.size()));
    QAccessibleInterface* clock_line = described->child(int(week.size()) - 1);

    state.view = {.page_mode = PageMode::search_results, .start_day = today, .show_all = true};
    page.show_page(compose_page(state, {2026, 12, 6, 9, 6}, store.path(), geometry), geometry);
    const QStringList results{"Search Results:", "05/12/26: blank entry",
                              QString::fromUtf8("06/12/26: Dentist \u00a35, red letter"),
                              "06/12/26: Mum's birthday, yearly", "Time now: 9:06 hrs."};
    EXPECT_EQ(spoken_children(*described), results + QStringList{"Exit"});
    EXPECT_EQ(second_line->text(QAccessible::Name), results[2]);
    EXPECT_FALSE(clock_line->isValid()) << "the week's last line is past the results' end";
    EXPECT_EQ(described->indexOfChild(clock_line), -1);
}

}  // namespace
}  // namespace daybrook
