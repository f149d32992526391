// The main window and its tray icon on a real X server with openbox and a tray (trayer), with
// real keys and clicks (xdotool): start after start of the real program, Escape hides it into
// the tray and the first double click on the icon brings it back active with the keyboard in
// the search box; Escape works from any control and the keyboard comes back to it; a window
// that started in the tray is fitted onto the screen when it first shows.
#include "app/ProgramMain.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "components/TrayIcon.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/WindowManager.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListView>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

using namespace MainWindowTest;
using TestSupport::XDo;

namespace {

QString Number(int n)
{
    return QString::number(n);
}

// Where the icon sits once the tray has taken it in (the strip at the top right), or an
// invalid point.
QPoint IconInTray(TTrayIcon& icon)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect place = icon.ShellIcon().geometry();
    return place.isValid() && place.left() >= screen.right() - 130 && place.top() < 40 ? place.center() : QPoint();
}

class MainWindowTrayX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!manager.Start())
            GTEST_SKIP() << "no window manager (openbox) could be started";
        tray = std::make_unique<TestSupport::TTrayer>();
        if (!QTest::qWaitFor([] { return TTrayIcon::TrayAvailable(); }, 15000))
            GTEST_SKIP() << "no tray (trayer) could be started";
    }
    // The window as the program starts it: shown, or only its tray icon with StartMin.
    void Start()
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->ShowAtStart(true);
    }
    bool Active()
    {
        const bool active = QTest::qWaitFor([&] { return window->isVisible() && window->isActiveWindow(); }, 10000);
        if (!active)
            ADD_FAILURE() << "visible " << window->isVisible() << " minimised " << window->isMinimized()
                          << ", the active window: " << (QApplication::activeWindow() != nullptr ? "another" : "none");
        return active;
    }

    TestSupport::TWindowManager manager;
    std::unique_ptr<TestSupport::TTrayer> tray;
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

// The program started as a child process of this test program, which reports its window's
// state on every change: "ICON x y" once the tray holds its icon, then lines
// "STATE <visible> <active> <focused control> <search text>".
class TProgram {
public:
    explicit TProgram(const QString& folder)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LEXORA_TRAY_CHILD", folder);
        FProcess.setProcessEnvironment(env);
        FProcess.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=TrayProgramChild.Run"});
    }
    ~TProgram()
    {
        FProcess.terminate();  // the program ends as at the end of a session
        if (!FProcess.waitForFinished(10000))
            FProcess.kill();
        FProcess.waitForFinished(5000);
    }
    // Waits until a report line starts with Wanted; false after Limit ms.
    bool Says(const QByteArray& wanted, int limit = 10000)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            while (FProcess.canReadLine()) {
                FLast = FProcess.readLine().trimmed();
                if (FLast.startsWith(wanted))
                    return true;
            }
            if (clock.elapsed() > limit)
                return false;
            FProcess.waitForReadyRead(200);
        }
    }
    const QByteArray& Last() const { return FLast; }

private:
    QProcess FProcess;
    QByteArray FLast;
};

}  // namespace

// Runs only as a child of the start-after-start case: the real program, reporting.
TEST(TrayProgramChild, Run)
{
    const QString folder = qEnvironmentVariable("LEXORA_TRAY_CHILD");
    if (folder.isEmpty())
        GTEST_SKIP() << "runs as a child process only";
    QApplication::setQuitOnLastWindowClosed(false);
    auto* report = new QTimer(qApp);
    QObject::connect(report, &QTimer::timeout, [said = QByteArray(), iconSaid = false]() mutable {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<TfLexDictionary*>(w)) {
                const QPoint icon = IconInTray(*main->TrayIcon1);
                if (!iconSaid && !icon.isNull()) {
                    iconSaid = true;
                    std::printf("ICON %d %d\n", icon.x(), icon.y());
                }
                const QWidget* focus = QApplication::focusWidget();
                const QByteArray state = "STATE " + QByteArray::number(main->isVisible()) + " "
                    + QByteArray::number(main->isActiveWindow()) + " "
                    + (focus != nullptr ? focus->objectName().toUtf8() : QByteArray("-")) + " "
                    + main->cbFind->currentText().toUtf8();
                if (iconSaid && state != said) {
                    said = state;
                    std::printf("%s\n", state.constData());
                }
                std::fflush(stdout);
            }
    });
    report->start(20);
    ProgramMain({}, folder, folder + "run");
}

TEST_F(MainWindowTrayX11, EveryStartsFirstDoubleClickRestoresTheWindowWithTheKeyboard)
{
    QDir().mkpath(folder.Path() + "run");
    const char* words[] = {"hut", "mouse", "house", "arm", "hat"};
    for (int start = 0; start < 5; ++start) {
        SCOPED_TRACE(start);
        TProgram program(folder.Path());
        ASSERT_TRUE(program.Says("ICON"));
        const QList<QByteArray> icon = program.Last().split(' ');
        const int x = icon.value(1).toInt(), y = icon.value(2).toInt();
        ASSERT_TRUE(program.Says("STATE 1 1 cbFind")) << program.Last().constData();
        ASSERT_TRUE(XDo({"key", "Escape"}));
        ASSERT_TRUE(program.Says("STATE 0")) << program.Last().constData();
        // A still hand, or one that moves a few pixels between the clicks.
        if (start % 2 == 0)
            XDo({"mousemove", Number(x), Number(y), "click", "--repeat", "2", "--delay", "80", "1"});
        else
            XDo({"mousemove", Number(x - 3), Number(y - 3), "click", "1", "mousemove", Number(x + 4), Number(y + 3),
                 "click", "1"});
        ASSERT_TRUE(program.Says("STATE 1 1 cbFind")) << program.Last().constData();
        XDo({"type", "--delay", "40", words[start]});
        EXPECT_TRUE(program.Says(QByteArray("STATE 1 1 cbFind ") + words[start])) << program.Last().constData();
        // Nothing sends it away again (a minimising left over from the hiding).
        EXPECT_FALSE(program.Says("STATE 0", 1000)) << program.Last().constData();
    }
}

TEST_F(MainWindowTrayX11, EscapeHidesFromAnyControlAndTheKeyboardComesBackToIt)
{
    Start();
    ASSERT_TRUE(Active());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->cbFind; }, 5000));
    // One Tab from the search box: the keyboard is on a tool button.
    ASSERT_TRUE(XDo({"key", "Tab"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != window->cbFind; }, 5000));
    QWidget* control = QApplication::focusWidget();
    for (const bool menu : {true, false}) {
        SCOPED_TRACE(menu ? "tray menu" : "second start");
        ASSERT_TRUE(XDo({"key", "Escape"}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));
        if (menu)
            window->miShow->trigger();
        else
            QCoreApplication::postEvent(window.get(), new QEvent(LexEvents::RestoreWindow));
        ASSERT_TRUE(Active());
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == control; }, 5000));
        // A row of the word list takes the keyboard for the second round.
        const QRect row = window->lbWords->visualRect(window->WordsModel->index(1));
        const QPoint rowAt = window->lbWords->viewport()->mapToGlobal(row.center());
        XDo({"mousemove", Number(rowAt.x()), Number(rowAt.y()), "click", "1"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->lbWords; }, 5000));
        control = window->lbWords;
    }
    // F3 hands the keyboard to the search box.
    ASSERT_TRUE(XDo({"key", "F3", "type", "--delay", "40", "hut"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->cbFind->currentText() == "hut"; }, 5000));
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
        Start();
        ASSERT_FALSE(window->isVisible());
        QTest::qWait(4000);  // the window stays in the tray a while before the user opens it
        window->TrayIcon1DblClick();
        ASSERT_TRUE(Active());
        EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(window->frameGeometry()); }, 5000))
            << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
            << window->frameGeometry().width() << "x" << window->frameGeometry().height();
        window.reset();
    }
}
