// The main window and its tray icon on a real X server with openbox and a tray (trayer), with
// real keys and clicks (xdotool): start after start of the real program, Escape from the
// search box or a tool button hides the window into the tray and the first double click on
// the icon brings it back active, with the keyboard in that control; a window that started in
// the tray is fitted onto the screen when it first shows.
#include "app/ProgramMain.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/TrayIcon.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/WindowManager.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

using namespace MainWindowTest;
using TestSupport::XDo;

namespace {

class MainWindowTrayX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!manager.Start())
            GTEST_SKIP() << "no window manager (openbox) could be started";
        tray = std::make_unique<TestSupport::TTrayer>();
        if (!QTest::qWaitFor([] { return TTrayIcon::TrayAvailable(); }, 60000))
            GTEST_SKIP() << "no tray (trayer) could be started";
    }
    // The window active, with the X server's keyboard (where xdotool types).
    bool Active()
    {
        return QTest::qWaitFor(
            [&] {
                QProcess focus;
                focus.start("xdotool", {"getwindowfocus"});
                return window->isActiveWindow() && focus.waitForFinished(5000)
                    && focus.readAll().trimmed().toULongLong() == window->winId();
            },
            60000);
    }

    TestSupport::TWindowManager manager;
    std::unique_ptr<TestSupport::TTrayer> tray;
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

// Runs only as a child of the start-after-start case: the real program, which reports
// "<visible> <active> <focused control> <search text> @<icon x> <icon y>" on every change
// once the tray holds its icon.
TEST(TrayProgramChild, Run)
{
    const QString folder = qEnvironmentVariable("LEXORA_TRAY_CHILD");
    if (folder.isEmpty())
        GTEST_SKIP() << "runs as a child process only";
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [said = QString()]() mutable {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<TfLexDictionary*>(w)) {
                const QPoint icon = main->TrayIcon1->ShellIcon().geometry().center();
                const QWidget* focus = QApplication::focusWidget();
                const QString state =
                    QStringLiteral("%1 %2 %3 %4 @%5 %6")
                        .arg(main->isVisible())
                        .arg(main->isActiveWindow())
                        .arg(focus != nullptr ? focus->objectName() : "-", main->cbFind->currentText())
                        .arg(icon.x())
                        .arg(icon.y());
                // In the tray strip at the top right of the screen.
                if (state != said && icon.x() > QGuiApplication::primaryScreen()->geometry().right() - 130
                    && icon.y() < 40) {
                    said = state;
                    std::printf("%s\n", qPrintable(state));
                    std::fflush(stdout);
                }
            }
    });
    report.start(20);
    ProgramMain({}, folder, folder + "run");
}

TEST_F(MainWindowTrayX11, EveryStartsFirstDoubleClickRestoresTheWindowWithTheKeyboard)
{
    QDir().mkpath(folder.Path() + "run");
    for (const char* word : {"hut", "mouse", "house", "arm", "hat"}) {
        SCOPED_TRACE(word);
        QProcess program;
        program.setProcessEnvironment([&] {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("LEXORA_TRAY_CHILD", folder.Path());
            return env;
        }());
        program.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=TrayProgramChild.Run"});
        QByteArray last;
        const auto says = [&](const QByteArray& wanted, int limit) {
            for (QDeadlineTimer end(limit); !end.hasExpired(); program.waitForReadyRead(100))
                while (program.canReadLine())
                    if ((last = program.readLine().trimmed()).startsWith(wanted))
                        return true;
            return false;
        };
        ASSERT_TRUE(says("1 1 cbFind", 60000)) << last.constData();
        const QList<QByteArray> icon = last.mid(last.indexOf('@') + 1).split(' ');
        const QString x = icon.value(0), y = icon.value(1);
        // Every other start the keyboard is one Tab further, on a tool button.
        const bool still = word[0] == 'h';
        if (!still) {
            ASSERT_TRUE(XDo({"key", "Tab"}));
            ASSERT_TRUE(says("1 1 b", 60000)) << last.constData();
        }
        const QByteArray control = last.split(' ').value(2);
        ASSERT_TRUE(XDo({"key", "Escape"}));
        ASSERT_TRUE(says("0", 60000)) << last.constData();
        // A still hand, or one that moves a few pixels between the clicks.
        if (still)
            XDo({"mousemove", x, y, "click", "--repeat", "2", "--delay", "80", "1"});
        else
            XDo({"mousemove", QString::number(x.toInt() - 3), QString::number(y.toInt() - 3), "click", "1", "mousemove",
                 QString::number(x.toInt() + 4), QString::number(y.toInt() + 3), "click", "1"});
        ASSERT_TRUE(says("1 1 " + control, 60000)) << last.constData();
        XDo({"key", "F3", "type", "--delay", "40", word});
        EXPECT_TRUE(says(QByteArray("1 1 cbFind ") + word, 60000)) << last.constData();
        EXPECT_FALSE(says("0", 1000)) << "hidden again: " << last.constData();
        program.terminate();  // the program ends as at the end of a session
        ASSERT_TRUE(program.waitForFinished(60000));
    }
}

TEST_F(MainWindowTrayX11, ShownAgainAtOnceTheWindowTakesTheKeysAndCountsAsMinimisedInTheTray)
{
    window = std::make_unique<TfLexDictionary>(folder.Path());
    window->ShowAtStart(true);
    ASSERT_TRUE(Active());
    for (const char* word : {"hut", "arm"}) {
        ASSERT_TRUE(XDo({"key", "Escape"}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 60000));
        window->miShow->trigger();  // the tray menu's Show, at once
        ASSERT_TRUE(Active());
        ASSERT_TRUE(XDo({"type", "--delay", "40", word}) && XDo({"key", "Return"}));  // searched: selected
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->cbFind->currentText() == word; }, 60000))
            << window->cbFind->currentText().toStdString();
    }
    ASSERT_TRUE(XDo({"key", "Escape"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 60000));
    window.reset();
    TSettings stored;
    LoadSettings(stored);
    EXPECT_TRUE(stored.Min);
}

TEST_F(MainWindowTrayX11, AWindowThatStartedInTheTrayIsFittedOntoTheScreenWhenItFirstShows)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect stored : {QRect(100, 100, 32767, 32767), QRect(30000, 30000, area.width(), 380)}) {
        WriteDefaultSettings();
        TSettings s;
        LoadSettings(s);
        s.StartMin = true;
        s.Left = stored.left();
        s.Top = stored.top();
        s.Width = stored.width();
        s.Height = stored.height();
        SaveSettings(s, 0);
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->ShowAtStart(true);
        ASSERT_FALSE(window->isVisible());
        QTest::qWait(4000);  // the window stays in the tray a while before the user opens it
        window->TrayIcon1DblClick();
        ASSERT_TRUE(Active());
        EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(window->frameGeometry()); }, 60000));
    }
}

// Every restore (the icon's double click, the tray menu's Show, a second start) brings the
// window back as it was when Escape took it into the tray: maximised, or normal at its own
// place and size, whatever was stored at the start.
TEST_F(MainWindowTrayX11, ARestoreBringsTheWindowBackAsItWasWhenItWent)
{
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    s.Max = true;
    SaveSettings(s, 0);
    window = std::make_unique<TfLexDictionary>(folder.Path());
    window->ShowAtStart(true);
    ASSERT_TRUE(Active());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isMaximized(); }, 60000));
    const auto hide = [&] {
        ASSERT_TRUE(XDo({"key", "Escape"}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 60000));
    };
    // Maximised as the window manager has made it, not only as asked.
    const auto maximised = [&] {
        return window->isMaximized() && window->geometry().width() > window->screen()->availableGeometry().width() - 20;
    };
    const std::vector<std::pair<const char*, std::function<void()>>> restores = {
        {"double click", [&] { window->TrayIcon1DblClick(); }},
        {"Show", [&] { window->miShow->trigger(); }},
        {"second start", [&] { QCoreApplication::postEvent(window.get(), new QEvent(LexEvents::RestoreWindow)); }},
    };
    for (const auto& [name, restore] : restores) {
        SCOPED_TRACE(name);
        // Normal, at a place and size of the user's.
        window->showNormal();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isMaximized(); }, 60000));
        window->setGeometry(170, 140, 610, 430);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry() == QRect(170, 140, 610, 430); }, 60000));
        QTest::qWait(300);
        ASSERT_EQ(window->geometry(), QRect(170, 140, 610, 430));
        hide();
        restore();
        ASSERT_TRUE(Active());
        QTest::qWait(300);  // the window manager has had its say
        EXPECT_FALSE(window->isMaximized());
        EXPECT_EQ(window->geometry(), QRect(170, 140, 610, 430));
        // Maximised, once the window manager has made it so.
        window->showMaximized();
        ASSERT_TRUE(QTest::qWaitFor(maximised, 60000));
        QTest::qWait(300);
        ASSERT_TRUE(maximised());
        hide();
        restore();
        ASSERT_TRUE(Active());
        EXPECT_TRUE(QTest::qWaitFor(maximised, 60000));
    }
    // Closed while in the tray, maximised when it went.
    hide();
    window.reset();
    LoadSettings(s);
    EXPECT_TRUE(s.Max);
    EXPECT_TRUE(s.Min);
}
