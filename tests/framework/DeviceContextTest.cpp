#include <CDC.h>
#include <CFont.h>

#include <QImage>
#include <QPainter>

#include "support/ProgramTest.h"

namespace {

// Where an image has ink, and how wide the ink is in its top and bottom rows.
struct Ink {
    QRect box;
    int topRowWidth = 0;
    int bottomRowWidth = 0;
};

Ink InkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        QRect row;
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                row |= QRect(x, y, 1, 1);
            }
        }
        if (!row.isEmpty()) {
            ink.topRowWidth = ink.box.isEmpty() ? row.width() : ink.topRowWidth;
            ink.bottomRowWidth = row.width();
            ink.box |= row;
        }
    }
    return ink;
}

CFont PrintFont() {
    CFont font;
    font.CreateFont(-280, 0, 0, 0, FW_NORMAL, false, false, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                    QStringLiteral("Courier New"));
    return font;
}

class DeviceContextTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureTestApplication(); }
};

TEST_F(DeviceContextTest, TwipsTextStandsUprightBelowAndRightOfItsPoint) {
    // 144 pixels an inch: a twip is a tenth of a pixel.
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(20, 30);  // the printable area's corner
    CDC dc(&painter, 144, 144, true);
    dc.SetMapMode(MM_TWIPS);
    CFont font = PrintFont();
    dc.SelectObject(&font);
    TEXTMETRIC metrics;
    dc.GetTextMetrics(&metrics);
    dc.TextOut(1440, -1440, QStringLiteral("T"));
    painter.end();

    const Ink ink = InkOf(image);
    ASSERT_FALSE(ink.box.isEmpty());
    // The point (1 inch, 1 inch down) is the text's top left corner, not its baseline.
    EXPECT_GE(ink.box.left(), 20 + 144);
    EXPECT_LE(ink.box.right(), 20 + 144 + metrics.tmAveCharWidth / 10 + 1);
    EXPECT_GE(ink.box.top(), 30 + 144);
    EXPECT_LE(ink.box.bottom(), 30 + 144 + metrics.tmAscent / 10 + 1);
    EXPECT_GT(ink.topRowWidth, 3 * ink.bottomRowWidth) << "the T's bar must be at the top";
}

}  // namespace
