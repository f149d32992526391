// Every interface key the program looks up exists, non-empty, in every language of the file
// built from data/lang: the keys of LangText(..., "Key") calls in the sources, and the main
// window's keys that are looked up from tables.
#include "app/InterfaceLanguage.h"
#include "data/langfile/LangFileWriter.h"
#include "engine/WideStringList.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

// Keys of the main window's captions, hints and messages, several of them looked up in loops.
const char* const kMainWindowKeys[] = {"File",
                                       "LearnList",
                                       "NewList",
                                       "OpenList",
                                       "AddToList",
                                       "SaveList",
                                       "SaveAs",
                                       "CloseList",
                                       "Export",
                                       "Import",
                                       "Exit",
                                       "Dictionarys",
                                       "ChangeDir",
                                       "Search",
                                       "SearchType",
                                       "SearchWord",
                                       "SearchAdvanced",
                                       "AddWord",
                                       "EditWord",
                                       "DeleteWord",
                                       "Speak",
                                       "Abbreviation",
                                       "View",
                                       "Buttons",
                                       "Dicts",
                                       "StatusBar",
                                       "Alphabet",
                                       "Learning",
                                       "Method_1",
                                       "Method_2",
                                       "Method_3",
                                       "Method_4",
                                       "Method_5",
                                       "Method_6",
                                       "Hang",
                                       "Tools",
                                       "Convert",
                                       "Settings",
                                       "UpdateNow",
                                       "NewDictionary",
                                       "Help",
                                       "Help_1",
                                       "Help_2",
                                       "Help_3",
                                       "Help_5",
                                       "ShowDictionary",
                                       "ClipTran",
                                       "FromLang",
                                       "ToLang",
                                       "Hint1",
                                       "Hint2",
                                       "Hint3",
                                       "Hint4",
                                       "Hint5",
                                       "Hint6",
                                       "Hint7",
                                       "Hint8",
                                       "Hint9",
                                       "EditList",
                                       "LoadList",
                                       "DeleteItem",
                                       "Title",
                                       "HelpFile",
                                       "MessageCaption",
                                       "OK",
                                       "Cancel",
                                       "Name",
                                       "MsgInstallComleate",
                                       "MsgDictExist",
                                       "MsgDictRedy",
                                       "MsgStillUpdating",
                                       "MsgUpdating",
                                       "MsgStopUpdate",
                                       "MsgUpdateVer",
                                       "MsgUpdateQu",
                                       "MsgNoUpdate",
                                       "MsgStartUpdate",
                                       "MsgOnlyAdminMayDoThis",
                                       "MsgSaveList",
                                       "MsgIncorectList",
                                       "MsgDeleteWord",
                                       "MsgSetCDROMDrive",
                                       "MsgCorectCD",
                                       "MsgLoadList",
                                       "MsgWordExist",
                                       "MsgWrongWord",
                                       "MsgFillAllFields",
                                       "MsgFileExist",
                                       "MsgCorectKeys",
                                       "MsgRemoveDict",
                                       "MsgRemoveSoundDir",
                                       "MsgCopySuccess",
                                       "MaxDelicateTime"};

// The arguments of the call whose "(" is at Open, split at top-level commas; empty when the
// call is not closed.
std::vector<std::string> CallArguments(const std::string& text, size_t open)
{
    std::vector<std::string> args(1);
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            const size_t start = i;
            for (++i; i < text.size() && text[i] != c; ++i)
                if (text[i] == '\\')
                    ++i;
            args.back() += text.substr(start, i - start + 1);
            continue;
        }
        if (c == '(' || c == '[' || c == '{') {
            if (depth++ == 0)
                continue;
        } else if (c == ')' || c == ']' || c == '}') {
            if (--depth == 0)
                return args;
        } else if (c == ',' && depth == 1) {
            args.emplace_back();
            continue;
        }
        args.back() += c;
    }
    return {};
}

std::string Trimmed(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t\r\n");
    const size_t e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Key -> first place of every LangText(..., "Key") in the sources under Folders.
std::map<std::string, std::string> ScanKeys(const fs::path& root, std::initializer_list<const char*> folders)
{
    std::map<std::string, std::string> keys;
    for (const char* folder : folders) {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(root / folder, ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path& p = it->path();
            if (p.extension() != ".cpp" && p.extension() != ".h")
                continue;
            std::ifstream in(p, std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (size_t at = text.find("LangText"); at != std::string::npos; at = text.find("LangText", at + 8)) {
                if (at > 0 && (std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_'))
                    continue;
                const size_t open = text.find_first_not_of(" \t\r\n", at + 8);
                if (open == std::string::npos || text[open] != '(')
                    continue;
                const std::vector<std::string> args = CallArguments(text, open);
                if (args.size() != 2)
                    continue;
                const std::string key = Trimmed(args[1]);
                if (key.size() >= 2 && key.front() == '"' && key.back() == '"')
                    keys.emplace(key.substr(1, key.size() - 2), fs::relative(p, root).string());
            }
        }
    }
    return keys;
}

}  // namespace

TEST(InterfaceKeysTest, TheScannerFindsKeysOfLangTextCalls)
{
    const std::string text = "x = LangText(fLex->LangStrings(), \"Title\");\nMyLangText(s, \"No\");\n"
                             "LangText(\n  strings,\n  \"Multi\")";
    EXPECT_EQ(CallArguments(text, text.find('(')).size(), 2u);
    QTemporaryDir dir;
    fs::create_directories(fs::path(dir.path().toStdString()) / "app");
    std::ofstream(fs::path(dir.path().toStdString()) / "app" / "W.cpp") << text;
    const auto keys = ScanKeys(dir.path().toStdString(), {"app", "components"});
    EXPECT_EQ(keys.size(), 2u);
    EXPECT_TRUE(keys.count("Title"));
    EXPECT_TRUE(keys.count("Multi"));
}

TEST(InterfaceKeysTest, EveryKeyTheProgramLooksUpIsInEveryLanguage)
{
    const fs::path root = LEXORA_SOURCE_DIR;
    std::map<std::string, std::string> keys = ScanKeys(root, {"app", "components", "tools/windows"});
    for (const char* key : kMainWindowKeys)
        keys.emplace(key, "main window table");

    LangFile::TLangSources sources;
    sources.AddFolder(root / "data" / "lang");
    std::string file;
    try {
        file = LangFile::BuildLangFile(sources);
    } catch (const LangFile::ELangSourceError& e) {
        FAIL() << "data/lang: " << e.what();
    }
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/LangItf.lng";
    std::ofstream(path, std::ios::binary) << file;

    for (const LangFile::TLanguage& language : LangFile::Languages()) {
        TWideStringList strings;
        ASSERT_TRUE(LoadInterfaceLanguage(path, language.Id, strings)) << language.Code;
        std::string missing;
        for (const auto& [key, place] : keys)
            if (strings.GetValue(std::u16string(key.begin(), key.end())).empty())
                missing += "  " + key + " (" + place + ")\n";
        EXPECT_EQ(missing, "") << language.Code << " lacks:\n" << missing;
    }
}
