#include "data/sample/FreedictConverter.h"

#include "data/sample/ArticleRtf.h"
#include "data/sample/FreedictEntry.h"
#include "platform/Locale.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace SampleData {
namespace {

bool IsDatabaseInfo(const std::string& key)
{
    return key.rfind("00database", 0) == 0 || key.rfind("00-database", 0) == 0;
}

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

// Sort keys of the language's collation at secondary strength: the order in which a sorted
// word list of that locale keeps its words (letter case ignored, accents counted).
class TSortKeys {
public:
    explicit TSortKeys(std::uint32_t lcid)
    {
        char name[ULOC_FULLNAME_CAPACITY] = {};
        UErrorCode err = U_ZERO_ERROR;
        uloc_getLocaleForLCID(lcid, name, sizeof name, &err);
        if (U_FAILURE(err))
            name[0] = 0;
        err = U_ZERO_ERROR;
        Collator.reset(ucol_open(name, &err));
        if (U_FAILURE(err) || !Collator)
            throw std::runtime_error("no collator for the dictionary's language");
        ucol_setStrength(Collator.get(), UCOL_SECONDARY);
    }

    std::string Key(const std::u16string& word) const
    {
        std::string key(word.size() * 4 + 16, '\0');
        for (;;) {
            const int32_t n = ucol_getSortKey(Collator.get(), reinterpret_cast<const UChar*>(word.data()),
                                              static_cast<int32_t>(word.size()), reinterpret_cast<uint8_t*>(key.data()),
                                              static_cast<int32_t>(key.size()));
            if (n <= static_cast<int32_t>(key.size())) {
                key.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);  // without the terminating zero
                return key;
            }
            key.resize(static_cast<std::size_t>(n));
        }
    }

private:
    std::unique_ptr<UCollator, CollatorCloser> Collator;
};

struct THeadword {
    std::u16string Word;
    std::vector<TFreedictEntry> Senses;
};

}  // namespace

Dictionary::TDictionaryInfo MakeInfo(const TConvertOptions& o)
{
    Dictionary::TDictionaryInfo info;
    info.Number = std::to_string(o.Number);
    info.Date = o.Date;
    info.Name = o.Name;
    info.Description = o.Publisher;
    info.ShellTag = "@X1";
    info.KindKey = "TavorLanguage";
    info.LanguagePair = o.SourceCode + o.TargetCode;
    info.FileName = o.FileName;
    info.Sounds = o.HasSounds ? "Sounds" : "";
    return info;
}

TConvertedDictionary ConvertFreedict(const TDictdDatabase& db, const TConvertOptions& options)
{
    const TLanguage& source = LanguageByCode(options.SourceCode);
    const TLanguage& target = LanguageByCode(options.TargetCode);
    TSectionPlan plan(source);
    TConvertedDictionary result;

    // Group the entries by display headword, in the order the index first names them;
    // an entry that several index keys name is taken once.
    std::vector<THeadword> headwords;
    std::unordered_map<std::u16string, std::size_t> byWord;
    std::unordered_set<std::uint64_t> seenOffsets;
    for (const TDictdIndexEntry& ie : db.Index()) {
        if (IsDatabaseInfo(ie.Key) || !seenOffsets.insert(ie.Offset).second)
            continue;
        TFreedictEntry entry = ParseFreedictEntry(db.EntryText(ie));
        if (entry.Headword.empty())
            continue;
        ++result.EntryCount;
        auto [it, fresh] = byWord.try_emplace(entry.Headword, headwords.size());
        if (fresh)
            headwords.push_back({entry.Headword, {}});
        headwords[it->second].Senses.push_back(std::move(entry));
    }

    // Sections and their order.
    std::vector<std::vector<std::size_t>> members(static_cast<std::size_t>(plan.OtherSection()) + 1);
    for (std::size_t i = 0; i < headwords.size(); ++i)
        members[static_cast<std::size_t>(plan.Assign(headwords[i].Word))].push_back(i);
    if (members.back().empty())
        members.pop_back();

    const TSortKeys sortKeys(source.LCID);
    const TCodePageMap codePage(options.CodePage);
    for (std::size_t s = 0; s < members.size(); ++s) {
        std::vector<std::size_t>& list = members[s];
        std::vector<std::string> keys(list.size());
        std::vector<std::size_t> order(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            keys[i] = sortKeys.Key(headwords[list[i]].Word);
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            if (keys[a] != keys[b])
                return keys[a] < keys[b];
            return headwords[list[a]].Word < headwords[list[b]].Word;
        });
        TConvertedSection section;
        section.Letter = plan.LetterOf(static_cast<int>(s));
        section.Words.reserve(list.size());
        section.Articles.reserve(list.size());
        for (std::size_t o : order) {
            THeadword& hw = headwords[list[o]];
            std::vector<const TFreedictEntry*> senses;
            for (const TFreedictEntry& e : hw.Senses)
                senses.push_back(&e);
            section.Articles.push_back(BuildArticleRtf(senses, codePage));
            section.Pronunciations.push_back(hw.Senses.front().Pronunciation);
            section.Words.push_back(std::move(hw.Word));
            hw.Senses.clear();
            hw.Senses.shrink_to_fit();
        }
        result.WordCount += section.Words.size();
        result.Sections.push_back(std::move(section));
    }

    result.Description = MakeDescription(source, target, plan, static_cast<int>(result.Sections.size()));
    result.Edition = options.HasSounds ? 0 : 2;
    result.Info = MakeInfo(options);
    return result;
}

}  // namespace SampleData
