// What the word editor and the new-dictionary wizard take from the main window: the objects
// they work on and what the main window does after a change. The main window fills one of
// these for each showing; the windows keep references only while they are open.
#pragma once

#include <QString>

#include <functional>
#include <string>

class TBaseDictionary;
class TDictManager;
class TLearnDictionary;
class TWideStrings;

struct TWordEditorContext {
    const TWideStrings* LangStrings = nullptr;    // the interface strings (required)
    TBaseDictionary* Dictionary = nullptr;        // the current dictionary: adding and editing words
    TLearnDictionary* LearnDictionary = nullptr;  // the open learning list: editing its entries

    // A word was added whose first letter is the one the main window shows (the
    // dictionary's CurrentLetter): reload that letter's list and select the word just added,
    // showing its article.
    std::function<void(const QString& word)> ShowAddedWord;
    // The article of the selected word was saved: show it again (the word list's click).
    std::function<void()> ShowEditedArticle;
    // The article of the selected learning-list entry was saved: show it again.
    std::function<void()> ShowEditedListArticle;
};

struct TNewDictionaryContext {
    const TWideStrings* LangStrings = nullptr;  // the interface strings (required)
    TDictManager* DictManager = nullptr;        // the catalogue the new dictionary joins (required)
    QString AppDir;                             // the program folder: "NISO.dat" and "Alphabets.dat"
    QString DataDir;                            // the dictionaries folder: the new ".UDD" is written there

    // The new dictionary is installed: make it the current one. DirectionCode is the code
    // the catalogue files it under (the words' language, or "UGD" for a general dictionary);
    // FileName is its catalogue file name (no folder, no extension).
    std::function<void(const std::string& directionCode, const QString& fileName)> OpenNewDictionary;
};
