// Search and word list: letter blocks, prefix selection with shortening, the user's words
// merged into a maker's dictionary and advanced (substring) search. The letter panel is in
// LexDictionaryAlphabet.cpp.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordCommands.h"
#include "app/mainwindow/WordListModel.h"
#include "components/ShapeButton.h"
#include "components/InterfaceText.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "engine/WideText.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

QString Trimmed(const QString& s)
{
    return ToQString(WideTrim(ToU16(s)));
}

// A widget that draws nothing until the end of a scope, and then all of itself.
class TPaintsLater {
public:
    TPaintsLater(QWidget* widget, bool later)
        : widget_(later ? widget : nullptr)
    {
        if (widget_ != nullptr)
            widget_->setUpdatesEnabled(false);
    }
    ~TPaintsLater()
    {
        if (widget_ != nullptr)
            widget_->setUpdatesEnabled(true);
    }
    TPaintsLater(const TPaintsLater&) = delete;
    TPaintsLater& operator=(const TPaintsLater&) = delete;

private:
    QWidget* widget_;
};

}  // namespace

// --- the list box

int TfLexDictionary::WordCount() const
{
    return WordsModel->Count();
}

int TfLexDictionary::SelectedIndex() const
{
    const QModelIndexList rows = lbWords->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString TfLexDictionary::SelectedWord() const
{
    const int i = SelectedIndex();
    return i >= 0 ? WordsModel->Word(i) : QString();
}

void TfLexDictionary::SetSelectedIndex(int index, bool atTop)
{
    const QSignalBlocker block(lbWords->selectionModel());
    if (index < 0 || index >= WordCount()) {
        lbWords->selectionModel()->clear();
        lbWords->viewport()->update();
        return;
    }
    const QModelIndex at = WordsModel->index(index);
    // The view learns of the change only from the blocked signals: the selected row is
    // scrolled into view and the rows are drawn again, so the highlight is always seen. The
    // scroll comes first: a new letter block is laid out then, before the selection holds
    // rows of its own that the view would look up for every row it lays out.
    lbWords->scrollTo(at, atTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
    lbWords->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    lbWords->viewport()->update();
}

void TfLexDictionary::SetWordsText(std::u16string text)
{
    WordsModel->SetText(std::move(text));
}

void TfLexDictionary::QueuePrepareLookUps()
{
    if (prepareQueued_ || !Dictionary || Dictionary->FileName == preparedFor_)
        return;
    prepareQueued_ = true;
    // A timer, not a queued call: the echo of the key (a paint request of low priority) and the
    // keys typed meanwhile go first, before each step.
    QTimer::singleShot(1, this, [this] {
        prepareQueued_ = false;
        Guard([this] { PrepareLookUps(); });
    });
}

void TfLexDictionary::PrepareLookUps()
{
    if (!Dictionary || Dictionary->FileName == preparedFor_)
        return;
    if (Dictionary->FileName != preparingFor_) {
        preparingFor_ = Dictionary->FileName;
        prepareStep_ = 0;
    }
    if (prepareStep_ == 0) {
        // Room for the largest block that the file can hold, so the first look-ups in the
        // large blocks do not grow their memory step by step.
        const std::int64_t fileSize = Dictionary->FileStream ? Dictionary->FileStream->Size() : 0;
        std::int64_t bytes = 0;
        std::int64_t words = 0;
        for (int s = 0; s < Dictionary::kLetterSections; ++s) {
            const Dictionary::TSectionEntry& e = Dictionary->Sections[static_cast<std::size_t>(s)];
            if (e.Length > 0 && e.Length <= fileSize)
                bytes = std::max<std::int64_t>(bytes, e.Length);
            if (e.WordCount > 0 && e.WordCount <= e.Length)
                words = std::max<std::int64_t>(words, e.WordCount);
        }
        WordsModel->Reserve(static_cast<std::size_t>(bytes / 2), static_cast<std::size_t>(words));
    } else if (!WarmArticleFonts(prepareStep_ - 1)) {
        preparedFor_ = preparingFor_;
        return;
    }
    ++prepareStep_;
    QueuePrepareLookUps();
}

void TfLexDictionary::ClearWords()
{
    WordsModel->Clear();
}

// --- letter blocks and prefix selection

void TfLexDictionary::LoadLetterBlock(char16_t letter)
{
    CurrentLetter = letter;
    std::u16string words = WordsModel->TakeSpareText();
    Dictionary->GetLetterWords(letter, false, words, false);
    if (!words.empty()) {
        SetWordsText(std::move(words));
        MergeUserWords(letter);
    }
}

int TfLexDictionary::MatchingWord(const QString& text) const
{
    QString t = Trimmed(text);
    int index = -1;
    do {
        index = WordsModel->FindPrefix(t);
        if (index < 0)
            t.chop(1);
    } while (index < 0 && !t.isEmpty());
    return index;
}

int TfLexDictionary::SelectMatchingWord(const QString& text)
{
    const int index = MatchingWord(text);
    // Scrolled once: each move of the list asks the X server where the mouse is.
    SetSelectedIndex(index, true);
    return index;
}

void TfLexDictionary::FindWord()
{
    // One line is looked up, and only a line goes into the history.
    QString text = Trimmed(WordCommands::FirstLine(cbFind->currentText()));
    cbFind->setEditText(text);
    cbFind->lineEdit()->selectAll();
    if (Dictionary->IsAlphabetLetter(ToU16(text))) {
        ReverseToOtherSide();
        cbFind->setEditText(text);
        cbFind->lineEdit()->selectAll();
    }
    if (Settings.AddToHistory && !text.isEmpty() && cbFind->findText(text, Qt::MatchExactly) < 0) {
        // Adding items must not change the text being searched.
        const QSignalBlocker block(cbFind);
        cbFind->addItem(text);
        historyChanged_ = true;
        while (cbFind->count() > kHistoryLimit)
            cbFind->removeItem(0);
        cbFind->setCurrentIndex(-1);
        cbFind->setEditText(text);
        cbFind->lineEdit()->selectAll();
    }
    // The article is what a look-up waits for: it is read and drawn first, and only then is a
    // new letter block laid out and drawn and the list scrolled to the word.
    const bool newBlock = SearchMode == 0 && !text.isEmpty() && text.at(0).unicode() != CurrentLetter;
    int index = -1;
    {
        const TPaintsLater listLater(lbWords, newBlock);
        if (newBlock)
            LoadLetterBlock(text.at(0).unicode());
        index = MatchingWord(text);
        if (index >= 0) {
            {
                const QSignalBlocker block(lbWords->selectionModel());
                lbWords->selectionModel()->setCurrentIndex(WordsModel->index(index),
                                                           QItemSelectionModel::ClearAndSelect);
            }
            lbWordsClick();
            reDescription->viewport()->repaint();
        }
    }
    SetSelectedIndex(index, true);
    if (index < 0)
        UpdateWordCommands(false);
}

bool TfLexDictionary::cbFindKeyPress(char16_t key)
{
    // Someone is typing a word to look up: the dictionary's look-ups are made ready meanwhile.
    QueuePrepareLookUps();
    if (!Settings.EveryKey || key == u'\r' || key == u' ')
        return false;
    QLineEdit* edit = cbFind->lineEdit();
    if (SearchMode == 0) {
        const QString trimmed = ToQString(WideTrimLeft(ToU16(edit->text())));
        if (trimmed != edit->text())
            edit->setText(trimmed);
        if (!trimmed.isEmpty() && trimmed.at(0).unicode() != CurrentLetter)
            LoadLetterBlock(trimmed.at(0).unicode());
        if (trimmed.isEmpty()) {
            CurrentLetter = key;
            if (UpCaseLetter(key) != Dictionary->CurrentLetter && key != u' ')
                LoadLetterBlock(key);
        }
        const bool allSelected = edit->hasSelectedText() && edit->selectedText().size() == edit->text().size();
        if (!trimmed.isEmpty() && allSelected && key != CurrentLetter)
            LoadLetterBlock(key);
    }
    const QString text = edit->text();
    QString lookFor;
    if (text.isEmpty() || (edit->hasSelectedText() && edit->selectedText().size() == text.size()))
        lookFor = QString(QChar(key));
    else
        lookFor = text.left(edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition()) + QChar(key);
    if (SelectMatchingWord(lookFor) >= 0)
        lbWordsClick();
    return false;
}

bool TfLexDictionary::cbFindKeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (SearchMode == 0) {
        FindWord();
    } else {
        if (SelectMatchingWord(cbFind->currentText()) >= 0)
            lbWordsClick();
        cbFind->lineEdit()->selectAll();
    }
    return true;
}

void TfLexDictionary::cbFindCloseUp()
{
    if (SearchMode != 0)
        return;
    const QString entry = cbFind->currentText();
    if (!entry.isEmpty() && UpCaseLetter(entry.at(0).unicode()) != UpCaseLetter(CurrentLetter))
        LoadLetterBlock(entry.at(0).unicode());
    if (SelectMatchingWord(entry) >= 0)
        lbWordsClick();
    lbWords->viewport()->update();
}

void TfLexDictionary::bFundClick()
{
    const QString text = cbFind->currentText();
    if (SearchMode == 0) {
        AdvancedResults.clear();
        FindWord();
        return;
    }
    // One character searches nothing; the shown results and their indexes stay together.
    if (text.size() <= 1)
        return;
    AdvancedResults.clear();
    Dictionary->UserWordMarks.clear();
    Dictionary->UserWordPositions.clear();
    ClearWords();
    std::vector<QString> found;
    for (int e = 0; e <= 46; ++e) {
        const char16_t letter = Dictionary->Sections[static_cast<std::size_t>(e)].Letter;
        if (letter == u' ' || letter == 0)
            break;
        std::u16string words;
        Dictionary->GetLetterWords(letter, false, words, false);
        const QString all = ToQString(words);
        if (!all.contains(text, Qt::CaseSensitive))
            continue;
        const std::int32_t first = Dictionary->Sections[static_cast<std::size_t>(e)].FirstWordIndex;
        const QStringList lines = all.split(QStringLiteral("\r\n"));
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(text, Qt::CaseSensitive)) {
                found.push_back(lines[i]);
                AdvancedResults.push_back(first + i);
            }
    }
    std::u16string joined;
    for (const QString& w : found)
        joined += ToU16(w) + u"\r\n";
    SetWordsText(std::move(joined));
    SetStatusPanel(0, LangText(LangStrings, "sbSearch") + "'" + text + "'");
}

void TfLexDictionary::MergeUserWords(char16_t letter)
{
    std::u16string text;
    const int kind = SelectedDictionaryKind();
    if (letter != 0 && kind < 2)
        Dictionary->GetLetterWords(letter, false, text, true);
    const std::vector<std::u16string> userWords = text.empty() ? std::vector<std::u16string>() : SplitLines(text);
    Dictionary->UserWordMarks.assign(static_cast<std::size_t>(WordCount()) + userWords.size(), 0);
    Dictionary->UserWordPositions.clear();
    if (userWords.empty()) {
        WordsModel->SetMarks({});
        lbWords->viewport()->update();
        return;
    }
    lbWords->setUpdatesEnabled(false);
    const Platform::LCID lcid = Platform::UserDefaultLCID();
    for (const std::u16string& word : userWords) {
        // The sorted place in the list (after equal words), so the list stays in its order.
        int p = 0;
        int hi = WordCount();
        while (p < hi) {
            const int mid = p + (hi - p) / 2;
            if (WideCompare(ToU16(WordsModel->Word(mid)), word, lcid) <= 0)
                p = mid + 1;
            else
                hi = mid;
        }
        WordsModel->Insert(p, ToQString(word));
        for (std::int32_t& earlier : Dictionary->UserWordPositions)
            if (earlier >= p)
                ++earlier;
        Dictionary->UserWordPositions.push_back(p);
    }
    for (std::int32_t p : Dictionary->UserWordPositions)
        Dictionary->UserWordMarks[static_cast<std::size_t>(p)] = 1;
    WordsModel->SetMarks(Dictionary->UserWordMarks);
    SetSelectedIndex(0);
    lbWords->setUpdatesEnabled(true);
}

void TfLexDictionary::SetSearchMode(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    SearchMode = static_cast<std::uint8_t>(mode);
    miWordSearch->setChecked(mode == 0);
    miWordSearch2->setChecked(mode == 0);
    miAdvancedSearch->setChecked(mode == 1);
    miAdvancedSearch2->setChecked(mode == 1);
    bFund->setIcon(
        style()->standardIcon(mode == 0 ? QStyle::SP_FileDialogContentsView : QStyle::SP_FileDialogListView));
}

void TfLexDictionary::miWordSearchClick()
{
    SetSearchMode(0);
    CurrentLetter = u' ';
    if (!cbFind->currentText().isEmpty()) {
        FindWord();
    } else {
        std::u16string words;
        Dictionary->GetLetterWords(u' ', true, words, false);
        SetWordsText(std::move(words));
    }
}

void TfLexDictionary::miAdvancedSearchClick()
{
    SetSearchMode(1);
    ClearWords();
}

void TfLexDictionary::miSearch1Click()
{
    bFundClick();
}

void TfLexDictionary::miWordSearch21Click()
{
    miWordSearchClick();
}

void TfLexDictionary::miAdvancedSearch21Click()
{
    miAdvancedSearchClick();
}

void TfLexDictionary::lbWordsDblClick()
{
    if (Settings.DBLClickSpeak)
        bSeyWordClick();
    cbFind->setEditText(SelectedWord());
}

void TfLexDictionary::reDescriptionDblClick()
{
    if (!Settings.DblClickTranslate)
        return;
    SetSearchMode(0);
    cbFind->setEditText(reDescription->textCursor().selectedText());
    FindWord();
}
