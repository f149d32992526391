// The copy of a sound folder on its worker: the files arrive under the folder's own name only
// when all of them were copied; links and sub-folders stay behind; a cancelled copy leaves
// nothing.
#include "app/CopyFolderThread.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QThread>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

using namespace SettingsTest;

namespace {

struct THookReset {
    ~THookReset() { TCopyFolderThread::SetBeforeFileHook({}); }
};

struct TCopy {
    QTemporaryDir Dir;
    QString Cd() const { return Dir.path() + "/cd/"; }
    QString Data() const { return Dir.path() + "/Data/"; }
    TCopy()
    {
        MakeFolder(Cd() + "ENGGER_T", {"1.idx", "1.snd", "2.snd"});
        QDir().mkpath(Data());
    }
};

// Waits for the copy's end; its arguments.
QList<QVariant> WaitForEnd(TCopyFolderThread& thread)
{
    QSignalSpy done(&thread, &TCopyFolderThread::ReportDone);
    if (done.isEmpty() && !done.wait(60000))
        return {};
    return done.takeFirst();
}

}  // namespace

TEST(CopyFolderThread, CopiesTheFilesAndReportsEachStep)
{
    TCopy c;
    MakeFolder(c.Cd() + "ENGGER_T/sub", {"inner"});
    QFile::link(c.Dir.path() + "/outside", c.Cd() + "ENGGER_T/link.snd");
    MakeFolder(c.Dir.path() + "/outside-dir", {"x"});
    std::ofstream((c.Dir.path() + "/outside").toStdString()) << "secret";
    qRegisterMetaType<QStringList>();
    TCopyFolderThread thread(c.Data(), c.Cd() + "ENGGER_T/");
    QSignalSpy count(&thread, &TCopyFolderThread::ShowFileCount);
    QSignalSpy progress(&thread, &TCopyFolderThread::ShowProgress);
    const QList<QVariant> end = WaitForEnd(thread);
    ASSERT_EQ(end.size(), 2);
    EXPECT_TRUE(end[0].toStringList().isEmpty());
    EXPECT_TRUE(end[1].toString().isEmpty());
    ASSERT_EQ(count.size(), 1);
    EXPECT_EQ(count[0][0].toInt(), 3);
    ASSERT_EQ(progress.size(), 3);
    EXPECT_EQ(progress[0][0].toInt(), 0);
    EXPECT_EQ(progress[2][0].toInt(), 2);
    EXPECT_EQ(Entries(c.Data() + "ENGGER_T"), (std::vector<std::string>{"1.idx", "1.snd", "2.snd"}));
    EXPECT_EQ(Entries(c.Data()), (std::vector<std::string>{"ENGGER_T"}));  // no temporary folder left
    QFile f(c.Data() + "ENGGER_T/2.snd");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "2.snd");
}

TEST(CopyFolderThread, AFileThatFailsIsReportedAndNothingTakesTheFoldersPlace)
{
    TCopy c;
    THookReset reset;
    TCopyFolderThread::SetBeforeFileHook([&](TCopyFolderThread&, const std::string& name) {
        if (name == "1.snd")
            QFile::remove(c.Cd() + "ENGGER_T/1.snd");  // gone between listing and copying
    });
    TCopyFolderThread thread(c.Data(), c.Cd() + "ENGGER_T");
    const QList<QVariant> end = WaitForEnd(thread);
    ASSERT_EQ(end.size(), 2);
    ASSERT_EQ(end[0].toStringList().size(), 1) << end[0].toStringList().join(" / ").toStdString();
    EXPECT_TRUE(end[0].toStringList()[0].startsWith("1.snd")) << end[0].toStringList()[0].toStdString();
    EXPECT_TRUE(Entries(c.Data()).empty());
}

TEST(CopyFolderThread, AStaleCopyIsReplacedWhole)
{
    TCopy c;
    MakeFolder(c.Data() + "ENGGER_T", {"old.snd", "1.snd"});
    TCopyFolderThread thread(c.Data(), c.Cd() + "ENGGER_T");
    ASSERT_EQ(WaitForEnd(thread).size(), 2);
    EXPECT_EQ(Entries(c.Data() + "ENGGER_T"), (std::vector<std::string>{"1.idx", "1.snd", "2.snd"}));
    EXPECT_EQ(Entries(c.Data()), (std::vector<std::string>{"ENGGER_T"}));
}

TEST(CopyFolderThread, ACancelledCopyLeavesNothingAndReportsNothing)
{
    TCopy c;
    THookReset reset;
    TCopyFolderThread::SetBeforeFileHook([](TCopyFolderThread& t, const std::string& name) {
        while (name == "1.snd" && !t.Cancelled())
            QThread::msleep(1);
    });
    auto thread = std::make_unique<TCopyFolderThread>(c.Data(), c.Cd() + "ENGGER_T");
    QSignalSpy progress(thread.get(), &TCopyFolderThread::ShowProgress);
    ASSERT_TRUE(progress.wait(60000));  // the first file is in
    thread->Cancel();
    EXPECT_FALSE(thread->Running());
    QSignalSpy done(thread.get(), &TCopyFolderThread::ReportDone);
    QTest::qWait(50);
    EXPECT_TRUE(done.isEmpty());
    EXPECT_TRUE(Entries(c.Data()).empty());
}

TEST(CopyFolderThread, AFullDiskStopsTheCopyAndKeepsTheOldFolder)
{
    TCopy c;
    MakeFolder(c.Data() + "ENGGER_T", {"old.snd"});
    QList<QVariant> end;
    {
        const TestFiles::TFileSizeLimit full(3);  // every source file holds 5 bytes
        TCopyFolderThread thread(c.Data(), c.Cd() + "ENGGER_T");
        end = WaitForEnd(thread);
    }
    ASSERT_EQ(end.size(), 2);
    // One failure stops the copy: the report names the first file only.
    ASSERT_EQ(end[0].toStringList().size(), 1) << end[0].toStringList().join(" / ").toStdString();
    EXPECT_TRUE(end[0].toStringList()[0].startsWith("1.idx")) << end[0].toStringList()[0].toStdString();
    EXPECT_EQ(Entries(c.Data()), (std::vector<std::string>{"ENGGER_T"}));
    EXPECT_EQ(Entries(c.Data() + "ENGGER_T"), (std::vector<std::string>{"old.snd"}));
}
