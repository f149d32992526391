#include "app/mainwindow/WordCommands.h"

#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"

#include "engine/WideText.h"
#include "platform/qt/QtText.h"
#include "tools/windows/NewDictionary.h"
#include "tools/windows/NewWord.h"
#include "tools/windows/NumTran.h"
#include "tools/windows/WordToolsContext.h"

#include <QComboBox>
#include <QFileDialog>
#include <QSignalBlocker>
#include <QFileInfo>

#include <utility>

namespace WordCommands {

namespace {

constexpr int kLongestLookup = 25;
constexpr int kCutLength = 24;
// Only the start of a long copy can become a search text.
constexpr int kReadAtMost = 4096;

TWordEditorOpener& Opener()
{
    static TWordEditorOpener opener;
    return opener;
}

}  // namespace

namespace {

// After an add on the letter the list shows: the letter's list again with the user's words
// merged in, and the word just added selected with its own article (in a maker's dictionary
// a maker's word of the same spelling sits beside it, and a prefix search would find that one).
void ShowAddedWord(TfLexDictionary& owner, const QString& word)
{
    if (owner.SearchMode != 0)
        return;  // the list holds search results, not the letter's words
    owner.LoadLetterBlock(owner.Dictionary->CurrentLetter);
    const std::vector<std::int32_t>& users = owner.Dictionary->UserWordPositions;
    int row = -1;
    if (users.empty()) {
        // A user dictionary: all its words are the user's, and the search finds it; a word
        // it passes by for a longer one of the same start is selected itself.
        owner.cbFind->setEditText(word);
        owner.FindWord();
        for (int i = 0; row < 0 && i < owner.WordCount(); ++i)
            if (owner.WordsModel->Word(i) == word)
                row = i;
        if (row < 0 || row == owner.SelectedIndex())
            return;
    } else {
        // The letter's user words come in the order they were added: the newest is the last.
        for (auto p = users.rbegin(); row < 0 && p != users.rend(); ++p)
            if (owner.WordsModel->Word(*p) == word)
                row = *p;
        if (row < 0)
            row = users.back();
    }
    owner.SetSelectedIndex(row);
    owner.lbWordsClick();
}

// The word editor over the main window's dictionary: after a save the window shows the new
// state of the word list and the article.
void RunWordEditor(TfLexDictionary& owner, const TWordEditRequest& request)
{
    TWordEditorContext context;
    context.LangStrings = &owner.LangStrings;
    context.Dictionary = owner.Dictionary.get();
    context.LearnDictionary = owner.LearnDictionary.get();
    context.ShowAddedWord = [&owner](const QString& word) { ShowAddedWord(owner, word); };
    context.ShowEditedArticle = [&owner] { owner.lbWordsClick(); };
    context.ShowEditedListArticle = [&owner] { owner.lbListClick(); };
    TfNewWord editor(std::move(context), &owner);
    if (request.Edit)
        editor.PrepareEdit(request.Index, request.Word, request.Article);
    else
        editor.PrepareAdd();
    editor.exec();
}

}  // namespace

void OpenWordEditor(TfLexDictionary& owner, const TWordEditRequest& request)
{
    if (const TWordEditorOpener& open = Opener())
        open(owner, request);
    else
        RunWordEditor(owner, request);
}

TWordEditorOpener SetWordEditorOpener(TWordEditorOpener opener)
{
    return std::exchange(Opener(), std::move(opener));
}

void OpenDictionaryWizard(TfLexDictionary& owner)
{
    TNewDictionaryContext context;
    context.LangStrings = &owner.LangStrings;
    context.DictManager = owner.DictManager.get();
    context.AppDir = owner.AppDir;
    context.DataDir = owner.DataDir;
    context.OpenNewDictionary = [&owner](const std::string& directionCode, const QString& fileName) {
        // The choosers are filled again and pointed at the new dictionary, which then opens as
        // a choice of the user's would.
        owner.FillDirections();
        int from = -1;
        for (int i = 0; i < static_cast<int>(owner.DirectionItems.size()); ++i)
            if (owner.DirectionItems[static_cast<std::size_t>(i)]->Code == directionCode.substr(0, 3))
                from = i;
        if (from < 0)
            return;
        {
            const QSignalBlocker block(owner.cbFrom);
            owner.cbFrom->setCurrentIndex(from);
        }
        owner.PreviousFromIndex = from;
        owner.FillDictionaries(from);
        for (int i = 0; i < owner.cbTo->count(); ++i) {
            const QSignalBlocker block(owner.cbTo);
            owner.cbTo->setCurrentIndex(i);
            if (owner.GetDictionaryFileName().compare(fileName, Qt::CaseInsensitive) == 0)
                break;
        }
        owner.cbToChange(owner.cbTo);
        owner.UpdateWindowTitle();
    };
    TfNewDictioanry wizard(std::move(context), &owner);
    wizard.exec();
}

void OpenNumberWords(TfLexDictionary& window)
{
    TfNumTran numbers(window.LangStrings, &window);
    numbers.exec();
}

QString AskExportFile(QWidget* owner, const QString& title, const QString& file, int filterIndex)
{
    const QStringList filters = {QStringLiteral("User dictionary (*.UDD *.udd)"), QStringLiteral("All files (*)"),
                                 QStringLiteral("User words (*.TDE *.tde)")};
    QFileDialog dialog(owner, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(filterIndex));
    dialog.selectFile(QFileInfo(file).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString CutClipboardText(const QString& text)
{
    // Leading blanks (blank lines too) of a long copy are dropped before its start is taken.
    int from = 0;
    while (from < text.size() && text.at(from).unicode() <= u' ')
        ++from;
    QString t = ToQString(WideTrim(ToU16(FirstLine(text.mid(from, kReadAtMost)))));
    if (t.size() > kLongestLookup)
        t.truncate(kCutLength);
    return t;
}

QString FirstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (text.at(i).unicode()) {
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case 0x85:    // next line
        case 0x2028:  // line separator
        case 0x2029:  // paragraph separator
            return text.left(i);
        default:
            break;
        }
    }
    return text;
}

}  // namespace WordCommands
