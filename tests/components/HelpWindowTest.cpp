// Help topics open out of the compiled help files with their pictures; a click on a link (or
// Tab and Enter) opens its topic in the same window, web addresses go to the desktop's opener,
// and a missing or damaged help file is reported by name.
#include "components/HelpWindow.h"
#include "components/MessageForm.h"
#include "platform/qt/OpenUrl.h"
#include "platform/qt/QtText.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kHelp = QStringLiteral(LEXORA_PROGRAM_DIR "/Help/");
const QString kDamaged = QStringLiteral("Damaged help file, cannot show:");

// The interface strings the help window's message is shown with.
std::unique_ptr<TWideStringList> Strings(const QString& message = kDamaged)
{
    auto s = std::make_unique<TWideStringList>();
    s->Add(u"MessageCaption=Lexora XP");
    s->Add(u"OK=OK");
    s->Add(ToU16("MsgHelpFileDamaged=" + message));
    return s;
}

// The point inside the link whose text is Text, in the browser's viewport (scrolled into view);
// an invalid point when the page has no such link.
QPoint LinkPoint(QTextBrowser& browser, const QString& text)
{
    QTextDocument* doc = browser.document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().isAnchor() || f.text() != text)
                continue;
            QTextCursor c(doc);
            c.setPosition(f.position() + f.length() / 2);
            browser.setTextCursor(c);
            browser.ensureCursorVisible();
            return browser.cursorRect(c).center();
        }
    return {};
}

// Clicks the link with the mouse, as a user does.
void ClickLink(QTextBrowser& browser, const QString& text)
{
    const QPoint at = LinkPoint(browser, text);
    ASSERT_FALSE(at.isNull()) << "no link " << text.toStdString() << " in " << browser.documentTitle().toStdString();
    ASSERT_FALSE(browser.anchorAt(at).isEmpty());
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, at);
}

// The picture the page shows, as the document holds it.
QImage Picture(QTextBrowser& browser, const QString& name)
{
    return browser.document()->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
}

// Answers the next message form with OK and keeps its text in Text.
void ReadNextMessage(QString& text)
{
    text.clear();
    TestSupport::AnswerNextModal([&text](QWidget* w) {
        if (auto form = qobject_cast<TfMessage*>(w)) {
            text = form->lMessage->text();
            QTest::mouseClick(form->bOk, Qt::LeftButton);
        } else {
            w->close();
        }
    });
}

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        CloseAllHelp();
        SetOpenUrlHandler({});
    }

    // A help file of the given topics ("name" -> HTML) compiled with chmcmd; empty when the
    // compiler is missing.
    QString Compile(const std::vector<std::pair<QString, QString>>& topics)
    {
        QString project = "[OPTIONS]\nCompiled file=test.chm\nDefault topic=1.htm\nTitle=Test\n\n[FILES]\n";
        for (const auto& [name, html] : topics) {
            QFile f(dir_.filePath(name));
            if (!f.open(QIODevice::WriteOnly))
                return {};
            f.write(html.toUtf8());
            project += name + '\n';
        }
        QFile hhp(dir_.filePath("test.hhp"));
        if (!hhp.open(QIODevice::WriteOnly))
            return {};
        hhp.write(project.toUtf8());
        hhp.close();
        QProcess chmcmd;
        chmcmd.setWorkingDirectory(dir_.path());
        chmcmd.start("chmcmd", {"--no-html-scan", "test.hhp"});
        if (!chmcmd.waitForFinished(60000) || chmcmd.exitCode() != 0)
            return {};
        return dir_.filePath("test.chm");
    }

    QTemporaryDir dir_;
};

TEST_F(HelpWindowTest, TopicOpensWithItsPicture)
{
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/1.htm", *Strings()));
    THelpWindow* w = CurrentHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "The main window");
    EXPECT_TRUE(w->Browser->toPlainText().contains("search box"));
    EXPECT_EQ(Picture(*w->Browser, "lexora.png").size(), QSize(64, 64));
}

TEST_F(HelpWindowTest, AClickOnALinkOpensItsTopicInTheSameWindow)
{
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/142.htm", *Strings()));
    THelpWindow* w = CurrentHelpWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    THelpBrowser& b = *w->Browser;
    const std::pair<QString, QString> clicks[] = {
        {"Method 1", "Method 1: Flash Cards"},
        {"Learning words", "Learning words"},
        {"Method 6", "Method 6: Words at Intervals"},
        {"Learning words", "Learning words"},
        {"Hangman", "Hangman"},
        {"Main window", "The main window"},
    };
    for (const auto& [link, title] : clicks) {
        ClickLink(b, link);
        EXPECT_EQ(w->windowTitle(), title) << link.toStdString();
        EXPECT_EQ(CurrentHelpWindow(), w);
    }
    // The topic came with its picture.
    EXPECT_EQ(Picture(b, "lexora.png").size(), QSize(64, 64));

    // The German file's links lead to German topics.
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpGER.chm::/142.htm", *Strings()));
    ClickLink(b, "Methode 3");
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Methode 3: Aus dem Gedächtnis schreiben"));
    ClickLink(b, QString::fromUtf8("Wörter lernen"));
    ClickLink(b, QString::fromUtf8("Galgenmännchen"));
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Galgenmännchen"));
    ClickLink(b, "Hauptfenster");
    EXPECT_EQ(w->windowTitle(), "Das Hauptfenster");
    EXPECT_FALSE(Picture(b, "lexora.png").isNull());
}

TEST_F(HelpWindowTest, TabToALinkAndEnterOpensIt)
{
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/142.htm", *Strings()));
    THelpWindow* w = CurrentHelpWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QApplication::setActiveWindow(w);
    w->Browser->setFocus();
    // Tab goes from link to link; the one that has the focus is selected.
    for (int i = 0; i < 20 && w->Browser->textCursor().selectedText() != "Hangman"; ++i)
        QTest::keyClick(w->Browser, Qt::Key_Tab);
    ASSERT_EQ(w->Browser->textCursor().selectedText(), "Hangman");
    QTest::keyClick(w->Browser, Qt::Key_Return);
    EXPECT_EQ(w->windowTitle(), "Hangman");
}

TEST_F(HelpWindowTest, WebAddressesGoToTheDesktopsOpenerAndOtherLinksNowhere)
{
    const QString file = Compile({{"1.htm",
                                   "<html><head><title>One</title></head><body><p>"
                                   "<a href=\"https://example.org/lexora\">site</a> "
                                   "<a href=\"mailto:help@example.org\">mail</a> "
                                   "<a href=\"file:///etc/passwd\">file</a> "
                                   "<a href=\"#end\">down</a> <a href=\"2.htm#part\">two</a> "
                                   "<a href=\"missing.htm\">missing</a></p><p><a name=\"end\">End</a></p>"
                                   "</body></html>"},
                                  {"2.htm",
                                   "<html><head><title>Two</title></head><body>"
                                   "<p><a href=\"1.htm\">back</a></p><p><a name=\"part\">Part</a></p>"
                                   "</body></html>"}});
    if (file.isEmpty())
        GTEST_SKIP() << "chmcmd is not installed";
    QList<QUrl> opened;
    SetOpenUrlHandler([&opened](const QUrl& url) {
        opened << url;
        return true;
    });
    ASSERT_TRUE(ShowHelpTopic(file + "::/1.htm", *Strings()));
    THelpWindow* w = CurrentHelpWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    THelpBrowser& b = *w->Browser;
    ClickLink(b, "site");
    ClickLink(b, "mail");
    ClickLink(b, "file");
    EXPECT_EQ(opened, QList<QUrl>({QUrl("https://example.org/lexora"), QUrl("mailto:help@example.org")}));
    EXPECT_EQ(w->windowTitle(), "One");

    ClickLink(b, "two");
    EXPECT_EQ(w->windowTitle(), "Two");
    EXPECT_EQ(b.source().fragment(), "part");
    ClickLink(b, "back");
    EXPECT_EQ(w->windowTitle(), "One");

    // A link to a topic the file lacks names the file, and the page stays.
    QString message;
    ReadNextMessage(message);
    ClickLink(b, "missing");
    EXPECT_EQ(message, kDamaged + '\n' + QDir::toNativeSeparators(file));
    EXPECT_EQ(w->windowTitle(), "One");
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(HelpWindowTest, AMissingOrDamagedFileIsReportedByNameInTheInterfaceLanguage)
{
    QFile built(kHelp + "HelpENG.chm");
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    const QByteArray good = built.readAll();
    const qsizetype half = good.size() / 2;
    const std::vector<std::pair<const char*, std::function<QByteArray()>>> files = {
        {"missing", [] { return QByteArray(); }},
        {"cut to half", [&] { return good.left(half); }},
        {"cut to 100 bytes", [&] { return good.left(100); }},
        {"header changed", [&] { return QByteArray(good).replace(0, 4, "ITSX"); }},
        {"middle zeroed",
         [&] { return QByteArray(good).replace(half - half / 3, 2 * (half / 3), QByteArray(2 * (half / 3), '\0')); }},
    };
    const QString german = QString::fromUtf8("Die Hilfedatei fehlt oder ist beschädigt:");
    for (const auto& [what, bytes] : files) {
        const QString file = dir_.filePath("HelpENG.chm");
        QFile::remove(file);
        const QByteArray content = bytes();
        if (!content.isEmpty()) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        for (const QString& text : {kDamaged, german}) {
            QString message;
            ReadNextMessage(message);
            EXPECT_FALSE(ShowHelpTopic(file + "::/1.htm", *Strings(text))) << what;
            EXPECT_EQ(message, text + '\n' + QDir::toNativeSeparators(file)) << what;
            EXPECT_EQ(CurrentHelpWindow(), nullptr) << what;
        }
    }

    // A good file lacking the topic: the same message; an open help window stays as it was.
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/1.htm", *Strings()));
    QString message;
    ReadNextMessage(message);
    EXPECT_FALSE(ShowHelpTopic(kHelp + "HelpENG.chm::/999.htm", *Strings()));
    EXPECT_EQ(message, kDamaged + '\n' + QDir::toNativeSeparators(kHelp + "HelpENG.chm"));
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    EXPECT_EQ(CurrentHelpWindow()->windowTitle(), "The main window");
    ReadNextMessage(message);
    EXPECT_FALSE(ShowHelpTopic(QStringLiteral(LEXORA_PROGRAM_DIR "/LexoraApp"), *Strings()));  // no help file
    EXPECT_TRUE(message.startsWith(kDamaged));
    ClickLink(*CurrentHelpWindow()->Browser, "Learning words");  // the shown file still serves
    EXPECT_EQ(CurrentHelpWindow()->windowTitle(), "Learning words");
}

TEST_F(HelpWindowTest, OpensOverTheWindowThatAskedCentredInsideTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QDialog learning;  // a modal, screen-filling window asks for help
    learning.setGeometry(area);
    learning.setModal(true);
    learning.show();
    QApplication::setActiveWindow(&learning);
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/142.htm", *Strings()));
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
    ASSERT_TRUE(ShowHelpTopic(kHelp + "HelpENG.chm::/1.htm", *Strings(), &small));
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
        ASSERT_TRUE(ShowHelpTopic(kHelp + file + "::/1.htm", *Strings()));
        const QRegularExpressionMatch m = sentence.match(CurrentHelpWindow()->Browser->toPlainText());
        ASSERT_TRUE(m.hasMatch()) << file.toStdString();
        EXPECT_TRUE(right.contains(m.captured(1))) << m.captured(1).toStdString();
    }
}

}  // namespace
