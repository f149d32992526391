#include "engine/CompressedText.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

std::string Deflate(const std::string& payload, int level)
{
    uLongf n = compressBound(payload.size());
    std::string out(n, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(payload.data()), payload.size(),
              level);
    out.resize(n);
    return out;
}

std::string Payload(int32_t n, const std::string& text)
{
    std::string p(4, '\0');
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((static_cast<uint32_t>(n) >> (8 * i)) & 0xFF);
    return p + text;
}

}  // namespace

TEST(CompressedText, EmptyTextHasAFourByteZeroPayload)
{
    std::string rec = CompressText("");
    EXPECT_EQ(rec, Deflate(std::string(4, '\0'), 9));
    EXPECT_EQ(DecompressText(rec), "");
}

TEST(CompressedText, RoundTripsEveryByteValue)
{
    std::string all;
    for (int rep = 0; rep < 3; ++rep)
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<char>(b));
    EXPECT_EQ(DecompressText(CompressText(all)), all);
    std::string big(300000, 'x');
    for (size_t i = 0; i < big.size(); i += 7)
        big[i] = static_cast<char>(i * 31);
    EXPECT_EQ(DecompressText(CompressText(big)), big);
}

TEST(CompressedText, ReadsRecordsOfAnyLevelAndIgnoresTrailingPayload)
{
    EXPECT_EQ(DecompressText(Deflate(Payload(5, "hello"), 1)), "hello");
    EXPECT_EQ(DecompressText(Deflate(Payload(5, "hello"), 0)), "hello");
    EXPECT_EQ(DecompressText(Deflate(Payload(3, "hello"), 6)), "hel");
}

TEST(CompressedText, MalformedRecordsThrow)
{
    EXPECT_THROW(DecompressText(""), ECompressionError);
    EXPECT_THROW(DecompressText("not zlib at all"), ECompressionError);
    std::string rec = CompressText(std::string(1000, 'a'));
    EXPECT_THROW(DecompressText(rec.substr(0, rec.size() / 2)), ECompressionError);
    EXPECT_THROW(DecompressText(Deflate(Payload(-1, "abc"), 9)), ECompressionError);
    EXPECT_THROW(DecompressText(Deflate(Payload(0x7FFFFFFF, "abc"), 9)), ECompressionError);
    EXPECT_THROW(DecompressText(Deflate("ab", 9)), ECompressionError);
    std::string flipped = CompressText("some article text");
    flipped[flipped.size() / 2] ^= 0x55;
    EXPECT_THROW(DecompressText(flipped), ECompressionError);
}
