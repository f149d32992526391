#include "engine/DictionaryEdit.h"

#include "engine/CompressedText.h"
#include "engine/WideStringList.h"
#include "engine/WideText.h"

#include <algorithm>
#include <numeric>

namespace Dictionary {

namespace {

std::int32_t ToInt32(std::int64_t v)
{
    if (v < 0 || v > std::numeric_limits<std::int32_t>::max())
        throw EDictionaryFormatError("user file too large");
    return static_cast<std::int32_t>(v);
}

// Reads the lists of the leading used entries and checks that counts and first indexes agree
// with them, so that words and articles stay paired through the rewrite.
void LoadLists(const TDictionaryFile& f, TEditImage& image)
{
    image.Used = 0;
    while (image.Used < kLetterSections && image.Table[image.Used].Free == 0)
        ++image.Used;
    std::int64_t running = 0;
    for (int i = 0; i < image.Used; ++i) {
        const TSectionEntry& e = image.Table[i];
        image.Lines[i] = SplitLines(BytesToWide(f.Read(e.Offset, e.Length)));
        const auto n = static_cast<std::int64_t>(image.Lines[i].size());
        if (e.WordCount != n || (n > 0 && e.FirstWordIndex != running))
            throw EDictionaryFormatError("section table disagrees with its word lists");
        running += n;
    }
}

void LoadArticles(const TDictionaryFile& f, std::int64_t indexPos, TEditImage& image)
{
    if (indexPos < 0 || indexPos > f.Size())
        throw EDictionaryFormatError("article index outside the file");
    const std::vector<TIndexRecord> records = DecodeIndexRecords(f.Read(indexPos, f.Size() - indexPos));
    std::size_t words = 0;
    for (int i = 0; i < image.Used; ++i)
        words += image.Lines[i].size();
    if (records.size() != words)
        throw EDictionaryFormatError("article index disagrees with the word count");
    image.Articles.resize(records.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        TEditArticle& a = image.Articles[k];
        a.Place = records[k].Offset;
        try {
            a.Bytes = f.Read(records[k].Offset, records[k].Length);
        } catch (const EDictionaryFormatError&) {
            a.Readable = false;  // fatal only when the article stays
        }
    }
}

// Places the lists of the used entries from Pos on and fills in their entries.
std::string LayOutLists(TEditImage& image, std::int64_t& pos)
{
    std::string bytes;
    std::int64_t running = 0;
    for (int i = 0; i < image.Used; ++i) {
        TSectionEntry& e = image.Table[i];
        const std::string list = WideToBytes(JoinLines(image.Lines[i]));
        e.Offset = ToInt32(pos);
        e.Length = ToInt32(static_cast<std::int64_t>(list.size()));
        e.FirstWordIndex = ToInt32(running);
        e.WordCount = ToInt32(static_cast<std::int64_t>(image.Lines[i].size()));
        e.Free = 0;
        running += e.WordCount;
        pos += static_cast<std::int64_t>(list.size());
        bytes += list;
    }
    return bytes;
}

// The articles in their old physical order (new ones last) from Pos on; the index records in
// word order.
std::string LayOutArticles(const TEditImage& image, std::int64_t& pos, std::vector<TIndexRecord>& records)
{
    std::vector<std::size_t> order(image.Articles.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return image.Articles[a].Place < image.Articles[b].Place; });
    records.assign(image.Articles.size(), {});
    std::string bytes;
    for (std::size_t k : order) {
        const TEditArticle& a = image.Articles[k];
        if (!a.Readable)
            throw EDictionaryFormatError("an article of the file lies outside it");
        records[k] = {pos, static_cast<std::int64_t>(a.Bytes.size())};
        pos += static_cast<std::int64_t>(a.Bytes.size());
        bytes += a.Bytes;
    }
    return bytes;
}

}  // namespace

std::int32_t TEditImage::FirstIndexOf(int section) const
{
    std::int64_t first = 0;
    for (int i = 0; i < section; ++i)
        first += static_cast<std::int64_t>(Lines[i].size());
    return ToInt32(first);
}

int TEditImage::FindUsed(char16_t l) const
{
    for (int i = 0; i < Used; ++i)
        if (Table[i].Letter == l)
            return i;
    return -1;
}

TEditArticle& TEditImage::ArticleOf(int section, std::int32_t indexInSection)
{
    if (section < 0 || section >= Used || indexInSection < 0
        || static_cast<std::size_t>(indexInSection) >= Lines[section].size())
        throw EDictionaryFormatError("no such word in the section");
    return Articles[static_cast<std::size_t>(FirstIndexOf(section) + indexInSection)];
}

void TEditImage::DeleteWord(int section, std::int32_t indexInSection)
{
    TEditArticle& article = ArticleOf(section, indexInSection);
    Articles.erase(Articles.begin() + (&article - Articles.data()));
    Lines[section].erase(Lines[section].begin() + indexInSection);
}

TEditImage EmptyUserWordsImage()
{
    TEditImage image;
    image.Table.fill(FreeWordsEntry());
    return image;
}

TEditImage LoadUserWordsImage(const TDictionaryFile& f)
{
    TEditImage image;
    const TAreaOffsets head = DecodeAreaOffsets(f.Read(0, 24));
    image.Table = DecodeSectionTable(f.Read(kUserWordsTablePos, kTableSize));
    LoadLists(f, image);
    if (f.Size() > kUserWordsHeadSize)
        LoadArticles(f, head.H1, image);
    else if (image.FirstIndexOf(image.Used) != 0)
        throw EDictionaryFormatError("words without an article index");
    return image;
}

TEditImage LoadUserDictionaryImage(const TDictionaryFile& f)
{
    TEditImage image;
    if (f.Read(0, kMagic.size()) != kMagic)
        throw EDictionaryFormatError("not a dictionary file");
    const TAreaOffsets head = DecodeAreaOffsets(f.Read(kHeadOffsetsPos, 24));
    image.Table = DecodeSectionTable(f.Read(kTablePos, kTableSize));
    LoadLists(f, image);
    LoadArticles(f, head.H1, image);
    const TSectionEntry& info = image.Table[kInfoSection];
    const TSectionEntry& desc = image.Table[kDescriptionSection];
    image.InfoRecord = f.Read(info.Offset, info.Length);
    image.Description = f.Read(desc.Offset, desc.Length);
    return image;
}

std::string SerializeUserWords(const TEditImage& source)
{
    TEditImage image = source;
    std::int64_t pos = kUserWordsHeadSize;
    const std::string lists = LayOutLists(image, pos);
    for (int i = image.Used; i < kSectionCount; ++i)
        image.Table[i] = FreeWordsEntry();
    TAreaOffsets head;
    head.H0 = kUserWordsHeadSize;
    head.H2 = pos;
    std::vector<TIndexRecord> records;
    const std::string area = LayOutArticles(image, pos, records);
    head.H1 = pos;

    std::string out = EncodeAreaOffsets(head);
    out += EncodeSectionTable(image.Table);
    out += lists;
    out += area;
    out += EncodeIndexRecords(records);
    return out;
}

std::string SerializeUserDictionary(const TEditImage& source)
{
    TEditImage image = source;
    std::int64_t pos = kUserTableEnd;
    std::string body = LayOutLists(image, pos);
    TSectionEntry& info = image.Table[kInfoSection];
    info.Offset = ToInt32(pos);
    info.Length = ToInt32(static_cast<std::int64_t>(image.InfoRecord.size()));
    pos += info.Length;
    body += image.InfoRecord;
    TSectionEntry& desc = image.Table[kDescriptionSection];
    desc.Offset = ToInt32(pos);
    desc.Length = ToInt32(static_cast<std::int64_t>(image.Description.size()));
    pos += desc.Length;
    body += image.Description;
    TAreaOffsets head;
    head.H0 = kUserTableEnd;
    head.H2 = pos;
    std::vector<TIndexRecord> records;
    body += LayOutArticles(image, pos, records);
    head.H1 = pos;

    std::string out(kMagic);
    out += EncodeAreaOffsets(head);
    out += EncodeSectionTable(image.Table);
    out += body;
    out += EncodeIndexRecords(records);
    return out;
}

std::u16string TrimWord(std::u16string_view word)
{
    return WideTrim(word);
}

bool HasLineBreak(std::u16string_view word)
{
    return std::any_of(word.begin(), word.end(), [](char16_t c) {
        return c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\u2028' || c == u'\u2029' || c == 0;
    });
}

AddWordResult ResultOfException(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const EWordExist&) {
        return WordResult::WordExists;
    } catch (const EWrongLanguage&) {
        return WordResult::WrongLanguage;
    } catch (const Platform::ESafeFileError& x) {
        using S = Platform::ESafeFileError::TStage;
        return x.Stage() == S::Write || x.Stage() == S::Sync ? WordResult::WriteError : WordResult::InOutError;
    } catch (const EDictionaryIOError&) {
        return WordResult::InOutError;
    } catch (...) {
        return WordResult::OtherFailure;
    }
}

}  // namespace Dictionary
