// The user's words of a maker's dictionary: adding, deleting and editing them in the ".TDE".
// Each operation writes the whole new file under the temporary name and renames it into place.
#include "engine/Dictionary.h"
#include "engine/DictionaryEdit.h"
#include "engine/WideStringList.h"

#include <cerrno>
#include <cstdio>

using namespace Dictionary;

namespace {

// The used entry UserSection of the image, checked, and the word's absolute index.
std::int32_t CheckedUserWord(const TEditImage& image, std::int32_t section, std::int32_t indexInSection)
{
    if (section < 0 || section >= image.Used)
        throw EDictionaryFormatError("no user-word section selected");
    if (indexInSection < 0 || static_cast<std::size_t>(indexInSection) >= image.Lines[section].size())
        throw EDictionaryFormatError("no such word in the section");
    return image.FirstIndexOf(section) + indexInSection;
}

} // namespace

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
    try {
        if (word.empty() || HasLineBreak(word))
            throw EDictionaryFormatError("not a word");
        const char16_t l = UpCaseLetter(word[0]);
        const std::u16string w = TrimWord(word);
        const std::string name = UserWordsFileName(false);
        Platform::TSafeFile temp(name, UserWordsFileName(true));
        TEditImage image = FileExists(name) ? LoadUserWordsImage(TDictionaryFile(name)) : EmptyUserWordsImage();
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
        temp.Write(SerializeUserWords(image));
        temp.Commit();
        return WordResult::Done;
    } catch (...) {
        return ResultOfException(std::current_exception());
    }
}

AddWordResult TTavorDictionary::DeleteWord(std::int32_t indexInSection)
{
    try {
        const std::string name = UserWordsFileName(false);
        if (!FileExists(name))
            return WordResult::OtherFailure;
        Platform::TSafeFile temp(name, UserWordsFileName(true));
        TEditImage image = LoadUserWordsImage(TDictionaryFile(name));
        const std::int32_t k = CheckedUserWord(image, UserSection, indexInSection);
        std::vector<std::u16string>& lines = image.Lines[UserSection];
        lines.erase(lines.begin() + indexInSection);
        image.Articles.erase(image.Articles.begin() + k);
        if (lines.empty()) {
            // The section is freed: the later ones move up one place.
            for (int i = UserSection; i + 1 < image.Used; ++i) {
                image.Table[i] = image.Table[i + 1];
                image.Lines[i] = std::move(image.Lines[i + 1]);
            }
            image.Lines[--image.Used].clear();
        }
        const std::string bytes = SerializeUserWords(image);
        if (static_cast<std::int64_t>(bytes.size()) == kUserWordsHeadSize) {
            // No word left: the user-words file goes.
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

AddWordResult TTavorDictionary::EditWord(std::int32_t indexInSection, const std::string& article)
{
    try {
        const std::string name = UserWordsFileName(false);
        if (!FileExists(name))
            return WordResult::OtherFailure;
        Platform::TSafeFile temp(name, UserWordsFileName(true));
        TEditImage image = LoadUserWordsImage(TDictionaryFile(name));
        const std::int32_t k = CheckedUserWord(image, UserSection, indexInSection);
        image.Articles[k].Bytes = article;
        image.Articles[k].Readable = true;
        temp.Write(SerializeUserWords(image));
        temp.Commit();
        return WordResult::Done;
    } catch (...) {
        return ResultOfException(std::current_exception());
    }
}
