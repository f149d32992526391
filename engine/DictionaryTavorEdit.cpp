// The user's words of a maker's dictionary: adding, deleting and editing them in the ".TDE".
// Each operation writes the whole new file under the temporary name and renames it into place.
#include "engine/Dictionary.h"
#include "engine/DictionaryEdit.h"
#include "engine/WideStringList.h"

#include <cerrno>
#include <cstdio>

using namespace Dictionary;

namespace {

// Loads the ".TDE" (an empty image when Create is set and there is none), lets Change edit the
// image and writes the whole new file in its place; a file left without words is removed.
// Change returns Done to go on with the rewrite, any other result to give up.
template <typename Change> AddWordResult RewriteUserWords(const TTavorDictionary& d, bool create, Change&& change)
{
    try {
        const std::string name = d.UserWordsFileName(false);
        const bool exists = FileExists(name);
        if (!exists && !create)
            return WordResult::OtherFailure;
        Platform::TSafeFile temp(name, d.UserWordsFileName(true));
        TEditImage image = exists ? LoadUserWordsImage(TDictionaryFile(name)) : EmptyUserWordsImage();
        if (const AddWordResult result = change(image); result != WordResult::Done)
            return result;
        const std::string bytes = SerializeUserWords(image);
        if (static_cast<std::int64_t>(bytes.size()) == kUserWordsHeadSize) {
            temp.Discard();
            if (std::remove(name.c_str()) != 0)
                throw EDictionaryIOError(errno, "cannot remove \"" + name + "\"");
            Platform::SyncFolder(std::filesystem::path(name).parent_path());
            return WordResult::Done;
        }
        temp.Write(bytes);
        temp.Commit();
        return WordResult::Done;
    } catch (...) {
        return ResultOfException(std::current_exception());
    }
}

}  // namespace

bool TTavorDictionary::IsDictionaryLetter(char16_t l) const
{
    if (l == 0)
        return false;
    if (FindLetterSection(Sections, l) != kNotFound)
        return true;
    // A letter filed with another one (CHARS) belongs to the dictionary too.
    for (const std::u16string& group : LetterGroups)
        if (group.find(l) != std::u16string::npos)
            return true;
    return false;
}

AddWordResult TTavorDictionary::AddWord(const std::u16string& word, const std::string& article)
{
    if (word.empty() || HasLineBreak(word))
        return WordResult::OtherFailure;
    const char16_t l = UpCaseLetter(word[0]);
    const std::u16string w = TrimWord(word);
    return RewriteUserWords(*this, true, [&](TEditImage& image) {
        if (!IsDictionaryLetter(l))
            throw EWrongLanguage("Wrong language!");
        int section = image.FindUsed(l);
        std::int32_t newIndex = 0;
        if (section >= 0) {
            std::vector<std::u16string>& lines = image.Lines[section];
            for (const std::u16string& s : lines)
                if (WideCompare(s, w, Platform::UserDefaultLCID()) == 0)
                    throw EWordExist("Words Exist");
            lines.push_back(w);
            newIndex = image.FirstIndexOf(section) + static_cast<std::int32_t>(lines.size()) - 1;
        } else {
            if (image.Used >= kLetterSections)
                return WordResult::SectionsFull;
            section = image.Used++;
            image.Table[section] = TSectionEntry{l, 0, 0, 0, 1, 0};
            image.Lines[section] = {w};
            newIndex = image.FirstIndexOf(section);
        }
        image.Articles.insert(image.Articles.begin() + newIndex, TEditArticle{article, kAppendedPlace, true});
        return WordResult::Done;
    });
}

AddWordResult TTavorDictionary::DeleteWord(std::int32_t indexInSection)
{
    const std::int32_t section = UserSection;
    return RewriteUserWords(*this, false, [&](TEditImage& image) {
        image.DeleteWord(section, indexInSection);
        if (image.Lines[section].empty()) {
            // The section is freed: the later ones move up one place.
            for (int i = section; i + 1 < image.Used; ++i) {
                image.Table[i] = image.Table[i + 1];
                image.Lines[i] = std::move(image.Lines[i + 1]);
            }
            image.Lines[--image.Used].clear();
        }
        return WordResult::Done;
    });
}

AddWordResult TTavorDictionary::EditWord(std::int32_t indexInSection, const std::string& article)
{
    const std::int32_t section = UserSection;
    return RewriteUserWords(*this, false, [&](TEditImage& image) {
        TEditArticle& a = image.ArticleOf(section, indexInSection);
        a.Bytes = article;
        a.Readable = true;
        return WordResult::Done;
    });
}
