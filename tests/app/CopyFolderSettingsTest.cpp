// The sound-folder button of the settings window: the copy from a CD drive (a fake mount
// table), its progress, the window held open while it runs, a failed copy, exit from the
// tray during a copy, and going back to the CD.
#include "app/CopyFolderThread.h"
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"
#include "engine/DictManager.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <atomic>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

struct TCDCopy {
    TProgramFolder Folder{{EnglishGerman(), GermanEnglish()}};
    QTemporaryDir Media;
    std::unique_ptr<TfLexDictionary> Main;
    std::unique_ptr<TfInterface> Form;

    // Two CD drives; the second holds the sound folder of English->German.
    TCDCopy()
    {
        WriteRealLanguageFile(Folder.Path());
        QDir().mkpath(Cd(0));
        MakeFolder(Cd(1) + "ENGGER_T", {"1.idx", "1.snd", "2.snd"});
        FakeCDDrives(Media.path(), {Cd(0), Cd(1)});
        SetStoredSoundSource(Folder, 0, 0);
        Main = std::make_unique<TfLexDictionary>(Folder.Path());
        Main->show();
        Form = std::make_unique<TfInterface>(Main.get());
        Form->show();
        Form->pcSettings->setCurrentWidget(Form->tsDictionarys);
    }
    ~TCDCopy()
    {
        FakeCDDrives({}, {});
        TCopyFolderThread::SetBeforeFileHook({});
    }
    QString Cd(int n) const { return Media.path() + "/cd" + QString::number(n) + "/"; }
    QString Data() const { return Folder.Path() + "Data/"; }
    void ClickRow(int i)
    {
        QTreeWidget* v = Form->ListView1;
        const QRect r = v->visualItemRect(v->topLevelItem(i));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 60, r.center().y()));
    }
    bool WaitForEnd()
    {
        return QTest::qWaitFor([this] { return Form->CanClose; }, 60000);
    }
};

}  // namespace

TEST(CopyFolderSettings, TheCDDrivesAreOffered)
{
    TCDCopy t;
    ASSERT_EQ(t.Form->findChild<QComboBox*>("cbCDROM")->count(), 2);
    EXPECT_EQ(t.Form->findChild<QComboBox*>("cbCDROM")->itemText(1), t.Cd(1));
}

TEST(CopyFolderSettings, CopiesFromTheDriveThatHoldsTheFolderWithProgress)
{
    TCDCopy t;
    TfInterface& f = *t.Form;
    EXPECT_EQ(TfInterface::RowImage(f.ListView1->topLevelItem(0)), diSoundsOnCD);
    t.ClickRow(0);
    ASSERT_TRUE(f.bCopy->isEnabled());
    EXPECT_EQ(f.bCopy->text(), "Copy sounds to disk");

    std::vector<int> positions;
    int maximum = -1;
    QObject::connect(f.ProgressBar, &QProgressBar::valueChanged, [&](int v) {
        if (v >= 0)
            positions.push_back(v);
        maximum = std::max(maximum, f.ProgressBar->maximum());
    });
    bool lockedWhileRunning = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        lockedWhileRunning = !f.CanClose && !f.bOk->isEnabled() && !f.bCance->isEnabled() && !f.pcSettings->isEnabled();
        QTest::mouseClick(modal->findChild<QAbstractButton*>("bOk"), Qt::LeftButton);
    });
    QTest::mouseClick(f.bCopy, Qt::LeftButton);
    ASSERT_TRUE(t.WaitForEnd());
    EXPECT_TRUE(TestSupport::LastModalText().contains("copied to the hard disk"));
    EXPECT_TRUE(lockedWhileRunning);
    EXPECT_EQ(maximum, 3);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(f.ProgressBar->maximum(), 0);
    EXPECT_TRUE(f.bOk->isEnabled());
    EXPECT_EQ(Entries(t.Data() + "ENGGER_T"), (std::vector<std::string>{"1.idx", "1.snd", "2.snd"}));
    EXPECT_EQ(StoredSoundSource(t.Folder, 0), 1);
    EXPECT_EQ(TfInterface::RowImage(f.ListView1->topLevelItem(0)), diSoundsOnDisk);

    // Back to the CD: the copy goes, the record says CD; copying again restores it.
    t.ClickRow(0);
    EXPECT_EQ(f.bCopy->text(), "Use sounds from CD");
    QTest::mouseClick(f.bCopy, Qt::LeftButton);
    EXPECT_FALSE(QDir(t.Data() + "ENGGER_T").exists());
    EXPECT_EQ(StoredSoundSource(t.Folder, 0), 0);
    EXPECT_EQ(TfInterface::RowImage(f.ListView1->topLevelItem(0)), diSoundsOnCD);
    t.ClickRow(0);
    TestSupport::ClickInNextModal("bOk");
    QTest::mouseClick(f.bCopy, Qt::LeftButton);
    ASSERT_TRUE(t.WaitForEnd());
    EXPECT_EQ(StoredSoundSource(t.Folder, 0), 1);
    EXPECT_EQ(TfInterface::RowImage(f.ListView1->topLevelItem(0)), diSoundsOnDisk);
}

TEST(CopyFolderSettings, TheWindowStaysWhileTheCopyRuns)
{
    TCDCopy t;
    TfInterface& f = *t.Form;
    std::atomic<bool> release{false};
    TCopyFolderThread::SetBeforeFileHook([&](TCopyFolderThread& thread, const std::string& name) {
        while (name == "1.snd" && !release && !thread.Cancelled())
            QThread::msleep(1);
    });
    t.ClickRow(0);
    QTest::mouseClick(f.bCopy, Qt::LeftButton);
    ASSERT_NE(f.CopyThread(), nullptr);
    f.close();
    QTest::keyClick(&f, Qt::Key_Escape);
    f.reject();
    EXPECT_TRUE(f.isVisible());
    QTest::mouseClick(f.bCopy, Qt::LeftButton);  // one copy at a time
    TestSupport::ClickInNextModal("bOk");
    release = true;
    ASSERT_TRUE(t.WaitForEnd());
    EXPECT_EQ(StoredSoundSource(t.Folder, 0), 1);
    f.close();
    EXPECT_FALSE(f.isVisible());
}

TEST(CopyFolderSettings, FilesThatFailAreReportedAndTheSoundsStayOnTheCD)
{
    TCDCopy t;
    TfInterface& f = *t.Form;
    TCopyFolderThread::SetBeforeFileHook([&](TCopyFolderThread&, const std::string& name) {
        if (name == "2.snd")
            QFile::remove(t.Cd(1) + "ENGGER_T/2.snd");
    });
    t.ClickRow(0);
    TestSupport::ClickInNextModal("bOk");
    QTest::mouseClick(f.bCopy, Qt::LeftButton);
    ASSERT_TRUE(t.WaitForEnd());
    EXPECT_TRUE(TestSupport::LastModalText().contains("2.snd"));
    EXPECT_TRUE(TestSupport::LastModalText().contains("still played from the CD"));
    EXPECT_EQ(StoredSoundSource(t.Folder, 0), 0);
    EXPECT_EQ(Entries(t.Data()), (std::vector<std::string>{"DICTIONARYS.DNT", "ENGGER_T.TDD", "GERENG_T.TDD"}));
    EXPECT_EQ(TfInterface::RowImage(f.ListView1->topLevelItem(0)), diSoundsOnCD);
}

TEST(CopyFolderSettings, ExitFromTheTrayStopsTheCopyAndClosesTheWindow)
{
    TCDCopy t;
    TfInterface& f = *t.Form;
    TCopyFolderThread::SetBeforeFileHook([](TCopyFolderThread& thread, const std::string& name) {
        while (name == "1.snd" && !thread.Cancelled())
            QThread::msleep(1);
    });
    t.ClickRow(0);
    QTest::mouseClick(f.bCopy, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.ProgressBar->maximum() == 3; }, 60000));
    t.Main->miTrayExit->trigger();
    EXPECT_EQ(f.CopyThread(), nullptr);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(t.Main->isVisible());
    EXPECT_EQ(StoredSoundSource(t.Folder, 0), 0);
    EXPECT_EQ(Entries(t.Data()), (std::vector<std::string>{"DICTIONARYS.DNT", "ENGGER_T.TDD", "GERENG_T.TDD"}));
}

TEST(CopyFolderSettings, WithoutTheCDTheUserIsAskedForIt)
{
    TCDCopy t;
    FakeCDDrives(t.Media.path(), {t.Cd(0)});
    t.ClickRow(0);
    TestSupport::ClickInNextModal("bOk");
    QTest::mouseClick(t.Form->bCopy, Qt::LeftButton);
    EXPECT_TRUE(TestSupport::LastModalText().contains("CD was not found"));
    EXPECT_EQ(t.Form->CopyThread(), nullptr);
    EXPECT_TRUE(t.Form->CanClose);
}
