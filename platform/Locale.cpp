#include "platform/Locale.h"

#include <algorithm>

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace Platform {
namespace {

std::string LocaleNameFromEnvironment()
{
    for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return v;
    }
    return {};
}

std::string LanguageOfLCID(LCID lcid)
{
    char buf[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode err = U_ZERO_ERROR;
    uloc_getLocaleForLCID(lcid, buf, sizeof buf, &err);
    if (U_FAILURE(err))
        return {};
    char lang[ULOC_LANG_CAPACITY] = {};
    err = U_ZERO_ERROR;
    uloc_getLanguage(buf, lang, sizeof lang, &err);
    return U_SUCCESS(err) ? std::string(lang) : std::string();
}

struct CollatorDeleter {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorDeleter>;

// One collator per LCID, made on first use and kept for the life of the process.
// ICU collators may be shared by threads for comparisons.
UCollator* CollatorFor(LCID lcid)
{
    // Comparisons come in long runs under one LCID (sorting, searching a list): the thread
    // keeps the last collator it was given and skips the shared map.
    thread_local LCID lastLcid = 0;
    thread_local UCollator* last = nullptr;
    if (last && lastLcid == lcid)
        return last;
    static std::mutex lock;
    static std::map<LCID, CollatorPtr> collators;
    std::lock_guard guard(lock);
    auto it = collators.find(lcid);
    if (it != collators.end()) {
        lastLcid = lcid;
        last = it->second.get();
        return last;
    }
    char name[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode err = U_ZERO_ERROR;
    uloc_getLocaleForLCID(lcid, name, sizeof name, &err);
    if (U_FAILURE(err))
        name[0] = 0;  // root collation
    err = U_ZERO_ERROR;
    CollatorPtr coll(ucol_open(name, &err));
    if (U_FAILURE(err) || !coll) {
        err = U_ZERO_ERROR;
        coll.reset(ucol_open("", &err));
    }
    if (coll)
        ucol_setStrength(coll.get(), UCOL_SECONDARY);
    UCollator* raw = coll.get();
    collators.emplace(lcid, std::move(coll));
    lastLcid = lcid;
    last = raw;
    return raw;
}

struct ConverterDeleter {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterDeleter>;

ConverterPtr OpenConverter(int codePage)
{
    if (codePage == 0)
        codePage = SystemCodePage();
    if (codePage < 1250 || codePage > 1258)
        throw ECodePageError("unsupported code page " + std::to_string(codePage));
    std::string name = "windows-" + std::to_string(codePage);
    UErrorCode err = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(name.c_str(), &err));
    if (U_FAILURE(err) || !conv)
        throw ECodePageError("cannot open converter " + name);
    return conv;
}

}  // namespace

LCID LCIDFromLocaleName(std::string_view name)
{
    std::string posix(name.substr(0, name.find_first_of(".@")));
    if (posix.empty() || posix == "C" || posix == "POSIX")
        return kDefaultLCID;
    char canonical[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode err = U_ZERO_ERROR;
    uloc_canonicalize(posix.c_str(), canonical, sizeof canonical, &err);
    if (U_FAILURE(err))
        return kDefaultLCID;
    LCID lcid = uloc_getLCID(canonical);
    if (lcid == 0) {
        // A language without a country: try its most likely full locale.
        char full[ULOC_FULLNAME_CAPACITY] = {};
        err = U_ZERO_ERROR;
        uloc_addLikelySubtags(canonical, full, sizeof full, &err);
        if (U_SUCCESS(err))
            lcid = uloc_getLCID(full);
    }
    return lcid ? lcid : kDefaultLCID;
}

LCID UserDefaultLCID()
{
    static const LCID lcid = LCIDFromLocaleName(LocaleNameFromEnvironment());
    return lcid;
}

namespace {

int Collate(UCollator* coll, std::u16string_view a, std::u16string_view b)
{
    UCollationResult r = ucol_strcoll(coll, reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                                      reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()));
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

bool IsWordSortMark(char16_t c)
{
    return c == u'-' || c == u'\'';
}

// The text without hyphens and apostrophes, or an empty view when it has none.
std::u16string_view WithoutMarks(std::u16string_view s, std::u16string& buffer)
{
    if (std::none_of(s.begin(), s.end(), IsWordSortMark))
        return s;
    buffer.clear();
    for (char16_t c : s)
        if (!IsWordSortMark(c))
            buffer.push_back(c);
    return buffer;
}

}  // namespace

int CompareTextIgnoreCase(std::u16string_view a, std::u16string_view b, LCID lcid)
{
    UCollator* coll = CollatorFor(lcid);
    if (!coll)
        return a.compare(b);
    // Word order: hyphens and apostrophes count only between texts that are otherwise equal,
    // so "co-op" sorts with "coop" and "it's" with "its".
    std::u16string bufA, bufB;
    const std::u16string_view plainA = WithoutMarks(a, bufA);
    const std::u16string_view plainB = WithoutMarks(b, bufB);
    if (plainA.size() == a.size() && plainB.size() == b.size())
        return Collate(coll, a, b);
    const int r = Collate(coll, plainA, plainB);
    return r != 0 ? r : Collate(coll, a, b);
}

int CodePageOfLCID(LCID lcid)
{
    const std::string lang = LanguageOfLCID(lcid);
    if (lang == "ru")
        return 1251;
    if (lang == "tr")
        return 1254;
    if (lang == "el")
        return 1253;
    if (lang == "cs" || lang == "pl" || lang == "hu")
        return 1250;
    return 1252;
}

int SystemCodePage()
{
    if (const char* v = std::getenv("LEXORA_CODEPAGE"); v && *v) {
        char* end = nullptr;
        long cp = std::strtol(v, &end, 10);
        if (end && *end == 0 && cp >= 1250 && cp <= 1258)
            return static_cast<int>(cp);
    }
    static const int cp = CodePageOfLCID(UserDefaultLCID());
    return cp;
}

std::u16string AnsiToWide(std::string_view text, int codePage)
{
    if (text.empty())
        return {};
    ConverterPtr conv = OpenConverter(codePage);
    std::u16string out(text.size() * 2 + 1, u'\0');
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(conv.get(), reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                              text.data(), static_cast<int32_t>(text.size()), &err);
    if (U_FAILURE(err))
        throw ECodePageError("code page conversion failed");
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string WideToAnsi(std::u16string_view text, int codePage, bool* lossy)
{
    if (lossy)
        *lossy = false;
    if (text.empty())
        return {};
    ConverterPtr conv = OpenConverter(codePage);
    // Convert one code point at a time and stop at each unmappable one, so that it becomes
    // one '?' and is counted.
    UErrorCode err = U_ZERO_ERROR;
    ucnv_setFromUCallBack(conv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t len = (U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) ? 2 : 1;
        char buf[8];
        err = U_ZERO_ERROR;
        int32_t n = ucnv_fromUChars(conv.get(), buf, sizeof buf, reinterpret_cast<const UChar*>(text.data() + i),
                                    static_cast<int32_t>(len), &err);
        if (U_FAILURE(err) || n <= 0) {
            out.push_back('?');
            if (lossy)
                *lossy = true;
        } else {
            out.append(buf, static_cast<size_t>(n));
        }
        ucnv_reset(conv.get());
        i += len;
    }
    return out;
}

std::u16string Utf8ToWide(std::string_view text)
{
    std::u16string out(text.size() + 1, u'\0');
    int32_t n = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &n, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &err);
    if (U_FAILURE(err))
        return {};
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string WideToUtf8(std::u16string_view text)
{
    std::string out(text.size() * 3 + 1, '\0');
    int32_t n = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n, reinterpret_cast<const UChar*>(text.data()),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &err);
    if (U_FAILURE(err))
        return {};
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace Platform
