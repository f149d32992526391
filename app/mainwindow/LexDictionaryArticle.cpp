// Article display: the selected word's article read from the dictionary and shown as
// formatted text, the sound position of the word and the word commands that apply.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichText.h"

#include <QAction>
#include <QFontMetricsF>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

// A new article may bring or take away the pane's scroll bar. The edit then lays the text out
// for the new width when its viewport is resized and, the bar placed, once more at the same
// width; while an article is read the first of the two is left out.
class TOneRelayoutOnResize : public QObject {
public:
    explicit TOneRelayoutOnResize(QWidget* viewport)
        : viewport_(viewport)
    {
        viewport_->installEventFilter(this);
    }
    ~TOneRelayoutOnResize() override { viewport_->removeEventFilter(this); }
    TOneRelayoutOnResize(const TOneRelayoutOnResize&) = delete;
    TOneRelayoutOnResize& operator=(const TOneRelayoutOnResize&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Resize; }

private:
    QWidget* viewport_;
};

// Whether the text is sure to be taller than the pane: every paragraph takes at least one line
// as high as the font it begins with. Only a sure answer counts; a text that may fit is left to
// the edit.
bool SurelyTallerThan(const QTextDocument& document, const QWidget& pane)
{
    const qreal room = pane.height() - 2 * document.documentMargin();
    const QFont base = document.defaultFont();
    qreal height = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlock::iterator first = block.begin();
        const QTextCharFormat format = first.atEnd() ? block.charFormat() : first.fragment().charFormat();
        const QFontMetricsF metrics(format.font().resolve(base), &pane);
        height += metrics.ascent() + metrics.descent() + std::max<qreal>(0, block.blockFormat().topMargin())
            + std::max<qreal>(0, block.blockFormat().bottomMargin());
        if (height > room + 1)
            return true;
    }
    return false;
}

}  // namespace

void TfLexDictionary::lbWordsClick()
{
    const int i = SelectedIndex();
    if (i < 0)
        return;
    if (SearchMode == 0) {
        SetStatusPanel(0, SelectedWord());
        const std::vector<std::int32_t>& positions = Dictionary->UserWordPositions;
        const auto c = static_cast<std::int32_t>(
            std::count_if(positions.begin(), positions.end(), [i](std::int32_t p) { return p < i; }));
        const auto user = std::find(positions.begin(), positions.end(), i);
        if (user != positions.end()) {
            ShowArticleOnce(static_cast<std::int32_t>(user - positions.begin()), true, false);
            UpdateWordCommands(true);
            SoundWordIndex = -1;
            SoundBlock = -1;
        } else {
            ShowArticleOnce(i - c, false, false);
            UpdateWordCommands(false);
            SoundWordIndex = i - c;
            SoundBlock = Dictionary->CurrentSection;
        }
        return;
    }
    // Results of another search than the shown one have no index to read.
    if (static_cast<std::size_t>(i) >= AdvancedResults.size())
        return;
    const std::int32_t w = AdvancedResults[static_cast<std::size_t>(i)];
    ShowArticleOnce(w, false, true);
    SoundBlock = Dictionary->SectionOfWordIndex(w);
    SoundWordIndex =
        SoundBlock >= 0 ? w - Dictionary->Sections[static_cast<std::size_t>(SoundBlock)].FirstWordIndex : -1;
}

bool TfLexDictionary::ShowArticleOnce(std::int32_t index, bool userWord, bool absolute)
{
    // Typing on within one word selects it again and again: the pane keeps what it shows
    // as long as nothing else has changed it.
    const TShownArticle wanted{
        Dictionary.get(), Dictionary->FileName, index, userWord, absolute, reDescription->document()->revision()};
    const bool section = !absolute && !userWord;
    // Only the maker's own articles never change; user words may be edited at any time.
    const bool fixed = !userWord && dynamic_cast<const TTavorDictionary*>(Dictionary.get()) != nullptr;
    if (fixed && wanted.Dictionary == shownArticle_.Dictionary && wanted.FileName == shownArticle_.FileName
        && wanted.Index == shownArticle_.Index && wanted.UserWord == shownArticle_.UserWord
        && wanted.Absolute == shownArticle_.Absolute && wanted.Revision == shownArticle_.Revision
        && (!section || shownSection_ == Dictionary->CurrentSection))
        return false;
    std::string article;
    Dictionary->GetArticle(index, true, article, userWord, absolute);
    ShowArticle(article);
    shownArticle_ = wanted;
    shownArticle_.Revision = reDescription->document()->revision();
    shownSection_ = Dictionary->CurrentSection;
    return true;
}

void TfLexDictionary::ShowArticle(const std::string& article)
{
    if (article.rfind("{\\rtf", 0) == 0) {
        QTextDocument* document = reDescription->document();
        QWidget* pane = reDescription->viewport();
        const TOneRelayoutOnResize once(pane);
        // Read without a page, nothing is laid out. A text sure to need the scroll bar gets it
        // before it is laid out, so it is laid out once, at the width it is shown at; the bar
        // is left to the edit again afterwards.
        const QSizeF page = document->pageSize();
        document->setPageSize(QSizeF(0, 0));
        RichText::ReadRtf(article, *document);
        const bool ownWidth = reDescription->lineWrapMode() == QTextEdit::WidgetWidth;
        const bool barFirst = ownWidth && reDescription->verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded
            && !reDescription->verticalScrollBar()->isVisible() && SurelyTallerThan(*document, *pane);
        if (barFirst)
            reDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // The page as the edit gives it for its own width.
        document->setPageSize(ownWidth ? QSizeF(pane->width(), -1) : page);
        if (barFirst)
            reDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    } else {
        reDescription->setPlainText(ToQString(Platform::AnsiToWide(article)));
    }
    reDescription->moveCursor(QTextCursor::Start);
}

bool TfLexDictionary::WarmArticleFonts(int n)
{
    // The first articles of the first letter blocks, laid out and drawn out of sight one at a
    // time: the fonts the dictionary's articles use are looked up and most of their letters
    // drawn once, now, not in the first look-ups.
    constexpr int kArticles = 6;
    QWidget* pane = reDescription->viewport();
    if (n >= kArticles || pane->width() <= 0 || pane->height() <= 0)
        return false;
    int found = 0;
    for (int s = 0; s < Dictionary::kLetterSections; ++s) {
        const Dictionary::TSectionEntry& e = Dictionary->Sections[static_cast<std::size_t>(s)];
        if (e.WordCount <= 0)
            continue;
        std::string article;
        Dictionary->GetArticle(e.FirstWordIndex, true, article, false, true);
        if (article.rfind("{\\rtf", 0) != 0 || found++ < n)
            continue;
        QTextDocument document;
        document.setDefaultFont(reDescription->document()->defaultFont());
        document.setPageSize(QSizeF(pane->width(), -1));
        RichText::ReadRtf(article, document);
        QImage image(pane->size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        document.drawContents(&painter, QRectF(QPointF(0, 0), pane->size()));
        return true;
    }
    return false;
}

void TfLexDictionary::UpdateWordCommands(bool isUserWord)
{
    auto showEdit = [this](bool visible) {
        for (QAction* a : ToolBar->actions())
            if (ToolBar->widgetForAction(a) == bEdit)
                a->setVisible(visible);
    };
    switch (SelectedDictionaryKind()) {
    case 0:
        miEditWord->setEnabled(isUserWord);
        miDeleteWord->setEnabled(isUserWord);
        showEdit(isUserWord);
        miAbbreviation->setEnabled(true);
        break;
    case 2:
    case 3:
        miEditWord->setEnabled(true);
        miDeleteWord->setEnabled(true);
        showEdit(true);
        miAbbreviation->setEnabled(false);
        break;
    default:
        break;
    }
}
