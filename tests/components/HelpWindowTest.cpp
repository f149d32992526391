// Help topics open out of the compiled help files with their pictures; links stay inside.
#include "components/HelpWindow.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
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

namespace {

TEST_F(HelpWindowTest, OpensOverTheWindowThatAskedCentredInsideTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QDialog learning;  // a modal, screen-filling window asks for help
    learning.setGeometry(area);
    learning.setModal(true);
    learning.show();
    QApplication::setActiveWindow(&learning);
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/142.htm"));
    THelpWindow* w = CurrentHelpWindow();
    EXPECT_EQ(w->parentWidget(), &learning);  // kept above it, and not blocked by it
    EXPECT_TRUE(w->isWindow());
    EXPECT_LE((w->frameGeometry().center() - learning.frameGeometry().center()).manhattanLength(), 2);
    EXPECT_TRUE(area.contains(w->frameGeometry()));

    // Asked for from a small window at the screen's foot: whole on the screen.
    learning.hide();
    QWidget small;
    small.setGeometry(area.left() + 20, area.bottom() - 60, 200, 50);
    small.show();
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/1.htm", &small));
    EXPECT_EQ(CurrentHelpWindow()->parentWidget(), &small);
    EXPECT_TRUE(area.contains(CurrentHelpWindow()->frameGeometry()));
}

TEST_F(HelpWindowTest, TheLearningListIsOnTheRightInEveryLanguage)
{
    const std::pair<QString, QRegularExpression> files[] = {
        {"HelpENG.chm", QRegularExpression("learning list on the (\\w+)")},
        {"HelpGER.chm", QRegularExpression("Lernliste (\\w+) sammelt")}};
    const QStringList right = {"right", "rechts"};
    for (const auto& [file, sentence] : files) {
        ASSERT_TRUE(ShowHelpTopic(kHelp + file + "::/1.htm"));
        const QRegularExpressionMatch m = sentence.match(CurrentHelpWindow()->Browser->toPlainText());
        ASSERT_TRUE(m.hasMatch()) << file.toStdString();
        EXPECT_TRUE(right.contains(m.captured(1))) << m.captured(1).toStdString();
    }
}

}  // namespace
