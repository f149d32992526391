// The settings window's dictionaries page: the rows of a source language, enabling, install,
// removal (only a plain folder of Data/ is ever deleted) and the repair of the sound place.
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"
#include "engine/DictManager.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestFiles.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

struct TDictionariesPage {
    TProgramFolder Folder;
    std::unique_ptr<TfLexDictionary> Main;
    std::unique_ptr<TfInterface> Form;

    explicit TDictionariesPage(std::vector<TTestDictionary> dictionaries = {EnglishGerman(), GermanEnglish()},
                               const std::function<void(TProgramFolder&)>& prepare = {})
        : Folder(dictionaries)
    {
        WriteRealLanguageFile(Folder.Path());
        if (prepare)
            prepare(Folder);
        Main = std::make_unique<TfLexDictionary>(Folder.Path());
        Main->show();
        Form = std::make_unique<TfInterface>(Main.get());
        Form->show();
        Form->pcSettings->setCurrentWidget(Form->tsDictionarys);
    }
    QString Data() const { return Folder.Path() + "Data/"; }
    // Clicks row I of the list of dictionaries.
    void ClickRow(int i)
    {
        QTreeWidget* v = Form->ListView1;
        const QRect r = v->visualItemRect(v->topLevelItem(i));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 60, r.center().y()));
    }
    void ClickSource(int i)
    {
        QListWidget* l = Form->lbDictionarys;
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(i)).center());
    }
};

// Answers the next modal windows one after the other by clicking these buttons; the texts of
// the windows answered go to Texts.
// A window that may not come is waited for TimeoutMs from the answer before it.
void AnswerModals(QStringList buttons, std::shared_ptr<QStringList> texts, int timeoutMs = TestSupport::kModalTimeoutMs)
{
    if (buttons.isEmpty())
        return;
    const QString button = buttons.takeFirst();
    TestSupport::AnswerNextModal(
        [=](QWidget* modal) {
            texts->append(TestSupport::LastModalText());
            AnswerModals(buttons, texts, timeoutMs);
            if (auto* b = modal->findChild<QAbstractButton*>(button))
                QTest::mouseClick(b, Qt::LeftButton);
        },
        timeoutMs);
}

// Drops an answer that was not needed: the windows of a click come within it.
void ExpireAnswers()
{
    TestSupport::CancelModalAnswers();
}

TTestDictionary EnglishFrench()
{
    TTestDictionary d = EnglishGerman();
    d.FileName = "ENGFRE_T";
    d.Pair = "ENGFRE";
    return d;
}

}  // namespace

TEST(InterfaceFormDictionaries, ListsTheSourceLanguagesAndTheirDictionaries)
{
    TDictionariesPage p({EnglishGerman(), GermanEnglish(), EnglishFrench()});
    TfInterface& f = *p.Form;
    ASSERT_EQ(f.lbDictionarys->count(), 2);
    EXPECT_EQ(f.lbDictionarys->item(0)->text(), "English");
    EXPECT_EQ(f.lbDictionarys->item(1)->text(), "German");
    ASSERT_EQ(f.ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(f.ListView1->topLevelItem(0)->text(0), "German");
    EXPECT_EQ(f.ListView1->topLevelItem(1)->text(0), "French");
    EXPECT_EQ(f.ListView1->topLevelItem(0)->text(1), "Test");
    EXPECT_EQ(f.ListView1->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(TfInterface::RowImage(f.ListView1->topLevelItem(0)), diNoSounds);
    EXPECT_FALSE(f.bCopy->isEnabled());

    p.ClickSource(1);
    ASSERT_EQ(f.ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(f.ListView1->topLevelItem(0)->text(0), "English");
    p.ClickRow(0);
    EXPECT_TRUE(f.ListView1->toolTip().contains("German")) << f.ListView1->toolTip().toStdString();
    EXPECT_TRUE(f.ListView1->toolTip().contains("Publisher: Test"));
}

TEST(InterfaceFormDictionaries, AnUncheckedDictionaryLeavesTheChoosersOnApplyOnly)
{
    TDictionariesPage p({EnglishGerman(), GermanEnglish(), EnglishFrench()});
    TfInterface& f = *p.Form;
    QTreeWidgetItem* french = f.ListView1->topLevelItem(1);
    const QRect r = f.ListView1->visualItemRect(french);
    // The check box sits at the row's left, before its image.
    const int box = f.ListView1->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 4;
    QTest::mouseClick(f.ListView1->viewport(), Qt::LeftButton, {}, QPoint(r.left() + box, r.center().y()));
    ASSERT_EQ(french->checkState(0), Qt::Unchecked);
    EXPECT_EQ(f.EnabledFlags.at(2), 0);
    EXPECT_EQ(p.Main->DictManager->Records[2].Enabled, 1);  // nothing before Apply
    EXPECT_EQ(p.Main->cbTo->count(), 2);

    QTest::mouseClick(f.bOk, Qt::LeftButton);
    EXPECT_EQ(p.Main->DictManager->Records[2].Enabled, 0);
    EXPECT_EQ(p.Main->cbTo->count(), 1);
    EXPECT_EQ(p.Main->CurrentDictionaryFile, "ENGGER_T");
    TDictManager stored(p.Folder.DataFile("DICTIONARYS.DNT"));
    EXPECT_EQ(stored.Records[2].Enabled, 0);
}

TEST(InterfaceFormDictionaries, ApplyKeepsTheDictionaryThatWasShown)
{
    TDictionariesPage p({EnglishGerman(), GermanEnglish(), EnglishFrench()});
    p.Form->reject();
    p.Main->cbFrom->setCurrentIndex(0);
    p.Main->cbTo->setCurrentIndex(1);
    p.Main->cbToChange(p.Main->cbTo);
    ASSERT_EQ(p.Main->CurrentDictionaryFile, "ENGFRE_T");
    TfInterface form(p.Main.get());
    form.show();
    QTest::mouseClick(form.bOk, Qt::LeftButton);
    EXPECT_EQ(p.Main->cbTo->currentIndex(), 1);
    EXPECT_EQ(p.Main->CurrentDictionaryFile, "ENGFRE_T");
}

TEST(InterfaceFormDictionaries, RemovingADictionaryDeletesItsSoundFolderWhenAsked)
{
    TDictionariesPage p({EnglishGerman(), GermanEnglish(), EnglishFrench()});
    MakeFolder(p.Data() + "ENGFRE_T", {"1.idx", "1.snd"});
    TfInterface& f = *p.Form;
    p.ClickRow(1);
    auto texts = std::make_shared<QStringList>();
    AnswerModals({"bYes", "bYes"}, texts);
    QTest::mouseClick(f.bRemove, Qt::LeftButton);
    ASSERT_EQ(texts->size(), 2);
    EXPECT_TRUE(texts->at(0).contains("Remove the selected dictionary"));
    EXPECT_TRUE(texts->at(1).contains("sound folder"));
    EXPECT_FALSE(QDir(p.Data() + "ENGFRE_T").exists());
    EXPECT_EQ(p.Main->DictManager->Count(), 2);
    EXPECT_EQ(TDictManager(p.Folder.DataFile("DICTIONARYS.DNT")).Count(), 2);
    EXPECT_EQ(f.ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(f.EnabledFlags.size(), 2u);
    EXPECT_EQ(p.Main->cbTo->count(), 1);
    EXPECT_TRUE(QFile::exists(p.Data() + "ENGFRE_T.TDD"));  // the dictionary file itself stays
}

TEST(InterfaceFormDictionaries, RemovalKeepsTheSoundFolderWhenTheAnswerIsNo)
{
    TDictionariesPage p;
    MakeFolder(p.Data() + "ENGGER_T", {"1.snd"});
    auto texts = std::make_shared<QStringList>();
    p.ClickRow(0);
    AnswerModals({"bYes", "bNo"}, texts);
    QTest::mouseClick(p.Form->bRemove, Qt::LeftButton);
    EXPECT_EQ(texts->size(), 2);
    EXPECT_TRUE(QFile::exists(p.Data() + "ENGGER_T/1.snd"));
    EXPECT_EQ(p.Main->DictManager->Count(), 1);
    EXPECT_EQ(p.Main->CurrentDictionaryFile, "GERENG_T");
}

TEST(InterfaceFormDictionaries, AFileNameThatIsNoPlainFolderOfDataDeletesNothing)
{
    for (const char* name : {"../x", "", "..", "."}) {
        SCOPED_TRACE(name);
        TDictionariesPage p({EnglishGerman(), GermanEnglish()}, [&](TProgramFolder& folder) {
            TDictManager manager(folder.DataFile("DICTIONARYS.DNT"));
            manager.Records[0].DictionaryFile.Assign(name);
            manager.SaveAll();
        });
        MakeFolder(p.Folder.Path() + "x", {"keep"});
        MakeFolder(p.Data() + "ENGGER_T", {"1.snd"});
        auto texts = std::make_shared<QStringList>();
        p.ClickSource(0);
        p.ClickRow(0);
        AnswerModals({"bYes", "bYes"}, texts);
        QTest::mouseClick(p.Form->bRemove, Qt::LeftButton);
        ExpireAnswers();
        EXPECT_EQ(texts->size(), 1);  // no question about a folder
        EXPECT_EQ(p.Main->DictManager->Count(), 1);
        EXPECT_TRUE(QFile::exists(p.Folder.Path() + "x/keep"));
        EXPECT_TRUE(QFile::exists(p.Data() + "DICTIONARYS.DNT"));
        EXPECT_TRUE(QFile::exists(p.Data() + "ENGGER_T/1.snd"));
    }
}

TEST(InterfaceFormDictionaries, RemovingTheLastDictionaryEmptiesTheMainWindow)
{
    TDictionariesPage p({EnglishGerman()});
    auto texts = std::make_shared<QStringList>();
    p.ClickRow(0);
    AnswerModals({"bYes"}, texts);
    QTest::mouseClick(p.Form->bRemove, Qt::LeftButton);
    EXPECT_EQ(p.Main->DictManager->Count(), 0);
    EXPECT_EQ(p.Form->lbDictionarys->count(), 0);
    EXPECT_EQ(p.Main->cbFrom->count(), 0);
    EXPECT_EQ(p.Main->cbTo->count(), 0);
    EXPECT_EQ(p.Main->WordCount(), 0);
    EXPECT_TRUE(p.Main->CurrentDictionaryFile.isEmpty());
}

TEST(InterfaceFormDictionaries, InstallAddsADictionaryAndRefusesTheOpenOne)
{
    TDictionariesPage p;
    // A third dictionary in Data/ that is not in the catalogue yet.
    TTestDictionary french = EnglishFrench();
    {
        TProgramFolder scratch({french});
        QFile::copy(QString::fromStdString(scratch.DataFile("ENGFRE_T.TDD")), p.Data() + "ENGFRE_T.TDD");
    }
    qputenv("XDG_CONFIG_HOME", (p.Folder.Path() + "config").toLocal8Bit());
    TestSupport::AnswerNextFileDialog(p.Data() + "ENGFRE_T.TDD");
    QTest::mouseClick(p.Form->bInstall, Qt::LeftButton);
    EXPECT_EQ(p.Main->DictManager->Count(), 3);
    EXPECT_EQ(p.Form->EnabledFlags.size(), 3u);
    EXPECT_EQ(p.Form->ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(p.Main->cbTo->count(), 2);

    auto texts = std::make_shared<QStringList>();
    TestSupport::AnswerNextFileDialog(p.Data() + "ENGGER_T.TDD");
    AnswerModals({"bOk"}, texts);
    QTest::mouseClick(p.Form->bInstall, Qt::LeftButton);
    ASSERT_EQ(texts->size(), 1);
    EXPECT_TRUE(texts->at(0).contains("not a dictionary"));
    EXPECT_EQ(p.Main->DictManager->Count(), 3);

    TestSupport::AnswerNextFileDialog(p.Data() + "GERENG_T.TDD");
    AnswerModals({"bOk"}, texts);
    QTest::mouseClick(p.Form->bInstall, Qt::LeftButton);
    ASSERT_EQ(texts->size(), 2);
    EXPECT_TRUE(texts->at(1).contains("already installed"));
}

TEST(InterfaceFormDictionaries, AnInstallThatCannotWriteTheCatalogueIsReportedAndChangesNothing)
{
    TDictionariesPage p;
    {
        TProgramFolder scratch({EnglishFrench()});
        QFile::copy(QString::fromStdString(scratch.DataFile("ENGFRE_T.TDD")), p.Data() + "ENGFRE_T.TDD");
    }
    const std::string catalogue = p.Main->DictManager->CatalogueFile;
    const std::string before = TestFiles::ReadFile(catalogue);
    auto texts = std::make_shared<QStringList>();
    TestSupport::AnswerNextFileDialog(p.Data() + "ENGFRE_T.TDD");
    AnswerModals({"bOk"}, texts);
    {
        const TestFiles::TFileSizeLimit full(before.size() + 100);  // short of a third record
        QTest::mouseClick(p.Form->bInstall, Qt::LeftButton);
    }
    ASSERT_EQ(texts->size(), 1);
    EXPECT_TRUE(texts->at(0).contains("DICTIONARYS.DNT"));
    EXPECT_EQ(p.Main->DictManager->Count(), 2);
    EXPECT_EQ(p.Form->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(TestFiles::ReadFile(catalogue), before);
}

TEST(InterfaceFormDictionaries, ASoundPlaceThatTheDataFolderContradictsIsRepairedAndSaved)
{
    TDictionariesPage p({EnglishGerman(), GermanEnglish()}, [](TProgramFolder& folder) {
        SetStoredSoundSource(folder, 0, 1);  // marked copied, but no folder
        SetStoredSoundSource(folder, 1, 0);  // on the CD, but a copy is there
        MakeFolder(folder.Path() + "Data/GERENG_T", {"1.snd"});
    });
    EXPECT_EQ(TfInterface::RowImage(p.Form->ListView1->topLevelItem(0)), diSoundsOnCD);
    EXPECT_EQ(StoredSoundSource(p.Folder, 0), 0);
    p.ClickSource(1);
    EXPECT_EQ(TfInterface::RowImage(p.Form->ListView1->topLevelItem(0)), diSoundsOnDisk);
    EXPECT_EQ(StoredSoundSource(p.Folder, 1), 1);
    p.ClickRow(0);
    EXPECT_TRUE(p.Form->bCopy->isEnabled());
    EXPECT_EQ(p.Form->bCopy->text(), "Use sounds from CD");
}

TEST(InterfaceFormDictionaries, ALinkNamedLikeTheSoundFolderIsNeitherFollowedNorDeleted)
{
    QTemporaryDir elsewhere;
    MakeFolder(elsewhere.path() + "/sounds", {"precious"});
    TDictionariesPage p({EnglishGerman()}, [&](TProgramFolder& folder) {
        SetStoredSoundSource(folder, 0, 1);
        QFile::link(elsewhere.path() + "/sounds", folder.Path() + "Data/ENGGER_T");
    });
    EXPECT_EQ(TfInterface::RowImage(p.Form->ListView1->topLevelItem(0)), diSoundsOnCD);
    auto texts = std::make_shared<QStringList>();
    p.ClickRow(0);
    AnswerModals({"bYes", "bYes"}, texts);
    QTest::mouseClick(p.Form->bRemove, Qt::LeftButton);
    ExpireAnswers();
    EXPECT_EQ(texts->size(), 1);
    EXPECT_TRUE(QFile::exists(elsewhere.path() + "/sounds/precious"));
}

TEST(InterfaceFormDictionaries, OnlyAnAdministratorSeesAndChangesTheDictionaries)
{
    TDictionariesPage p({EnglishGerman()}, [](TProgramFolder&) { qputenv("LEXORA_ADMIN", "0"); });
    EXPECT_EQ(p.Form->lbDictionarys->count(), 0);
    EXPECT_EQ(p.Form->ListView1->topLevelItemCount(), 0);
    EXPECT_FALSE(p.Form->bInstall->isEnabled());
    EXPECT_FALSE(p.Form->bRemove->isEnabled());
    EXPECT_FALSE(p.Form->bCopy->isEnabled());
    QTest::mouseClick(p.Form->bOk, Qt::LeftButton);
    EXPECT_EQ(p.Main->DictManager->Records[0].Enabled, 1);
    qputenv("LEXORA_ADMIN", "1");
}
