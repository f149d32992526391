// On a real X server: the window's translucency while another program is active, a word
// copied in another program looked up into the balloon, and the tray icon's double click.
#include "app/mainwindow/LexDictionary.h"
#include "components/TrayIcon.h"
#include "platform/qt/Balloon.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

// Another program's window that takes the keyboard focus from ours.
class TOtherProgram {
public:
    TOtherProgram()
    {
        FProcess.start("xmessage", {"-name", "lexora-other", "another program"});
        FProcess.waitForStarted(60000);
    }
    ~TOtherProgram()
    {
        FProcess.kill();
        FProcess.waitForFinished(60000);
    }
    bool Focus()
    {
        return QProcess::execute("xdotool",
                                 {"search", "--sync", "--classname", "lexora-other", "windowfocus", "--sync"})
            == 0;
    }

private:
    QProcess FProcess;
};

class TrayX11 : public ::testing::Test {
protected:
    void Open(bool transparent)
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->Settings.Transparent = transparent;
        window->Settings.TranValue = 128;
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        Activate();
    }
    // Asked again until it holds: a request that carries an older time than another program's
    // last focus change (its events may not have come in yet on a loaded machine) is ignored.
    void Activate()
    {
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                if (QGuiApplication::applicationState() == Qt::ApplicationActive)
                    return true;
                window->activateWindow();
                return false;
            },
            60000));
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(TrayX11, TranslucentOnlyWhileAnotherProgramIsActive)
{
    Open(true);
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
    TOtherProgram other;
    ASSERT_TRUE(other.Focus());
    ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::applicationState() != Qt::ApplicationActive; }, 60000));
    EXPECT_NEAR(window->windowOpacity(), 128 / 255.0, 0.01);
    Activate();
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
}

TEST_F(TrayX11, OpaqueWhenTranslucencyIsOff)
{
    Open(false);
    TOtherProgram other;
    ASSERT_TRUE(other.Focus());
    ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::applicationState() != Qt::ApplicationActive; }, 60000));
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
}

TEST_F(TrayX11, WordCopiedInAnotherProgramShowsItsTranslationInTheBalloon)
{
    Open(false);
    window->Settings.ClipTranslate = true;
    window->Settings.Delicate = true;
    window->Settings.DelicateTime = 10;
    QProcess xclip;
    xclip.start("xclip", {"-quiet", "-selection", "clipboard", "-i"});
    ASSERT_TRUE(xclip.waitForStarted(60000));
    xclip.write("  mouse\n");
    xclip.closeWriteChannel();
    ASSERT_TRUE(QTest::qWaitFor([] { return Balloon::CurrentBalloon() != nullptr; }, 60000));
    QStringList texts;
    for (QLabel* l : Balloon::CurrentBalloon()->findChildren<QLabel*>())
        texts << l->text();
    EXPECT_TRUE(texts.contains("mouse"));
    EXPECT_TRUE(texts.join(' ').contains("Maus"));
    Balloon::CloseBaloon();
    xclip.kill();
    xclip.waitForFinished(60000);
}

TEST_F(TrayX11, DoubleClickOnTheTrayIconRestoresTheWindow)
{
    Open(false);
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isMinimized(); }, 60000));
    emit window->TrayIcon1->OnDblClick();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isMinimized() && window->isVisible(); }, 60000));
}
