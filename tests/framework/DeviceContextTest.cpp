#include <CDC.h>
#include <CFont.h>
#include <CRecordingDC.h>

#include <QImage>
#include <QPainter>

#include "support/ProgramTest.h"

namespace {

// The rows and columns of an image that hold dark pixels.
struct Ink {
    QRect box;
    int topRowWidth = 0;
    int bottomRowWidth = 0;
};

Ink InkOf(const QImage& image) {
    Ink ink;
    auto rowWidth = [&](int y) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink.box |= QRect(x, y, 1, 1);
            }
        }
    }
    if (!ink.box.isEmpty()) {
        ink.topRowWidth = rowWidth(ink.box.top());
        ink.bottomRowWidth = rowWidth(ink.box.bottom());
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

TEST_F(DeviceContextTest, ThePrintFontIsAFixedPitchFontMeasuredInTwips) {
    CRecordingDC dc;
    dc.SetMapMode(MM_TWIPS);
    CFont font = PrintFont();
    CFont* old = dc.SelectObject(&font);
    EXPECT_EQ(old, nullptr);
    TEXTMETRIC metrics;
    ASSERT_TRUE(dc.GetTextMetrics(&metrics));
    // 14 point characters; Liberation Mono stands in for Courier New with the same metrics.
    EXPECT_NEAR(metrics.tmHeight + metrics.tmExternalLeading, 317, 4);
    EXPECT_NEAR(metrics.tmAveCharWidth, 168, 2);
    EXPECT_EQ(dc.GetTextExtent(QStringLiteral("iiiiiiiiii")).cx,
              dc.GetTextExtent(QStringLiteral("MMMMMMMMMM")).cx);
    EXPECT_NEAR(dc.GetTextExtent(QStringLiteral("Seite 12345")).cx, 11 * 168, 3);

    dc.TextOut(720, -1440, QStringLiteral("Zeile"));
    ASSERT_EQ(dc.Texts().size(), 1u);
    EXPECT_EQ(dc.Texts()[0].mapMode, MM_TWIPS);
    EXPECT_EQ(dc.Texts()[0].font.pixelSize(), 280);
    EXPECT_TRUE(QFontInfo(dc.Texts()[0].font).fixedPitch());
}

}  // namespace
