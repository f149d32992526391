// TCABFile over cabinets made with gcab.
#include "components/CABFile.h"

#include "tests/platform/CabinetTestSupport.h"

#include "tests/qtsupport/ModalAnswer.h"
#include "tests/support/FileSizeLimit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <optional>

using namespace CabinetTest;

namespace {

class CABFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(scratch_ / "src/readme.txt", "read me\n");
        WriteFile(scratch_ / "src/Sounds/1.snd", SomeText(120000));
        WriteFile(scratch_ / "src/Sounds/1.idx", SomeText(2400, 5));
        SetModified(scratch_ / "src/readme.txt", when_);
        MakeCabinet(scratch_ / "pkg.cab", scratch_ / "src", {"readme.txt", "Sounds/1.snd", "Sounds/1.idx"});
        cab_.CABFile = QString::fromStdString(scratch_ / "pkg.cab");
        cab_.TargetPath = QString::fromStdString(scratch_ / "Data/ENGGER_T");  // made by the extraction
    }

    QString Target(const std::string& name) const { return cab_.TargetPath + "/" + QString::fromStdString(name); }

    TScratch scratch_;
    const std::time_t when_ = LocalTime(2021, 2, 3, 4, 5, 6);
    TCABFile cab_;
};

TEST_F(CABFile, ExtractsIntoANewFolderWithProgressAndTimes)
{
    QList<qint64> positions;
    QString lastName;
    qint64 total = 0;
    cab_.OnDecompressProgress = [&](TCABFile* sender, const QString& name, qint64 pos, qint64 tot) {
        EXPECT_EQ(sender, &cab_);
        if (name == "Sounds\\1.snd") {
            positions << pos;
            total = tot;
        }
        lastName = name;
    };
    ASSERT_TRUE(cab_.ExtractAll()) << cab_.ErrorMessage().toStdString();
    EXPECT_TRUE(cab_.ErrorMessage().isEmpty());
    EXPECT_EQ(Tree(cab_.TargetPath.toStdString()), Tree(scratch_ / "src"));
    ASSERT_EQ(RunProgram({"cabextract", "-q", "-d", scratch_ / "ref", scratch_ / "pkg.cab"}), 0);
    EXPECT_EQ(Tree(cab_.TargetPath.toStdString()), Tree(scratch_ / "ref"));
    EXPECT_GE(positions.size(), 4);  // one report per block written
    EXPECT_EQ(positions.last(), 120000);
    EXPECT_EQ(total, 120000);
    EXPECT_EQ(lastName, "Sounds\\1.idx");
    EXPECT_EQ(Modified(Target("readme.txt").toStdString()), when_);
    EXPECT_TRUE(cab_.CABFileContents.empty());
}

TEST_F(CABFile, TheOwnerDecidesAboutExistingFiles)
{
    WriteFile(Target("readme.txt").toStdString(), "my notes");
    WriteFile(Target("Sounds/1.idx").toStdString(), "my index");
    QStringList asked;
    cab_.OnOverWriteFile = [&](TCABFile*, const QString& name, bool& allow) {
        asked << name;
        EXPECT_TRUE(allow);  // replacing is the default answer
        allow = name.endsWith("1.idx");
    };
    ASSERT_TRUE(cab_.ExtractAll());
    EXPECT_EQ(asked, (QStringList{Target("readme.txt"), Target("Sounds/1.idx")}));
    EXPECT_EQ(ReadFile(Target("readme.txt").toStdString()), "my notes");
    EXPECT_EQ(ReadFile(Target("Sounds/1.idx").toStdString()), ReadFile(scratch_ / "src/Sounds/1.idx"));
    EXPECT_EQ(ReadFile(Target("Sounds/1.snd").toStdString()), ReadFile(scratch_ / "src/Sounds/1.snd"));

    cab_.OnOverWriteFile = nullptr;  // no handler: replaced
    ASSERT_TRUE(cab_.ExtractAll());
    EXPECT_EQ(ReadFile(Target("readme.txt").toStdString()), "read me\n");
}

TEST_F(CABFile, FailuresGiveFalseAndOneMessage)
{
    cab_.CABFile = QString::fromStdString(scratch_ / "missing.cab");
    EXPECT_FALSE(cab_.ExtractAll());
    EXPECT_TRUE(cab_.ErrorMessage().contains("missing.cab"));
    EXPECT_FALSE(QDir(cab_.TargetPath).exists());  // fails before anything is made

    WriteFile(scratch_ / "plain.txt", "just text");
    cab_.CABFile = QString::fromStdString(scratch_ / "plain.txt");
    EXPECT_EQ(cab_.RunExtraction(), -1);
    EXPECT_TRUE(cab_.ErrorMessage().contains("not a cabinet"));

    // An entry that climbs out of the target folder.
    WriteFile(scratch_ / "src2/xxxxxxxxxxx", "evil");
    MakeCabinet(scratch_ / "evil.cab", scratch_ / "src2", {"xxxxxxxxxxx"});
    PatchName(scratch_ / "evil.cab", "xxxxxxxxxxx", "..\\evil.txt");
    cab_.CABFile = QString::fromStdString(scratch_ / "evil.cab");
    EXPECT_FALSE(cab_.ExtractAll());
    EXPECT_TRUE(cab_.ErrorMessage().contains("..\\evil.txt")) << cab_.ErrorMessage().toStdString();
    EXPECT_FALSE(fs::exists(scratch_ / "Data/evil.txt"));

    // A good run clears the message.
    cab_.CABFile = QString::fromStdString(scratch_ / "pkg.cab");
    EXPECT_TRUE(cab_.ExtractAll());
    EXPECT_TRUE(cab_.ErrorMessage().isEmpty());
}

TEST_F(CABFile, ARefusedWriteIsShownInTheErrorBoxAlsoFromAWorkerThread)
{
    QString title;
    int icon = -1;
    const auto answer = [&] {
        TestSupport::AnswerNextModal([&](QWidget* w) {
            title = w->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(w))
                icon = box->icon();
            QTest::mouseClick(w->findChild<QAbstractButton*>("bOk"), Qt::LeftButton);
        });
    };
    // Writes beyond 50 kB fail as on a full disk.
    std::optional<TestFiles::TFileSizeLimit> fullDisk(std::in_place, 50000);
    answer();
    const bool onThisThread = cab_.ExtractAll();
    const bool shownHere = cab_.SystemErrorShown();
    const QString firstText = TestSupport::LastModalText();
    // From a worker thread the box is posted and the worker goes on at once.
    title.clear();
    answer();
    bool onWorker = true;
    std::thread worker([&] { onWorker = cab_.ExtractAll(); });
    worker.join();
    const bool shown = QTest::qWaitFor([&] { return !title.isEmpty(); }, 60000);
    fullDisk.reset();

    const QString expected = QString::fromLocal8Bit(std::strerror(EFBIG));
    EXPECT_FALSE(onThisThread);
    EXPECT_TRUE(shownHere);
    EXPECT_EQ(firstText, expected);
    EXPECT_FALSE(onWorker);
    ASSERT_TRUE(shown);
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(TestSupport::LastModalText(), expected);
    EXPECT_FALSE(fs::exists(Target("Sounds/1.snd").toStdString()));  // no half file
    TCABFile::ShowSystemError(0);                                    // no error: nothing shown
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CABFile, ForceFolderMakesTheWholeChain)
{
    const QString deep = QString::fromStdString(scratch_ / "a/b/c/");
    EXPECT_FALSE(TCABFile::FolderExists(deep));
    EXPECT_TRUE(TCABFile::ForceFolder(deep));
    EXPECT_TRUE(TCABFile::FolderExists(deep));
    EXPECT_TRUE(TCABFile::ForceFolder(deep));
    WriteFile(scratch_ / "file", "x");
    EXPECT_FALSE(TCABFile::FolderExists(QString::fromStdString(scratch_ / "file")));
    EXPECT_FALSE(TCABFile::ForceFolder(QString::fromStdString(scratch_ / "file/sub")));
}

}  // namespace
