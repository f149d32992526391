// One running program per user, with real second processes: this test program runs itself
// again with a filter that selects the child cases below.
#include "platform/qt/SingleInstance.h"

#include "app/ProgramMain.h"
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

const char* kKey = "LexoraTest";

QString ChildEnv(const char* name)
{
    return qEnvironmentVariable(name);
}

std::unique_ptr<QProcess> StartChild(const QString& mode, const QString& folder, const QString& arg = {},
                                     const QString& workDir = {}, const QString& key = kKey)
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LEXORA_SI_CHILD", mode);
    env.insert("LEXORA_SI_FOLDER", folder);
    env.insert("LEXORA_SI_ARG", arg);
    env.insert("LEXORA_SI_KEY", key);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p->setProcessEnvironment(env);
    if (!workDir.isEmpty())
        p->setWorkingDirectory(workDir);
    p->start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SingleInstanceChild.Run"});
    return p;
}

// A child's standard input has reached its end (read without blocking).
bool InputEnded()
{
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0)
        return false;
    char buffer[64];
    return ::read(STDIN_FILENO, buffer, sizeof buffer) <= 0;
}

bool Finish(QProcess& p)
{
    // The parent serves the children's messages while it waits; the limit only matters when
    // a child hangs (a loaded machine starts a sanitized child slowly).
    QElapsedTimer clock;
    clock.start();
    while (p.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        p.waitForFinished(20);
    }
    return p.state() == QProcess::NotRunning;
}

// Reads what P prints until it has printed Count lines that contain Marker.
bool ReadUntil(QProcess& p, QByteArray& said, const QByteArray& marker, int count = 1)
{
    QElapsedTimer clock;
    clock.start();
    while (said.count(marker) < count && clock.elapsed() < 60000) {
        p.waitForReadyRead(50);
        said += p.readAllStandardOutput();
    }
    return said.count(marker) >= count;
}

}  // namespace

// Runs only as a child of the cases below.
TEST(SingleInstanceChild, Run)
{
    const QString mode = ChildEnv("LEXORA_SI_CHILD");
    if (mode.isEmpty())
        GTEST_SKIP() << "runs as a child process only";
    if (mode == "program") {
        // The real start of the program, which must find the running one and end.
        const int code =
            ProgramMain({ChildEnv("LEXORA_SI_ARG")}, ChildEnv("LEXORA_SI_FOLDER"), ChildEnv("LEXORA_SI_FOLDER"));
        std::printf("RESULT:exit %d\n", code);
        return;
    }
    const QString key = ChildEnv("LEXORA_SI_KEY");
    TSingleInstance instance(key.isEmpty() ? QString(kKey) : key, ChildEnv("LEXORA_SI_FOLDER"));
    if (mode == "forward") {
        ASSERT_FALSE(instance.IsFirst());
        QString error;
        const bool sent = instance.Forward(ChildEnv("LEXORA_SI_ARG"), &error);
        std::printf("RESULT:%s\n", sent ? "sent" : "refused");
    } else if (mode == "race") {
        std::printf("RESULT:%s\n", instance.IsFirst() ? "first" : "second");
        std::fflush(stdout);
        // The first holds until every child has decided (the parent then closes our input), so
        // that one starting late on a slow machine finds it running.
        if (instance.IsFirst())
            static_cast<void>(QTest::qWaitFor(InputEnded, 120000));
        else
            instance.Forward({});
    } else if (mode == "holder") {
        ASSERT_TRUE(instance.IsFirst());
        std::printf("RESULT:ready\n");
        std::fflush(stdout);
        static_cast<void>(QTest::qWaitFor(InputEnded, 120000));  // the parent kills it long before
    } else if (mode == "listener") {
        // A first program that says what reaches it.
        ASSERT_TRUE(instance.IsFirst());
        QObject::connect(&instance, &TSingleInstance::RestoreRequested, [] {
            std::printf("GOT:restore\n");
            std::fflush(stdout);
        });
        QObject::connect(&instance, &TSingleInstance::InstallRequested, [](const QString& path) {
            std::printf("GOT:install %s\n", path.toLocal8Bit().constData());
            std::fflush(stdout);
        });
        std::printf("RESULT:ready\n");
        std::fflush(stdout);
        static_cast<void>(QTest::qWaitFor(InputEnded, 120000));  // the parent kills it long before
    }
}

TEST(SingleInstance, SecondStartForwardsARelativePathAsAbsoluteAndAsksForRestore)
{
    QTemporaryDir folder;
    QTemporaryDir work;
    TSingleInstance first(kKey, folder.path());
    ASSERT_TRUE(first.IsFirst());
    QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);
    QSignalSpy install(&first, &TSingleInstance::InstallRequested);
    auto child = StartChild("forward", folder.path(), "packages/EngGer.pkg", work.path());
    ASSERT_TRUE(Finish(*child));
    EXPECT_TRUE(child->readAllStandardOutput().contains("RESULT:sent"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return install.count() > 0; }, 60000));
    ASSERT_EQ(restore.count(), 1);
    ASSERT_EQ(install.count(), 1);
    EXPECT_EQ(install.at(0).at(0).toString(), QDir(work.path()).absoluteFilePath("packages/EngGer.pkg"));
}

TEST(SingleInstance, PathBeyond255CharactersIsRefusedNotCut)
{
    QTemporaryDir folder;
    TSingleInstance first(kKey, folder.path());
    ASSERT_TRUE(first.IsFirst());
    QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);
    QSignalSpy install(&first, &TSingleInstance::InstallRequested);
    auto child = StartChild("forward", folder.path(), "/" + QString(300, 'p'));
    ASSERT_TRUE(Finish(*child));
    EXPECT_TRUE(child->readAllStandardOutput().contains("RESULT:refused"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return restore.count() > 0; }, 60000));
    EXPECT_EQ(restore.count(), 1);
    QTest::qWait(100);
    EXPECT_EQ(install.count(), 0);
}

TEST(SingleInstance, SwitchesAskForSpeakingAndReversingWithoutARestore)
{
    QTemporaryDir folder;
    TSingleInstance first(kKey, folder.path());
    ASSERT_TRUE(first.IsFirst());
    QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);
    QSignalSpy speak(&first, &TSingleInstance::SpeakRequested);
    QSignalSpy reverse(&first, &TSingleInstance::ReverseRequested);
    QSignalSpy install(&first, &TSingleInstance::InstallRequested);
    auto a = StartChild("forward", folder.path(), TSingleInstance::SpeakSwitch);
    ASSERT_TRUE(Finish(*a));
    auto b = StartChild("forward", folder.path(), TSingleInstance::ReverseSwitch);
    ASSERT_TRUE(Finish(*b));
    EXPECT_TRUE(QTest::qWaitFor([&] { return speak.count() == 1 && reverse.count() == 1; }, 60000));
    EXPECT_EQ(restore.count(), 0);
    EXPECT_EQ(install.count(), 0);
}

TEST(SingleInstance, FiveSimultaneousStartsGiveExactlyOneFirst)
{
    QTemporaryDir folder;
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < 5; ++i)
        children.push_back(StartChild("race", folder.path()));
    // Every child decides while the first one holds; only then may the first end.
    std::vector<QByteArray> said(children.size());
    const auto decided = [&] {
        bool all = true;
        for (std::size_t i = 0; i < children.size(); ++i) {
            said[i] += children[i]->readAllStandardOutput();
            all = all
                && (said[i].contains("RESULT:first") || said[i].contains("RESULT:second")
                    || children[i]->state() == QProcess::NotRunning);
        }
        return all;
    };
    ASSERT_TRUE(QTest::qWaitFor(decided, 60000));
    for (auto& c : children)
        c->closeWriteChannel();
    int firsts = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        ASSERT_TRUE(Finish(*children[i]));
        said[i] += children[i]->readAllStandardOutput();
        if (said[i].contains("RESULT:first"))
            ++firsts;
    }
    EXPECT_EQ(firsts, 1);
}

TEST(SingleInstance, LockOfAKilledProgramDoesNotBlockTheNextStart)
{
    QTemporaryDir folder;
    auto holder = StartChild("holder", folder.path());
    QByteArray said;
    while (!said.contains("RESULT:ready") && holder->waitForReadyRead(60000))
        said += holder->readAllStandardOutput();
    ASSERT_TRUE(said.contains("RESULT:ready"));
    holder->kill();
    holder->waitForFinished(60000);
    TSingleInstance next(kKey, folder.path());
    ASSERT_TRUE(next.IsFirst());
    // Its socket works although the killed program left one behind.
    QSignalSpy restore(&next, &TSingleInstance::RestoreRequested);
    auto child = StartChild("forward", folder.path());
    ASSERT_TRUE(Finish(*child));
    EXPECT_TRUE(QTest::qWaitFor([&] { return restore.count() > 0; }, 60000));
    EXPECT_EQ(restore.count(), 1);
}

TEST(SingleInstance, ALockFileThatCannotBeOpenedStartsTheOnlyProgramWhereNoneAnswers)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QString(kKey) + ".lock"));  // a folder where the lock file goes
    {
        TSingleInstance first(kKey, folder.path());
        EXPECT_TRUE(first.IsFirst());
        EXPECT_TRUE(first.LockWarning().contains(folder.path()));
        // While it runs, a start with a lock that works again reaches it and leaves its socket.
        ASSERT_TRUE(QDir(folder.path()).rmdir(QString(kKey) + ".lock"));
        QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);
        {
            TSingleInstance later(kKey, folder.path());
            EXPECT_FALSE(later.IsFirst());
            EXPECT_TRUE(later.Forward({}));
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return restore.count() == 1; }, 60000));
    }
    TSingleInstance locked(kKey, folder.path());  // a lock that works says nothing
    EXPECT_TRUE(locked.IsFirst());
    EXPECT_TRUE(locked.LockWarning().isEmpty());
}

TEST(SingleInstance, WithoutTheLockASecondStartReachesTheRunningProgramAndLeavesItsSocket)
{
    QTemporaryDir folder;
    QTemporaryDir work;
    // The lock's path is a folder: no process opens it as a file, root neither.
    ASSERT_TRUE(QDir(folder.path()).mkdir("Verbisphere.lock"));
    auto first = StartChild("listener", folder.path(), {}, {}, "Verbisphere");
    QByteArray heard;
    ASSERT_TRUE(ReadUntil(*first, heard, "RESULT:ready")) << heard.constData();

    auto second = StartChild("program", folder.path(), "packages/EngGer.pkg", work.path());
    ASSERT_TRUE(Finish(*second));
    const QByteArray said = second->readAllStandardOutput();
    EXPECT_TRUE(said.contains("RESULT:exit 0")) << said.constData();
    ASSERT_TRUE(ReadUntil(*first, heard, "GOT:install")) << heard.constData();
    EXPECT_EQ(heard.count("GOT:restore"), 1);
    EXPECT_TRUE(
        heard.contains("GOT:install " + QDir(work.path()).absoluteFilePath("packages/EngGer.pkg").toLocal8Bit()));

    // The first program's socket still answers: a later start reaches it too.
    auto third = StartChild("forward", folder.path(), {}, {}, "Verbisphere");
    ASSERT_TRUE(Finish(*third));
    EXPECT_TRUE(third->readAllStandardOutput().contains("RESULT:sent"));
    EXPECT_TRUE(ReadUntil(*first, heard, "GOT:restore", 2)) << heard.constData();
    EXPECT_EQ(first->state(), QProcess::Running);
    first->kill();
    first->waitForFinished(60000);
}

namespace {

// Takes the install messages that reach the window instead of installing.
class TInstallCatcher : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != LexEvents::InstallDictionary)
            return false;
        Paths << static_cast<LexEvents::TInstallEvent*>(e)->Path;
        return true;
    }
    QStringList Paths;
};

}  // namespace

TEST(SingleInstance, MessagesThatCameWhileTheWindowWasMadeReachItOnceItExists)
{
    MainWindowTest::TProgramFolder program{{MainWindowTest::EnglishGerman()}};
    QTemporaryDir folder;
    TSingleInstance first(kKey, folder.path());
    ASSERT_TRUE(first.IsFirst());
    first.SetHolding(true);
    auto child = StartChild("forward", folder.path(), "/packages/EngGer.pkg");
    ASSERT_TRUE(Finish(*child));
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.HeldCount() == 2; }, 60000));

    TfLexDictionary window(program.Path());
    TInstallCatcher catcher;
    window.installEventFilter(&catcher);
    ASSERT_FALSE(window.isVisible());
    ConnectSecondStarts(first, window);
    EXPECT_EQ(first.HeldCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible() && !catcher.Paths.isEmpty(); }, 60000));
    EXPECT_EQ(catcher.Paths, QStringList{"/packages/EngGer.pkg"});
}
