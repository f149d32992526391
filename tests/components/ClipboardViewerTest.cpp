// The clipboard viewer reports what the clipboard holds: text as Unicode, pictures only to
// a listener, nothing for other kinds of content.
#include "components/ClipboardViewer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct TSeen {
    QStringList texts;
    int images = 0;
};

void Listen(TClipboardViewer& viewer, TSeen& seen, bool images)
{
    QObject::connect(&viewer, &TClipboardViewer::OnText, [&](const QString& text) { seen.texts << text; });
    if (images)
        QObject::connect(&viewer, &TClipboardViewer::OnImage, [&](const QImage&) { ++seen.images; });
}

QMimeData* PictureWithText()
{
    auto data = new QMimeData;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    data->setImageData(image);
    data->setText(QStringLiteral("caption"));
    return data;
}

}  // namespace

TEST(ClipboardViewer, TextArrivesAsUnicode)
{
    TClipboardViewer viewer;
    TSeen seen;
    Listen(viewer, seen, false);
    const QString text = QStringLiteral("Stra\u00DFe \u0434\u043E\u043C \u65E5\u672C \U0001F600");
    QGuiApplication::clipboard()->setText(text);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seen.texts.isEmpty(); }, 60000));
    EXPECT_EQ(seen.texts.back(), text);
}

TEST(ClipboardViewer, PictureGoesToOnImageOnlyWhenSomeoneListens)
{
    TSeen seen;
    {
        TClipboardViewer viewer;
        Listen(viewer, seen, false);
        QGuiApplication::clipboard()->setMimeData(PictureWithText());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !seen.texts.isEmpty(); }, 60000));
        EXPECT_EQ(seen.texts, QStringList{"caption"});
    }
    seen = {};
    TClipboardViewer viewer;
    Listen(viewer, seen, true);
    QGuiApplication::clipboard()->setMimeData(PictureWithText());
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.images > 0; }, 60000));
    EXPECT_EQ(seen.images, 1);
    EXPECT_TRUE(seen.texts.isEmpty());
}

TEST(ClipboardViewer, OtherContentAndEmptyingFireNothing)
{
    TClipboardViewer viewer;
    TSeen seen;
    Listen(viewer, seen, true);
    auto data = new QMimeData;
    data->setData(QStringLiteral("application/x-lexora-test"), "\x01\x02");
    QGuiApplication::clipboard()->setMimeData(data);
    viewer.EmptyClipboard();
    QTest::qWait(100);
    EXPECT_TRUE(seen.texts.isEmpty());
    EXPECT_EQ(seen.images, 0);
    const QMimeData* now = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(!now || now->formats().isEmpty());
}
