#include <QColor>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace daybrook {
namespace {

struct IconCase {
    const char* path;
    int size;
    int unit;    // pixels per unit of the 32 x 32 design
    int margin;  // transparent pixels around the design
    QColor ground;
};

// The small icons fill their square; the large ones sit sharp (a whole number of pixels to a
// unit) in a transparent margin, as launchers expect of a large icon.
TEST(Icons, BothIconsAreCompiledInAtEachSizeWithTheirGroundFrameAndLines) {
    const std::vector<IconCase> cases = {
        {":/icons/daybrook-32.png", 32, 1, 0, Qt::cyan},
        {":/icons/daybrook-256.png", 256, 7, 16, Qt::cyan},
        {":/icons/daybrook-yellow-32.png", 32, 1, 0, Qt::yellow},
        {":/icons/daybrook-yellow-256.png", 256, 7, 16, Qt::yellow},
    };
    for (const IconCase& c : cases) {
        const QImage image(QString::fromLatin1(c.path));
        ASSERT_FALSE(image.isNull()) << c.path;
        EXPECT_EQ(image.size(), QSize(c.size, c.size)) << c.path;
        // The colour of a unit of the 32 x 32 design, read at the middle of its pixels.
        const auto colour_at = [&](int x, int y) {
            return image.pixelColor(c.margin + x * c.unit + c.unit / 2, c.margin + y * c.unit + c.unit / 2);
        };
        if (c.margin > 0) {
            EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << c.path << ": the margin";
            EXPECT_EQ(image.pixelColor(c.margin - 1, c.size - c.margin).alpha(), 0) << c.path << ": the margin";
        }
        EXPECT_EQ(colour_at(0, 0), QColor(Qt::red)) << c.path << ": the frame";
        EXPECT_EQ(colour_at(31, 31), QColor(Qt::red)) << c.path << ": the frame";
        EXPECT_EQ(colour_at(1, 1), c.ground) << c.path << ": the ground";
        // The stem of each line's W: "What ?", "Who ?" and "When ?".
        EXPECT_EQ(colour_at(3, 4), QColor(Qt::red)) << c.path;
        EXPECT_EQ(colour_at(5, 13), QColor(Qt::magenta)) << c.path;
        EXPECT_EQ(colour_at(3, 22), QColor(Qt::blue)) << c.path;
    }
}

}  // namespace
}  // namespace daybrook
