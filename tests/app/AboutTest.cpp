// The About box: its texts, the dictionary count from the main window, the two web links and
// the OK button.
#include "app/About.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/MURLStr.h"
#include "platform/qt/OpenUrl.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        strings.SetTextStr(u"AboutCaption=About\r\nAboutDictionaries=Dictionaries: \r\nOK=Ok\r\n");
        previous = SetOpenUrlHandler([this](const QUrl& url) {
            opened << url.toString();
            return true;
        });
    }
    void TearDown() override { SetOpenUrlHandler(previous); }

    TWideStringList strings;
    QStringList opened;
    TOpenUrlHandler previous;
};

}  // namespace

TEST_F(AboutBox, ShowsTheCountAndOpensTheTwoAddresses)
{
    TfAbout about(strings);
    about.SetDictionaryCount(4);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.UniLabel2->text(), "Lexora XP 3.1");
    EXPECT_EQ(about.lDictCount->text(), "Dictionaries: 4");
    EXPECT_EQ(about.Button1->text(), "Ok");
    EXPECT_EQ(about.Image1->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(about.Image1, Qt::LeftButton);
    QTest::mouseClick(about.MURLStr1, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], "http://www.tavorsoft.example/");
    EXPECT_EQ(opened[1], "http://www.lexora.example");
    for (const QString& address : opened)
        EXPECT_TRUE(QUrl(address).host().endsWith(".example"));

    QTest::mouseClick(about.Button1, Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(AboutBox, TheHelpMenuCountsTheInstalledDictionaries)
{
    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    TfLexDictionary window(folder.Path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QString count;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        count = modal->findChild<QLabel*>("lDictCount")->text();
        QTest::mouseClick(modal->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    window.miHelp_2->trigger();
    EXPECT_TRUE(count.endsWith("2")) << count.toStdString();

    // The help menu's home page goes to the product site.
    window.miHelp_5->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], "http://www.lexora.example/");
}

TEST_F(AboutBox, OpensCentredOnItsOwnerWithoutMinimiseOrMaximise)
{
    QWidget owner;
    owner.setGeometry(30, 40, 600, 420);
    owner.show();
    TfAbout about(strings, &owner);
    about.show();
    EXPECT_LE((about.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}
