// Help topics from the main window (F1 opens the window's topic out of the built help file);
// every help command names a damaged or missing help file in the interface language.
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/HelpWindow.h"
#include "components/InterfaceText.h"
#include "components/MURL.h"
#include "components/MessageForm.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/components/MPEGPlayerTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tools/windows/Learning.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class TrayHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(folder.Path() + "Help");
        const QString built = PlayerTest::LibraryFolder() + "/Help/HelpENG.chm";
        ASSERT_TRUE(QFile::copy(built, folder.Path() + "Help/HelpENG.chm")) << "build help_files first";
    }
    void TearDown() override { CloseAllHelp(); }
    void Open()
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->cbFind->setFocus();
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(TrayHelp, F1OpensTheMainWindowTopicWithItsPicture)
{
    Open();
    EXPECT_EQ(window->HelpFile, folder.Path() + "Help/HelpENG.chm");
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_F1);
    THelpWindow* help = CurrentHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "The main window");
    const QVariant picture = help->Browser->document()->resource(QTextDocument::ImageResource, QUrl("lexora.png"));
    ASSERT_TRUE(picture.isValid());
    EXPECT_FALSE(picture.value<QImage>().isNull());

    // The settings window's help link opens its numbered topic in the same window.
    window->ShowHelpTopic(124);
    EXPECT_EQ(CurrentHelpWindow(), help);
    EXPECT_NE(help->Browser->source().toString().indexOf("124.htm"), -1);
}

TEST_F(TrayHelp, EveryHelpCommandNamesADamagedOrMissingHelpFileInTheInterfaceLanguage)
{
    SettingsTest::WriteRealLanguageFile(folder.Path());
    QFile built(PlayerTest::LibraryFolder() + "/Help/HelpGER.chm");
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    const QByteArray german = built.readAll();
    QFile f(folder.Path() + "Help/HelpGER.chm");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(german.left(german.size() / 2));  // cut short
    f.close();
    QFile::remove(folder.Path() + "Help/HelpENG.chm");

    // German finds its damaged file; English falls back to HelpENG.chm, which is missing.
    for (const auto& [language, file] : {std::pair{101, "HelpGER.chm"}, std::pair{100, "HelpENG.chm"}}) {
        SettingsTest::StoreSettings(
            [language = language](TSettings& s) { s.Language = static_cast<std::int16_t>(language); });
        Open();
        ASSERT_EQ(window->HelpFile, folder.Path() + "Help/" + file);
        const QString expected =
            LangText(window->LangStrings, "MsgHelpFileDamaged") + '\n' + QDir::toNativeSeparators(window->HelpFile);
        EXPECT_EQ(LangText(window->LangStrings, "MsgHelpFileDamaged").contains("Hilfedatei"), language == 101);
        QStringList messages;
        const auto readMessage = [&messages] {
            TestSupport::AnswerNextModal([&messages](QWidget* w) {
                auto* form = qobject_cast<TfMessage*>(w);
                messages << (form ? form->lMessage->text() : QString("not a message"));
                if (form)
                    QTest::mouseClick(form->bOk, Qt::LeftButton);
                else
                    w->close();
            });
        };

        readMessage();
        QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_F1);
        readMessage();
        window->miHelp_1->trigger();
        readMessage();
        window->IBanerClick();
        // The settings window's link to its help.
        TestSupport::AnswerNextModal([&](QWidget* w) {
            auto* settings = qobject_cast<TfInterface*>(w);
            ASSERT_NE(settings, nullptr);
            settings->pcSettings->setCurrentWidget(settings->tsUpdates);
            readMessage();
            QTest::mouseClick(settings->urlHelp, Qt::LeftButton);
            QTest::mouseClick(settings->bCance, Qt::LeftButton);
        });
        window->aInterfaceForm->trigger();
        // The learning window's Help, on a method page and on hangman.
        TestSupport::AnswerNextModal([&](QWidget* w) {
            auto* learning = qobject_cast<TfLearning*>(w);
            ASSERT_NE(learning, nullptr);
            readMessage();
            QTest::mouseClick(learning->alHelp, Qt::LeftButton);
            learning->close();
        });
        window->miHang->trigger();

        EXPECT_EQ(messages, QStringList(5, expected)) << language;
        EXPECT_EQ(CurrentHelpWindow(), nullptr);
        // The program goes on.
        window->cbFind->setFocus();
        QTest::keyClicks(window->cbFind, "hous");
        QTest::keyClick(window->cbFind, Qt::Key_Return);
        EXPECT_EQ(window->SelectedWord(), "house");
        window.reset();
    }
}

TEST_F(TrayHelp, ClosingTheMainWindowClosesTheHelpWindow)
{
    Open();
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_F1);
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    window->close();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
}
