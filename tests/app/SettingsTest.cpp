// The settings record: first start, save and load, partial loads, DictType, UpdLast after
// 2038 and the shortcut texts.
#include "app/Settings.h"
#include "platform/qt/Registry.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace {

constexpr const char* kKey = "\\Software\\TavorSoft\\LexoraXP";

auto Fields(const TSettings& s)
{
    return std::tie(s.EveryKey, s.Delicate, s.Publisher, s.DblClickTranslate, s.AddToHistory, s.ClipTranslate,
                    s.StayOnTop, s.WinStart, s.StartMin, s.DBLClickSpeak, s.HotKey, s.hkSpeak, s.Top, s.Left, s.Width,
                    s.Height, s.Min, s.Max, s.Alphabet, s.UserDict, s.DictType, s.SLine, s.BLine, s.DLine,
                    s.Transparent, s.TranValue, s.DelicateTime, s.Language, s.WordsWidth, s.From, s.To, s.Dictionary,
                    s.CDROM, s.UpdEnbl, s.UpdCnt, s.UpdLast, s.UpdPrx, s.UpdPrxSrv, s.UpdPrxUsNa, s.UpdPrxPss,
                    s.UpdPrxPrt, s.UpdStt);
}

// Every field away from its default.
TSettings Changed()
{
    TSettings s;
    s.EveryKey = s.Delicate = s.DblClickTranslate = s.StayOnTop = s.WinStart = s.StartMin = true;
    s.DBLClickSpeak = s.Min = s.Max = s.UserDict = s.Transparent = s.UpdPrx = true;
    s.Publisher = s.AddToHistory = s.ClipTranslate = s.Alphabet = s.SLine = s.BLine = s.DLine = s.UpdEnbl = false;
    s.HotKey = 0x4041;
    s.hkSpeak = 0x6072;
    s.Top = -20;
    s.Left = 3000;
    s.Width = 801;
    s.Height = 602;
    s.DictType = 2;
    s.TranValue = 55;
    s.DelicateTime = 180;
    s.Language = 102;
    s.WordsWidth = 210;
    s.From = 3;
    s.To = 7;
    s.Dictionary = u"ENGRUS_T";
    s.CDROM = u"/media/cdrom";
    s.UpdCnt = -3;
    s.UpdLast = 4102444800;  // 2100-01-01: beyond 32 bits
    s.UpdPrxSrv = u"proxy.example, \"x\"";
    s.UpdPrxUsNa = u"Пользователь";
    s.UpdPrxPss = u"p=ss;word#";
    s.UpdPrxPrt = 3128;
    s.UpdStt = 1;
    return s;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        setenv("XDG_CONFIG_HOME", home_.path().toStdString().c_str(), 1);
    }
    QTemporaryDir home_;
};

}  // namespace

TEST_F(SettingsTest, FirstStartWritesTheDefaultsAndReadsThemBack)
{
    TSettings s = Changed();
    LoadSettings(s);
    EXPECT_EQ(Fields(s), Fields(TSettings{}));
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Width, 550);
    EXPECT_EQ(s.Height, 380);
    EXPECT_EQ(s.UpdLast, 1104537600);  // 2005-01-01

    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("\\Software\\TavorSoft"));
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    EXPECT_EQ(reg.ReadString("HotKey"), u"none");
    EXPECT_EQ(reg.ReadInteger("DictType"), 4);
    EXPECT_EQ(reg.ReadInteger("Publisher"), 1);
}

TEST_F(SettingsTest, SaveAndLoadKeepEveryField)
{
    WriteDefaultSettings();
    const TSettings saved = Changed();
    SaveSettings(saved, saved.DictType);
    TSettings loaded;
    LoadSettings(loaded);
    EXPECT_EQ(Fields(loaded), Fields(saved));

    // A time that fits in 32 bits goes back to being a 32-bit value.
    TSettings again = saved;
    again.UpdLast = 1104537600;
    SaveSettings(again, 0);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    EXPECT_EQ(reg.ReadInteger("UpdLast"), 1104537600);
}

TEST_F(SettingsTest, DictTypeIsTheShownDictionarysKindAndReadsOutsideZeroToThreeAsFour)
{
    WriteDefaultSettings();
    TSettings s;
    s.DictType = 1;
    SaveSettings(s, 3);
    LoadSettings(s);
    EXPECT_EQ(s.DictType, 3);
    SaveSettings(s, 7);
    LoadSettings(s);
    EXPECT_EQ(s.DictType, 4);
    for (int stored : {9, -1, 256}) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kKey, false));
        reg.WriteInteger("DictType", stored);
        reg.CloseKey();
        s.DictType = 0;
        LoadSettings(s);
        EXPECT_EQ(s.DictType, 4) << stored;
    }
}

TEST_F(SettingsTest, ALoadThatStopsKeepsWhatWasReadBeforeIt)
{
    WriteDefaultSettings();
    SaveSettings(Changed(), 2);
    struct TCase {
        const char* Name;
        void (*Damage)(TRegistry&);
    };
    const TCase cases[] = {
        {"missing", [](TRegistry& r) { r.DeleteValue("DictType"); }},
        {"a string", [](TRegistry& r) { r.WriteString("DictType", u"2"); }},
    };
    for (const TCase& c : cases) {
        SaveSettings(Changed(), 2);
        {
            TRegistry reg;
            ASSERT_TRUE(reg.OpenKey(kKey, false));
            c.Damage(reg);
            reg.CloseKey();
        }
        TSettings s;  // defaults: read values show as changed, the others stay
        EXPECT_THROW(LoadSettings(s), ERegistryError) << c.Name;
        EXPECT_EQ(s.Top, -20) << c.Name;
        EXPECT_EQ(s.Language, 102) << c.Name;
        EXPECT_TRUE(s.UserDict) << c.Name;  // read just before DictType
        EXPECT_EQ(s.DictType, 4) << c.Name;
        EXPECT_TRUE(s.SLine) << c.Name;  // read after it: unchanged
        EXPECT_EQ(s.Dictionary, u"") << c.Name;
    }
}

TEST_F(SettingsTest, OutOfRangeCountsFailTheLoadAndMissingTextsReadEmpty)
{
    WriteDefaultSettings();
    SaveSettings(Changed(), 2);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kKey, false));
        reg.DeleteValue("Dictionary");
        reg.WriteInteger("UpdCnt", 40000);
        reg.CloseKey();
    }
    TSettings s;
    EXPECT_THROW(LoadSettings(s), ERegistryError);
    EXPECT_EQ(s.Dictionary, u"");
    EXPECT_TRUE(s.UpdEnbl == false);  // read just before UpdCnt
    EXPECT_EQ(s.UpdCnt, 7);

    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kKey, false));
        reg.WriteInteger("UpdCnt", -32768);
        reg.WriteInteger("UpdStt", -1);
        reg.CloseKey();
    }
    EXPECT_THROW(LoadSettings(s), ERegistryError);
    EXPECT_EQ(s.UpdCnt, -32768);
    EXPECT_EQ(s.UpdPrxPrt, 3128);
    EXPECT_EQ(s.UpdStt, 0);
}

TEST_F(SettingsTest, SaveWithoutTheKeyWritesNothing)
{
    SaveSettings(Changed(), 1);
    EXPECT_FALSE(std::filesystem::exists(TRegistry::StoreFile(TRootKey::CurrentUser)));
}

TEST(SettingsShortCutTest, TextsBothWays)
{
    const std::pair<TShortCut, std::u16string> pairs[] = {
        {0x4041, u"Ctrl+A"}, {0x6072, u"Shift+Ctrl+F3"}, {0x802E, u"Alt+Del"},
        {0x000D, u"Enter"},  {0x0087, u"F24"},           {0xE05A, u"Shift+Ctrl+Alt+Z"},
        {0x4030, u"Ctrl+0"}, {0x2020, u"Shift+Space"},   {0x0008, u"BkSp"},
        {0x0022, u"PgDn"},   {0x8025, u"Alt+Left"},      {0x40BA, u"Ctrl+;"},
        {0x006B, u"Num +"},  {0x2013, u"Shift+Pause"},   {0x80DC, u"Alt+\\"},
    };
    for (const auto& [shortCut, text] : pairs) {
        EXPECT_EQ(ShortCutToText(shortCut), text);
        EXPECT_EQ(TextToShortCut(text), shortCut);
    }
    EXPECT_EQ(TextToShortCut(u"ctrl+shift+f3"), 0x6072);
    EXPECT_EQ(ShortCutToText(0x4060), u"Ctrl+Num 0");  // the keypad's digits are keys of their own
    EXPECT_EQ(TextToShortCut(u"Ctrl+Num 0"), 0x4060);
    EXPECT_EQ(TextToShortCut(u"Ctrl+0"), 0x4030);
    for (const std::u16string text : {u"none", u"", u"Ctrl+", u"Ctrl+Foo", u"F25", u"Win+A", u"A+Ctrl"})
        EXPECT_EQ(TextToShortCut(text), 0) << std::string(text.begin(), text.end());
    EXPECT_EQ(ShortCutToText(0), u"");
    EXPECT_EQ(ShortCutToText(0x40FF), u"");  // a key without a name
}

TEST_F(SettingsTest, NoShortCutIsStoredAsTheEmptyText)
{
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    EXPECT_EQ(s.HotKey, 0);
    SaveSettings(s, 4);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    EXPECT_EQ(reg.ReadString("HotKey"), u"");
    EXPECT_TRUE(reg.ValueExists("hkSpeak"));
}
