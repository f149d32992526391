// Test files of the word-tool windows: a program folder in a scratch directory with a small
// language table, an alphabet file and a Data folder, and interface strings whose texts
// are their keys, so a test can tell which message a window showed.
#pragma once

#include "engine/LittleEndian.h"
#include "engine/WideStringList.h"
#include "platform/Locale.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace WordToolsTest {

namespace fs = std::filesystem;

using TestFiles::ReadFile;
using TestFiles::WriteFile;

inline std::size_t FilesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Strings "Key=Key" for each key.
inline void KeysAsTexts(TWideStringList& strings, std::initializer_list<const char*> keys)
{
    std::u16string text;
    for (const char* k : keys) {
        const std::u16string key = Platform::Utf8ToWide(k);
        text += key + u"=" + key + u"\r\n";
    }
    strings.SetTextStr(text);
}

// The language table: English, German, French (no alphabet) and "Manyletter" (49 letters),
// then padding languages up to the 21 records the table has.
inline std::string NisoFile()
{
    auto shortString = [](std::string& out, const std::string& s, std::size_t max) {
        out += static_cast<char>(s.size());
        out += s;
        out.append(max - s.size(), '\0');
    };
    std::string out;
    const char* codes[][2] = {{"ENG", "English"}, {"GER", "German"}, {"FRE", "French"}, {"MNY", "Manyletter"}};
    for (int i = 0; i < 21; ++i) {
        const std::string code = i < 4 ? codes[i][0] : "L" + std::to_string(10 + i);
        const std::string name = i < 4 ? codes[i][1] : "Language " + std::to_string(i);
        out += static_cast<char>(i + 1);
        out += '\0';
        shortString(out, code, 3);
        shortString(out, code, 3);
        shortString(out, name, 49);
    }
    return out;
}

inline std::u16string AlphabetLine(const std::u16string& letters)
{
    std::u16string line;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        line += letters[i];
        line += i ? u",14," : u",";
    }
    return line;
}

inline std::u16string ManyLetters()
{
    std::u16string letters;
    for (char16_t c = u'\u0410'; letters.size() < 49; ++c)
        letters += c;
    return letters;
}

inline std::string AlphabetsFile()
{
    std::u16string text = u"\uFEFF";
    text += u"eng\r\n" + AlphabetLine(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ") + u"\r\n"
        + AlphabetLine(u"abcdefghijklmnopqrstuvwxyz") + u"\r\n";
    text += u"GER\r\n" + AlphabetLine(u"A\u00C4BCDEFGHIJKLMNO\u00D6PQRSTU\u00DCVWXYZ") + u"\r\n"
        + AlphabetLine(u"a\u00E4bcdefghijklmno\u00F6pqrstu\u00FCvwxyz\u00DF") + u"\r\n";
    text += u"MNY\r\n" + AlphabetLine(ManyLetters()) + u"\r\n" + AlphabetLine(ManyLetters()) + u"\r\n";
    return WideToBytes(text);
}

// A program folder per test: NISO.dat, Alphabets.dat and an empty Data/.
class TProgramFolder : public ::testing::Test {
protected:
    TProgramFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path()
            / ("lexora-tools-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "Data");
        WriteFile(dir / "NISO.dat", NisoFile());
        WriteFile(dir / "Alphabets.dat", AlphabetsFile());
    }
    ~TProgramFolder() override
    {
        fs::permissions(dir / "Data", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    std::string Data(const std::string& name = {}) const { return (dir / "Data" / name).string(); }

    fs::path dir;
};

// Chooses entry Index of a chooser as a user does: focus it and press Down until it is there.
inline void Choose(QComboBox* chooser, int index)
{
    chooser->setFocus();
    for (int guard = 0; chooser->currentIndex() < index && guard < 100; ++guard)
        QTest::keyClick(chooser, Qt::Key_Down);
    for (int guard = 0; chooser->currentIndex() > index && guard < 100; ++guard)
        QTest::keyClick(chooser, Qt::Key_Up);
    ASSERT_EQ(chooser->currentIndex(), index);
}

}  // namespace WordToolsTest
