#include "tests/app/MainWindowTestFolder.h"

#include "app/Settings.h"
#include "data/tddwriter/TddWriter.h"
#include "engine/DictManager.h"
#include "platform/Locale.h"
#include "platform/qt/Registry.h"
#include "tests/engine/DictionaryTestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace MainWindowTest {

namespace {

std::string Rtf(const std::string& text)
{
    return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs20 " + text + "\\par}";
}

void PutInt(std::string& bytes, std::size_t at, std::int64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] =
            static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

void WriteDictionary(const TTestDictionary& d, const std::string& path)
{
    TddWriter::TTddWriter w;
    for (const auto& [letter, words] : d.Sections) {
        const int s = w.AddSection(letter);
        for (const TWord& word : words)
            w.AddWord(s, word.Word, word.Article);
    }
    Dictionary::TDictionaryInfo info;
    info.Name = d.Name;
    info.Description = "Test";
    info.ShellTag = "@X1";
    info.KindKey = d.KindKey;
    info.LanguagePair = d.Pair;
    info.FileName = d.FileName;
    w.SetInfo(info);
    Dictionary::TDescriptionData description;
    description.LetterLinks = d.LetterLinks;
    description.CharacterLinks = d.CharacterLinks;
    description.ReverseLetters = d.ReverseLetters;
    w.SetDescription(description);
    w.SetEdition(0);
    w.Write(path);
}

}  // namespace

TTestDictionary EnglishGerman()
{
    TTestDictionary d;
    d.FileName = "ENGGER_T";
    d.Pair = "ENGGER";
    d.LetterLinks = u"A,14,H,14,M,14,";
    d.ReverseLetters = u"ÄÖÜäöüß";
    d.Sections = {
        {u'A', {{u"apple", Rtf("apple \\endash  Apfel")}, {u"arm", Rtf("arm \\endash  Arm")}}},
        {u'H',
         {{u"hat", Rtf("hat \\endash  Hut")},
          {u"house", Rtf("\\b house\\b0  \\endash  Haus")},
          {u"household", Rtf("household \\endash  Haushalt")},
          {u"houses", Rtf("houses \\endash  H\\'e4user")},
          {u"hut", Rtf("hut \\endash  H\\'fctte")}}},
        {u'M', {{u"mouse", Rtf("mouse \\endash  Maus")}}},
    };
    return d;
}

TTestDictionary GermanEnglish()
{
    TTestDictionary d;
    d.FileName = "GERENG_T";
    d.Pair = "GERENG";
    d.LetterLinks = u"A,14,\u00C4,14,H,14,";
    d.ReverseLetters = u"";
    d.Sections = {
        {u'A', {{u"Apfel", Rtf("Apfel \\endash  apple")}, {u"Arm", Rtf("Arm \\endash  arm")}}},
        {u'\u00C4', {{u"\u00C4rger", Rtf("\\'c4rger \\endash  anger")}}},
        {u'H', {{u"Haus", Rtf("Haus \\endash  house")}, {u"Hut", Rtf("Hut \\endash  hat")}}},
    };
    return d;
}

TProgramFolder::TProgramFolder(const std::vector<TTestDictionary>& dictionaries, bool withLanguageFile)
{
    if (!dir_.isValid())
        throw std::runtime_error("no scratch folder");
    const QString root = dir_.path();
    QDir().mkpath(root + "/Data");
    QDir().mkpath(root + "/Learning");
    QDir().mkpath(root + "/run");
    QFile::setPermissions(root + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", (root + "/config").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (root + "/run").toLocal8Bit());
    qputenv("LEXORA_ADMIN", "1");
    // The automatic update check reaches a closed local port, never the network.
    if (qEnvironmentVariableIsEmpty("LEXORA_UPDATE_URL"))
        qputenv("LEXORA_UPDATE_URL", "http://127.0.0.1:9/");
    // No automatic check either: while one runs, closing the window asks whether to stop it.
    // The update tests turn it on where they need it.
    WriteDefaultSettings();
    {
        TRegistry settings(TRootKey::CurrentUser);
        if (settings.OpenKey("\\Software\\TavorSoft\\LexoraXP", true))
            settings.WriteBool("UpdEnbl", false);
    }
    std::ofstream((root + "/Data/DICTIONARYS.DNT").toStdString(), std::ios::binary);
    TDictManager manager((root + "/Data/DICTIONARYS.DNT").toStdString());
    for (const TTestDictionary& d : dictionaries) {
        const std::string path = (root + "/Data/").toStdString() + d.FileName + ".TDD";
        WriteDictionary(d, path);
        if (manager.InstallDictionary(path) != irInstalled)
            throw std::runtime_error("test dictionary not installed: " + path);
    }
    if (withLanguageFile)
        WriteLanguageFile(root + "/LangItf.lng");
}

void WriteLanguageFile(const QString& fileName)
{
    QString text;
    const char* pairs[][2] = {
        {"Title", "Lexora XP"},
        {"MessageCaption", "Lexora"},
        {"OK", "OK"},
        {"Cancel", "Cancel"},
        {"File", "File"},
        {"Dictionarys", "Dictionaries"},
        {"FromLang", "From:"},
        {"ToLang", "To:"},
        {"SearchWord", "Word search"},
        {"SearchAdvanced", "Advanced search"},
        {"sbSearch", "Search: "},
        {"ENG", "English"},
        {"GER", "German"},
        {"HelpFile", "ENG"},
    };
    for (const auto& p : pairs)
        text += QString::fromLatin1(p[0]) + "=" + QString::fromUtf8(p[1]) + "\r\n";
    const QByteArray block(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    std::string bytes(4 + 56, '\0');
    PutInt(bytes, 0, 0, 4);
    PutInt(bytes, 4 + 42, 100, 2);
    PutInt(bytes, 4 + 48, 4 + 56, 4);
    PutInt(bytes, 4 + 52, block.size(), 4);
    bytes.append(block.constData(), static_cast<std::size_t>(block.size()));
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)
        || f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw std::runtime_error("language file not written");
}

void InstallMyWords(const TProgramFolder& folder)
{
    const std::string file = folder.DataFile("MYWORDS.UDD");
    DictionaryTest::WriteFile(
        file,
        DictionaryTest::NewUserDictionary(u"H", "01.01#0#1#01.02.2024#My words#Me#Ivy_Crate#Language#ENGGER#MYWORDS#",
                                          u"H,14,\r\n"));
    {
        TDictManager manager(folder.DataFile("DICTIONARYS.DNT"));
        ASSERT_EQ(manager.InstallDictionary(file), irInstalled);
    }
}

}  // namespace MainWindowTest
