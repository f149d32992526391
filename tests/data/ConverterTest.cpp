#include "DictdFixture.h"

#include "data/sample/FreedictConverter.h"
#include "data/sample/FreedictEntry.h"
#include "data/sample/BinaryWriter.h"
#include "data/sample/RtfWriter.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace SampleData;

namespace {

std::u16string W(const char* utf8)
{
    return Platform::Utf8ToWide(utf8);
}

// An English-German sample: "bank" has three entries (one named by two index keys), "Bank"
// differs only in case, "zone" has an IPA-only pronunciation, "3D printer" begins with a digit.
std::vector<DataTest::TTestEntry> EnglishGerman()
{
    return {
        {"bank",
         "bank /bæŋk/\nBank <fem> [fin.]\n      \"to the bank\"  - zur Bank\n   Synonym: {credit institution}\n"},
        {"bank", "bank /bæŋk/\nUfer <neut>\n see: {river bank}, {shore}\n"},
        {"bank", "bank /bɛŋk/\nReihe <fem>\n         Note: of switches\n"},
        {"bank", "Bank /bæŋk/\nBank of England {Bank}\n"},
        {"zone", "zone /zəʊn/\nZone <fem> {x}\\y\n"},
        {"3d printer", "3D printer /θɹiː diː/\n3D-Drucker <masc>\n"},
        {"éclair", "éclair /eɪklɛə/\nLiebesknochen <masc>\n"},
        {"apple", "apple /ˈæpəl/\nApfel <masc>, Äpfel <pl>\n"},
        {"00databaseinfo", "00-database-info\nnot a word\n"},
    };
}

TConvertOptions Options(const char* source, const char* target)
{
    TConvertOptions o;
    o.SourceCode = source;
    o.TargetCode = target;
    o.FileName = std::string(source) + target;
    o.Name = "Test dictionary";
    o.Number = 7;
    o.HasSounds = true;
    o.Date = "2024-01-02";
    return o;
}

const TConvertedSection& SectionOf(const TConvertedDictionary& d, char16_t letter)
{
    for (const TConvertedSection& s : d.Sections)
        if (s.Letter == letter)
            return s;
    throw std::runtime_error("no section");
}

std::vector<std::u16string> Lines(const std::u16string& text)
{
    std::vector<std::u16string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find(u"\r\n", pos);
        if (end == std::u16string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

}  // namespace

TEST(FreedictEntry, HeadLineAndBodyKinds)
{
    const TFreedictEntry e = ParseFreedictEntry(
        "Nephrit /neːfrˈɪt/ <masc, n, sg> (x)\n [min.] nephrite <n>\n      \"a jade\"  - ein Jade\n"
        "   Synonyms: {Jade}, {Beilstein}\n\n see: {Nephritis}\n         Note: Erz\n   capital: Berlin\n");
    EXPECT_EQ(e.Headword, W("Nephrit"));
    EXPECT_EQ(e.Pronunciation, W("neːfrˈɪt"));
    EXPECT_EQ(e.Grammar, W("masc, n, sg"));
    EXPECT_EQ(e.HeadExtra, W("(x)"));
    ASSERT_EQ(e.Lines.size(), 6u);
    EXPECT_EQ(e.Lines[0].Kind, TBodyKind::Translation);
    EXPECT_EQ(e.Lines[1].Kind, TBodyKind::Example);
    EXPECT_EQ(e.Lines[1].Text, W("a jade"));
    EXPECT_EQ(e.Lines[1].Translation, W("ein Jade"));
    EXPECT_EQ(e.Lines[2].Kind, TBodyKind::Related);
    EXPECT_EQ(e.Lines[2].Label, W("Synonyms"));
    EXPECT_EQ(e.Lines[3].Label, W("see"));
    EXPECT_EQ(e.Lines[4].Kind, TBodyKind::Note);
    EXPECT_EQ(e.Lines[5].Kind, TBodyKind::Translation);  // a colon without cross-references
    EXPECT_EQ(DisplayHeadword(W("pre-empt/preempt sb./sth. /pɹˈiː/")), W("pre-empt/preempt sb./sth."));
    EXPECT_EQ(DisplayHeadword(W("Gaul <masc>")), W("Gaul"));
    EXPECT_EQ(ParseFreedictEntry("").Headword, u"");

    // Without a head grammar, the first part of speech of the translations moves to the head.
    const TFreedictEntry lifted = ParseFreedictEntry(
        "domelike /dˈəʊmlaɪk/\nKuppel <fem>, kuppelförmig <adj>, domartig <adj> [geol.]\nrund <adv>\n");
    EXPECT_EQ(lifted.Grammar, u"adj");
    EXPECT_EQ(lifted.Lines[0].Text, W("Kuppel <fem>, kuppelförmig, domartig [geol.]"));
    EXPECT_EQ(lifted.Lines[1].Text, W("rund <adv>"));
}

TEST(FreedictConverter, GroupsHeadwordsAndNumbersSenses)
{
    const std::string folder = DataTest::FreshFolder("conv-engger");
    DataTest::WriteDictd(folder + "/eng-deu", EnglishGerman(), {{"bank alias", 0}});
    const TDictdDatabase db(folder + "/eng-deu.index", folder + "/eng-deu.dict.dz");
    const TConvertedDictionary d = ConvertFreedict(db, Options("ENG", "GER"));

    EXPECT_EQ(d.EntryCount, 8u);  // the database info is no word, the alias no second entry
    EXPECT_EQ(d.WordCount, 6u);
    const TConvertedSection& b = SectionOf(d, u'B');
    ASSERT_EQ(b.Words.size(), 2u);
    EXPECT_EQ(b.Words[0], u"Bank");  // "bank" and "Bank" stay two words, equal but for case
    EXPECT_EQ(b.Words[1], u"bank");
    const std::string& bank = b.Articles[1];
    EXPECT_NE(bank.find("{\\b 1.}"), std::string::npos);
    EXPECT_NE(bank.find("{\\b 2.}"), std::string::npos);
    EXPECT_NE(bank.find("{\\b 3.}"), std::string::npos);
    EXPECT_EQ(bank.find("{\\b 4."), std::string::npos);
    EXPECT_LT(bank.find("Bank"), bank.find("Ufer"));
    EXPECT_LT(bank.find("Ufer"), bank.find("Reihe"));
    EXPECT_EQ(b.Articles[0].find("{\\b 1."), std::string::npos);  // one sense: no number
    EXPECT_EQ(b.Pronunciations[1], W("bæŋk"));

    // Accented first letters file under their base letter, digits in the last section "0".
    EXPECT_EQ(SectionOf(d, u'E').Words, std::vector<std::u16string>{W("éclair")});
    EXPECT_EQ(d.Sections.size(), 27u);
    EXPECT_EQ(d.Sections.back().Letter, u'0');
    EXPECT_EQ(d.Sections.back().Words, std::vector<std::u16string>{W("3D printer")});
    EXPECT_TRUE(SectionOf(d, u'Q').Words.empty());

    EXPECT_EQ(d.Edition, 0);
    EXPECT_EQ(Dictionary::BuildInfoBlock(d.Info),
              "01.01#0#7#2024-01-02#Test dictionary#FreeDict#@X1#TavorLanguage#ENGGER#ENGGER#Sounds#");
}

TEST(FreedictConverter, ArticlesAreLeanRichTextWithEscapes)
{
    const std::string folder = DataTest::FreshFolder("conv-rtf");
    DataTest::WriteDictd(folder + "/eng-rus",
                         {{"house", "house /haʊs/\nдом <masc>, {home}\n      \"big house\"  - большой дом\n"},
                          {"zone", "zone /zəʊn/\nZone {x}\\y ä\n"},
                          {"cat", "cat\nкошка\n"}});
    const TDictdDatabase db(folder + "/eng-rus.index", folder + "/eng-rus.dict.dz");
    TConvertOptions options = Options("ENG", "RUS");
    options.HasSounds = false;
    const TConvertedDictionary d = ConvertFreedict(db, options);
    EXPECT_EQ(d.Edition, 2);
    EXPECT_EQ(Dictionary::BuildInfoBlock(d.Info).substr(37), "FreeDict#@X1#TavorLanguage#ENGRUS#ENGRUS#");

    const std::string& house = SectionOf(d, u'H').Articles[0];
    // The head: only the fonts and colours the article uses, numbered as it first uses them
    // (headword, pronunciation, grammar label, cross-reference); the headword at the default
    // size, the rest at 10 points.
    EXPECT_EQ(house.rfind("{\\rtf1\\uc0{\\fonttbl\\f0Tahoma;\\f1Lucida Sans Unicode}"
                          "{\\colortbl;\\blue128;\\red128;\\red96\\green96\\blue96;\\green102;}{\\cf1\\b house}\\fs20",
                          0),
              0u)
        << house;
    EXPECT_NE(house.find("\\u650s/"), std::string::npos);               // ʊ (U+028A) of the pronunciation
    EXPECT_NE(house.find("\\u1076\\u1086\\u1084"), std::string::npos);  // дом
    EXPECT_NE(house.find("{\\cf3\\i masc}"), std::string::npos);
    EXPECT_NE(house.find("{\\cf4home}"), std::string::npos);
    EXPECT_NE(house.find("{\\i big house}"), std::string::npos);
    for (unsigned char c : house)
        EXPECT_GE(c, 0x20) << "rich text without line breaks";
    EXPECT_EQ(house.substr(house.size() - 5), "\\par}");
    EXPECT_EQ(house.find("\\li0}"), std::string::npos) << "the last indent ends with the document";
    EXPECT_EQ(house.find("\\pard"), std::string::npos) << "the indent is the only paragraph property to undo";

    // No pronunciation, no grammar: one font and one colour.
    EXPECT_EQ(SectionOf(d, u'C').Articles[0],
              "{\\rtf1\\uc0{\\fonttbl\\f0Tahoma}{\\colortbl;\\blue128;}{\\cf1\\b cat}\\fs20\\par"
              "\\u1082\\u1086\\u1096\\u1082\\u1072\\par}");

    const std::string& zone = SectionOf(d, u'Z').Articles[0];
    EXPECT_NE(zone.find("\\u601"), std::string::npos);      // ə
    EXPECT_NE(zone.find("\\\\y \xe4"), std::string::npos);  // backslash escaped, ä the code page's byte
    EXPECT_NE(zone.find("{\\colortbl;\\blue128;\\red128;\\green102;}"), std::string::npos) << zone;
}

TEST(FreedictConverter, GermanLetterGroupsAndDescription)
{
    const std::string folder = DataTest::FreshFolder("conv-gereng");
    DataTest::WriteDictd(folder + "/deu-eng",
                         {{"apfel", "Apfel /ˈapfəl/ <masc>\napple\n"},
                          {"äpfel", "Äpfel /ˈɛpfəl/ <pl>\napples\n"},
                          {"öl", "Öl /øːl/ <neut>\noil\n"},
                          {"über", "über /ˈyːbɐ/\nabove\n"},
                          {"ubahn", "U-Bahn /ˈuːbaːn/ <fem>\nunderground\n"},
                          {"ähnlich", "ähnlich /ˈɛːnlɪç/\nsimilar\n"},
                          {"abend", "Abend /ˈaːbənt/ <masc>\nevening\n"}});
    const TDictdDatabase db(folder + "/deu-eng.index", folder + "/deu-eng.dict.dz");
    const TConvertedDictionary d = ConvertFreedict(db, Options("GER", "ENG"));

    ASSERT_EQ(d.Sections.size(), 26u);  // A..Z; no word for a section "0"
    EXPECT_EQ(d.Sections[0].Letter, u'A');
    EXPECT_EQ(d.Sections[0].Words, (std::vector<std::u16string>{W("Abend"), W("ähnlich"), W("Apfel"), W("Äpfel")}));
    EXPECT_EQ(SectionOf(d, u'O').Words, std::vector<std::u16string>{W("Öl")});
    EXPECT_EQ(SectionOf(d, u'U').Words, (std::vector<std::u16string>{W("U-Bahn"), W("über")}));
    // The head shows the grammar of the head line in italics.
    EXPECT_NE(d.Sections[0].Articles[0].find("\\i masc}"), std::string::npos);

    const std::u16string description = Dictionary::BuildDescription(d.Description);
    const std::vector<std::u16string> lines = Lines(description);
    ASSERT_EQ(lines.size(), 3u + 1u + 26u);
    EXPECT_EQ(lines[0].substr(0, 9), W("A,Ä,14,B,"));
    EXPECT_EQ(lines[1].substr(0, 4), W("a,ä,"));
    EXPECT_EQ(lines[2], u"");  // German has every English letter: no reverse letters
    EXPECT_EQ(lines[3], u"CHARS=25");
    EXPECT_EQ(lines[4], W("0=AÄ"));
    EXPECT_EQ(lines[4 + 14], W("14=OÖ"));
    EXPECT_EQ(lines[4 + 20], W("20=UÜ"));
    EXPECT_EQ(lines.back(), u"25=Z");
    EXPECT_EQ(description.substr(description.size() - 2), u"\r\n");

    // English to German: German letters switch to the other direction.
    const TConvertedDictionary e = ConvertFreedict(db, Options("ENG", "GER"));
    EXPECT_EQ(e.Description.ReverseLetters, W("ÄÖÜäöüß"));
    EXPECT_EQ(e.Description.LetterGroups[0], u"A\u00C4");  // Ä of the data files under A
}

TEST(FreedictConverter, DamagedInputGivesAClearErrorOrReplacementCharacters)
{
    const std::string folder = DataTest::FreshFolder("conv-damaged");
    // Invalid UTF-8 and control characters in an entry: replaced or dropped, never a crash.
    DataTest::WriteDictd(folder + "/bad", {{"cafe", "caf\xC3 /ka\x01\xFF/\nKaffee\xE2\x82\n"}});
    const TDictdDatabase db(folder + "/bad.index", folder + "/bad.dict.dz");
    const TConvertedDictionary d = ConvertFreedict(db, Options("ENG", "GER"));
    ASSERT_EQ(d.WordCount, 1u);
    EXPECT_EQ(SectionOf(d, u'C').Words[0], u"caf\uFFFD");

    // An index entry beyond the data is refused with its name.
    Platform::WriteFileAtomically(folder + "/bad.index", "cafe\tA\tZZ\n");
    const TDictdDatabase broken(folder + "/bad.index", folder + "/bad.dict.dz");
    try {
        ConvertFreedict(broken, Options("ENG", "GER"));
        FAIL() << "no error";
    } catch (const EDictdError& e) {
        EXPECT_NE(std::string(e.what()).find("cafe"), std::string::npos);
    }
    EXPECT_THROW(ConvertFreedict(db, Options("ENG", "XXX")), std::invalid_argument);
    EXPECT_THROW(ConvertFreedict(db, Options("CHI", "ENG")), std::invalid_argument);  // no alphabet
}

TEST(RtfWriter, CharactersOutsideThePlaneAreTwoUnicodeEscapes)
{
    const TCodePageMap map(1252);
    TRtfWriter rtf(map, {u"Tahoma"}, {});
    // Without a fallback character a "\\uN" ends at its number, so a digit or a space after
    // it needs a delimiter.
    rtf.Text(u"\U0001D11E{}\u20AC\u01017 \u0101 \u0101-");
    const std::string text = rtf.Finish();
    EXPECT_EQ(text, "{\\rtf1\\uc0{\\fonttbl\\f0Tahoma}\\u-10188\\u-8930\\{\\}\x80\\u257 7 \\u257  \\u257-}");
    TRtfWriter plain(map, {u"Tahoma"}, {});
    EXPECT_EQ(plain.Text(u"caf\u00e9").Finish(), "{\\rtf1{\\fonttbl\\f0Tahoma}caf\xe9}") << "no \\uc0 without \\u";
}

TEST(RtfWriter, ControlWordsEndWhereTheTextWouldRunOn)
{
    // Text after a control word keeps its first character: a space only where a letter,
    // digit, space or hyphen would run on into the word, or a digit or space into its number.
    const TCodePageMap map(1251);
    TRtfWriter rtf(map, {u"Tahoma", u"Symbol"}, {{0, 0, 0}, {1, 2, 3}, {0, 102, 0}});
    rtf.Control("b").Text(u"a").Control("b0").Text(u" 1").Control("i").Text(u"-2").Control("i0").Text(u",");
    rtf.Open().Colour(3).Text(u"\u0434").Close().Text(u"x").Colour(1).Control("par").Text(u"\\").Font(1).Text(u"y");
    // Only the colours used, numbered by first use; black named by one component; the
    // second font numbered after the default one; a code page other than Western named.
    EXPECT_EQ(rtf.Finish(),
              "{\\rtf1\\ansicpg1251{\\fonttbl\\f0Tahoma;\\f1Symbol}{\\colortbl;\\green102;\\red0;}"
              "\\b a\\b0  1\\i -2\\i0,{\\cf1\xe4}x\\cf2\\par\\\\\\f1y}");
    EXPECT_THROW(TRtfWriter(map, {}, {}), std::invalid_argument);
}
