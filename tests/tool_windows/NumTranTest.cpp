// The number-to-words window driven by keys and clicks.
#include "tools/windows/NumTran.h"

#include "components/MBox.h"
#include "engine/WideStringList.h"
#include "platform/qt/QtText.h"
#include "tools/NumberWords.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class NumTranTest : public ::testing::Test {
protected:
    NumTranTest()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        window.eNumber->setFocus();
    }

    void Choose(int language)
    {
        // The user opens the list and picks an entry with the keyboard.
        window.cbLanguage->setFocus();
        const int steps = language - window.cbLanguage->currentIndex();
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(window.cbLanguage, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }

    static QString Spelled(int language, double n)
    {
        std::string words;
        NumberToWords(static_cast<std::uint8_t>(language), 0, {}, words, n);
        return ToQString(NumberWordsToWide(static_cast<std::uint8_t>(language), words));
    }

    static const TWideStrings& Filled(TWideStringList& s)
    {
        s.SetTextStr(u"TranCaption=Numbers\r\nTranNumber=Type a number:\r\nTranButTran=Translate\r\n");
        return s;
    }

    TWideStringList strings;
    TfNumTran window{Filled(strings)};
};

TEST_F(NumTranTest, CaptionsComeFromTheInterfaceStrings)
{
    EXPECT_EQ(window.windowTitle(), "Numbers");
    EXPECT_EQ(window.lNumber->text(), "Type a number:");
    EXPECT_EQ(window.bClose->text(), "");  // a key the language lacks gives an empty caption
    EXPECT_EQ(window.UniButton1->text(), "Copy");
}

TEST_F(NumTranTest, TenDigitsAtMostAndAboveTheRangeTheFirstNine)
{
    QTest::keyClicks(window.eNumber, "99999999991");
    EXPECT_EQ(window.eNumber->text(), "9999999999");
    QTest::keyClick(window.eNumber, Qt::Key_Return);
    EXPECT_EQ(window.eNumber->text(), "999999999");
    EXPECT_EQ(window.Label1->text(), Spelled(0, 999999999));
    EXPECT_TRUE(window.Label1->text().contains("NINETY"));
}

TEST_F(NumTranTest, SpanishAndFrenchDropTheTenthDigit)
{
    QTest::keyClicks(window.eNumber, "1234567890");
    Choose(1);
    EXPECT_EQ(window.eNumber->text(), "1234567890");  // German spells all ten digits
    EXPECT_FALSE(window.Label1->text().isEmpty());
    Choose(3);
    EXPECT_EQ(window.eNumber->text(), "123456789");
    EXPECT_TRUE(window.Label1->text().startsWith("cent vingt-trois millions"));
}

TEST_F(NumTranTest, AnEmptyBoxInSpanishBecomesZero)
{
    Choose(2);
    EXPECT_EQ(window.eNumber->text(), "0");
    EXPECT_EQ(window.Label1->text(), "Cero");
}

TEST_F(NumTranTest, RussianInCyrillicAndCopiedToTheClipboard)
{
    QTest::keyClicks(window.eNumber, "1234567");
    Choose(5);
    const QString words = window.Label1->text();
    EXPECT_TRUE(words.contains(QString::fromUtf8("миллион"))) << words.toStdString();
    QTest::mouseClick(window.UniButton1, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), words);
}

TEST_F(NumTranTest, PastedTextThatIsNoNumberIsRefused)
{
    QApplication::clipboard()->setText("-5");
    QTest::keyClick(window.eNumber, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.eNumber->text(), "");
    QApplication::clipboard()->setText("42");
    QTest::keyClick(window.eNumber, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.eNumber->text(), "42");
    QTest::mouseClick(window.bTranslate, Qt::LeftButton);
    EXPECT_EQ(window.Label1->text(), Spelled(0, 42));
}

TEST_F(NumTranTest, EscapeClosesWithTheOkResult)
{
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(NumTranTest, AOneWordResultWrapsInsideTheBox)
{
    window.eNumber->setText("1234567");
    Choose(4);  // Italian writes it as one long word
    ASSERT_FALSE(window.Label1->text().contains(' '));
    ASSERT_GT(QFontMetrics(window.Label1->font()).horizontalAdvance(window.Label1->text()), window.Label1->width());
    // The word goes on in a second line instead of being cut at the box edge.
    const QImage shown = window.Label1->grab().toImage();
    const QColor background = shown.pixelColor(shown.width() - 1, shown.height() - 1);
    int lowestInk = -1;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixelColor(x, y) != background)
                lowestInk = y;
    EXPECT_GT(lowestInk, QFontMetrics(window.Label1->font()).lineSpacing() + 2);
    EXPECT_TRUE(window.MBox1->geometry().contains(window.Label1->geometry().translated(window.MBox1->pos())));
}

TEST(NumTranWindow, CaptionsFitInEveryLanguageAndItOpensOnItsOwner)
{
    const std::u16string languages[] = {
        u"TranCaption=Numbers to Words\r\nTranNumber=Type a number:\r\nTranLanguage=Select "
        u"language:\r\nTranButTran=Translate\r\nTranButClose=Close\r\n",
        u"TranCaption=Zahlen in Worten\r\nTranNumber=Geben Sie eine Zahl ein:\r\nTranLanguage=Sprache "
        u"wählen:\r\nTranButTran=Umwandeln\r\nTranButClose=Schließen\r\n",
        u"TranCaption=Число прописью\r\nTranNumber=Введите число:\r\nTranLanguage=Выберите "
        u"язык:\r\nTranButTran=Преобразовать\r\nTranButClose=Закрыть\r\n"};
    QWidget owner;
    owner.setGeometry(40, 30, 600, 400);
    owner.show();
    for (const std::u16string& text : languages) {
        TWideStringList strings;
        strings.SetTextStr(text);
        TfNumTran window(strings, &owner);
        window.show();
        for (QPushButton* b : window.findChildren<QPushButton*>()) {
            const int caption = QFontMetrics(b->font()).horizontalAdvance(b->text());
            EXPECT_GE(b->width() - caption, 16) << b->text().toStdString();  // room on both sides
            EXPECT_TRUE(window.rect().contains(b->geometry())) << b->text().toStdString();
        }
        for (QLabel* l : {window.lNumber, window.lLabguage}) {
            EXPECT_GE(l->width(), QFontMetrics(l->font()).horizontalAdvance(l->text())) << l->text().toStdString();
            EXPECT_TRUE(window.rect().contains(l->geometry()));
        }
        EXPECT_LE((window.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::CustomizeWindowHint));
        EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    }
}

}  // namespace
