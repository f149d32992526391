// The main window's keys wherever its focus is: F3 and Ctrl+Enter hand the keyboard to the
// search box, the window's keys work from every control, the search box looks selected only
// while it has the keyboard, the direction labels stay centred on their choosers and the
// banner shows whole.
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "components/MBox.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class MainWindowKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsTest::WriteRealLanguageFile(folder.Path());
        window = std::make_unique<TfLexDictionary>(folder.Path());
        Show();
    }
    void Show()
    {
        window->showNormal();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // A key pressed where the keyboard is: the focused control, or the window itself.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window.get(), key, modifiers);
    }
    void ClickWord(int row)
    {
        const QRect place = window->lbWords->visualRect(window->WordsModel->index(row));
        QTest::mouseClick(window->lbWords->viewport(), Qt::LeftButton, {}, place.center());
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(MainWindowKeys, F3AndCtrlEnterHandTheKeyboardToTheSearchBox)
{
    const struct {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        const char* Word;
    } ways[] = {{Qt::Key_F3, {}, "mouse"}, {Qt::Key_Return, Qt::ControlModifier, "hut"}};
    for (const auto& way : ways) {
        ClickWord(1);
        ASSERT_EQ(QApplication::focusWidget(), window->lbWords);
        Press(way.Key, way.Modifiers);
        EXPECT_EQ(QApplication::focusWidget(), window->cbFind) << way.Word;
        QTest::keyClicks(QApplication::focusWidget(), way.Word);
        Press(Qt::Key_Return);
        EXPECT_EQ(window->cbFind->currentText(), way.Word);
        EXPECT_EQ(window->SelectedWord(), way.Word);
    }
}

TEST_F(MainWindowKeys, TheWindowsKeysWorkFromEveryControlAndWithoutOne)
{
    window->Settings.HotKey = 0x4052;  // Ctrl+R
    // The controls as Tab reaches them from the search box.
    std::vector<QWidget*> controls;
    window->cbFind->setFocus();
    for (QWidget* focus = window->cbFind; focus != nullptr && std::count(controls.begin(), controls.end(), focus) == 0;
         focus = QApplication::focusWidget()) {
        controls.push_back(focus);
        Press(Qt::Key_Tab);
    }
    ASSERT_GE(controls.size(), 4u);
    controls.push_back(nullptr);  // nothing focused: the window receives the keys
    for (QWidget* control : controls) {
        SCOPED_TRACE(control != nullptr ? control->objectName().toStdString() + " " + control->metaObject()->className()
                                        : std::string("no control"));
        const auto focus = [&] {
            if (control != nullptr)
                control->setFocus();
            else if (QApplication::focusWidget() != nullptr)
                QApplication::focusWidget()->clearFocus();
            ASSERT_EQ(QApplication::focusWidget(), control);
        };
        focus();
        const QString before = window->CurrentDictionaryFile;
        Press(Qt::Key_R, Qt::ControlModifier);
        EXPECT_NE(window->CurrentDictionaryFile, before);
        focus();
        Press(Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), window->cbFind);
        focus();
        Press(Qt::Key_Escape);
        EXPECT_TRUE(window->isMinimized());
        Show();
    }
}

TEST_F(MainWindowKeys, TheSearchBoxLooksSelectedOnlyWhileItHasTheKeyboard)
{
    QLineEdit* edit = window->cbFind->lineEdit();
    const QRgb highlight = window->cbFind->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    const auto highlighted = [&] {
        const QImage look = edit->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < look.height(); ++y)
            for (int x = 0; x < look.width(); ++x)
                count += (look.pixel(x, y) & 0xFFFFFF) == (highlight & 0xFFFFFF) ? 1 : 0;
        return count > 20;
    };
    window->Settings.DblClickTranslate = true;
    window->cbFind->setFocus();
    QTest::keyClicks(window->cbFind, "house");
    Press(Qt::Key_Return);
    ASSERT_EQ(edit->selectedText(), "house");
    EXPECT_TRUE(highlighted());
    ClickWord(0);
    ASSERT_EQ(QApplication::focusWidget(), window->lbWords);
    EXPECT_FALSE(highlighted());
    const QString shown = window->SelectedWord();
    ASSERT_NE(shown, "house");
    // A double click on the article's first word looks it up: the box holds it selected, but
    // the keyboard stays in the article.
    QTextCursor first(window->reDescription->document());
    first.setPosition(2);
    const QPoint word = window->reDescription->cursorRect(first).center();
    QTest::mouseDClick(window->reDescription->viewport(), Qt::LeftButton, {}, word);
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->selectedText() == shown; }));
    ASSERT_NE(QApplication::focusWidget(), window->cbFind);
    EXPECT_FALSE(highlighted());
    Press(Qt::Key_F3);
    EXPECT_TRUE(highlighted());
}

TEST_F(MainWindowKeys, TheDirectionLabelsStayCentredOnTheirChoosers)
{
    const auto centred = [&](const char* after) {
        QCoreApplication::processEvents();
        for (const auto& [label, chooser] : {std::pair<QLabel*, QComboBox*>{window->lFromLanguage, window->cbFrom},
                                             {window->lToLanguage, window->cbTo}})
            EXPECT_NEAR(label->geometry().center().y(), chooser->geometry().center().y(), 1)
                << after << ": " << label->objectName().toStdString();
    };
    centred("start");
    for (int language = 0; language < 3; ++language) {
        for (const int pick : {language, language}) {  // a new language, then the same one again
            TfInterface form(window.get());
            form.show();
            form.cbLangs->setCurrentIndex(pick);
            QTest::mouseClick(form.bOk, Qt::LeftButton);
            centred(qPrintable(form.cbLangs->itemText(pick)));
        }
    }
}

TEST(MainWindowBannerSize, TheBannerShowsWholeAtTheFirstStartSize)
{
    TProgramFolder folder({EnglishGerman()});
    // White with a green band at its left end and a blue one at its right end.
    QImage picture(468, 60, QImage::Format_RGB888);
    picture.fill(Qt::white);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 20; ++x) {
            picture.setPixelColor(x, y, QColor(0, 160, 0));
            picture.setPixelColor(467 - x, y, QColor(0, 0, 200));
        }
    QDir().mkpath(folder.Path() + "Banners");
    if (!QImageWriter(folder.Path() + "Banners/BANNER_ENG.jpg", "jpeg").write(picture))
        GTEST_SKIP() << "no JPEG writer to make the test picture";
    TfLexDictionary w(folder.Path());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_EQ(w.size(), QSize(550, 380));
    w.pBanner->show();
    w.ShowBanner();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.IBaner->isVisible() && w.IBaner->width() > 0; }, 2000));
    ASSERT_LT(w.IBaner->width(), 468);
    const QImage look = w.IBaner->grab().toImage();
    int green = 0, blue = 0;
    for (int y = 0; y < look.height(); ++y)
        for (int x = 0; x < look.width(); ++x) {
            const QColor c = look.pixelColor(x, y);
            green += c.green() > 120 && c.red() < 60 && c.blue() < 60 ? 1 : 0;
            blue += c.blue() > 150 && c.red() < 60 && c.green() < 60 ? 1 : 0;
        }
    EXPECT_GT(green, 100);
    EXPECT_GT(blue, 100);
}
