#include "engine/UnicodeResources.h"
#include "engine/UnicodeTables.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

std::vector<std::uint8_t> Copy(std::span<const std::uint8_t> data)
{
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

void SwapAt(std::vector<std::uint8_t>& b, size_t pos, size_t width)
{
    std::reverse(b.begin() + static_cast<long>(pos), b.begin() + static_cast<long>(pos + width));
}

std::uint16_t Le16(const std::vector<std::uint8_t>& b, size_t pos)
{
    return static_cast<std::uint16_t>(b[pos] | (b[pos + 1] << 8));
}

// The shipped little-endian tables rewritten field by field in big-endian order.
std::vector<std::uint8_t> BigEndianType()
{
    std::vector<std::uint8_t> b = Copy(FindUnicodeResource("TYPE"));
    const size_t n = Le16(b, 2);
    const size_t length = Le16(b, 8 + 2 * n);
    SwapAt(b, 0, 2);
    SwapAt(b, 2, 2);
    SwapAt(b, 4, 4);
    for (size_t k = 0; k <= n; ++k)
        SwapAt(b, 8 + 2 * k, 2);
    const size_t ranges = 8 + ((n + 1) * 2 + 3) / 4 * 4;
    for (size_t v = 0; v < length; ++v)
        SwapAt(b, ranges + 4 * v, 4);
    return b;
}

std::vector<std::uint8_t> BigEndianCase()
{
    std::vector<std::uint8_t> b = Copy(FindUnicodeResource("CASE"));
    const size_t total = Le16(b, 2);
    for (size_t p = 0; p < 8; p += 2)
        SwapAt(b, p, 2);
    for (size_t v = 0; v < total * 3; ++v)
        SwapAt(b, 8 + 4 * v, 4);
    return b;
}

}  // namespace

TEST(UnicodeTables, ResourcesHaveTheirLayout)
{
    auto type = FindUnicodeResource("TYPE");
    auto cases = FindUnicodeResource("CASE");
    ASSERT_GE(type.size(), 8u);
    ASSERT_GE(cases.size(), 8u);
    EXPECT_EQ(type[0], 0xFF);
    EXPECT_EQ(type[1], 0xFE);
    EXPECT_EQ(type[2] | (type[3] << 8), 49);
    const std::uint32_t rest = type[4] | (type[5] << 8) | (type[6] << 16) | (static_cast<std::uint32_t>(type[7]) << 24);
    EXPECT_EQ(rest + 8, type.size());
    const auto total = cases[2] | (cases[3] << 8);
    EXPECT_EQ(cases.size(), 8u + 12u * total);
    EXPECT_TRUE(FindUnicodeResource("ICON").empty());
}

TEST(UnicodeTables, CategoriesOfKnownCharacters)
{
    EXPECT_TRUE(IsSpaceChar(0x0020));
    EXPECT_TRUE(IsSpaceChar(0x00A0));
    EXPECT_TRUE(IsSpaceChar(0x3000));
    EXPECT_TRUE(IsSpaceChar(0x0009));  // segment separator
    EXPECT_TRUE(IsSpaceChar(0x000C));  // white space
    EXPECT_TRUE(IsControlChar(0x0000));
    EXPECT_TRUE(IsControlChar(0x009F));
    EXPECT_TRUE(IsControlChar(0xFEFF));
    EXPECT_TRUE(IsControlChar(0x200B));
    EXPECT_FALSE(IsSpaceChar(0x0041));
    EXPECT_FALSE(IsControlChar(0x0301));
    EXPECT_TRUE(IsCharProperty(0x0301, ccNonSpacingMark));
    EXPECT_TRUE(IsUpperChar(0x0410));
    EXPECT_TRUE(IsLowerChar(0x0451));
    EXPECT_FALSE(IsUpperChar(0x01C5));
    EXPECT_TRUE(IsCharProperty(0x01C5, ccTitleCaseLetter));
    EXPECT_TRUE(IsCharProperty(0x10400, ccSupplementary));
    EXPECT_TRUE(IsCharProperty(0xFF21, ccHexDigit));
    EXPECT_FALSE(IsCharProperty(0x0047, ccHexDigit));
    EXPECT_TRUE(IsCharProperty(0x00AB, ccQuotationMark));
    EXPECT_TRUE(IsCharProperty(0x00AB, ccInitialQuote));
    EXPECT_TRUE(IsCharProperty(0x05D0, ccRightToLeft));
    EXPECT_TRUE(IsCharProperty(0x00E9, ccComposed));
    EXPECT_TRUE(IsCharProperty(0x2011, ccNonBreaking));
    EXPECT_TRUE(IsCharProperty(0x0028, ccMirrored));
    EXPECT_TRUE(IsCharProperty(0x000D, ccAsciiControlSpace));
    EXPECT_FALSE(IsCharProperty(0x0378, ccAssigned));
    EXPECT_FALSE(IsCharProperty(0x0041, ccUnassigned));
    EXPECT_FALSE(IsCharProperty(0x0041, 49));
    EXPECT_FALSE(IsCharProperty(0x0041, -1));
}

TEST(UnicodeTables, GeneralCategoriesAndCaseAgreeWithICU)
{
    const std::pair<int, int> map[] = {{U_UPPERCASE_LETTER, ccUpperCaseLetter},
                                       {U_LOWERCASE_LETTER, ccLowerCaseLetter},
                                       {U_TITLECASE_LETTER, ccTitleCaseLetter},
                                       {U_SPACE_SEPARATOR, ccSpaceSeparator},
                                       {U_CONTROL_CHAR, ccControl},
                                       {U_FORMAT_CHAR, ccFormat},
                                       {U_DECIMAL_DIGIT_NUMBER, ccDecimalDigit},
                                       {U_OTHER_LETTER, ccOtherLetter}};
    int mismatches = 0;
    for (UChar32 c = 0; c <= 0xFFFF && mismatches < 10; ++c) {
        const int8_t type = u_charType(c);
        for (auto [icu, ours] : map) {
            if ((type == icu) != IsCharProperty(static_cast<std::uint32_t>(c), ours)) {
                ADD_FAILURE() << std::hex << "U+" << c << " category " << std::dec << ours;
                ++mismatches;
            }
        }
        if (type == U_UPPERCASE_LETTER || type == U_LOWERCASE_LETTER || type == U_TITLECASE_LETTER) {
            EXPECT_EQ(CodeToUpper(static_cast<std::uint32_t>(c)), static_cast<std::uint32_t>(u_toupper(c)))
                << std::hex << c;
            EXPECT_EQ(CodeToLower(static_cast<std::uint32_t>(c)), static_cast<std::uint32_t>(u_tolower(c)))
                << std::hex << c;
        }
    }
}

TEST(UnicodeTables, BigEndianTablesGiveTheSameAnswers)
{
    const auto typeBytes = BigEndianType();
    const auto caseBytes = BigEndianCase();
    ASSERT_EQ(typeBytes[0], 0xFE);
    ASSERT_EQ(caseBytes[1], 0xFF);
    const TCharTypeTable swapped = TCharTypeTable::Load(typeBytes);
    const TCaseTable swappedCase = TCaseTable::Load(caseBytes);
    const TCharTypeTable& shipped = UnicodeTypeTable();
    ASSERT_EQ(swapped.CategoryCount(), shipped.CategoryCount());
    for (std::uint32_t c = 0; c < 0x11000; c += (c < 0x10000 ? 1 : 7)) {
        for (int k = 0; k < 49; ++k)
            ASSERT_EQ(swapped.IsCharProperty(c, k), shipped.IsCharProperty(c, k)) << c << " " << k;
        ASSERT_EQ(swappedCase.ToUpper(c, swapped), CodeToUpper(c)) << c;
        ASSERT_EQ(swappedCase.ToLower(c, swapped), CodeToLower(c)) << c;
    }
}

TEST(UnicodeTables, DamagedTablesAreRefusedWithoutReadingPastTheirEnd)
{
    const auto type = Copy(FindUnicodeResource("TYPE"));
    const auto cases = Copy(FindUnicodeResource("CASE"));
    for (size_t n : {0, 1, 2, 7, 8, 50, 107, 108, 109}) {
        std::vector<std::uint8_t> cut(type.begin(), type.begin() + static_cast<long>(n));
        EXPECT_THROW(TCharTypeTable::Load(cut), EUnicodeResourceError) << n;
    }
    EXPECT_THROW(TCharTypeTable::Load(std::span(type).first(type.size() - 1)), EUnicodeResourceError);
    EXPECT_THROW(TCaseTable::Load(std::span(cases).first(cases.size() - 1)), EUnicodeResourceError);
    EXPECT_THROW(TCaseTable::Load(std::span(cases).first(7)), EUnicodeResourceError);

    auto badMark = type;
    badMark[0] = 0x00;
    EXPECT_THROW(TCharTypeTable::Load(badMark), EUnicodeResourceError);
    auto badOffset = type;
    badOffset[8] = 0x01;  // odd offset of category 0
    EXPECT_THROW(TCharTypeTable::Load(badOffset), EUnicodeResourceError);
    auto badSections = cases;
    badSections[4] = 0xFF;  // more upper-case entries than entries
    badSections[5] = 0xFF;
    EXPECT_THROW(TCaseTable::Load(badSections), EUnicodeResourceError);

    // A table of no categories answers False.
    const std::uint8_t empty[] = {0xFF, 0xFE, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    const TCharTypeTable none = TCharTypeTable::Load(empty);
    EXPECT_FALSE(none.IsCharProperty(0x41, 0));
    EXPECT_FALSE(none.IsCharInCategories(0x41, ~0u, ~0u));
}

TEST(UnicodeTables, FirstUseFromManyThreadsLoadsOnce)
{
    // Each test runs in its own process, so the tables are not loaded yet here.
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            if (CodeToUpper(0x0451) != 0x0401 || !IsSpaceChar(0x3000))
                ++wrong;
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(&UnicodeTypeTable(), &UnicodeTypeTable());
}
