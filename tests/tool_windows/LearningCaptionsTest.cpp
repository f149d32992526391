// The learning window in the program's real interface languages: every caption of every method
// page and of the game fits its control whole, on one line, inside its parent; the game word
// is never split inside a word.
#include "data/langfile/LangSource.h"
#include "tests/tool_windows/LearningTestFolder.h"
#include "tools/windows/HangmanWord.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

using namespace LearningTest;

namespace {

std::u16string RealLanguage(std::string_view code)
{
    LangFile::TLangSources sources;
    sources.AddFolder(std::filesystem::path(LEXORA_SOURCE_DIR) / "data" / "lang");
    return LangFile::LanguageText(sources.Entries(code));
}

// What does not fit in Window, one line per control: "alMethod3 'Aus dem …' needs 231 of 210".
QStringList CutCaptions(const QWidget& window)
{
    QStringList cut;
    auto report = [&](const QWidget* w, const QString& text, int needed, int available) {
        if (needed > available)
            cut << QStringLiteral("%1 '%2' needs %3 of %4").arg(w->objectName(), text).arg(needed).arg(available);
    };
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window))
            continue;
        if (const auto* b = qobject_cast<const QAbstractButton*>(w); b != nullptr && !b->text().isEmpty()) {
            report(b, b->text(), b->sizeHint().width(), b->width());
            report(b, b->text(), b->sizeHint().height(), b->height());
        } else if (const auto* l = qobject_cast<const QLabel*>(w); l != nullptr && !l->text().isEmpty()) {
            const QFontMetrics m(l->font());
            const QRect room = l->contentsRect();
            report(l, l->text(), m.horizontalAdvance(l->text()), room.width());
            report(l, l->text(), m.height(), room.height());
        } else {
            continue;
        }
        if (!w->parentWidget()->rect().contains(w->geometry()))
            cut << w->objectName() + QStringLiteral(" reaches out of its parent");
    }
    return cut;
}

class LearningCaptionsTest : public ::testing::TestWithParam<const char*> {
protected:
    LearningCaptionsTest()
    {
        folder.Strings.SetTextStr(RealLanguage(GetParam()));
        folder.AddToList(0, u"wir sehen uns morgen wieder");
    }

    // The dictionary's one word is long; the list's one entry is a phrase.
    TLearningFolder folder{{{u'S', {{u"Straßenbahnhaltestellenschild", Rtf("sign")}}}},
                           u"a,c,13,e,13,h,13,i,13,l,13,n,13,s,13,t,13,"};
};

TEST_P(LearningCaptionsTest, EveryCaptionOfEveryPageFitsWhole)
{
    auto w = folder.Open();
    for (int method = 1; method <= 7; ++method) {
        w->SelectMethod(method);
        EXPECT_EQ(CutCaptions(*w), QStringList()) << "method " << method;
    }
    // The start buttons' other caption.
    w->SelectMethod(1);
    QTest::mouseClick(w->bStartM1, Qt::LeftButton);
    ASSERT_NE(w->bStartM1->text(), w->bStartM2->text());  // "Stop"
    EXPECT_EQ(CutCaptions(*w), QStringList());
}

TEST_P(LearningCaptionsTest, TheGameWordKeepsEachWordOnOneLine)
{
    auto w = folder.Open();
    w->SelectMethod(7);
    THangmanWord* shown = w->lGameWord;
    QTest::mouseClick(w->rbDictWords, Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    ASSERT_EQ(w->GameWord, QStringLiteral("Straßenbahnhaltestellenschild"));
    auto oneLine = [&] {
        ASSERT_EQ(shown->Lines().size(), 1);
        EXPECT_LE(QFontMetrics(shown->font()).horizontalAdvance(shown->Lines()[0]), shown->contentsRect().width());
        EXPECT_EQ(shown->Lines()[0], shown->text());
        EXPECT_GE(shown->font().pointSize(), THangmanWord::kSmallestPoints);
    };
    oneLine();
    QTest::mouseClick(w->alLoss, Qt::LeftButton);  // the whole word, spaced out
    EXPECT_TRUE(shown->text().contains(QStringLiteral(" ß ")));
    oneLine();

    // A phrase wraps between its words only, at a size that shows them well.
    QTest::mouseClick(w->rbListWords, Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    ASSERT_EQ(w->GameWord, QStringLiteral("wir sehen uns morgen wieder"));
    EXPECT_GE(shown->font().pointSize(), 12);
    ASSERT_GT(shown->Lines().size(), 1);
    EXPECT_LE(shown->Lines().size() * QFontMetrics(shown->font()).lineSpacing(), shown->contentsRect().height());
    qsizetype at = 0;
    for (const QString& line : shown->Lines()) {
        EXPECT_LE(QFontMetrics(shown->font()).horizontalAdvance(line), shown->contentsRect().width());
        at = shown->text().indexOf(line.trimmed(), at);
        ASSERT_GE(at, 0) << line.toStdString();
        at += line.trimmed().size();
        if (line != shown->Lines().back()) {
            EXPECT_EQ(shown->text().mid(at, 3), QStringLiteral("   ")) << "split inside a word: " << line.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, LearningCaptionsTest, ::testing::Values("ENG", "GER", "RUS"));

}  // namespace
