#include "data/tddwriter/TddWriter.h"

#include "data/tddwriter/RecordCompressor.h"
#include "engine/CompressedText.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace TddWriter {

using namespace Dictionary;

namespace {

bool IsLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\u2028' || c == u'\u2029' || c == 0;
}

std::int32_t CheckedInt32(std::int64_t v, const char* what)
{
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw std::length_error(std::string("dictionary too large: ") + what);
    return static_cast<std::int32_t>(v);
}

struct TStringSink {
    std::string& Out;
    void Write(std::string_view bytes) { Out.append(bytes); }
};

struct TFileSink {
    Platform::TSafeFile& File;
    void Write(std::string_view bytes) { File.Write(bytes); }
};

}  // namespace

int TTddWriter::AddSection(char16_t letter)
{
    const std::size_t limit = edition_ ? kEditionSection : kLetterSections;
    if (sections_.size() >= limit)
        throw std::length_error("too many letter sections");
    sections_.push_back({letter, {}});
    return static_cast<int>(sections_.size() - 1);
}

void TTddWriter::AddWord(int section, std::u16string word, std::string article)
{
    if (section < 0 || static_cast<std::size_t>(section) >= sections_.size())
        throw std::out_of_range("no such section");
    if (word.empty() || std::any_of(word.begin(), word.end(), IsLineBreak))
        throw std::invalid_argument("a word may not be empty nor hold a line break");
    sections_[section].Words.push_back({std::move(word), std::move(article)});
}

void TTddWriter::SortSections(Platform::LCID lcid)
{
    for (TSection& s : sections_)
        std::stable_sort(s.Words.begin(), s.Words.end(), [lcid](const TWordArticle& a, const TWordArticle& b) {
            return Platform::CompareTextIgnoreCase(a.Word, b.Word, lcid) < 0;
        });
}

void TTddWriter::SetEdition(int edition)
{
    std::string digits = std::to_string(edition);
    edition_ = std::u16string(digits.begin(), digits.end());
}

std::size_t TTddWriter::WordCount() const
{
    std::size_t n = 0;
    for (const TSection& s : sections_)
        n += s.Words.size();
    return n;
}

template <typename Sink> void TTddWriter::Emit(Sink& sink) const
{
    if (edition_ && sections_.size() > static_cast<std::size_t>(kEditionSection))
        throw std::length_error("too many letter sections for a dictionary with an edition");

    // Articles first: the index needs their offsets.
    TRecordCompressor compressor;
    std::string area;
    std::vector<std::int32_t> index;
    index.reserve(WordCount() + 1);
    for (const TSection& s : sections_)
        for (const TWordArticle& w : s.Words) {
            index.push_back(CheckedInt32(static_cast<std::int64_t>(area.size()), "article area"));
            const std::size_t lengthPos = area.size();
            area.append(4, '\0');
            std::size_t n = compressor.AppendRecord(w.Article, area);
            SetInt32(area.data() + lengthPos, static_cast<std::int32_t>(n));
        }
    index.push_back(CheckedInt32(static_cast<std::int64_t>(area.size()), "article area"));

    TSectionTable table;
    for (int i = 0; i < kLetterSections; ++i)
        table[i] = TSectionEntry{0, 0, 0, 0, 0, 1};
    std::vector<std::string> blocks;  // section data from 1229, in order
    std::int64_t pos = kUserTableEnd;
    std::int32_t firstIndex = 0;
    auto place = [&](TSectionEntry& e, std::string bytes) {
        e.Offset = CheckedInt32(pos - kMakerDataBase, "section data");
        e.Length = CheckedInt32(static_cast<std::int64_t>(bytes.size()), "section data");
        pos += static_cast<std::int64_t>(bytes.size());
        blocks.push_back(std::move(bytes));
    };
    for (std::size_t k = 0; k < sections_.size(); ++k) {
        const TSection& s = sections_[k];
        std::u16string text;
        for (const TWordArticle& w : s.Words) {
            text += w.Word;
            text += u"\r\n";
        }
        TSectionEntry& e = table[k];
        e = TSectionEntry{s.Letter, 0, 0, firstIndex, CheckedInt32(static_cast<std::int64_t>(s.Words.size()), "words"),
                          0};
        place(e, WideToBytes(text));
        firstIndex = CheckedInt32(static_cast<std::int64_t>(firstIndex) + e.WordCount, "words");
    }
    table[kInfoSection] = TSectionEntry{u'#', 0, 0, 0, 0, 1};
    place(table[kInfoSection], CompressText(BuildInfoBlock(info_)));
    table[kDescriptionSection] = TSectionEntry{u'#', 0, 0, 0, 0, 1};
    place(table[kDescriptionSection], WideToBytes(BuildDescription(description_)));
    if (edition_) {
        table[kEditionSection] = TSectionEntry{editionLetter_, 0, 0, firstIndex, 0, 0};
        place(table[kEditionSection], WideToBytes(*edition_));
    }

    TAreaOffsets head;
    head.H0 = kMakerH0;
    head.H1 = pos - kHeadOffsetsPos;
    pos += static_cast<std::int64_t>(index.size()) * 4;
    head.H2 = pos - kHeadOffsetsPos;
    CheckedInt32(pos + static_cast<std::int64_t>(area.size()), "file");

    std::string front(kMagic);
    front += EncodeAreaOffsets(head);
    front += EncodeSectionTable(table);
    sink.Write(front);
    for (const std::string& b : blocks)
        sink.Write(b);
    std::string indexBytes;
    indexBytes.reserve(index.size() * 4);
    for (std::int32_t v : index)
        PutInt32(indexBytes, v);
    sink.Write(indexBytes);
    sink.Write(area);
}

std::string TTddWriter::Build() const
{
    std::string out;
    TStringSink sink{out};
    Emit(sink);
    return out;
}

void TTddWriter::Write(const std::string& path) const
{
    Platform::TSafeFile file(path);
    TFileSink sink{file};
    Emit(sink);
    file.Commit();
}

}  // namespace TddWriter
