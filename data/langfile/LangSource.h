// The text sources of the interface languages: UTF-8 files with sections [ENG], [GER], [RUS]
// and Key=Value lines (format in data/lang/README.md), gathered per language.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace LangFile {

struct TLanguage {
    std::string Code;  // the section name: "ENG"
    std::int16_t Id;   // the language id of the program's setting
};

// The languages of the file, in record order: ENG 100, GER 101, RUS 102.
const std::vector<TLanguage>& Languages();

class ELangSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TLangEntry {
    std::u16string Key;
    std::u16string Value;
    std::string Place;  // "main.txt:12"
};

class TLangSources {
public:
    // Adds the lines of one source; problems are collected in Errors, with their places.
    void AddText(std::string_view fileName, std::string_view utf8);
    // Adds every *.txt of Folder (but CMakeLists.txt) in name order; throws ELangSourceError when none can be read.
    void AddFolder(const std::filesystem::path& folder);

    const std::vector<std::string>& Errors() const { return errors_; }
    // Keys that one language has and another lacks: "GER lacks Title (main.txt:3)".
    std::vector<std::string> MissingKeys() const;
    const std::vector<TLangEntry>& Entries(std::string_view code) const;
    // Whether language Code has Key (keys ignore case).
    bool HasKey(std::string_view code, std::u16string_view key) const;

private:
    void AddEntry(size_t language, TLangEntry entry);

    std::vector<std::vector<TLangEntry>> entries_ = std::vector<std::vector<TLangEntry>>(Languages().size());
    std::vector<std::string> errors_;
};

// The text block of a language: its Key=Value lines, each followed by CR LF.
std::u16string LanguageText(const std::vector<TLangEntry>& entries);

}  // namespace LangFile
