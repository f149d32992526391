// The main window's keys wherever its focus is (F3, Ctrl+Enter, Escape, the reverse key), the
// search box's selection shown only while it has the keyboard, the direction labels centred
// on their choosers and the banner shown whole.
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
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class MainWindowKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsTest::WriteRealLanguageFile(folder.Path());
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 60000));
    }
    // A key pressed where the keyboard is: the focused control, or the window itself.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window.get(), key, modifiers);
    }
    // The number of pixels of the search box drawn in the selection colour.
    int Highlighted()
    {
        const QRgb colour = window->cbFind->palette().color(QPalette::Active, QPalette::Highlight).rgb();
        const QImage look = window->cbFind->lineEdit()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < look.height(); ++y)
            for (int x = 0; x < look.width(); ++x)
                count += look.pixel(x, y) == colour ? 1 : 0;
        return count;
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(MainWindowKeys, TheWindowsKeysWorkFromAToolButtonAndWithoutAFocusedControl)
{
    window->Settings.HotKey = 0x4052;  // Ctrl+R
    window->cbFind->setFocus();
    Press(Qt::Key_Tab);  // one Tab from the search box: a tool button
    QWidget* button = QApplication::focusWidget();
    ASSERT_NE(button, window->cbFind);
    for (QWidget* control : {button, static_cast<QWidget*>(nullptr)}) {
        const auto focus = [&] {
            if (control != nullptr)
                control->setFocus();
            else if (QApplication::focusWidget() != nullptr)
                QApplication::focusWidget()->clearFocus();
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
        window->showNormal();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 60000));
    }
}

TEST_F(MainWindowKeys, F3HandsTheKeyboardToTheSearchBoxWhichLooksSelectedOnlyWhileItHasIt)
{
    window->Settings.DblClickTranslate = true;
    window->cbFind->setFocus();
    QTest::keyClicks(window->cbFind, "house");
    Press(Qt::Key_Return);
    EXPECT_GT(Highlighted(), 20);
    // A double click on the article's first word looks it up: the box holds it selected while
    // the keyboard stays in the article.
    QTest::mouseClick(window->lbWords->viewport(), Qt::LeftButton, {},
                      window->lbWords->visualRect(window->WordsModel->index(0)).center());
    const QString word = window->SelectedWord();
    QTextCursor first(window->reDescription->document());
    first.setPosition(2);
    QTest::mouseDClick(window->reDescription->viewport(), Qt::LeftButton, {},
                       window->reDescription->cursorRect(first).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->cbFind->lineEdit()->selectedText() == word; }, 60000));
    EXPECT_NE(QApplication::focusWidget(), window->cbFind);
    EXPECT_EQ(Highlighted(), 0);
    Press(Qt::Key_F3);
    EXPECT_EQ(QApplication::focusWidget(), window->cbFind);
    EXPECT_GT(Highlighted(), 20);
    QTest::keyClicks(QApplication::focusWidget(), "mouse");
    Press(Qt::Key_Return);
    EXPECT_EQ(window->SelectedWord(), "mouse");
}

TEST_F(MainWindowKeys, TheDirectionLabelsStayCentredOnTheirChoosersAfterSettingsOk)
{
    for (const int language : {0, 0, 1, 1, 2}) {  // each language, and the same one again
        TfInterface form(window.get());
        form.show();
        form.cbLangs->setCurrentIndex(language);
        QTest::mouseClick(form.bOk, Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_NEAR(window->lFromLanguage->geometry().center().y(), window->cbFrom->geometry().center().y(), 1);
        EXPECT_NEAR(window->lToLanguage->geometry().center().y(), window->cbTo->geometry().center().y(), 1);
    }
}

TEST(MainWindowBannerSize, TheBannerShowsWholeAtTheFirstStartSize)
{
    TProgramFolder folder({EnglishGerman()});
    // White between a green band at the left end and a blue one at the right end.
    QImage picture(468, 60, QImage::Format_RGB888);
    picture.fill(Qt::white);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 60; ++y) {
            picture.setPixelColor(x, y, Qt::green);
            picture.setPixelColor(467 - x, y, Qt::blue);
        }
    QDir().mkpath(folder.Path() + "Banners");
    if (!QImageWriter(folder.Path() + "Banners/BANNER_ENG.jpg", "jpeg").write(picture))
        GTEST_SKIP() << "no JPEG writer to make the test picture";
    TfLexDictionary w(folder.Path());
    w.show();
    w.pBanner->show();
    w.ShowBanner();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_EQ(w.width(), 550);
    ASSERT_LT(w.IBaner->width(), 468);
    const QImage look = w.IBaner->grab().toImage();
    int green = 0, blue = 0;
    for (int y = 0; y < look.height(); ++y)
        for (int x = 0; x < look.width(); ++x) {
            const QColor c = look.pixelColor(x, y);
            green += c.green() > 150 && c.red() < 80 && c.blue() < 80 ? 1 : 0;
            blue += c.blue() > 150 && c.red() < 80 && c.green() < 80 ? 1 : 0;
        }
    EXPECT_GT(green, 100);
    EXPECT_GT(blue, 100);
}
