// Help topics from the main window (F1 opens the window's topic out of the built help file),
// damaged or missing help files.
#include "app/mainwindow/LexDictionary.h"
#include "components/HelpWindow.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/components/MPEGPlayerTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
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

TEST_F(TrayHelp, DamagedOrMissingHelpFilesOpenNothing)
{
    QFile f(folder.Path() + "Help/HelpENG.chm");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray good = f.readAll();
    f.resize(0);
    f.write(good.left(good.size() / 3));  // cut short
    f.close();
    Open();
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_F1);
    EXPECT_EQ(CurrentHelpWindow(), nullptr);

    QFile::remove(folder.Path() + "Help/HelpENG.chm");
    window->FormHelp();
    window->IBanerClick();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
}

TEST_F(TrayHelp, ClosingTheMainWindowClosesTheHelpWindow)
{
    Open();
    QTest::keyClick(window->cbFind->lineEdit(), Qt::Key_F1);
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    window->close();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
}
