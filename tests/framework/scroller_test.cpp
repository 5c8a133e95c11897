#include "framework/scroller.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace daybrook {
namespace {

TEST(AutoScroll, StepsATenthOfTheDistanceBeyondAnEdgeBetweenOneUnitAndOnePage) {
    struct Case { int position; int extent; int units; };
    const Case cases[] = {
        {0, 400, 0},    {200, 400, 0},  {400, 400, 0},   // inside: no step
        {401, 400, 1},  {425, 400, 2},  {-1, 400, -1},   // just beyond: at least one unit
        {-55, 400, -5}, {1000, 400, 26}, {5000, 400, 26}, // a page is 400 / 15 = 26 units
    };
    for (const Case& c : cases)
        EXPECT_EQ(auto_scroll_units(c.position, c.extent, 15), c.units) << c.position;
}

TEST(AutoScroll, DraggingBelowTheVisibleAreaScrollsDownWhileTheButtonIsHeld) {
    auto* page = new QWidget;
    Scroller scroller(page, nullptr);
    scroller.resize(400, 300);
    scroller.set_units(15, 15);
    scroller.set_range(200, 200);
    scroller.set_auto_scroll(true);
    scroller.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&scroller));

    QTest::mousePress(page, Qt::LeftButton, {}, QPoint(100, 100));
    QCursor::setPos(scroller.viewport()->mapToGlobal(QPoint(100, scroller.viewport()->height() + 60)));
    QTest::mouseMove(page, page->mapFromGlobal(QCursor::pos()));
    EXPECT_EQ(scroller.verticalScrollBar()->value(), 6 * 15);
    EXPECT_EQ(scroller.horizontalScrollBar()->value(), 0);
    QTest::mouseRelease(page, Qt::LeftButton);
}

}  // namespace
}  // namespace daybrook
