// The framed box, checked on its pixels: border, fill, title strip, caption, background picture.
#include "components/MBox.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage Shot(TMBox& box)
{
    return box.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool RowHolds(const QImage& img, int y, int x0, int x1, const QColor& c)
{
    for (int x = x0; x <= x1; ++x)
        if (img.pixelColor(x, y) != c)
            return false;
    return true;
}

const QColor kRed(255, 0, 0);       // $0000FF
const QColor kBlue(0, 0, 255);      // $FF0000
const QColor kYellow(255, 255, 0);  // $00FFFF
const QColor kGreen(0, 128, 0);     // $008000

}  // namespace

TEST(MBox, DefaultsAndSize)
{
    TMBox box;
    EXPECT_EQ(box.size(), QSize(100, 100));
    const QImage img = Shot(box);
    EXPECT_EQ(img.pixelColor(0, 0), kBlue);
    EXPECT_EQ(img.pixelColor(50, 50), ToQColor(clInfoBk));
}

TEST(MBox, OnePixelBorderAroundTheFill)
{
    TMBox box;
    box.resize(40, 30);
    box.SetColor(clYellow);
    box.SetBorderColor(clRed);
    const QImage img = Shot(box);
    EXPECT_TRUE(RowHolds(img, 0, 0, 39, kRed));
    EXPECT_TRUE(RowHolds(img, 29, 0, 39, kRed));
    for (int y = 1; y < 29; ++y) {
        EXPECT_EQ(img.pixelColor(0, y), kRed) << y;
        EXPECT_EQ(img.pixelColor(39, y), kRed) << y;
        EXPECT_TRUE(RowHolds(img, y, 1, 38, kYellow)) << y;
    }
}

TEST(MBox, TitleStripWithCaptionOnlyWhenShown)
{
    TMBox box;
    box.resize(120, 60);
    box.SetColor(clYellow);
    box.SetBorderColor(clRed);
    box.SetTitleColor(clGreen);
    box.SetCaption("Score");
    QPalette pal = box.palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    box.setPalette(pal);

    // Without the title nothing of the caption shows: the inside is all fill.
    QImage img = Shot(box);
    for (int y = 1; y < 59; ++y)
        ASSERT_TRUE(RowHolds(img, y, 1, 118, kYellow)) << y;

    box.SetShowTitle(true);
    img = Shot(box);
    // The strip (1,1)-(119,22): outlined in the box colour, filled with the title colour.
    EXPECT_TRUE(RowHolds(img, 1, 1, 118, kYellow));
    EXPECT_TRUE(RowHolds(img, 21, 1, 118, kYellow));
    EXPECT_EQ(img.pixelColor(1, 10), kYellow);
    EXPECT_EQ(img.pixelColor(118, 10), kYellow);
    EXPECT_EQ(img.pixelColor(110, 3), kGreen);
    EXPECT_EQ(img.pixelColor(2, 20), kGreen);
    EXPECT_TRUE(RowHolds(img, 22, 1, 118, kYellow));  // below the strip: the box again
    EXPECT_TRUE(RowHolds(img, 0, 0, 119, kRed));      // the border stays

    // The caption is written from (4, 4) in the font colour.
    int ink = 0, inkBefore4 = 0;
    for (int y = 2; y < 21; ++y)
        for (int x = 2; x < 117; ++x)
            if (const QColor c = img.pixelColor(x, y); c != kGreen && c != kYellow) {
                ++ink;
                if (x < 4 || y < 4)
                    ++inkBefore4;
            }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(inkBefore4, 0);
}

TEST(MBox, BackImageFromOneOneCoversRightAndBottomBorder)
{
    TMBox box;
    box.resize(30, 20);
    box.SetBorderColor(clRed);
    QImage big(50, 50, QImage::Format_RGB32);
    big.fill(kGreen);
    box.SetBackImage(big);
    big.fill(Qt::white);  // the box holds its own copy
    const QImage img = Shot(box);
    EXPECT_TRUE(RowHolds(img, 0, 0, 29, kRed));     // top border kept
    EXPECT_EQ(img.pixelColor(0, 10), kRed);         // left border kept
    EXPECT_EQ(img.pixelColor(29, 10), kGreen);      // right border covered
    EXPECT_TRUE(RowHolds(img, 19, 1, 29, kGreen));  // bottom border covered

    // A null image changes nothing.
    box.SetBackImage(QImage());
    EXPECT_EQ(box.BackImage().size(), QSize(50, 50));
    EXPECT_EQ(Shot(box).pixelColor(29, 10), kGreen);
}
