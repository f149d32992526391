// Text and pictures that another program puts on the X clipboard reach the viewer.
#include "components/ClipboardViewer.h"

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// xclip holding the clipboard until the test ends.
class TXclip {
public:
    TXclip(const QStringList& args, const QByteArray& input)
    {
        FProcess.start(QStringLiteral("xclip"), QStringList{"-quiet", "-selection", "clipboard", "-i"} + args);
        FStarted = FProcess.waitForStarted(60000);
        FProcess.write(input);
        FProcess.closeWriteChannel();
    }
    ~TXclip()
    {
        FProcess.kill();
        FProcess.waitForFinished(60000);
    }
    bool Started() const { return FStarted; }

private:
    QProcess FProcess;
    bool FStarted = false;
};

}  // namespace

TEST(ClipboardViewerX11, TextCopiedByAnotherProgramReachesOnText)
{
    TClipboardViewer viewer;
    QStringList texts;
    QObject::connect(&viewer, &TClipboardViewer::OnText, [&](const QString& text) { texts << text; });
    const QString text = QStringLiteral("Gr\u00FC\u00DFe \u0434\u043E\u043C \u03BB\u03CC\u03B3\u03BF\u03C2");
    TXclip xclip({"-t", "UTF8_STRING"}, text.toUtf8());
    ASSERT_TRUE(xclip.Started());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !texts.isEmpty(); }, 60000));
    EXPECT_EQ(texts.back(), text);
}

TEST(ClipboardViewerX11, PictureCopiedByAnotherProgramReachesOnImage)
{
    QTemporaryDir dir;
    QImage image(10, 6, QImage::Format_RGB32);
    image.fill(QColor(10, 120, 230));
    const QString file = dir.filePath("picture.png");
    ASSERT_TRUE(image.save(file));
    QFile png(file);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));

    TClipboardViewer viewer;
    QList<QImage> images;
    int texts = 0;
    QObject::connect(&viewer, &TClipboardViewer::OnImage, [&](const QImage& i) { images << i; });
    QObject::connect(&viewer, &TClipboardViewer::OnText, [&] { ++texts; });
    TXclip xclip({"-t", "image/png"}, png.readAll());
    ASSERT_TRUE(xclip.Started());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !images.isEmpty(); }, 60000));
    EXPECT_EQ(images.back().size(), QSize(10, 6));
    EXPECT_EQ(images.back().pixelColor(3, 3), QColor(10, 120, 230));
    EXPECT_EQ(texts, 0);
}
