#include "window/diary_page.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include "calendar/day_names.h"

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

}  // namespace
}  // namespace daybrook
