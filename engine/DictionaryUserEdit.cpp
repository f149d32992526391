// Adding, deleting and editing words of a user dictionary (".UDD"). The whole new file is
// written under the TEMP name and renamed into place; the object then reads it again. On any
// failure the old file stays and the object reads its table from it again.
#include "engine/CompressedText.h"
#include "engine/Dictionary.h"
#include "engine/DictionaryEdit.h"
#include "engine/WideStringList.h"

using namespace Dictionary;

namespace {

// The sorted search of a word list: the first equal word met, else the insertion point.
bool FindSorted(const std::vector<std::u16string>& lines, const std::u16string& w, std::size_t& index)
{
    const Platform::LCID lcid = Platform::UserDefaultLCID();
    int at = 0;
    const bool found = SortedSearch(
        static_cast<int>(lines.size()), [&](int i) { return WideCompare(lines[static_cast<std::size_t>(i)], w, lcid); },
        false, at);
    index = static_cast<std::size_t>(at);
    return found;
}

}  // namespace

template <typename Change> static AddWordResult RewriteUserDictionary(TUserDictionary& d, Change&& change)
{
    AddWordResult result = WordResult::Done;
    try {
        if (!d.FileStream)
            throw EDictionaryFormatError("no open dictionary file");
        Platform::TSafeFile temp(d.FileName, d.FileName + "TEMP");
        TEditImage image = LoadUserDictionaryImage(*d.FileStream);
        change(image);
        temp.Write(SerializeUserDictionary(image));
        temp.Commit();
    } catch (...) {
        result = ResultOfException(std::current_exception());
    }
    // Success or not, the object describes the file that is on disk now.
    d.CommitRewrite();
    return result;
}

AddWordResult TUserDictionary::AddWord(const std::u16string& word, const std::string& article)
{
    if (word.empty() || HasLineBreak(word))
        return WordResult::OtherFailure;
    const char16_t l = UpCaseLetter(word[0]);
    const std::u16string w = TrimWord(word);
    return RewriteUserDictionary(*this, [&](TEditImage& image) {
        const int section = image.FindUsed(l);
        if (section < 0)
            throw EWrongLanguage("Wrong language");
        std::vector<std::u16string>& lines = image.Lines[section];
        std::size_t p = 0;
        if (FindSorted(lines, w, p))
            throw EWordExist("Word Exist");
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(p), w);
        const std::size_t newIndex = static_cast<std::size_t>(image.FirstIndexOf(section)) + p;
        image.Articles.insert(image.Articles.begin() + static_cast<std::ptrdiff_t>(newIndex),
                              TEditArticle{CompressText(article), kAppendedPlace, true});
    });
}

AddWordResult TUserDictionary::DeleteWord(std::int32_t indexInSection)
{
    const std::int32_t section = CurrentSection;
    return RewriteUserDictionary(*this, [&](TEditImage& image) { image.DeleteWord(section, indexInSection); });
}

AddWordResult TUserDictionary::EditWord(std::int32_t indexInSection, const std::string& article)
{
    const std::int32_t section = CurrentSection;
    return RewriteUserDictionary(*this, [&](TEditImage& image) {
        TEditArticle& a = image.ArticleOf(section, indexInSection);
        a.Bytes = CompressText(article);
        a.Readable = true;
    });
}
