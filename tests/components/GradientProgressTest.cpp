// The progress bar: its range rules and the pixels of the drawn fill.
#include "components/GradientProgress.h"
#include "platform/qt/Colors.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The download bar's colours, as the main window gives them ($00BBGGRR).
const QColor Face = ToQColor(0xF8F8F8);
const QColor Start = ToQColor(0xEEEFED);
const QColor End = ToQColor(0x998873);
const QColor Unpainted(255, 0, 255);

// What the bar itself paints, on a magenta ground.
QImage Render(TGradientProgress& bar)
{
    QImage image(bar.size(), QImage::Format_RGB32);
    image.fill(Unpainted);
    bar.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QColor At(const QImage& image, int x, int y = 7)
{
    return image.pixelColor(x, y);
}

// The colour a gradient gives `offset` pixels into a fill `filled` pixels wide.
QColor Blend(int offset, int filled)
{
    const auto ch = [&](int s, int e) {
        return static_cast<int>(std::nearbyint(s + offset * (double(e) - s) / filled));
    };
    return QColor(ch(Start.red(), End.red()), ch(Start.green(), End.green()), ch(Start.blue(), End.blue()));
}

// The download bar of the main window: 511 x 15, blocks, a gradient, a light face.
void MakeDownloadBar(TGradientProgress& bar)
{
    bar.resize(511, 15);
    bar.SetColor(Face);
    bar.SetStartColor(Start);
    bar.SetEndColor(End);
}

}  // namespace

TEST(GradientProgress, RangeRulesHoldPositionInside)
{
    TGradientProgress bar;
    EXPECT_EQ(bar.size(), QSize(150, 15));
    bar.SetPosition(250);
    EXPECT_EQ(bar.Position(), 100);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 100);
    bar.SetMaximum(40);
    EXPECT_EQ(bar.Position(), 40);
    bar.SetMinimum(60);  // above the maximum: held at it
    EXPECT_EQ(bar.Minimum(), 40);
    EXPECT_EQ(bar.Position(), 40);
    EXPECT_EQ(bar.Percentage(), 0);  // an empty range shows 0%
    bar.SetMinimum(0);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetStep(15);
    bar.StepIt();
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 30);
    EXPECT_EQ(bar.Percentage(), 75);
}

TEST(GradientProgress, FiftyMillionBytesDrawHalfAndFull)
{
    TGradientProgress bar;
    MakeDownloadBar(bar);
    bar.SetMaximum(50'000'000);
    bar.SetPosition(25'000'000);
    EXPECT_EQ(bar.Percentage(), 50);
    QImage image = Render(bar);
    // Blocks of 10 pixels (9 coloured, 1 gap): 254 pixels snap to 25 blocks.
    EXPECT_EQ(bar.BlockWidth(), 10);
    EXPECT_EQ(bar.FilledWidth(), 250);
    EXPECT_EQ(At(image, 1), Start);
    EXPECT_EQ(At(image, 9), Start);
    EXPECT_EQ(At(image, 10), Face);  // gap
    EXPECT_EQ(At(image, 11), Blend(10, 250));
    EXPECT_EQ(At(image, 241), Blend(240, 250));
    EXPECT_EQ(At(image, 250), Face);
    EXPECT_EQ(At(image, 251), Face);  // empty part
    EXPECT_EQ(At(image, 400), Face);
    EXPECT_EQ(At(image, 5, 0), Face);  // frame
    EXPECT_EQ(At(image, 5, 14), Face);

    // Done: the fill reaches the right frame, the last block 9 pixels wide.
    bar.SetPosition(50'000'000);
    image = Render(bar);
    EXPECT_EQ(bar.Percentage(), 100);
    EXPECT_EQ(bar.FilledWidth(), 509);
    EXPECT_TRUE(bar.LastBlockPartial());
    EXPECT_EQ(bar.LastBlockWidth(), 9);
    EXPECT_EQ(At(image, 500), Face);  // the gap before the last block
    EXPECT_EQ(At(image, 501), Blend(500, 509));
    EXPECT_EQ(At(image, 509), Blend(500, 509));
    EXPECT_EQ(At(image, 510), Face);  // frame
    EXPECT_EQ(At(image, 1, 1), Start);
    EXPECT_EQ(At(image, 1, 13), Start);
}

TEST(GradientProgress, BlocksSnapAndRoundUpPastHalf)
{
    TGradientProgress bar;
    MakeDownloadBar(bar);
    bar.SetMaximum(509);
    bar.SetPosition(24);  // 2 blocks and 4 pixels: down to 2 blocks
    EXPECT_EQ(bar.FilledWidth(), 20);
    bar.SetPosition(26);  // 2 blocks and 6 pixels: up to 3
    EXPECT_EQ(bar.FilledWidth(), 30);
    EXPECT_EQ(bar.BlockCount(), 3);
    const QImage image = Render(bar);
    EXPECT_EQ(At(image, 29), Blend(20, 30));
    EXPECT_EQ(At(image, 30), Face);
    EXPECT_EQ(At(image, 31), Face);
}

TEST(GradientProgress, GradientInsideBlocksAndSolidFill)
{
    TGradientProgress bar;
    MakeDownloadBar(bar);
    bar.SetMaximum(509);
    bar.SetPosition(100);
    bar.SetGradientBlocks(true);
    QImage image = Render(bar);
    EXPECT_EQ(At(image, 1), Blend(0, 100));
    EXPECT_EQ(At(image, 9), Blend(8, 100));
    EXPECT_EQ(At(image, 10), Face);
    EXPECT_EQ(At(image, 11), Blend(10, 100));  // the gap took a step too

    bar.SetSolid(true);
    image = Render(bar);
    EXPECT_EQ(bar.FilledWidth(), 100);
    EXPECT_EQ(At(image, 1), Blend(0, 100));
    EXPECT_EQ(At(image, 10), Blend(9, 100));  // no gaps
    EXPECT_EQ(At(image, 100), Blend(99, 100));
    EXPECT_EQ(At(image, 101), Face);

    // One colour when start and end agree; a system colour counts with its own value.
    const QColor buttonFace = ToQColor(clBtnFace);
    bar.SetStartColor(buttonFace);
    bar.SetEndColor(buttonFace);
    image = Render(bar);
    EXPECT_EQ(At(image, 50), buttonFace);
    EXPECT_EQ(At(image, 100), buttonFace);
}

TEST(GradientProgress, TextSitsOnTheFillOrTheWholeBar)
{
    TGradientProgress bar;
    MakeDownloadBar(bar);
    bar.resize(200, 20);
    QPalette palette = bar.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    bar.setPalette(palette);
    bar.SetTextVisible(true);
    const auto darkColumns = [](const QImage& image) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y).value() < 100) {
                    first = first < 0 ? x : first;
                    last = x;
                }
        return std::pair{first, last};
    };
    // An empty bar: "0%" at the left edge.
    auto [first, last] = darkColumns(Render(bar));
    ASSERT_GE(first, 0);
    EXPECT_LT(first, 4);
    // Centred on the whole bar.
    bar.SetTextCentered(true);
    std::tie(first, last) = darkColumns(Render(bar));
    ASSERT_GE(first, 0);
    EXPECT_NEAR((first + last) / 2.0, 100, 6);
    bar.SetTextVisible(false);
    std::tie(first, last) = darkColumns(Render(bar));
    EXPECT_EQ(first, -1);
}

TEST(GradientProgress, ABarTwoPixelsHighShowsNothing)
{
    TGradientProgress bar;
    bar.resize(100, 2);
    bar.SetPosition(50);
    const QImage image = Render(bar);
    for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixelColor(x, 0), Unpainted);
}

TEST(GradientProgress, ResizingRedrawsTheFill)
{
    TGradientProgress bar;
    MakeDownloadBar(bar);
    bar.SetMaximum(100);
    bar.SetPosition(100);
    bar.SetEndColor(Start);
    Render(bar);
    bar.resize(300, 15);
    const QImage image = Render(bar);
    EXPECT_EQ(image.width(), 300);
    EXPECT_EQ(At(image, 297), Start);
    EXPECT_EQ(At(image, 299), Face);
}
