#include "data/sample/Sectioning.h"

#include "platform/Locale.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <stdexcept>

namespace SampleData {

char16_t UpperChar(char16_t c)
{
    if (U16_IS_SURROGATE(c))
        return c;
    const UChar32 u = u_toupper(c);
    return u < 0x10000 ? static_cast<char16_t>(u) : c;
}

char16_t BaseLetter(char16_t c)
{
    if (c < 0x80 || U16_IS_SURROGATE(c))
        return c;
    UErrorCode err = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(err);
    if (U_FAILURE(err))
        return c;
    icu::UnicodeString decomposed;
    if (!nfd->getDecomposition(c, decomposed) || decomposed.isEmpty())
        return c;
    return decomposed.charAt(0);
}

TSectionPlan::TSectionPlan(const TLanguage& language)
{
    const std::u16string all = UpperLetters(language);
    const std::u16string filed = Platform::Utf8ToWide(language.FiledUnder);
    if (filed.size() % 2 != 0)
        throw std::invalid_argument("letters filed under others must come in pairs");
    for (char16_t c : all) {
        bool isFiled = false;
        for (std::size_t i = 0; i < filed.size(); i += 2)
            isFiled = isFiled || filed[i] == c;
        if (!isFiled)
            Letters += c;
    }
    if (Letters.empty())
        throw std::invalid_argument(std::string("no alphabet for ") + language.Name);
    if (Letters.size() > 44)
        throw std::invalid_argument(std::string("too many letters for the sections of ") + language.Name);
    Groups.resize(Letters.size() + 1);
    for (std::size_t i = 0; i < Letters.size(); ++i)
        Groups[i] = Letters[i];
    for (std::size_t i = 0; i < filed.size(); i += 2) {
        const std::size_t target = Letters.find(filed[i + 1]);
        if (target == std::u16string::npos)
            throw std::invalid_argument("a letter is filed under a letter outside the alphabet");
        Groups[target] += filed[i];
    }
    Groups.back() = u"0123456789";
}

int TSectionPlan::Assign(std::u16string_view headword)
{
    if (headword.empty())
        return OtherSection();
    const char16_t first = UpperChar(headword.front());
    for (std::size_t i = 0; i < Letters.size(); ++i)
        if (Groups[i].find(first) != std::u16string::npos)
            return static_cast<int>(i);
    const std::size_t base = Letters.find(UpperChar(BaseLetter(first)));
    const std::size_t section = base == std::u16string::npos ? Letters.size() : base;
    if (Groups[section].find(first) == std::u16string::npos)
        Groups[section] += first;
    return static_cast<int>(section);
}

std::u16string ReverseLetters(const TLanguage& source, const TLanguage& target)
{
    const std::u16string own = UpperLetters(source) + LowerLetters(source);
    std::u16string upper, lower;
    auto add = [&](std::u16string& to, char16_t c) {
        if (own.find(c) == std::u16string::npos && to.find(c) == std::u16string::npos)
            to += c;
    };
    for (char16_t c : UpperLetters(target) + LowerLetters(target)) {
        add(upper, UpperChar(c));
        add(lower, c == UpperChar(c) ? static_cast<char16_t>(u_tolower(c)) : c);
    }
    // Letters without a separate capital (ß) stay with the lower-case ones only.
    std::u16string result;
    for (char16_t c : upper)
        if (lower.find(c) == std::u16string::npos)
            result += c;
    return result + lower;
}

Dictionary::TDescriptionData MakeDescription(const TLanguage& source, const TLanguage& target, const TSectionPlan& plan,
                                             int sectionCount)
{
    Dictionary::TDescriptionData d;
    d.LetterLinks = AlphabetLine1(source);
    d.CharacterLinks = AlphabetLine2(source);
    d.ReverseLetters = ReverseLetters(source, target);
    for (int i = 0; i < sectionCount; ++i)
        d.LetterGroups.push_back(plan.Group(i));
    return d;
}

}  // namespace SampleData
