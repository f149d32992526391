// Help topics open out of the compiled help files with their pictures; links stay inside.
#include "components/HelpWindow.h"

#include <QImage>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

const QString kHelp = QStringLiteral(LEXORA_PROGRAM_DIR "/Help/");

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override { CloseAllHelp(); }
};

TEST_F(HelpWindowTest, TopicOpensWithItsPicture)
{
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/1.htm"));
    THelpWindow* w = CurrentHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "The main window");
    EXPECT_TRUE(w->Browser->toPlainText().contains("search box"));
    const QVariant picture = w->Browser->document()->resource(QTextDocument::ImageResource, QUrl("lexora.png"));
    ASSERT_TRUE(picture.isValid());
    EXPECT_EQ(picture.value<QImage>().size(), QSize(64, 64));
}

TEST_F(HelpWindowTest, LinksBetweenTopicsAndTheGermanFile)
{
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpGER.chm::/142.htm"));
    THelpBrowser* b = CurrentHelpWindow()->Browser;
    EXPECT_EQ(b->documentTitle(), QString::fromUtf8("Wörter lernen"));
    b->setSource(QUrl("151.htm"));  // what a click on the link does
    EXPECT_EQ(b->documentTitle(), QString::fromUtf8("Methode 1: Wörter im Takt"));
    // The same window serves the next topic.
    THelpWindow* first = CurrentHelpWindow();
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpGER.chm::/143.htm"));
    EXPECT_EQ(CurrentHelpWindow(), first);
}

TEST_F(HelpWindowTest, MissingFileOrTopicShowsNothing)
{
    EXPECT_FALSE(ShowHelpTopic(kHelp + "HelpXXX.chm::/1.htm"));
    EXPECT_FALSE(ShowHelpTopic(kHelp + "HelpENG.chm::/999.htm"));
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
    EXPECT_FALSE(ShowHelpTopic(QStringLiteral(LEXORA_PROGRAM_DIR "/LexoraApp")));  // no help file
}

}  // namespace
