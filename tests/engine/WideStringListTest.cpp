#include "engine/WideStringList.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr Platform::LCID kEnglish = 0x0409;

std::vector<std::u16string> Lines(const TWideStrings& list)
{
    std::vector<std::u16string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

struct EventLog {
    int changing = 0;
    int changed = 0;
    void Attach(TWideStringList& list)
    {
        list.OnChanging = [this](TWideStrings&) { ++changing; };
        list.OnChange = [this](TWideStrings&) { ++changed; };
    }
};

void FillSorted(TWideStringList& list, TDuplicates dup, std::initializer_list<const char16_t*> words)
{
    list.SetLanguage(kEnglish);
    list.Duplicates = dup;
    list.SetSorted(true);
    for (auto* w : words)
        list.Add(w);
}

}  // namespace

TEST(WideStringList, FindInEmptyListGivesInsertionPointZero)
{
    TWideStringList list;
    int index = -5;
    EXPECT_FALSE(list.Find(u"a", index));
    EXPECT_EQ(index, 0);
}

TEST(WideStringList, SortedAddKeepsLocaleOrderAndIgnoresCaseDuplicates)
{
    TWideStringList list;
    FillSorted(list, TDuplicates::IgnoreDuplicates, {u"pear", u"apple", u"Zebra", u"émigré", u"banana"});
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"apple", u"banana", u"émigré", u"pear", u"Zebra"}));
    EXPECT_EQ(list.Add(u"Apple"), 0);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.IndexOf(u"PEAR"), 3);
    EXPECT_EQ(list.IndexOf(u"peach"), -1);
    int index = 0;
    EXPECT_FALSE(list.Find(u"cherry", index));
    EXPECT_EQ(index, 2);
}

TEST(WideStringList, AcceptDuplicatesFindsFirstAndInsertsInFront)
{
    TWideStringList list;
    FillSorted(list, TDuplicates::AcceptDuplicates, {u"b", u"a", u"B", u"c", u"b"});
    int index = -1;
    ASSERT_TRUE(list.Find(u"b", index));
    EXPECT_EQ(index, 1);
    int marker = 0;
    list.AddObject(u"B", &marker);
    EXPECT_EQ(list.GetObject(1), &marker);
    EXPECT_EQ(list.Count(), 6);
}

TEST(WideStringList, RejectDuplicatesRaisesAndLeavesListAlone)
{
    TWideStringList list;
    FillSorted(list, TDuplicates::RejectDuplicates, {u"one", u"two"});
    try {
        list.Add(u"ONE");
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "String list does not allow duplicates");
    }
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"one", u"two"}));
}

TEST(WideStringList, ErrorTexts)
{
    TWideStringList list;
    list.Add(u"x");
    auto message = [](auto&& f) {
        try {
            f();
        } catch (const EStringListError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { list.Get(1); }), "List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(message([&] { list.Insert(2, u"y"); }), "List index out of bounds (2)");
    EXPECT_EQ(message([&] { list.Exchange(0, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(message([&] { list.PutObject(1, nullptr); }), "List index out of bounds (1)");
    list.SetSorted(true);
    EXPECT_EQ(message([&] { list.Insert(0, u"y"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(message([&] { list.Put(0, u"y"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(Lines(list), std::vector<std::u16string>{u"x"});
}

TEST(WideStringList, MoveKeepsItemsOnFailureAndMovesObjects)
{
    TWideStringList list;
    list.SetTextStr(u"a\nb\nc\n");
    int obj = 0;
    list.PutObject(0, &obj);
    EventLog log;
    log.Attach(list);
    list.Move(2, 2);
    EXPECT_EQ(log.changing + log.changed, 0);
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"b", u"c", u"a"}));
    EXPECT_EQ(list.GetObject(2), &obj);
    EXPECT_EQ(log.changing, 1);
    EXPECT_EQ(log.changed, 1);
    EXPECT_THROW(list.Move(0, 3), EStringListError);
    list.SetSorted(true);
    EXPECT_THROW(list.Move(0, 1), EStringListError);
    EXPECT_EQ(list.Count(), 3);
}

TEST(WideStringList, UnsortedIndexOfIsCaseInsensitive)
{
    TWideStringList list;
    list.SetLanguage(kEnglish);
    list.SetTextStr(u"Zeta\r\nalpha\r\nGamma\r\n");
    EXPECT_EQ(list.IndexOf(u"GAMMA"), 2);
    EXPECT_EQ(list.IndexOf(u"ALPHA"), 1);
    EXPECT_EQ(list.IndexOf(u"beta"), -1);
}

TEST(WideStringList, NamesAndValues)
{
    TWideStringList list;
    list.SetLanguage(kEnglish);
    list.SetTextStr(u"KEY\r\nchars=abc\r\nEMPTY=\r\nx=1=2\r\n");
    EXPECT_EQ(list.IndexOfName(u"CHARS"), 1);
    EXPECT_EQ(list.GetValue(u"CHARS"), u"abc");
    EXPECT_EQ(list.IndexOfName(u"KEY"), -1);
    EXPECT_EQ(list.GetValue(u"KEY"), u"");
    EXPECT_EQ(list.IndexOfName(u"empty"), 2);
    EXPECT_EQ(list.GetValue(u"empty"), u"");
    EXPECT_EQ(list.Values(u"X"), u"1=2");
    // A name that matches under the collation with another length still gives the whole value.
    list.SetTextStr(u"stra\u00adsse=street\r\n");  // with a soft hyphen, ignored by the collation
    ASSERT_EQ(list.IndexOfName(u"STRASSE"), 0);
    EXPECT_EQ(list.GetValue(u"STRASSE"), u"street");
}

TEST(WideStringList, SetTextStrBreaks)
{
    TWideStringList list;
    list.SetTextStr(u"a\r\nb");
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"a", u"b"}));
    list.SetTextStr(u"a\n\rb");
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"a", u"", u"b"}));
    list.SetTextStr(u"a\r\rb");
    EXPECT_EQ(list.Count(), 3);
    list.SetTextStr(u"a\r\n\r\nb");
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"a", u"", u"b"}));
    list.SetTextStr(u"x\r\n\r\n");
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"x", u""}));
    list.SetTextStr(u"1\v2\f3\u20284\u20295\r");
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"1", u"2", u"3", u"4", u"5"}));
    list.SetTextStr(u"");
    EXPECT_EQ(list.Count(), 0);
    list.SetTextStr(std::u16string(u"a\nb\0c\nd", 7));
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"a", u"b"}));
    list.SetText(u"p\nq");
    EXPECT_EQ(list.GetTextStr(), u"p\r\nq\r\n");
    auto text = list.GetText();
    EXPECT_EQ(std::u16string(text.get()), u"p\r\nq\r\n");
}

TEST(WideStringList, EventsFireOncePerUpdateBracket)
{
    TWideStringList list;
    EventLog log;
    log.Attach(list);
    std::u16string block;
    for (int i = 0; i < 100; ++i)
        block += u"w" + std::u16string(1, char16_t(u'a' + i % 26)) + u"\r\n";
    list.SetTextStr(block);
    EXPECT_EQ(log.changing, 1);
    EXPECT_EQ(log.changed, 1);
    list.Add(u"z");
    EXPECT_EQ(log.changed, 2);
    list.BeginUpdate();
    list.Add(u"y");
    list.Delete(0);
    list.Exchange(0, 1);
    list.EndUpdate();
    EXPECT_EQ(log.changing, 3);
    EXPECT_EQ(log.changed, 3);
    list.SetSorted(true);
    EXPECT_EQ(log.changed, 4);
    list.SetSorted(true);
    EXPECT_EQ(log.changed, 4);
    list.Clear();
    EXPECT_EQ(log.changed, 5);
    list.Clear();
    EXPECT_EQ(log.changing, 5);
    EXPECT_EQ(log.changed, 5);
}

TEST(WideStringList, UpdateBracketClosedWhenAnAddFails)
{
    TWideStringList list;
    list.SetLanguage(kEnglish);
    list.Duplicates = TDuplicates::RejectDuplicates;
    list.SetSorted(true);
    EventLog log;
    log.Attach(list);
    EXPECT_THROW(list.SetTextStr(u"a\nb\nA\nc"), EStringListError);
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(log.changed, 1);
    EXPECT_EQ(list.Count(), 2);
}

TEST(WideStringList, SortAndLanguageChange)
{
    TWideStringList list;
    list.SetLanguage(kEnglish);
    list.SetTextStr(u"ch\nd\nc\nb\nCz\n");
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"b", u"c", u"ch", u"Cz", u"d"}));
    list.SetLanguage(0x0405);  // Czech: "ch" is a letter after "h"
    EXPECT_EQ(Lines(list), (std::vector<std::u16string>{u"b", u"c", u"Cz", u"d", u"ch"}));
    int index = 0;
    EXPECT_TRUE(list.Find(u"CH", index));
    EXPECT_EQ(index, 4);
}

TEST(WideStringList, LargeSortMatchesFindAndKeepsObjects)
{
    TWideStringList list;
    list.SetLanguage(kEnglish);
    std::vector<int> tags(2000);
    for (int i = 0; i < 2000; ++i) {
        unsigned v = static_cast<unsigned>(i) * 2654435761u;
        std::u16string w;
        for (int k = 0; k < 6; ++k, v /= 26)
            w.push_back(char16_t(u'a' + v % 26));
        list.AddObject(w, &tags[static_cast<size_t>(i)]);
    }
    list.Duplicates = TDuplicates::AcceptDuplicates;
    list.SetSorted(true);
    for (int i = 1; i < list.Count(); ++i)
        ASSERT_LE(WideCompare(list.Get(i - 1), list.Get(i), kEnglish), 0);
    for (int i = 0; i < list.Count(); ++i) {
        int index = -1;
        ASSERT_TRUE(list.Find(list.Get(i), index));
        EXPECT_EQ(list.Get(index), list.Get(i));
    }
    std::vector<bool> seen(2000);
    for (int i = 0; i < list.Count(); ++i)
        seen[static_cast<size_t>(static_cast<int*>(list.GetObject(i)) - tags.data())] = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 2000);
}

TEST(WideStringList, AssignBetweenWideAndAnsiLists)
{
    TWideStringList a;
    a.SetTextStr(u"caf\u00e9\nplain\n");
    TWideStringList b;
    b.Assign(a);
    EXPECT_TRUE(b.Equals(a));
    b.Put(0, u"CAF\u00c9");
    EXPECT_FALSE(b.Equals(a));  // Equals is exact
    TAnsiStrings ansi;
    a.AssignTo(ansi);
    ASSERT_EQ(ansi.size(), 2u);
    EXPECT_EQ(ansi[0], Platform::WideToAnsi(u"caf\u00e9"));
    TWideStringList c;
    c.Assign(ansi);
    EXPECT_TRUE(c.Equals(a));
    c.AddStrings(c);
    EXPECT_EQ(c.Count(), 4);
    c.Assign(c);
    EXPECT_EQ(c.Count(), 4);
    a.AssignTo(c);
    EXPECT_TRUE(c.Equals(a));
}

TEST(WideStringList, CapacityGrowsByTheStepRule)
{
    TWideStringList list;
    std::vector<int> steps;
    for (int i = 0; i < 100; ++i) {
        list.Add(u"w");
        if (steps.empty() || steps.back() != list.GetCapacity())
            steps.push_back(list.GetCapacity());
    }
    EXPECT_EQ(steps, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
    EXPECT_THROW(list.SetCapacity(99), EStringListError);
    list.SetCapacity(200);
    EXPECT_EQ(list.GetCapacity(), 200);
    list.Clear();
    EXPECT_EQ(list.GetCapacity(), 0);
}
