#include "data/sample/LanguageTable.h"

#include "data/sample/BinaryWriter.h"
#include "platform/Locale.h"

#include <unicode/uchar.h>

#include <stdexcept>

namespace SampleData {
namespace {

// Ids are Windows primary language ids; CodeA is the bibliographic ISO 639-2 code in capitals.
const std::vector<TLanguage> kLanguages = {
    {0x09, "ENG", "eng", "English", 0x0409, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", ""},
    {0x07, "GER", "deu", "German", 0x0407, "AÄBCDEFGHIJKLMNOÖPQRSTUÜVWXYZ", "ÄAÖOÜU", "ß"},
    {0x0C, "FRE", "fra", "French", 0x040C, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", "àâæçéèêëîïôœùûüÿ"},
    {0x0A, "SPA", "spa", "Spanish", 0x0C0A, "ABCDEFGHIJKLMNÑOPQRSTUVWXYZ", "", "áéíóúü"},
    {0x10, "ITA", "ita", "Italian", 0x0410, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", "àèéìíîòóùú"},
    {0x19, "RUS", "rus", "Russian", 0x0419, "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ", "ЁЕ", ""},
    {0x1F, "TUR", "tur", "Turkish", 0x041F, "ABCÇDEFGĞHIİJKLMNOÖPRSŞTUÜVYZ", "", "âîû"},
    {0x02, "BUL", "bul", "Bulgarian", 0x0402, "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯ", "", ""},
    {0x16, "POR", "por", "Portuguese", 0x0816, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", "áâãàçéêíóôõú"},
    {0x13, "DUT", "nld", "Dutch", 0x0413, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", "áéëïóöü"},
    {0x15, "POL", "pol", "Polish", 0x0415, "AĄBCĆDEĘFGHIJKLŁMNŃOÓPRSŚTUWYZŹŻ", "", ""},
    {0x05, "CZE", "ces", "Czech", 0x0405, "AÁBCČDĎEÉFGHIÍJKLMNOÓPQRŘSŠTŤUÚVWXYZŽ", "", "ěňůý"},
    {0x08, "GRE", "ell", "Greek", 0x0408, "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ", "", "άέήίόύώςϊϋ"},
    {0x22, "UKR", "ukr", "Ukrainian", 0x0422, "АБВГҐДЕЄЖЗИІЇЙКЛМНОПРСТУФХЦЧШЩЬЮЯ", "", ""},
    {0x0E, "HUN", "hun", "Hungarian", 0x040E, "AÁBCDEÉFGHIÍJKLMNOÓÖŐPQRSTUÚÜŰVWXYZ", "", ""},
    {0x1D, "SWE", "swe", "Swedish", 0x041D, "ABCDEFGHIJKLMNOPQRSTUVWXYZÅÄÖ", "", "é"},
    {0x0B, "FIN", "fin", "Finnish", 0x040B, "ABCDEFGHIJKLMNOPQRSTUVWXYZÅÄÖ", "", "šž"},
    {0x18, "RUM", "ron", "Romanian", 0x0418, "AĂÂBCDEFGHIÎJKLMNOPQRSȘTȚUVWXYZ", "", ""},
    {0x01, "ARA", "ara", "Arabic", 0x0401, "", "", ""},
    {0x0D, "HEB", "heb", "Hebrew", 0x040D, "", "", ""},
    {0x04, "CHI", "zho", "Chinese", 0x0804, "", "", ""},
};

// Letters drawn wider than the others in the letter panel's font get a wider step.
bool IsWideLetter(char16_t c)
{
    static const std::u16string wide = u"MWmwЖШЩЫЮФжшщыюфΨΩΜψωμÆŒæœ";
    return wide.find(c) != std::u16string::npos;
}

bool IsNarrowLetter(char16_t c)
{
    static const std::u16string narrow = u"IJfijlrtıİÍíîïìІЇії";
    return narrow.find(c) != std::u16string::npos;
}

std::u16string BuildLine(const std::u16string& letters, int normalStep)
{
    std::u16string line;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        line += letters[i];
        line += u',';
        if (i > 0) {
            const char16_t before = letters[i - 1];
            int step = normalStep;
            if (IsWideLetter(before))
                step += 4;
            else if (IsNarrowLetter(before))
                step -= 4;
            line += Platform::Utf8ToWide(std::to_string(step));
            line += u',';
        }
    }
    return line;
}

}  // namespace

const std::vector<TLanguage>& Languages()
{
    return kLanguages;
}

const TLanguage& LanguageByCode(const std::string& code)
{
    for (const TLanguage& l : kLanguages)
        if (code == l.CodeA)
            return l;
    throw std::invalid_argument("no language with the code " + code);
}

std::string BuildNisoFile()
{
    std::string out;
    for (const TLanguage& l : kLanguages) {
        PutInt16(out, l.Id);
        PutShortString(out, l.CodeA, 3);
        PutShortString(out, l.CodeB, 3);
        PutShortString(out, l.Name, 49);
    }
    return out;
}

std::u16string UpperLetters(const TLanguage& language)
{
    return Platform::Utf8ToWide(language.Letters);
}

std::u16string LowerLetters(const TLanguage& language)
{
    std::u16string lower;
    const bool turkish = language.LCID == 0x041F;
    for (char16_t c : UpperLetters(language))
        lower += turkish && c == u'I' ? u'\u0131' : static_cast<char16_t>(u_tolower(c));
    return lower + Platform::Utf8ToWide(language.ExtraLower);
}

std::u16string AlphabetLine1(const TLanguage& language)
{
    return BuildLine(UpperLetters(language), 14);
}

std::u16string AlphabetLine2(const TLanguage& language)
{
    return BuildLine(LowerLetters(language), 13);
}

std::string BuildAlphabetsFile()
{
    std::u16string text = u"\uFEFF";
    for (const TLanguage& l : kLanguages) {
        if (!*l.Letters)
            continue;
        text += Platform::Utf8ToWide(l.CodeA) + u"\r\n";
        text += AlphabetLine1(l) + u"\r\n";
        text += AlphabetLine2(l) + u"\r\n";
    }
    return WideToBytes(text);
}

}  // namespace SampleData
