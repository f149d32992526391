#include "DictdFixture.h"

#include "data/sample/BinaryWriter.h"
#include "data/sample/DictdReader.h"

#include <gtest/gtest.h>

using namespace SampleData;

TEST(DictdReader, NumbersAndIndexLines)
{
    EXPECT_EQ(DecodeDictdNumber("A"), 0u);
    EXPECT_EQ(DecodeDictdNumber("BA"), 64u);
    EXPECT_EQ(DecodeDictdNumber("/"), 63u);
    EXPECT_THROW(DecodeDictdNumber(""), EDictdError);
    EXPECT_THROW(DecodeDictdNumber("A-B"), EDictdError);
    EXPECT_THROW(DecodeDictdNumber("AAAAAAAAAAA"), EDictdError);

    const auto entries = ParseDictdIndex("\tB\tC\nhouse boat\tBA\tK\r\n\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Key, "");
    EXPECT_EQ(entries[1].Key, "house boat");
    EXPECT_EQ(entries[1].Offset, 64u);
    EXPECT_EQ(entries[1].Length, 10u);
    EXPECT_THROW(ParseDictdIndex("ok\tA\tB\nbroken\tA\n"), EDictdError);
}

TEST(DictdReader, DictzipRoundTripAndDamage)
{
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "entry " + std::to_string(i) + " \xC3\xA4\n";
    const std::string dz = DataTest::MakeDictzip(text, 100);
    EXPECT_EQ(InflateGzip(dz), text);
    EXPECT_EQ(InflateGzip(DataTest::MakeDictzip("")), "");
    EXPECT_THROW(InflateGzip(dz.substr(0, dz.size() / 2)), EDictdError);
    EXPECT_THROW(InflateGzip(dz.substr(0, 5)), EDictdError);
    EXPECT_THROW(InflateGzip(dz, 1000), EDictdError);
    std::string corrupt = dz;
    corrupt[corrupt.size() - 3] ^= 0x55;  // the length in the trailer
    EXPECT_THROW(InflateGzip(corrupt), EDictdError);
}

TEST(DictdReader, DatabaseEntriesStayInsideTheData)
{
    const std::string folder = DataTest::FreshFolder("dictd-db");
    DataTest::WriteDictd(folder + "/t", {{"b", "bee\n"}, {"a", "ant\n"}});
    const TDictdDatabase db(folder + "/t.index", folder + "/t.dict.dz");
    ASSERT_EQ(db.Index().size(), 2u);
    EXPECT_EQ(db.Index()[0].Key, "a");
    EXPECT_EQ(db.EntryText(db.Index()[0]), "ant\n");
    EXPECT_EQ(db.EntryText(db.Index()[1]), "bee\n");
    TDictdIndexEntry outside{"x", 6, 3};
    EXPECT_THROW(db.EntryText(outside), EDictdError);
    TDictdIndexEntry huge{"x", 1, ~std::uint64_t{0}};
    EXPECT_THROW(db.EntryText(huge), EDictdError);
    EXPECT_THROW(TDictdDatabase(folder + "/missing.index", folder + "/t.dict.dz"), std::runtime_error);
}
