// The program's start and end around the main window: clipboard look-ups while the learning
// window is open, a start in the tray, and the end of the desktop session (SIGTERM, SIGHUP)
// in the real program loop, run in a child process of this test program.
#include "app/ProgramMain.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "engine/LearnDictionary.h"
#include "platform/qt/Balloon.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

using namespace MainWindowTest;

namespace {

void Copy(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QCoreApplication::processEvents();
}

// Starts the real program in Folder in a child process (ProgramChild.Run), with a message
// window open when WithMessage is set, and waits until it has started a learning list; Said
// gets what it printed.
bool StartProgram(QProcess& child, const TProgramFolder& folder, bool withMessage, QByteArray& said)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LEXORA_PROGRAM_CHILD", folder.Path());
    env.insert("LEXORA_PROGRAM_MESSAGE", withMessage ? "1" : "0");
    env.insert("LEXORA_ADMIN", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ProgramChild.Run"});
    while (!said.contains("READY") && child.waitForReadyRead(60000))
        said += child.readAllStandardOutput();
    return said.contains("READY");
}

}  // namespace

TEST(ClipboardWhileLearning, TheLookUpRunsWithoutItsBalloonButNotUnderAMessage)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    TfLexDictionary window(folder.Path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.Settings.ClipTranslate = true;
    window.Settings.Delicate = true;
    Balloon::CloseBaloon();

    QString looked;
    QString underMessage;
    QString otherSide;
    bool balloon = true;
    TestSupport::AnswerNextModal([&](QWidget* learning) {
        Copy("house");
        looked = window.SelectedWord();
        balloon = Balloon::CurrentBalloon() != nullptr;
        // A word of the other side would switch the dictionary the learning window uses.
        Copy(QString::fromUtf16(u"Ärger"));
        otherSide = window.CurrentDictionaryFile;
        TestSupport::AnswerNextModal([&](QWidget* message) {
            Copy("mouse");
            underMessage = window.cbFind->currentText();
            message->close();
        });
        window.ShowMessageBox("busy", 0, 1);
        learning->close();
    });
    window.miHang->trigger();
    EXPECT_EQ(looked, "house");
    EXPECT_FALSE(balloon);
    EXPECT_EQ(otherSide, "ENGGER_T");
    EXPECT_EQ(underMessage, "house");
    EXPECT_FALSE(window.LearningOpen);

    // With the learning window closed the balloon shows, and the other side's word turns.
    Copy("hat");
    EXPECT_NE(Balloon::CurrentBalloon(), nullptr);
    Balloon::CloseBaloon();
    Copy(QString::fromUtf16(u"Ärger"));
    EXPECT_EQ(window.CurrentDictionaryFile, "GERENG_T");
}

TEST(MainWindowStart, InTheTrayTheFirstShowingsWorkIsDoneAtStart)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    qputenv("LEXORA_ADMIN", "0");
    TfLexDictionary window(folder.Path());
    window.Settings.StartMin = true;
    window.ShowAtStart(true);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.SelectedWord(), "apple");
    EXPECT_TRUE(window.reDescription->toPlainText().contains("Apfel"));
    EXPECT_FALSE(window.miCreateDictionary->isEnabled());
    EXPECT_FALSE(window.miUpdateNow->isEnabled());

    // Opened from the tray later, the window keeps what the user chose meanwhile.
    window.SetSelectedIndex(1);
    window.miShow->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.SelectedIndex(), 1);
}

// Closed in the tray without ever showing, the window stores the place, size and widths it was
// given (its layouts never ran) and that it was minimised.
TEST(MainWindowStart, AWindowClosedInTheTrayBeforeItEverShowedKeepsItsStoredBoundsAndStoresMin)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    WriteDefaultSettings();
    TSettings given;
    LoadSettings(given);
    given.StartMin = true;
    given.Min = false;
    given.WordsWidth = 333;
    given.Left = 61;
    given.Top = 47;
    given.Width = 701;
    given.Height = 499;
    SaveSettings(given, 0);
    {
        TfLexDictionary window(folder.Path());
        window.ShowAtStart(true);
        QCoreApplication::processEvents();
        ASSERT_FALSE(window.isVisible());
    }
    TSettings stored;
    LoadSettings(stored);
    EXPECT_TRUE(stored.Min);
    EXPECT_FALSE(stored.Max);
    EXPECT_EQ(stored.WordsWidth, 333);
    EXPECT_EQ(QRect(stored.Left, stored.Top, stored.Width, stored.Height), QRect(61, 47, 701, 499));
}

// Runs only as a child of the session-end case: the real program in the given folder.
TEST(ProgramChild, Run)
{
    const QString folder = qEnvironmentVariable("LEXORA_PROGRAM_CHILD");
    if (folder.isEmpty())
        GTEST_SKIP() << "runs as a child process only";
    QApplication::setQuitOnLastWindowClosed(false);
    const bool withMessage = qEnvironmentVariable("LEXORA_PROGRAM_MESSAGE") == "1";
    // Once the window works: a search, a new learning list, a changed setting; then ready.
    QTimer::singleShot(0, [withMessage] {
        TfLexDictionary* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<TfLexDictionary*>(w))
                window = main;
        if (window == nullptr)
            return;
        window->cbFind->setFocus();
        QTest::keyClicks(window->cbFind, "house");
        QTest::keyClick(window->cbFind, Qt::Key_Return);
        QTest::mouseClick(window->bAddToList, Qt::LeftButton);
        window->Settings.DelicateTime = 77;
        const auto ready = [] {
            std::printf("READY\n");
            std::fflush(stdout);
        };
        if (!withMessage) {
            ready();
            return;
        }
        QTimer::singleShot(0, ready);  // runs in the message window's loop
        window->ShowMessageBox("waiting", 0, 1);
    });
    std::printf("EXIT:%d\n", ProgramMain({}, folder, folder + "run"));
    std::fflush(stdout);
}

TEST(SessionEnd, TheProgramSavesEverythingAndEndsOnSigtermOrSighup)
{
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
        QDir().mkpath(folder.Path() + "run");
        QProcess child;
        QByteArray said;
        ASSERT_TRUE(StartProgram(child, folder, signal == SIGTERM, said)) << said.constData();
        ::kill(static_cast<pid_t>(child.processId()), signal);
        ASSERT_TRUE(child.waitForFinished(60000));
        said += child.readAllStandardOutput();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_TRUE(said.contains("EXIT:0")) << said.constData();

        TSettings stored;
        LoadSettings(stored);
        EXPECT_EQ(stored.DelicateTime, 77);
        QFile history(folder.Path() + "History/ENGGER_T.txt");
        ASSERT_TRUE(history.open(QIODevice::ReadOnly));
        const QByteArray bytes = history.readAll();  // UTF-16LE after its byte-order mark
        ASSERT_GE(bytes.size(), 2);
        EXPECT_TRUE(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2)
                        .contains("house"));
        const QStringList lists = QDir(folder.Path() + "Learning").entryList({"List *.lst"}, QDir::Files);
        ASSERT_EQ(lists.size(), 1);
        TLearnDictionary store((folder.Path() + "Learning").toStdString());
        store.LoadFromFile((folder.Path() + "Learning/" + lists.first()).toStdString());
        EXPECT_EQ(store.Items.size(), 1u);
    }
}

// Nobody answers a question at the end of the session: a new list is kept under a name of its
// own, and where even that fails the session's log says where its words are.
TEST(SessionEnd, AListThatCannotBeNamedIsReportedAndKeepsItsWords)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    QProcess child;
    QByteArray said;
    ASSERT_TRUE(StartProgram(child, folder, false, said)) << said.constData();
    // The learning folder is taken away and a file put in its place: nothing can be named there.
    const QString learning = folder.Path() + "Learning";
    ASSERT_TRUE(QDir().rename(learning, learning + ".gone"));
    QFile blocker(learning);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
    ASSERT_TRUE(child.waitForFinished(60000));
    said += child.readAllStandardOutput();
    EXPECT_TRUE(said.contains("EXIT:0")) << said.constData();
    const QString log = QString::fromLocal8Bit(child.readAllStandardError());
    EXPECT_TRUE(log.contains("learning list could not be saved") && log.contains(learning + "/TempList.tmp"))
        << log.toStdString();
    // The words are in the working file, which went with the folder.
    TLearnDictionary store((learning + ".gone").toStdString());
    store.LoadFromFile((learning + ".gone/TempList.tmp").toStdString());
    ASSERT_EQ(store.Words.Count(), 1);
    EXPECT_EQ(store.Words.Get(0), u"house");
}
