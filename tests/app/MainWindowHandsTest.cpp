// The main window in a user's hands: Escape with a list open, a size that only the user
// changes, bounds kept inside the screen, the selected word always highlighted and in view,
// the letter panel's close button and the picture buttons and progress bar of the window.
#include "app/InterfaceLanguage.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "components/GradientProgress.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "components/ShapeButton.h"
#include "engine/LearnDictionary.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

void Store(const std::function<void(TSettings&)>& change)
{
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    s.UpdEnbl = false;  // no automatic update check: closing the window would ask to stop it
    change(s);
    SaveSettings(s, 0);
}

class MainWindowHands : public ::testing::Test {
protected:
    void Open()
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(MainWindowHands, EscapeClosesOnlyTheOpenListAndThenHidesTheWindow)
{
    Open();
    window->cbFind->addItems({"house", "apple"});
    for (QComboBox* box : {window->cbFind, window->cbTo}) {
        box->setFocus();
        box->showPopup();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 60000));
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup->focusWidget() != nullptr ? popup->focusWidget() : popup, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 60000));
        EXPECT_FALSE(window->isMinimized()) << box->objectName().toStdString();
        EXPECT_TRUE(window->isVisible());
    }
    window->miFile->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->miFile->isVisible(); }, 60000));
    QTest::keyClick(window->miFile, Qt::Key_Escape);
    EXPECT_FALSE(window->miFile->isVisible());
    EXPECT_FALSE(window->isMinimized());

    // With nothing open, Escape is the window's own.
    QCoreApplication::processEvents();
    window->cbFind->setFocus();
    QTest::keyClick(window->cbFind, Qt::Key_Escape);
    EXPECT_TRUE(window->isMinimized());
}

TEST(MainWindowHandsSize, OnlyTheUserChangesTheWindowsSize)
{
    // Long dictionary names and a letter panel with every letter, as real dictionaries have.
    TTestDictionary englishGerman = EnglishGerman();
    TTestDictionary germanEnglish = GermanEnglish();
    englishGerman.Name = germanEnglish.Name = "FreeDict, the free dictionary project's edition with sounds";
    englishGerman.LetterLinks.clear();
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        englishGerman.LetterLinks += std::u16string(1, c) + u",14,";
    TProgramFolder folder({englishGerman, germanEnglish});
    std::unique_ptr<TfLexDictionary> window;
    SettingsTest::WriteRealLanguageFile(folder.Path());
    QDir().mkpath(folder.Path() + "Learning");
    {
        TLearnDictionary store((folder.Path() + "Learning").toStdString());
        store.SetLanguagePair("ENGGER");
        store.NewList();
        ASSERT_TRUE(store.AddWord(0, u"apple", "{\\rtf1 x}"));
        ASSERT_TRUE(store.SaveToFile(
            (folder.Path() + "Learning/a list with a rather long name for the status bar.lst").toStdString()));
        store.Close();
        QFile::remove(folder.Path() + "Learning/TempList.tmp");
    }
    window = std::make_unique<TfLexDictionary>(folder.Path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QSize size = window->size();
    ASSERT_EQ(size.width(), 550);
    // Every letter of the panel is within reach, clear of its close button, side by side.
    QList<TMURL*> links;
    for (TMURL* link : window->mbAlphabet->findChildren<TMURL*>())
        if (link->y() == 2)
            links << link;
    ASSERT_EQ(links.size(), 26);
    for (int i = 0; i < links.size(); ++i) {
        EXPECT_LT(links[i]->geometry().right(), window->ShapeButton1->x()) << i;
        if (i > 0) {
            EXPECT_GT(links[i]->x(), links[i - 1]->geometry().right()) << i;
        }
    }
    const auto unchanged = [&](const char* after) {
        QTest::qWait(20);
        EXPECT_EQ(window->size(), size) << after;
        EXPECT_LE(window->minimumSizeHint().width(), size.width()) << after;
    };
    for (const TInterfaceLanguage& language : ListInterfaceLanguages(window->LangFile.toStdString())) {
        ASSERT_TRUE(LoadInterfaceLanguage(window->LangFile.toStdString(), language.Id, window->LangStrings));
        window->InterfaceLanguage = language.Id;
        window->ApplyInterfaceLanguage();
        unchanged("a change of the interface language");
    }
    window->PopupMenuListPopup();
    ASSERT_GE(window->PopupMenuList->actions().size(), 2);
    window->PopupMenuList->actions().at(1)->trigger();
    ASSERT_TRUE(window->pList->isVisible());
    unchanged("opening a learning list");
    window->aReverse->trigger();
    unchanged("a change of direction");
    window->SetStatusPanel(0, QString(200, QLatin1Char('w')));
    unchanged("a long word in the status bar");

    // The user may still make it smaller.
    window->resize(420, 300);
    QTest::qWait(20);
    EXPECT_EQ(window->size(), QSize(420, 300));
}

TEST_F(MainWindowHands, StoredBoundsBeyondTheScreenGiveAWindowInsideIt)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect stored :
         {QRect(100, 100, 32767, 32767), QRect(30000, 30000, area.width(), 380), QRect(-9000, 50, 500, 400)}) {
        Store([&](TSettings& s) {
            s.Left = stored.left();
            s.Top = stored.top();
            s.Width = stored.width();
            s.Height = stored.height();
        });
        Open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(window->frameGeometry()); }, 60000))
            << stored.left() << "," << stored.top();
        EXPECT_LE(window->width(), area.width());
        window.reset();
    }
    // Bounds inside the screen come back as they were stored.
    Store([](TSettings& s) {
        s.Left = 60;
        s.Top = 70;
        s.Width = 500;
        s.Height = 360;
    });
    Open();
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(60, 70));
    EXPECT_EQ(window->size(), QSize(500, 360));
    window.reset();
    TSettings s;
    LoadSettings(s);
    EXPECT_EQ(QRect(s.Left, s.Top, s.Width, s.Height), QRect(60, 70, 500, 360));
}

TEST(MainWindowHandsSelection, TheSelectedWordIsAlwaysHighlightedAndInView)
{
    // Letter blocks longer than the list is high.
    TTestDictionary englishGerman = EnglishGerman();
    TTestDictionary germanEnglish = GermanEnglish();
    for (TTestDictionary* d : {&englishGerman, &germanEnglish})
        for (int i = 0; i < 80; ++i)
            d->Sections[0].second.push_back(
                {(d == &englishGerman ? u"az" : u"Az") + QString::number(100 + i).toStdU16String(), "{\\rtf1 x}"});
    TProgramFolder folder({englishGerman, germanEnglish});
    Store([](TSettings& s) {
        s.EveryKey = true;
        s.Height = 300;
    });
    TfLexDictionary w(folder.Path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // What the screen shows of the selected row: its highlight, inside the list's view.
    const auto shown = [&w] {
        const int row = w.SelectedIndex();
        if (row < 0)
            return false;
        QWidget* view = w.lbWords->viewport();
        const QRect r = w.lbWords->visualRect(w.WordsModel->index(row));
        if (!view->rect().contains(r.center()))
            return false;
        const QPoint at = view->mapTo(&w, QPoint(r.right() - 3, r.center().y()));
        const QImage screen = w.screen()->grabWindow(w.winId()).toImage();
        return screen.pixelColor(at) == w.lbWords->palette().color(QPalette::Highlight);
    };
    w.cbFind->setFocus();
    QTest::keyClicks(w.cbFind, "h");
    ASSERT_TRUE(QTest::qWaitFor(shown, 60000));
    QTest::keyClicks(w.cbFind, "o");
    EXPECT_EQ(w.SelectedWord(), "house");
    EXPECT_TRUE(QTest::qWaitFor(shown, 60000));

    // A word far down the list, then a switch of direction: the first word is selected and seen.
    w.cbFind->lineEdit()->selectAll();
    QTest::keyClicks(w.cbFind, "az170");
    QTest::keyClick(w.cbFind, Qt::Key_Return);
    ASSERT_EQ(w.SelectedWord(), "az170");
    w.aReverse->trigger();
    EXPECT_EQ(w.SelectedIndex(), 0);
    EXPECT_TRUE(QTest::qWaitFor(shown, 60000));
    // And a direction chosen in the chooser after the list was scrolled down.
    w.lbWords->scrollToBottom();
    w.cbFrom->setCurrentIndex(0);
    emit w.cbFrom->activated(0);
    EXPECT_EQ(w.CurrentDictionaryFile, "ENGGER_T");
    EXPECT_EQ(w.SelectedIndex(), 0);
    EXPECT_TRUE(QTest::qWaitFor(shown, 60000));
}

TEST_F(MainWindowHands, CloseButtonOfTheLetterPanelSlidesItOutAlsoDuringAnOpeningSlide)
{
    Open();
    auto* close = qobject_cast<TShapeButton*>(window->ShapeButton1);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->size(), QSize(13, 13));
    EXPECT_FALSE(close->PicIdle().isNull());

    // A real click: the panel slides out in its place, then hides.
    QTest::mouseClick(close, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_FALSE(window->miAlphabet->isChecked());
    EXPECT_FALSE(window->bKeyboard->isChecked());
    EXPECT_TRUE(window->mbAlphabet->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->mbAlphabet->isVisible(); }, 60000));

    // Opened again and closed while the opening slide runs: it stays closed.
    window->VKeyboard->trigger();
    ASSERT_TRUE(window->mbAlphabet->isVisible());
    QTest::mouseClick(close, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::qWait(250);
    EXPECT_FALSE(window->mbAlphabet->isVisible());
    EXPECT_FALSE(window->miAlphabet->isChecked());
    EXPECT_TRUE(window->mbAlphabet->mask().isEmpty());
}

TEST_F(MainWindowHands, DownloadPanelHasAPictureStopButtonAndAGradientBar)
{
    Open();
    ASSERT_NE(qobject_cast<TShapeButton*>(window->ShapeButton2), nullptr);
    TGradientProgress* bar = window->ProgressBar1;
    window->pDownload->show();
    bar->SetMaximum(100);
    bar->SetPosition(100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->width() > 100 && bar->FilledWidth() >= bar->width() - 2; }, 60000));
    EXPECT_EQ(bar->height(), 15);
    EXPECT_TRUE(bar->TextCentered());
    EXPECT_FALSE(bar->Solid());
    const QImage face = bar->grab().toImage();
    // Light at the left end, dark at the right, the face colour in the gaps.
    EXPECT_EQ(face.pixelColor(2, 3), QColor(0xED, 0xEF, 0xEE));
    const QColor last = face.pixelColor(bar->width() - 4, 3);
    EXPECT_LT(last.red(), 0x80);
    EXPECT_GT(last.blue(), last.red());
    EXPECT_EQ(face.pixelColor(bar->BlockWidth(), 3), QColor(0xF8, 0xF8, 0xF8));
}
