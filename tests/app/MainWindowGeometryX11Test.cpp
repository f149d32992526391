// The main window's place on a real X server, with and without a window manager (openbox,
// started by the test): the stored corner comes back where it was, restart after restart,
// and stored bounds larger than the screen give a window inside it.
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/WindowManager.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

void Store(const QRect& bounds)
{
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    s.UpdEnbl = false;  // no automatic update check: closing the window would ask to stop it
    s.Left = bounds.left();
    s.Top = bounds.top();
    s.Width = bounds.width();
    s.Height = bounds.height();
    SaveSettings(s, 0);
}

QRect Stored()
{
    TSettings s;
    LoadSettings(s);
    return {s.Left, s.Top, s.Width, s.Height};
}

class MainWindowGeometryX11 : public ::testing::Test {
protected:
    // Three starts in a row: the window's outer corner and inside size are the stored ones
    // every time, and closing stores them unchanged.
    void RoundTrips(bool framed)
    {
        const QRect bounds(100, 100, 550, 380);
        Store(bounds);
        for (int start = 0; start < 3; ++start) {
            {
                TfLexDictionary w(folder.Path());
                w.show();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
                if (framed) {
                    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.windowHandle()->frameMargins().isNull(); }, 60000));
                }
                EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry().topLeft() == bounds.topLeft(); }, 60000))
                    << "start " << start << ": at " << w.frameGeometry().x() << "," << w.frameGeometry().y();
                EXPECT_EQ(w.size(), bounds.size());
            }
            EXPECT_EQ(Stored(), bounds) << "start " << start;
        }
    }
    void StaysInsideTheScreen()
    {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        for (const QRect stored : {QRect(100, 100, 32767, 32767), QRect(30000, 30000, area.width(), 380)}) {
            Store(stored);
            TfLexDictionary w(folder.Path());
            w.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
            EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(w.frameGeometry()); }, 60000))
                << w.frameGeometry().x() << "," << w.frameGeometry().y() << " " << w.frameGeometry().width() << "x"
                << w.frameGeometry().height();
        }
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
};

}  // namespace

TEST_F(MainWindowGeometryX11, WithoutAWindowManagerTheStoredPlaceComesBack)
{
    RoundTrips(false);
    StaysInsideTheScreen();
}

TEST_F(MainWindowGeometryX11, WithAWindowManagerTheStoredPlaceComesBack)
{
    TestSupport::TWindowManager manager;
    if (!manager.Start())
        GTEST_SKIP() << "no window manager (openbox) could be started";
    RoundTrips(true);
    StaysInsideTheScreen();
}
