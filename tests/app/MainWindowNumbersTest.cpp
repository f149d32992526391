// The Tools menu's number command opens the number-to-words window over the main window.
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tools/windows/NumTran.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

TEST(MainWindowNumbers, ConvertCommandSpellsATypedNumber)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    TfLexDictionary window(folder.Path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QString shown;
    TestSupport::AnswerNextModal([&](QWidget* w) {
        auto numbers = qobject_cast<TfNumTran*>(w);
        ASSERT_NE(numbers, nullptr);
        QTest::keyClicks(numbers->eNumber, "21");
        QTest::keyClick(numbers->eNumber, Qt::Key_Return);
        shown = numbers->Label1->text();
        QTest::keyClick(numbers, Qt::Key_Escape);
    });
    window.miConvert->trigger();
    EXPECT_EQ(shown.simplified(), "TWENTY ONE");
}
