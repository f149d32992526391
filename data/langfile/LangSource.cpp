#include "data/langfile/LangSource.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <optional>
#include <set>

namespace LangFile {

namespace {

// Strict UTF-8 to UTF-16: no overlong forms, no surrogates, nothing above U+10FFFF.
std::optional<std::u16string> DecodeUtf8(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t c = 0;
        int more = 0;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b <= 0xDF) {
            c = b & 0x1F;
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            c = b & 0x0F;
            more = 2;
        } else if (b >= 0xF0 && b <= 0xF4) {
            c = b & 0x07;
            more = 3;
        } else {
            return std::nullopt;
        }
        if (i + static_cast<size_t>(more) >= s.size())
            return std::nullopt;
        for (int k = 1; k <= more; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (t & 0x3F);
        }
        if ((more == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (more == 3 && (c < 0x10000 || c > 0x10FFFF)))
            return std::nullopt;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += 1 + more;
    }
    return out;
}

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Keys are looked up without regard to case.
std::u16string Folded(std::u16string_view key)
{
    std::u16string f(key);
    for (char16_t& c : f)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return f;
}

std::string Narrow(std::u16string_view s)
{
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace

const std::vector<TLanguage>& Languages()
{
    static const std::vector<TLanguage> languages{{"ENG", 100}, {"GER", 101}, {"RUS", 102}};
    return languages;
}

void TLangSources::AddText(std::string_view fileName, std::string_view utf8)
{
    const std::string name(fileName);
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF")
        utf8.remove_prefix(3);
    constexpr size_t kNoSection = static_cast<size_t>(-1);
    size_t language = kNoSection;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t end = utf8.find('\n', pos);
        if (end == std::string_view::npos)
            end = utf8.size();
        std::string_view raw = utf8.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        const std::string place = name + ":" + std::to_string(lineNumber);
        const std::optional<std::u16string> decoded = DecodeUtf8(raw);
        if (!decoded) {
            errors_.push_back(place + ": not UTF-8");
            continue;
        }
        const std::u16string_view line = *decoded;
        const std::u16string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == u'#')
            continue;
        if (trimmed.front() == u'[' && trimmed.back() == u']') {
            const std::string code = Narrow(trimmed.substr(1, trimmed.size() - 2));
            const auto& all = Languages();
            const auto it = std::find_if(all.begin(), all.end(), [&](const TLanguage& l) { return l.Code == code; });
            if (it == all.end()) {
                errors_.push_back(place + ": unknown section [" + code + "]");
                language = kNoSection;
            } else {
                language = static_cast<size_t>(it - all.begin());
            }
            continue;
        }
        const size_t eq = line.find(u'=');
        if (eq == std::u16string_view::npos) {
            errors_.push_back(place + ": neither a section, a comment nor Key=Value");
            continue;
        }
        const std::u16string_view key = Trim(line.substr(0, eq));
        if (key.empty()) {
            errors_.push_back(place + ": empty key");
            continue;
        }
        if (language == kNoSection) {
            errors_.push_back(place + ": Key=Value outside a known section");
            continue;
        }
        AddEntry(language, {std::u16string(key), std::u16string(line.substr(eq + 1)), place});
    }
}

void TLangSources::AddEntry(size_t language, TLangEntry entry)
{
    const std::u16string folded = Folded(entry.Key);
    for (const TLangEntry& e : entries_[language])
        if (Folded(e.Key) == folded) {
            errors_.push_back(entry.Place + ": " + Languages()[language].Code + " key " + Narrow(entry.Key)
                              + " already given at " + e.Place);
            return;
        }
    entries_[language].push_back(std::move(entry));
}

void TLangSources::AddFolder(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec))
        if (item.path().extension() == ".txt" && item.path().filename() != "CMakeLists.txt" && item.is_regular_file(ec))
            files.push_back(item.path());
    if (ec)
        throw ELangSourceError("Cannot list " + folder.string() + ": " + ec.message());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        try {
            AddText(file.filename().string(), Platform::ReadWholeFile(file.string()));
        } catch (const std::system_error& e) {
            errors_.push_back(file.filename().string() + ": " + e.what());
        }
    }
}

const std::vector<TLangEntry>& TLangSources::Entries(std::string_view code) const
{
    const auto& all = Languages();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].Code == code)
            return entries_[i];
    static const std::vector<TLangEntry> none;
    return none;
}

bool TLangSources::HasKey(std::string_view code, std::u16string_view key) const
{
    const std::u16string folded = Folded(key);
    const std::vector<TLangEntry>& entries = Entries(code);
    return std::any_of(entries.begin(), entries.end(), [&](const TLangEntry& e) { return Folded(e.Key) == folded; });
}

std::vector<std::string> TLangSources::MissingKeys() const
{
    std::vector<std::string> missing;
    std::set<std::pair<std::string, std::u16string>> reported;
    for (const auto& entries : entries_)
        for (const TLangEntry& e : entries)
            for (const TLanguage& to : Languages())
                if (!HasKey(to.Code, e.Key) && reported.emplace(to.Code, Folded(e.Key)).second)
                    missing.push_back(to.Code + " lacks " + Narrow(e.Key) + " (" + e.Place + ")");
    return missing;
}

std::u16string LanguageText(const std::vector<TLangEntry>& entries)
{
    std::u16string text;
    for (const TLangEntry& e : entries)
        text += e.Key + u"=" + e.Value + u"\r\n";
    return text;
}

}  // namespace LangFile
