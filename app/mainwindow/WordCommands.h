// The windows the main window's word commands open, and the small pieces of those commands
// that tests check on their own.
#pragma once

#include <QString>

#include <functional>
#include <string>

class TfLexDictionary;
class QWidget;

namespace WordCommands {

// What the word editor is opened with: a new word (Edit false), or the word at Index (the
// engine's index: the user word's place for a maker's dictionary, else the list index) with
// its article.
struct TWordEditRequest {
    bool Edit = false;
    int Index = -1;
    QString Word;
    std::string Article;
};

using TWordEditorOpener = std::function<void(TfLexDictionary&, const TWordEditRequest&)>;

// Opens the word editor modally for Request. The editor window is built in the word tools;
// until it is linked in, nothing opens.
void OpenWordEditor(TfLexDictionary& owner, const TWordEditRequest& request);
// Puts Opener in place of the editor (tests); returns the one replaced.
TWordEditorOpener SetWordEditorOpener(TWordEditorOpener opener);

// The new-dictionary wizard and the number-to-words window (word tools).
void OpenDictionaryWizard(TfLexDictionary& owner);
void OpenNumberWords(TfLexDictionary& owner);

// Asks, under Title, where to export the user-word file File (filter index 0 user dictionary,
// 2 user words of a maker's dictionary); empty when cancelled.
QString AskExportFile(QWidget* owner, const QString& title, const QString& file, int filterIndex);

// Copied text as the search box takes it: its first line with text, trimmed; longer than 25
// characters, its first 24.
QString CutClipboardText(const QString& text);

// Text up to its first line break: the one line a one-line box holds.
QString FirstLine(const QString& text);

}  // namespace WordCommands
