#include "engine/DictionaryFormat.h"

#include "engine/WideStringList.h"

#include <cstring>

namespace Dictionary {

TSectionEntry DecodeSectionEntry(const char* p)
{
    TSectionEntry e;
    e.Letter = static_cast<char16_t>(GetUInt16(p));
    e.Offset = GetInt32(p + 4);
    e.Length = GetInt32(p + 8);
    e.FirstWordIndex = GetInt32(p + 12);
    e.WordCount = GetInt32(p + 16);
    e.Free = static_cast<std::uint8_t>(p[20]);
    return e;
}

void EncodeSectionEntry(const TSectionEntry& e, char* p)
{
    std::memset(p, 0, kEntrySize);
    SetUInt16(p, e.Letter);
    SetInt32(p + 4, e.Offset);
    SetInt32(p + 8, e.Length);
    SetInt32(p + 12, e.FirstWordIndex);
    SetInt32(p + 16, e.WordCount);
    p[20] = static_cast<char>(e.Free);
}

void AppendSectionEntry(std::string& out, const TSectionEntry& e)
{
    char b[kEntrySize];
    EncodeSectionEntry(e, b);
    out.append(b, kEntrySize);
}

TSectionTable DecodeSectionTable(std::string_view bytes)
{
    if (bytes.size() < kTableSize)
        throw EDictionaryFormatError("section table is truncated");
    TSectionTable table;
    for (int i = 0; i < kSectionCount; ++i)
        table[i] = DecodeSectionEntry(bytes.data() + kEntrySize * i);
    return table;
}

std::string EncodeSectionTable(const TSectionTable& table)
{
    std::string out;
    out.reserve(kTableSize);
    for (const TSectionEntry& e : table)
        AppendSectionEntry(out, e);
    return out;
}

TAreaOffsets DecodeAreaOffsets(std::string_view bytes)
{
    if (bytes.size() < 24)
        throw EDictionaryFormatError("area offsets are truncated");
    return {GetInt64(bytes.data()), GetInt64(bytes.data() + 8), GetInt64(bytes.data() + 16)};
}

std::string EncodeAreaOffsets(const TAreaOffsets& o)
{
    std::string out;
    PutInt64(out, o.H0);
    PutInt64(out, o.H1);
    PutInt64(out, o.H2);
    return out;
}

std::vector<TIndexRecord> DecodeIndexRecords(std::string_view bytes)
{
    std::vector<TIndexRecord> records(bytes.size() / kIndexRecordSize);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const char* p = bytes.data() + kIndexRecordSize * i;
        records[i] = {GetInt64(p), GetInt64(p + 8)};
    }
    return records;
}

std::string EncodeIndexRecords(const std::vector<TIndexRecord>& records)
{
    std::string out;
    out.reserve(records.size() * kIndexRecordSize);
    for (const TIndexRecord& r : records) {
        PutInt64(out, r.Offset);
        PutInt64(out, r.Length);
    }
    return out;
}

TSectionEntry FreeUserEntry()
{
    TSectionEntry e;
    e.Letter = kFreeLetterUser;
    e.Free = 1;
    return e;
}

TSectionEntry FreeWordsEntry()
{
    TSectionEntry e;
    e.Letter = kFreeLetterWords;
    e.Free = 1;
    return e;
}

std::vector<std::string> SplitInfoFields(std::string_view text)
{
    std::vector<std::string> fields;
    fields.reserve(kInfoFieldCount);
    for (int i = 0; i < kInfoFieldCount; ++i) {
        std::size_t hash = text.find('#');
        if (hash == std::string_view::npos) {
            fields.emplace_back();  // no "#" left: the field is empty and the text stays
            continue;
        }
        fields.emplace_back(text.substr(0, hash));
        text.remove_prefix(hash + 1);
    }
    return fields;
}

TDictionaryInfo ParseInfoBlock(std::string_view text)
{
    std::vector<std::string> f = SplitInfoFields(text);
    TDictionaryInfo info;
    info.Version = f[0];
    info.Reserved = f[1];
    info.Number = f[2];
    info.Date = f[3];
    info.Name = f[4];
    info.Description = f[5];
    info.ShellTag = f[6];
    info.KindKey = f[7];
    info.LanguagePair = f[8];
    info.FileName = f[9];
    info.Sounds = f[10];
    return info;
}

std::string BuildInfoBlock(const TDictionaryInfo& i)
{
    std::string text;
    for (const std::string* f : {&i.Version, &i.Reserved, &i.Number, &i.Date, &i.Name, &i.Description, &i.ShellTag,
                                 &i.KindKey, &i.LanguagePair, &i.FileName}) {
        text += *f;
        text += '#';
    }
    if (!i.Sounds.empty())
        text += i.Sounds + "#";
    return text;
}

std::u16string PrecharsTextKey(int n)
{
    std::string k = "1" + std::to_string(n) + "0";
    return std::u16string(k.begin(), k.end());
}

std::u16string PrecharsLetterKey(int n)
{
    std::string k = "2" + std::to_string(n) + "0";
    return std::u16string(k.begin(), k.end());
}

std::u16string BuildDescription(const TDescriptionData& d)
{
    std::vector<std::u16string> lines{d.LetterLinks, d.CharacterLinks};
    const bool named = !d.LetterGroups.empty() || !d.Prechars.empty();
    if (!d.ReverseLetters.empty() || named)
        lines.push_back(d.ReverseLetters);  // name=value lines never stand in line 3
    auto number = [](std::size_t v) {
        std::string s = std::to_string(v);
        return std::u16string(s.begin(), s.end());
    };
    if (!d.LetterGroups.empty()) {
        lines.push_back(u"CHARS=" + number(d.LetterGroups.size() - 1));
        for (std::size_t k = 0; k < d.LetterGroups.size(); ++k)
            lines.push_back(number(k) + u"=" + d.LetterGroups[k]);
    }
    if (!d.Prechars.empty()) {
        lines.push_back(u"PRECHARS=" + number(d.Prechars.size() - 1));
        for (std::size_t n = 0; n < d.Prechars.size(); ++n) {
            lines.push_back(PrecharsTextKey(static_cast<int>(n)) + u"=" + d.Prechars[n].Text);
            std::u16string letter;
            if (d.Prechars[n].Letter != 0)
                letter.push_back(d.Prechars[n].Letter);
            lines.push_back(PrecharsLetterKey(static_cast<int>(n)) + u"=" + letter);
        }
    }
    return JoinLines(lines);
}

bool ParseInteger(std::u16string_view text, std::int32_t& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        v = v * 10 + (text[i] - u'0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL || v < -2147483648LL)
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

std::uint8_t EditionFromText(std::u16string_view text)
{
    std::int32_t v = 0;
    if (!ParseInteger(text, v))
        return 5;
    return v >= 0 && v <= 4 ? static_cast<std::uint8_t>(v) : 0;
}

}  // namespace Dictionary
