// The banner pictures: JPEG decoded with libjpeg, damaged files refused without harm, and the
// banner of the interface language shown.
#include "app/mainwindow/JpegImage.h"
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QLabel>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

QByteArray Jpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    return writer.write(image) ? bytes : QByteArray();
}

}  // namespace

TEST(MainWindowBanner, DecodesJpegAndRefusesDamagedBytes)
{
    QImage red(40, 20, QImage::Format_RGB888);
    red.fill(QColor(200, 30, 30));
    const QByteArray bytes = Jpeg(red);
    if (bytes.isEmpty())
        GTEST_SKIP() << "no JPEG writer to make the test picture";
    const QImage decoded = DecodeJpeg(bytes);
    ASSERT_EQ(decoded.size(), QSize(40, 20));
    const QColor c = decoded.pixelColor(20, 10);
    EXPECT_NEAR(c.red(), 200, 8);
    EXPECT_NEAR(c.green(), 30, 8);
    EXPECT_TRUE(DecodeJpeg(bytes.left(bytes.size() / 3)).isNull()
                || DecodeJpeg(bytes.left(bytes.size() / 3)).width() == 40);
    EXPECT_TRUE(DecodeJpeg("not a picture").isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(LoadJpegFile("/nonexistent/banner.jpg").isNull());
}

TEST(MainWindowBanner, ShowsTheBannerOfTheInterfaceLanguage)
{
    TProgramFolder folder({EnglishGerman()});
    QImage picture(468, 60, QImage::Format_RGB888);
    picture.fill(Qt::blue);
    const QByteArray bytes = Jpeg(picture);
    if (bytes.isEmpty())
        GTEST_SKIP() << "no JPEG writer to make the test picture";
    QDir().mkpath(folder.Path() + "Banners");
    QFile f(folder.Path() + "Banners/BANNER_ENG.jpg");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    TfLexDictionary w(folder.Path());
    w.ShowBanner();
    EXPECT_EQ(w.IBaner->pixmap().size(), QSize(468, 60));
}
