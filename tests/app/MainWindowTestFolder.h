// A small program folder for the main-window tests: English->German and German->English
// maker's dictionaries with a few letters, their catalogue and an interface-language file.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace MainWindowTest {

struct TWord {
    std::u16string Word;
    std::string Article;
};

struct TTestDictionary {
    std::string FileName;  // e.g. "ENGGER_T"
    std::string Pair;      // e.g. "ENGGER"
    std::string KindKey = "TavorLanguage";
    std::string Name = "FreeDict";
    std::u16string LetterLinks;
    std::u16string CharacterLinks = u"a,13,h,13,m,13,";
    std::u16string ReverseLetters;
    std::vector<std::pair<char16_t, std::vector<TWord>>> Sections;
};

// English->German: A (apple, arm), H (hat, house, household, houses, hut, mouse-free H words)
// and M (mouse); German->English: A (Apfel, Arm), Ä (Ärger), H (Haus, Hut).
TTestDictionary EnglishGerman();
TTestDictionary GermanEnglish();

class TProgramFolder {
public:
    // Makes the folder with the dictionaries (installed into the catalogue in this order)
    // and, unless WithLanguageFile is false, "LangItf.lng". The settings and the runtime
    // folder of the process move into the folder too.
    explicit TProgramFolder(const std::vector<TTestDictionary>& dictionaries, bool withLanguageFile = true);

    QString Path() const { return dir_.path() + "/"; }
    std::string DataFile(const std::string& name) const { return (dir_.path() + "/Data/").toStdString() + name; }

private:
    QTemporaryDir dir_;
};

// Writes an empty user language dictionary "MYWORDS" (English->German, letter H) into Folder's
// Data/ and installs it into the catalogue.
void InstallMyWords(const TProgramFolder& folder);

// Writes an interface-language file with one English block (id 100) of the main window's keys.
void WriteLanguageFile(const QString& fileName);

}  // namespace MainWindowTest
