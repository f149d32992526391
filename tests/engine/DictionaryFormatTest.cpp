// Records of the dictionary layouts and the maker's-file writer, byte by byte.
#include "DictionaryTestFiles.h"

#include "data/tddwriter/RecordCompressor.h"

#include <zlib.h>

using namespace DictionaryTest;
using namespace Dictionary;

namespace {

TEST(DictionaryFormat, SectionEntryLayout)
{
    const TSectionEntry e{u'\u00C4', 0x01020304, -2, 7, 0x7FFFFFFF, 1};
    char b[24];
    EncodeSectionEntry(e, b);
    const std::string bytes(b, 24);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xC4\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(4, 4), "\x04\x03\x02\x01");
    EXPECT_EQ(bytes.substr(8, 4), "\xFE\xFF\xFF\xFF");
    EXPECT_EQ(bytes.substr(20, 4), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(DecodeSectionEntry(b), e);
    EXPECT_THROW(DecodeSectionTable(std::string(1199, '\0')), EDictionaryFormatError);
}

TEST(DictionaryFormat, InformationBlockFields)
{
    const auto f = SplitInfoFields("01.01#0#12#date#Name#Pub#");
    ASSERT_EQ(f.size(), 11u);
    EXPECT_EQ(f[2], "12");
    EXPECT_EQ(f[5], "Pub");
    EXPECT_EQ(f[6], "");
    EXPECT_EQ(f[10], "");
    EXPECT_EQ(SplitInfoFields("no hash")[0], "");  // without "#" the text stays unread
    EXPECT_EQ(BuildInfoBlock(ParseInfoBlock(BuildInfoBlock(MakerInfo()))), BuildInfoBlock(MakerInfo()));
    TDictionaryInfo wizard;
    wizard.Date = "d";
    wizard.Name = "N";
    wizard.Description = "P";
    wizard.ShellTag = "Ivy_Crate";
    wizard.KindKey = "Language";
    wizard.LanguagePair = "ENGDEU";
    wizard.FileName = "F";
    EXPECT_EQ(BuildInfoBlock(wizard), "01.01#0#1#d#N#P#Ivy_Crate#Language#ENGDEU#F#");
}

TEST(DictionaryFormat, DescriptionLines)
{
    TDescriptionData d;
    d.LetterLinks = u"A,B,";
    d.CharacterLinks = u"C,";
    EXPECT_EQ(BuildDescription(d), u"A,B,\r\nC,\r\n");
    d.LetterGroups = {u"A\u00C4", u"B"};
    d.Prechars = {{u"\u00DF", u'S'}, {u"x", 0}};
    EXPECT_EQ(BuildDescription(d),
              u"A,B,\r\nC,\r\n\r\nCHARS=1\r\n0=A\u00C4\r\n1=B\r\n"
              u"PRECHARS=1\r\n100=\u00DF\r\n200=S\r\n110=x\r\n210=\r\n");
    EXPECT_EQ(PrecharsTextKey(3), u"130");
    EXPECT_EQ(PrecharsLetterKey(3), u"230");
    std::int32_t v = 0;
    EXPECT_TRUE(ParseInteger(u"-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_FALSE(ParseInteger(u"2147483648", v));
    EXPECT_FALSE(ParseInteger(u"-", v));
    EXPECT_FALSE(ParseInteger(u" 1", v));
}

TEST(DictionaryFormat, WriterRecordsAreStandardAndNoLargerThanCompressText)
{
    TddWriter::TRecordCompressor c;
    std::string all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    for (const std::string& text :
         {std::string(), std::string("a"), all, std::string(70000, 'q') + all, Rtf("\\b apple\\b0  /\\u601?pl/")}) {
        const std::string record = c.Compress(text);
        EXPECT_EQ(DecompressText(record), text);
        EXPECT_LE(record.size(), CompressText(text).size());
        // One zlib stream, inflated whole by plain zlib: the length, then the text.
        std::string payload(text.size() + 4, '\0');
        uLongf n = static_cast<uLongf>(payload.size());
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(payload.data()), &n,
                             reinterpret_cast<const Bytef*>(record.data()), static_cast<uLong>(record.size())),
                  Z_OK);
        EXPECT_EQ(n, payload.size());
        EXPECT_EQ(payload.substr(4), text);
    }
}

TEST(DictionaryFormat, MakerFileLayout)
{
    TddWriter::TTddWriter w;
    w.SetEdition(0);
    int a = w.AddSection(u'A');
    w.AddWord(a, u"b\u00E4r", "x");
    w.AddWord(a, u"Apfel", "yy");
    w.SortSections(0x0407);
    EXPECT_EQ(w.Sections()[0].Words[0].Word, u"Apfel");
    EXPECT_THROW(w.AddWord(a, u"two\nlines", ""), std::invalid_argument);
    EXPECT_THROW(w.AddWord(a, u"", ""), std::invalid_argument);
    EXPECT_THROW(w.AddWord(3, u"w", ""), std::out_of_range);
    const std::string f = w.Build();

    EXPECT_EQ(f.substr(0, 5), "01.01");
    const TAreaOffsets head = DecodeAreaOffsets(std::string_view(f).substr(5));
    EXPECT_EQ(head.H0, 24);
    const TSectionTable t = DecodeSectionTable(std::string_view(f).substr(29));
    EXPECT_EQ(t[0].Letter, u'A');
    EXPECT_EQ(t[0].WordCount, 2);
    EXPECT_EQ(t[0].Offset + 37, 1229);
    EXPECT_EQ(BytesToWide(f.substr(37 + t[0].Offset, t[0].Length)), u"Apfel\r\nb\u00E4r\r\n");
    EXPECT_EQ(BytesToWide(f.substr(37 + t[45].Offset, t[45].Length)), u"0");
    EXPECT_EQ(t[45].Free, 0);
    EXPECT_EQ(t[1].Free, 1);
    // Index: one offset per word and the end marker; each article is an int32 length + record.
    EXPECT_EQ(head.H2 - head.H1, 3 * 4);
    const std::int32_t second = GetInt32(f.data() + head.H1 + 5 + 4);
    const std::int32_t end = GetInt32(f.data() + head.H1 + 5 + 8);
    EXPECT_EQ(head.H2 + 5 + end, static_cast<std::int64_t>(f.size()));
    const std::int32_t len = GetInt32(f.data() + head.H2 + 5 + second);
    EXPECT_EQ(DecompressText(f.substr(head.H2 + 5 + second + 4, len)), "x");

    TddWriter::TTddWriter full;
    full.SetEdition(1);
    for (int i = 0; i < 45; ++i)
        full.AddSection(static_cast<char16_t>(u'A' + i));
    EXPECT_THROW(full.AddSection(u'z'), std::length_error);  // entry 45 holds the edition
}

}  // namespace
