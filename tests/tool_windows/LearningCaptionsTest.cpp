// The learning window in the program's real interface languages: every caption of every method
// page and of the game fits its control whole, on one line, inside its parent, and a long game
// word stays on one line inside its label.
#include "data/langfile/LangSource.h"
#include "tests/tool_windows/LearningTestFolder.h"

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
        folder.AddToList(0, u"cat");
    }

    // The dictionary's one word is long; the list's one entry is short.
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
    // The start buttons' other caption, and the links as they look under the mouse.
    w->SelectMethod(1);
    QTest::mouseClick(w->bStartM1, Qt::LeftButton);
    ASSERT_NE(w->bStartM1->text(), w->alMethod1->text());
    EXPECT_EQ(CutCaptions(*w), QStringList());
    QTest::mouseClick(w->bStartM1, Qt::LeftButton);
    for (TMURL* link : {w->alMethod1, w->alMethod2, w->alMethod3, w->alMethod4, w->alMethod5, w->alMethod6,
                        w->alHangMan, w->alSound, w->alHelp, w->alExit}) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(link, &enter);
        EXPECT_LE(QFontMetrics(link->font()).horizontalAdvance(link->text()), link->contentsRect().width())
            << link->text().toStdString();
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
    }
}

TEST_P(LearningCaptionsTest, ALongGameWordStaysOnOneLine)
{
    auto w = folder.Open();
    w->SelectMethod(7);
    const QFont caption = w->lGameWord->font();
    QTest::mouseClick(w->rbDictWords, Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    ASSERT_EQ(w->GameWord, QStringLiteral("Straßenbahnhaltestellenschild"));
    auto oneLine = [&] {
        const QFontMetrics m(w->lGameWord->font());
        EXPECT_LE(m.horizontalAdvance(w->lGameWord->text()), w->lGameWord->contentsRect().width());
        EXPECT_LT(w->lGameWord->heightForWidth(w->lGameWord->width()), 2 * m.lineSpacing());
        EXPECT_GE(w->lGameWord->font().pointSizeF(), 7);  // still readable
    };
    oneLine();
    QTest::mouseClick(w->alLoss, Qt::LeftButton);  // the whole word, spaced out
    EXPECT_TRUE(w->lGameWord->text().contains(QStringLiteral(" ß ")));
    oneLine();

    // A short word gets back the full size.
    QTest::mouseClick(w->rbListWords, Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(w->alNextWord, Qt::LeftButton);
    ASSERT_EQ(w->GameWord, QStringLiteral("cat"));
    EXPECT_EQ(w->lGameWord->font().pointSizeF(), caption.pointSizeF());
}

INSTANTIATE_TEST_SUITE_P(Languages, LearningCaptionsTest, ::testing::Values("ENG", "GER", "RUS"));

}  // namespace
