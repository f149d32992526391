// Link labels: hot colours and style while the mouse is over them, restored exactly when it
// leaves; what a click does for each kind; the hand cursor; the 8-bit caption.
#include "components/MURL.h"
#include "components/MURLStr.h"

#include "platform/qt/OpenUrl.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A shown window holding one link label, away from the window's corner so the mouse can
// be moved off it.
struct TLinkWindow {
    QWidget window;
    TMURL* link;

    TLinkWindow()
    {
        window.resize(200, 100);
        link = new TMURL(&window);
        link->setObjectName("alMethod1");
        link->setText("Method one");
        link->setGeometry(40, 30, 100, 20);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // On a real X server the pointer moves asynchronously: wait for the label to notice.
    void Enter() { MoveTo(QPoint(60, 40), true); }
    void Leave() { MoveTo(QPoint(5, 5), false); }
    void MoveTo(QPoint at, bool hot)
    {
        QTest::mouseMove(&window, at);
        for (int i = 0; i < 100 && link->IsHot() != hot && link->isVisible() && link->isEnabled(); ++i)
            QTest::qWait(10);
    }
    QColor Text() const { return link->palette().color(QPalette::Active, QPalette::WindowText); }
    QColor Back() const { return link->palette().color(QPalette::Window); }
};

// Records every address the label hands on instead of opening it.
struct TUrlRecorder {
    QList<QUrl> urls;
    TOpenUrlHandler previous;
    TUrlRecorder()
    {
        previous = SetOpenUrlHandler([this](const QUrl& u) {
            urls << u;
            return true;
        });
    }
    ~TUrlRecorder() { SetOpenUrlHandler(previous); }
};

}  // namespace

TEST(LinkLabel, HoverShowsHotColoursAndLeavingRestoresThemExactly)
{
    TLinkWindow w;
    w.link->SetFontColor(clBlack);
    w.link->SetColor(0x048AE4);
    w.link->SetHotColor(clWhite);
    w.link->SetHotBgColor(0x00FF00);
    w.link->SetBoldOnHot(true);
    QApplication::processEvents();
    const QImage before = w.link->grab().toImage();
    const QFont fontBefore = w.link->font();
    QSignalSpy entered(w.link, &TMURL::mouseEntered);
    QSignalSpy left(w.link, &TMURL::mouseLeft);

    w.Enter();
    EXPECT_TRUE(w.link->IsHot());
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(w.Text(), QColor(Qt::white));
    EXPECT_EQ(w.Back(), QColor(0, 255, 0));
    EXPECT_TRUE(w.link->font().underline());
    EXPECT_TRUE(w.link->font().bold());
    const QImage hot = w.link->grab().toImage();
    EXPECT_NE(hot, before);
    EXPECT_EQ(hot.pixelColor(0, 0), QColor(0, 255, 0));

    w.Leave();
    EXPECT_FALSE(w.link->IsHot());
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(w.link->FontColor(), clBlack);
    EXPECT_EQ(w.link->Color(), 0x048AE4);
    EXPECT_EQ(w.link->font(), fontBefore);
    EXPECT_EQ(w.link->grab().toImage(), before);
}

TEST(LinkLabel, LeavingRestoresTheParentsBackgroundAndStyleTheLabelHadBefore)
{
    TLinkWindow w;
    QFont f = w.link->font();
    f.setBold(true);
    f.setUnderline(true);
    w.link->setFont(f);
    w.link->SetBoldOnHot(true);
    w.link->SetTransparent(false);
    const QImage before = w.link->grab().toImage();
    w.Enter();
    EXPECT_TRUE(w.link->autoFillBackground());  // the hot background
    w.Leave();
    EXPECT_FALSE(w.link->autoFillBackground());  // the parent shows through again
    EXPECT_TRUE(w.link->ParentColor());
    EXPECT_TRUE(w.link->font().bold());  // it was bold before: it stays bold
    EXPECT_TRUE(w.link->font().underline());
    EXPECT_EQ(w.link->grab().toImage(), before);
}

TEST(LinkLabel, RepeatedHoverNeverLosesTheNormalColours)
{
    TLinkWindow w;
    for (int i = 0; i < 3; ++i) {
        w.Enter();
        // A second enter without a leave (as a re-shown window may send) changes nothing.
        QEnterEvent again(QPointF(5, 5), QPointF(45, 35), QPointF(45, 35));
        QApplication::sendEvent(w.link, &again);
        w.Leave();
        EXPECT_EQ(w.link->FontColor(), clBlue);
        EXPECT_FALSE(w.link->font().underline());
    }
}

TEST(LinkLabel, TransparentLabelNeverFillsItsBackground)
{
    TLinkWindow w;
    w.link->SetColor(0x048AE4);
    w.link->SetTransparent(true);
    EXPECT_FALSE(w.link->autoFillBackground());
    w.Enter();
    EXPECT_FALSE(w.link->autoFillBackground());
    w.Leave();
    EXPECT_FALSE(w.link->autoFillBackground());
    EXPECT_EQ(w.link->Color(), 0x048AE4);
}

TEST(LinkLabel, HotBorderFramesTheLabelWhileHot)
{
    TLinkWindow w;
    w.link->SetHotBorder(true);
    w.link->SetHotColor(0x0000FF);
    w.link->SetHotBgColor(clWhite);
    w.Enter();
    const QImage hot = w.link->grab().toImage();
    EXPECT_EQ(hot.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(hot.pixelColor(hot.width() - 1, hot.height() - 1), QColor(255, 0, 0));
    EXPECT_EQ(hot.pixelColor(hot.width() - 1, 0), QColor(255, 0, 0));
    w.Leave();
    const QImage cold = w.link->grab().toImage();
    EXPECT_NE(cold.pixelColor(0, 0), QColor(255, 0, 0));
}

TEST(LinkLabel, ClickOpensAddressOrFiresClickedForUserLinks)
{
    TUrlRecorder recorder;
    TLinkWindow w;
    QSignalSpy clicked(w.link, &TMURL::clicked);

    w.link->setText("www.example.org");
    QTest::mouseClick(w.link, Qt::LeftButton);
    w.link->SetActivType(atMailTo);
    w.link->setText("help@example.org");
    QTest::mouseClick(w.link, Qt::LeftButton);
    ASSERT_EQ(recorder.urls.size(), 2);
    EXPECT_EQ(recorder.urls[0], QUrl("http://www.example.org"));
    EXPECT_EQ(recorder.urls[1], QUrl("mailto:help@example.org"));
    EXPECT_EQ(clicked.count(), 0);  // no clicked() for addresses

    w.link->SetActivType(atUser);
    QTest::mouseClick(w.link, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(recorder.urls.size(), 2);

    // Right button, or a release outside the label, is no click.
    QTest::mouseClick(w.link, Qt::RightButton);
    QTest::mousePress(w.link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(w.link, Qt::LeftButton, {}, QPoint(150, 5));
    EXPECT_EQ(clicked.count(), 1);
    // A disabled key (hangman) does nothing.
    w.link->setEnabled(false);
    QTest::mouseClick(w.link, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(LinkLabel, ClickedHandlerMayFreeTheLabel)
{
    TLinkWindow w;
    w.link->SetActivType(atUser);
    QObject::connect(
        w.link, &TMURL::clicked, w.link, [&w] { delete w.link; }, Qt::DirectConnection);
    QPointer<TMURL> guard(w.link);
    QTest::mouseClick(w.link, Qt::LeftButton);
    EXPECT_TRUE(guard.isNull());
}

TEST(LinkLabel, HandCursorEvenUnderABusyCursor)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TMURL link;
    TMURLStr link8;
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link8.cursor().shape(), Qt::PointingHandCursor);
}

TEST(LinkLabel, EightBitCaptionInTheSystemCodePage)
{
    qputenv("LEXORA_CODEPAGE", "1251");
    TUrlRecorder recorder;
    TMURLStr link;
    link.SetCaption("\xE0\xE1\xE2.example.org");  // "абв" in windows-1251
    EXPECT_EQ(link.text(), QString::fromUtf8("абв.example.org"));
    link.resize(100, 20);
    QTest::mouseClick(&link, Qt::LeftButton);
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls[0], QUrl(QString::fromUtf8("http://абв.example.org")));
    qunsetenv("LEXORA_CODEPAGE");
}

TEST(LinkLabel, KeyDisabledOrHiddenWhileHotStillComesBack)
{
    // The hangman disables the key just clicked, with the mouse still over it.
    TLinkWindow w;
    w.Enter();
    w.link->setEnabled(false);
    w.Leave();
    EXPECT_FALSE(w.link->IsHot());
    EXPECT_EQ(w.link->FontColor(), clBlue);
    w.link->setEnabled(true);
    w.Enter();
    w.link->hide();
    EXPECT_FALSE(w.link->IsHot());
    EXPECT_FALSE(w.link->font().underline());
}
