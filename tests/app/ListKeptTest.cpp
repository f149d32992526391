// A changed learning list is closed only when it was saved or the user let its words go:
// when the save dialog is cancelled or the save fails, the list stays open and every command
// that wanted it closed (close, new, open, a change of dictionary, the settings, closing the
// program) stops there. Settings that leave the dictionary as it was leave the list alone.
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "components/InterfaceText.h"
#include "engine/LearnDictionary.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/app/ListCommandsTestFolder.h"
#include "tests/support/FileSizeLimit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

// Answers the modal windows of a test in their order, as a user would. A window that nobody
// expected is noted and closed, so that a command going on where it should stop fails the
// test instead of hanging it.
class TModalScript {
public:
    using TAnswer = std::function<void(QWidget*)>;

    TModalScript()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    void Then(TAnswer answer) { answers_.push_back(std::move(answer)); }
    bool Done() const { return answers_.empty(); }

    QStringList Texts;       // the labels of each window answered
    QStringList Unexpected;  // the windows nobody expected

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        // A window already answered is on top again while the one it opened goes.
        if (modal == nullptr || !modal->isVisible() || std::find(seen_.begin(), seen_.end(), modal) != seen_.end())
            return;
        std::erase_if(seen_, [](const QPointer<QWidget>& w) { return w.isNull(); });
        seen_.emplace_back(modal);
        QStringList labels;
        for (const QLabel* l : modal->findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty())
                labels << l->text();
        if (answers_.empty()) {
            Unexpected << QString::fromLatin1(modal->metaObject()->className()) + ": " + labels.join(' ');
            modal->close();
            return;
        }
        Texts << labels.join(' ');
        // Answered from the loop, not from this timer, which does not fire again while its
        // handler runs: the answer may open the next window.
        QTimer::singleShot(0, modal, [answer = std::move(answers_.front()), modal] { answer(modal); });
        answers_.pop_front();
    }

    QTimer timer_;
    std::vector<QPointer<QWidget>> seen_;
    std::deque<TAnswer> answers_;
};

TModalScript::TAnswer Press(const char* button)
{
    return [button](QWidget* w) {
        auto* b = w->findChild<QAbstractButton*>(button);
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    };
}

void CancelFileDialog(QWidget* dialog)
{
    auto* box = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box->button(QDialogButtonBox::Cancel), Qt::LeftButton);
}

TModalScript::TAnswer SaveAs(const QString& path)
{
    return [path](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* box = dialog->findChild<QDialogButtonBox*>();
        ASSERT_TRUE(edit != nullptr && box != nullptr);
        edit->setText(path);
        QTest::mouseClick(box->button(QDialogButtonBox::Save), Qt::LeftButton);
    };
}

// The settings window's clipboard translation (the pop-up) switched where a user clicks.
TfInterface* ClickClipTranslate(QWidget* modal)
{
    auto* form = qobject_cast<TfInterface*>(modal);
    if (form != nullptr)
        QTest::mouseClick(form->cbClipTranslate, Qt::LeftButton, {}, QPoint(6, form->cbClipTranslate->height() / 2));
    return form;
}

TTestDictionary EnglishFrench()
{
    TTestDictionary d = EnglishGerman();
    d.FileName = "ENGFRE_T";
    d.Pair = "ENGFRE";
    return d;
}

class ListKept : public ::testing::Test {
protected:
    ListKept()
    {
        WriteRealLanguageFile(folder.Path());
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        for (const char* word : {"house", "hat"}) {
            window->cbFind->setFocus();
            window->cbFind->lineEdit()->selectAll();
            QTest::keyClicks(window->cbFind, word);
            QTest::keyClick(window->cbFind, Qt::Key_Return);
            QTest::mouseClick(window->bAddToList, Qt::LeftButton);
        }
    }

    QStringList ListWords() const { return ListCommandsTest::LearningListWords(*window); }

    // Yes to "save the list?", then Cancel in the save dialog.
    void CancelTheSave()
    {
        script.Then(Press("bYes"));
        script.Then(CancelFileDialog);
    }

    // Every window came as expected, and the new list is open with its words, unsaved.
    void ExpectListKept()
    {
        EXPECT_TRUE(script.Done());
        EXPECT_TRUE(script.Unexpected.isEmpty()) << script.Unexpected.join('\n').toStdString();
        ASSERT_FALSE(script.Texts.isEmpty());
        EXPECT_TRUE(script.Texts.first().contains("Save it?")) << script.Texts.first().toStdString();
        EXPECT_FALSE(window->pList->isHidden());
        EXPECT_EQ(ListWords(), QStringList({"house", "hat"}));
        EXPECT_FALSE(window->LearnDictionary->Closed);
        EXPECT_TRUE(window->LearnDictionary->Modified);
        EXPECT_EQ(window->LearnDictionary->Items.size(), 2u);
        EXPECT_EQ(window->StatusPanel(1), "NewList.lst");
        EXPECT_TRUE(window->miCloseList->isEnabled());
        script.Texts.clear();
    }

    // English -> German is open, its choosers show it and its words are listed as the search
    // left them (the block of "h").
    void ExpectEnglishGerman()
    {
        EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
        EXPECT_EQ(window->cbFrom->currentText(), "English");
        EXPECT_TRUE(window->cbTo->currentText().startsWith("German")) << window->cbTo->currentText().toStdString();
        EXPECT_EQ(window->GetDictionaryFileName(), "ENGGER_T");
        EXPECT_EQ(window->WordsModel->Word(0), "hat");
        EXPECT_NE(window->GetDictionaryPath().indexOf("ENGGER_T.TDD"), -1);
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish(), EnglishFrench()}};
    TModalScript script;
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(ListKept, ACancelledSaveDialogKeepsTheListForEveryListCommand)
{
    const QString other = folder.Path() + "Learning/Other.lst";
    {
        TLearnDictionary store((folder.Path() + "Learning").toStdString());
        store.SetLanguagePair("ENGGER");
        store.NewList();
        ASSERT_TRUE(store.SaveToFile(other.toStdString()));
    }
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"close button", [&] { QTest::mouseClick(window->bCloseList, Qt::LeftButton); }},
        {"close list", [&] { window->miCloseList->trigger(); }},
        {"new list", [&] { window->miNewList->trigger(); }},
        {"open list", [&] { window->miOpenList->trigger(); }},
        {"list of the drop-down menu",
         [&] {
             window->PopupMenuListPopup();
             window->PopupMenuList->actions().last()->trigger();
         }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        CancelTheSave();
        command();
        ExpectListKept();
    }
    // Closing the question without an answer is no answer either.
    script.Then([](QWidget* question) { question->close(); });
    window->miCloseList->trigger();
    ExpectListKept();
}

TEST_F(ListKept, AFailedSaveKeepsTheListAndSaysSo)
{
    const QString path = folder.Path() + "Learning/Full.lst";
    script.Then(Press("bYes"));
    script.Then(SaveAs(path));
    script.Then(Press("bOk"));
    {
        // The disk is full: the list file cannot be written.
        const TestFiles::TFileSizeLimit full(16);
        window->miCloseList->trigger();
    }
    ASSERT_EQ(script.Texts.size(), 3);
    EXPECT_TRUE(script.Texts.at(2).contains("could not be saved")) << script.Texts.at(2).toStdString();
    ExpectListKept();
    EXPECT_FALSE(QFileInfo::exists(path));

    // With room again the same command saves the list and closes it.
    script.Then(Press("bYes"));
    script.Then(SaveAs(path));
    window->miCloseList->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(window->pList->isHidden());
    EXPECT_TRUE(window->LearnDictionary->Closed);
    TLearnDictionary saved((folder.Path() + "Learning").toStdString());
    saved.LoadFromFile(path.toStdString());
    EXPECT_EQ(saved.Words.Count(), 2);
}

TEST_F(ListKept, AChangeOfDictionaryWaitsForTheList)
{
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"direction chooser",
         [&] {
             window->cbFrom->setFocus();
             QTest::keyClick(window->cbFrom, Qt::Key_Down);
         }},
        {"dictionary chooser",
         [&] {
             window->cbTo->setFocus();
             QTest::keyClick(window->cbTo, Qt::Key_Down);
         }},
        {"reverse button", [&] { QTest::mouseClick(window->bReverse, Qt::LeftButton); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        CancelTheSave();
        change();
        ExpectListKept();
        ExpectEnglishGerman();
    }
    // The user lets the words go: the list closes and the other direction opens.
    script.Then(Press("bNo"));
    window->cbFrom->setFocus();
    QTest::keyClick(window->cbFrom, Qt::Key_Down);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(window->pList->isHidden());
    EXPECT_EQ(window->CurrentDictionaryFile, "GERENG_T");
}

TEST_F(ListKept, ClosingTheProgramIsCancelledWhileTheListStays)
{
    CancelTheSave();
    EXPECT_FALSE(window->close());
    ExpectListKept();
    EXPECT_TRUE(window->isVisible());

    CancelTheSave();
    window->miTrayExit->trigger();
    ExpectListKept();
    EXPECT_TRUE(window->isVisible());

    script.Then(Press("bNo"));
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ListKept, SettingsThatKeepTheDictionaryLeaveTheListAlone)
{
    const bool clipTranslate = window->Settings.ClipTranslate;
    script.Then([](QWidget* modal) {
        TfInterface* form = ClickClipTranslate(modal);
        ASSERT_NE(form, nullptr);
        QTest::mouseClick(form->bOk, Qt::LeftButton);
    });
    window->aInterfaceForm->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(script.Unexpected.isEmpty()) << script.Unexpected.join('\n').toStdString();
    EXPECT_NE(window->Settings.ClipTranslate, clipTranslate);
    EXPECT_EQ(ListWords(), QStringList({"house", "hat"}));
    EXPECT_FALSE(window->LearnDictionary->Closed);
    EXPECT_TRUE(window->LearnDictionary->Modified);
    ExpectEnglishGerman();
}

TEST_F(ListKept, SettingsThatWouldChangeTheDictionaryApplyTheRestAndKeepTheList)
{
    const bool clipTranslate = window->Settings.ClipTranslate;
    script.Then([](QWidget* modal) {
        TfInterface* form = ClickClipTranslate(modal);
        ASSERT_NE(form, nullptr);
        // English -> German, the open dictionary, unchecked on the dictionaries page.
        form->pcSettings->setCurrentWidget(form->tsDictionarys);
        QTreeWidget* view = form->ListView1;
        ASSERT_TRUE(QTest::qWaitFor([view] { return view->topLevelItemCount() == 2; }, 60000));
        const QRect row = view->visualItemRect(view->topLevelItem(0));
        const int box = view->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 4;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(row.left() + box, row.center().y()));
        ASSERT_EQ(view->topLevelItem(0)->checkState(0), Qt::Unchecked);
        QTest::mouseClick(form->bOk, Qt::LeftButton);
    });
    CancelTheSave();
    window->aInterfaceForm->trigger();
    EXPECT_TRUE(script.Texts.size() >= 2 && script.Texts.at(1).contains("Save it?"));
    script.Texts.removeFirst();  // the settings window
    ExpectListKept();
    EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
    EXPECT_NE(window->GetDictionaryPath().indexOf("ENGGER_T.TDD"), -1);
    EXPECT_EQ(window->WordsModel->Word(0), "hat");
    // Everything else was applied and stored.
    EXPECT_NE(window->Settings.ClipTranslate, clipTranslate);
    EXPECT_EQ(window->DictManager->Records[0].Enabled, 0);
    TSettings stored;
    LoadSettings(stored);
    EXPECT_NE(stored.ClipTranslate, clipTranslate);
}

// Every dictionary switched off on the dictionaries page: once the list lets go (its save
// question answered), nothing of the last dictionary stays on screen; while the list stays
// (its save cancelled), the dictionary stays with it.
TEST_F(ListKept, EveryDictionarySwitchedOffLeavesNoDictionaryOnceTheListIsClosed)
{
    const auto switchAllOff = [](QWidget* modal) {
        auto* form = qobject_cast<TfInterface*>(modal);
        ASSERT_NE(form, nullptr);
        form->pcSettings->setCurrentWidget(form->tsDictionarys);
        for (int source = 0; source < form->lbDictionarys->count(); ++source) {
            QListWidget* sources = form->lbDictionarys;
            QTest::mouseClick(sources->viewport(), Qt::LeftButton, {},
                              sources->visualItemRect(sources->item(source)).center());
            QTreeWidget* view = form->ListView1;
            for (int i = 0; i < view->topLevelItemCount(); ++i) {
                if (view->topLevelItem(i)->checkState(0) == Qt::Unchecked)
                    continue;
                const QRect row = view->visualItemRect(view->topLevelItem(i));
                const int box = view->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 4;
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(row.left() + box, row.center().y()));
            }
        }
        EXPECT_EQ(std::count(form->EnabledFlags.begin(), form->EnabledFlags.end(), 0), 3);
        QTest::mouseClick(form->bOk, Qt::LeftButton);
    };
    script.Then(switchAllOff);
    CancelTheSave();
    window->aInterfaceForm->trigger();
    script.Texts.removeFirst();  // the settings window
    ExpectListKept();
    EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
    EXPECT_EQ(window->WordsModel->Word(0), "hat");
    EXPECT_EQ(window->cbFrom->count(), 0);

    script.Then([](QWidget* modal) {
        auto* form = qobject_cast<TfInterface*>(modal);
        ASSERT_NE(form, nullptr);
        QTest::mouseClick(form->bOk, Qt::LeftButton);
    });
    script.Then(Press("bNo"));  // the list's words may go
    window->aInterfaceForm->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(script.Unexpected.isEmpty()) << script.Unexpected.join('\n').toStdString();
    EXPECT_TRUE(window->pList->isHidden());
    EXPECT_TRUE(window->LearnDictionary->Closed);
    EXPECT_TRUE(window->CurrentDictionaryFile.isEmpty());
    EXPECT_EQ(window->WordCount(), 0);
    EXPECT_TRUE(window->reDescription->toPlainText().isEmpty());
    EXPECT_EQ(window->windowTitle(), LangText(window->LangStrings, "Title"));
    EXPECT_FALSE(window->miAddToList->isEnabled());
}
