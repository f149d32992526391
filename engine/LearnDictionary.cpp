#include "engine/LearnDictionary.h"

#include "engine/CompressedText.h"
#include "engine/LittleEndian.h"
#include "platform/SafeFile.h"

#include <filesystem>
#include <limits>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kHeader = TLearnDictionary::HeaderSize;
constexpr std::int64_t kItem = TLearnItem::Size;
constexpr char kTempListName[] = "TempList.tmp";
constexpr char kRewriteName[] = "ins.tmp";

using TReader = std::function<std::string(std::int64_t offset, std::int64_t length)>;

struct TListLayout {
    std::string Pair;
    std::int64_t Header[4] = {};  // word-list offset, its length, article area, item table
    std::u16string Text;
    std::vector<TLearnItem> Items;
};

std::string HeaderBytes(std::int64_t wordListOffset, std::int64_t wordListLength, std::int64_t articleArea,
                        std::int64_t itemTable)
{
    std::string bytes;
    for (std::int64_t v : {wordListOffset, wordListLength, articleArea, itemTable})
        PutInt64(bytes, v);
    return bytes;
}

std::string ItemBytes(const std::vector<TLearnItem>& items)
{
    std::string bytes;
    bytes.reserve(items.size() * kItem);
    for (const TLearnItem& item : items) {
        PutInt32(bytes, item.WordIndex);
        PutInt32(bytes, 0);
        PutInt64(bytes, item.ArticleOffset);
        PutInt32(bytes, item.ArticleLength);
        PutInt32(bytes, 0);
    }
    return bytes;
}

int LineCount(std::u16string_view text)
{
    TWideStringList lines;
    lines.SetTextStr(text);
    return lines.Count();
}

// True when Text reads back as Lines lines and joins again to the same text.
bool IsLineList(std::u16string_view text, int lines)
{
    TWideStringList list;
    list.SetTextStr(text);
    return list.Count() == lines && list.GetTextStr() == text;
}

// The stored form of an article: compressed, its length within an item's 32 bits.
std::string CompressedArticle(std::string_view article)
{
    std::string bytes = CompressText(article);
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw ELearnListError("the article is too long");
    return bytes;
}

[[noreturn]] void Damaged(const std::string& what)
{
    throw ELearnListError("Damaged learning list: " + what + ".");
}

// Reads and checks the layout of a list of Size bytes: the word list right after the header,
// the article area after it, the item table after that, every article inside the area and
// one item per word.
TListLayout ParseLayout(std::int64_t size, const TReader& read)
{
    if (size < kHeader)
        throw ELearnListError("Stream read error: the learning list is shorter than its header.");
    TListLayout layout;
    const std::string head = read(0, kHeader);
    layout.Pair = head.substr(0, 6);
    while (!layout.Pair.empty() && layout.Pair.back() == '\0')
        layout.Pair.pop_back();
    for (int i = 0; i < 4; ++i)
        layout.Header[i] = GetInt64(head.data() + 6 + 8 * i);

    const auto [wordList, wordLength, articles, itemTable] = layout.Header;
    if (wordList == 0)
        return layout;  // a new, empty list
    if (wordList != kHeader)
        Damaged("the word list does not follow the header");
    if (wordLength < 0 || wordLength > size - kHeader || articles < kHeader + wordLength || articles > size
        || itemTable < articles || itemTable > size)
        Damaged("its areas overlap or lie past its end");

    layout.Text = BytesToWide(read(kHeader, wordLength));
    const std::string table = read(itemTable, (size - itemTable) / kItem * kItem);
    for (std::size_t at = 0; at + kItem <= table.size(); at += kItem) {
        TLearnItem item;
        item.WordIndex = GetInt32(table.data() + at);
        item.ArticleOffset = GetInt64(table.data() + at + 8);
        item.ArticleLength = GetInt32(table.data() + at + 16);
        if (item.ArticleLength < 0 || item.ArticleOffset < articles || item.ArticleOffset > itemTable
            || item.ArticleLength > itemTable - item.ArticleOffset)
            Damaged("an article lies outside the article area");
        layout.Items.push_back(item);
    }
    if (LineCount(layout.Text) != static_cast<int>(layout.Items.size()))
        Damaged("the number of words and of items differ");
    return layout;
}

fs::path FolderOf(const std::string& fileName)
{
    fs::path folder = fs::path(fileName).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

TLearnDictionary::TLearnDictionary(std::string Folder)
    : Folder(std::move(Folder))
{
}

TLearnDictionary::~TLearnDictionary()
{
    ListStream.close();
}

std::string TLearnDictionary::ReadRange(std::int64_t offset, std::int64_t length)
{
    if (!ListStream.is_open() || offset < 0 || length < 0 || offset > listSize_ || length > listSize_ - offset)
        throw ELearnListError("Stream read error: a range past the end of the learning list.");
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ListStream.clear();
    ListStream.seekg(offset);
    if (!ListStream.read(bytes.data(), length)) {
        ListStream.clear();
        throw ELearnListError("Stream read error in the learning list.");
    }
    return bytes;
}

std::string TLearnDictionary::PairBytes() const
{
    std::string pair = LanguagePair.substr(0, 6);
    pair.resize(6, '\0');
    return pair;
}

void TLearnDictionary::SetLanguagePair(const std::string& Pair)
{
    LanguagePair = Pair;
}

void TLearnDictionary::NewList()
{
    // Only the file is closed: the pair set for the new list stays.
    ListStream.close();
    Closed = true;
    try {
        const std::string name = (fs::path(Folder) / kTempListName).string();
        Platform::WriteFileAtomically(name, PairBytes() + std::string(32, '\0'));
        LoadFromFile(name);
        Words.Clear();
        Items.clear();
        Modified = !Closed;
    } catch (...) {
        ListStream.close();
        Closed = true;
        Modified = false;
    }
}

void TLearnDictionary::LoadFromFile(const std::string& FileName)
{
    std::error_code ec;
    if (!fs::exists(FileName, ec))
        return;
    try {
        ListStream.close();
        ListStream.clear();
        ListStream.open(FileName, std::ios::binary);
        if (!ListStream)
            throw ELearnListError("Cannot open file \"" + FileName + "\".");
        listSize_ = static_cast<std::int64_t>(fs::file_size(FileName));
        TListLayout layout = ParseLayout(
            listSize_, [this](std::int64_t offset, std::int64_t length) { return ReadRange(offset, length); });

        WordListOffset = layout.Header[0];
        WordListLength = layout.Header[1];
        ArticleAreaOffset = layout.Header[2];
        ItemTableOffset = layout.Header[3];
        LanguagePair = layout.Pair;
        ListFileName = FileName;
        // A list without words empties the store, so that line n stays item n.
        Words.SetTextStr(layout.Text);
        Items = std::move(layout.Items);
        Modified = false;
        Closed = false;
    } catch (const ELearnListError&) {
        Close();
        throw;
    } catch (const std::exception& e) {
        Close();
        throw ELearnListError(std::string("Cannot read the learning list: ") + e.what());
    }
}

bool TLearnDictionary::SaveToFile(const std::string& FileName)
{
    if (Closed)
        return false;
    try {
        const std::string bytes = ReadRange(0, listSize_);
        Platform::WriteFileAtomically(FileName, bytes);
    } catch (...) {
        return false;
    }
    try {
        ListStream.close();
        Closed = true;
        LoadFromFile(FileName);
        Modified = false;
        return !Closed;
    } catch (...) {
        return false;
    }
}

void TLearnDictionary::Close()
{
    ListStream.close();
    ListStream.clear();
    listSize_ = 0;
    Closed = true;
    LanguagePair.clear();
    ListFileName.clear();
    Items.clear();
    Modified = false;
}

bool TLearnDictionary::Rewrite(const std::function<std::string()>& build)
{
    WriteError.clear();
    if (Closed)
        return false;
    try {
        const std::string bytes = build();
        // The new file must read back as a sound list before it replaces the old one.
        ParseLayout(static_cast<std::int64_t>(bytes.size()), [&bytes](std::int64_t offset, std::int64_t length) {
            return bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
        });
        Platform::TSafeFile file(ListFileName, FolderOf(ListFileName) / kRewriteName);
        file.Write(bytes);
        file.Commit();
    } catch (const Platform::ESafeFileError& e) {
        WriteError = e.what();
        return false;
    } catch (...) {
        return false;
    }
    const bool modified = Modified;
    try {
        ListStream.close();
        Closed = true;
        LoadFromFile(ListFileName);
    } catch (...) {
        return false;
    }
    Modified = modified;
    return !Closed;
}

bool TLearnDictionary::AddWord(std::int32_t WordIndex, std::u16string_view Word, std::string_view Article)
{
    return Rewrite([&] {
        const bool hadWords = WordListOffset != 0;
        const std::u16string oldText = hadWords ? Words.GetTextStr() : std::u16string();
        const std::u16string newText = oldText + std::u16string(Word) + u"\r\n";
        const int words = hadWords ? Words.Count() : 0;
        if (!IsLineList(newText, words + 1))
            throw ELearnListError("the word does not make one line");

        std::string out = PairBytes() + std::string(32, '\0') + WideToBytes(newText);
        const std::int64_t articleArea = static_cast<std::int64_t>(out.size());
        std::vector<TLearnItem> items;
        if (hadWords) {
            out += ReadRange(ArticleAreaOffset, ItemTableOffset - ArticleAreaOffset);
            const std::int64_t shift = 2 * static_cast<std::int64_t>(newText.size() - oldText.size());
            items = Items;
            for (TLearnItem& item : items)
                item.ArticleOffset += shift;
        }
        const std::string article = CompressedArticle(Article);
        items.push_back({WordIndex, static_cast<std::int64_t>(out.size()), static_cast<std::int32_t>(article.size())});
        out += article;
        const std::int64_t itemTable = static_cast<std::int64_t>(out.size());
        out += ItemBytes(items);
        out.replace(6, 32, HeaderBytes(kHeader, 2 * static_cast<std::int64_t>(newText.size()), articleArea, itemTable));
        return out;
    });
}

bool TLearnDictionary::DeleteWord(std::int32_t Index)
{
    return Rewrite([&] {
        if (WordListOffset == 0 || Index < 0 || Index >= static_cast<std::int32_t>(Items.size())
            || Index >= Words.Count())
            throw ELearnListError("no such word");
        const std::u16string oldText = Words.GetTextStr();
        std::u16string newText;
        for (int i = 0; i < Words.Count(); ++i) {
            if (i != Index)
                newText += Words.Strings(i) + u"\r\n";
        }
        const std::int64_t shift = 2 * static_cast<std::int64_t>(oldText.size() - newText.size());

        std::string out = PairBytes() + std::string(32, '\0') + WideToBytes(newText);
        const std::int64_t articleArea = static_cast<std::int64_t>(out.size());
        const TLearnItem removed = Items[Index];
        const bool last = Index == static_cast<std::int32_t>(Items.size()) - 1;
        out += ReadRange(ArticleAreaOffset, removed.ArticleOffset - ArticleAreaOffset);
        if (!last)
            out += ReadRange(Items[Index + 1].ArticleOffset, ItemTableOffset - Items[Index + 1].ArticleOffset);
        const std::int64_t itemTable = static_cast<std::int64_t>(out.size());

        std::vector<TLearnItem> items;
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(Items.size()); ++i) {
            if (i == Index)
                continue;
            TLearnItem item = Items[i];
            item.ArticleOffset -= shift + (i > Index ? removed.ArticleLength : 0);
            items.push_back(item);
        }
        out += ItemBytes(items);
        out.replace(6, 32, HeaderBytes(kHeader, 2 * static_cast<std::int64_t>(newText.size()), articleArea, itemTable));
        return out;
    });
}

bool TLearnDictionary::ReplaceArticle(std::int32_t Index, std::string_view Article)
{
    return Rewrite([&] {
        if (WordListOffset == 0 || Index < 0 || Index >= static_cast<std::int32_t>(Items.size()))
            throw ELearnListError("no such word");
        std::string out = ReadRange(0, ArticleAreaOffset);
        std::vector<TLearnItem> items = Items;
        TLearnItem& replaced = items[Index];
        out += ReadRange(ArticleAreaOffset, replaced.ArticleOffset - ArticleAreaOffset);

        const std::string article = CompressedArticle(Article);
        const std::int64_t delta = static_cast<std::int64_t>(article.size()) - replaced.ArticleLength;
        replaced.ArticleOffset = static_cast<std::int64_t>(out.size());
        replaced.ArticleLength = static_cast<std::int32_t>(article.size());
        out += article;
        if (Index != static_cast<std::int32_t>(Items.size()) - 1)
            out += ReadRange(Items[Index + 1].ArticleOffset, ItemTableOffset - Items[Index + 1].ArticleOffset);
        const std::int64_t itemTable = static_cast<std::int64_t>(out.size());
        for (std::size_t i = static_cast<std::size_t>(Index) + 1; i < items.size(); ++i)
            items[i].ArticleOffset += delta;
        out += ItemBytes(items);
        out.replace(6, 32, HeaderBytes(WordListOffset, WordListLength, ArticleAreaOffset, itemTable));
        return out;
    });
}

std::string TLearnDictionary::GetArticle(std::int32_t Index)
{
    if (Closed || Index < 0 || Index >= static_cast<std::int32_t>(Items.size()))
        return {};
    try {
        return DecompressText(ReadRange(Items[Index].ArticleOffset, Items[Index].ArticleLength));
    } catch (...) {
        return {};
    }
}

std::u16string TLearnDictionary::GetWordListText()
{
    if (Closed)
        return {};
    try {
        return BytesToWide(ReadRange(WordListOffset, WordListLength));
    } catch (...) {
        return {};
    }
}

std::int32_t TLearnDictionary::GetWordIndex(std::int32_t Index) const
{
    if (Index < 0 || Index >= static_cast<std::int32_t>(Items.size()))
        return -1;
    return Items[Index].WordIndex;
}

bool TLearnDictionary::HasWordIndex(std::int32_t WordIndex) const
{
    for (const TLearnItem& item : Items) {
        if (item.WordIndex == WordIndex)
            return true;
    }
    return false;
}

bool TLearnDictionary::IsEmpty() const
{
    return Closed || Words.Count() == 0;
}
