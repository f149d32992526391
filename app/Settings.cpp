#include "app/Settings.h"

#include "platform/qt/Registry.h"

#include <array>
#include <string_view>

namespace {

constexpr std::string_view kSettingsKey = "\\Software\\TavorSoft\\LexoraXP";

constexpr TShortCut kShift = 0x2000;
constexpr TShortCut kCtrl = 0x4000;
constexpr TShortCut kAlt = 0x8000;

// The key names of the shortcut texts, by virtual-key code; others are built below. Keys
// of the main block that type punctuation carry their US layout's character.
struct TKeyName {
    std::uint8_t Code;
    std::string_view Name;
};
constexpr std::array<TKeyName, 36> kKeyNames{
    {{0x08, "BkSp"},        {0x09, "Tab"},   {0x0C, "Clear"},       {0x0D, "Enter"},
     {0x13, "Pause"},       {0x1B, "Esc"},   {0x20, "Space"},       {0x21, "PgUp"},
     {0x22, "PgDn"},        {0x23, "End"},   {0x24, "Home"},        {0x25, "Left"},
     {0x26, "Up"},          {0x27, "Right"}, {0x28, "Down"},        {0x2C, "Print Screen"},
     {0x2D, "Ins"},         {0x2E, "Del"},   {0x5D, "Application"}, {0x6A, "Num *"},
     {0x6B, "Num +"},       {0x6D, "Num -"}, {0x6E, "Num Del"},     {0x6F, "Num /"},
     {0x91, "Scroll Lock"}, {0xBA, ";"},     {0xBB, "="},           {0xBC, ","},
     {0xBD, "-"},           {0xBE, "."},     {0xBF, "/"},           {0xC0, "`"},
     {0xDB, "["},           {0xDC, "\\"},    {0xDD, "]"},           {0xDE, "'"}}};

// The name of key Code ("A", "0", "F3", "Enter"); empty when the key has none.
std::string KeyName(std::uint8_t code)
{
    for (const TKeyName& k : kKeyNames)
        if (k.Code == code)
            return std::string(k.Name);
    if (code >= 0x30 && code <= 0x39)
        return std::string(1, static_cast<char>('0' + code - 0x30));
    if (code >= 0x41 && code <= 0x5A)
        return std::string(1, static_cast<char>('A' + code - 0x41));
    if (code >= 0x60 && code <= 0x69)  // the keypad's digits, apart from the main row's
        return "Num " + std::string(1, static_cast<char>('0' + code - 0x60));
    if (code >= 0x70 && code <= 0x87)
        return "F" + std::to_string(code - 0x6F);
    return {};
}

bool EqualsIgnoringCase(std::u16string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char y = b[i];
        if (x >= u'a' && x <= u'z')
            x = static_cast<char16_t>(x - u'a' + u'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != static_cast<unsigned char>(y))
            return false;
    }
    return true;
}

bool StripPrefix(std::u16string_view& text, std::string_view prefix)
{
    if (text.size() < prefix.size() || !EqualsIgnoringCase(text.substr(0, prefix.size()), prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

std::int32_t ReadRange(const TRegistry& reg, std::string_view name, std::int32_t lo, std::int32_t hi)
{
    const std::int32_t v = reg.ReadInteger(name);
    if (v < lo || v > hi)
        throw ERegistryError("Value of '" + std::string(name) + "' out of range: " + std::to_string(v));
    return v;
}

std::uint8_t DictKind(std::int32_t v)
{
    return v >= 0 && v <= 3 ? static_cast<std::uint8_t>(v) : 4;
}

// A shortcut of the main window. Escape is none: it closes the windows and hides the main
// one. A stored one (older settings took it) reads as no key.
TShortCut WindowShortCut(const std::u16string& text)
{
    const TShortCut shortCut = TextToShortCut(text);
    return (shortCut & 0xFF) == 0x1B ? 0 : shortCut;
}

}  // namespace

TShortCut TextToShortCut(const std::u16string& text)
{
    std::u16string_view rest = text;
    TShortCut modifiers = 0;
    for (;;) {
        if (StripPrefix(rest, "Shift+"))
            modifiers |= kShift;
        else if (StripPrefix(rest, "Ctrl+"))
            modifiers |= kCtrl;
        else if (StripPrefix(rest, "Alt+"))
            modifiers |= kAlt;
        else
            break;
    }
    if (rest.empty())
        return 0;
    for (int code = 0x08; code <= 0xFF; ++code) {
        const std::string name = KeyName(static_cast<std::uint8_t>(code));
        if (!name.empty() && EqualsIgnoringCase(rest, name))
            return static_cast<TShortCut>(code | modifiers);
    }
    return 0;
}

std::u16string ShortCutToText(TShortCut shortCut)
{
    const std::string name = KeyName(static_cast<std::uint8_t>(shortCut & 0xFF));
    if (name.empty())
        return {};
    std::string text;
    if (shortCut & kShift)
        text += "Shift+";
    if (shortCut & kCtrl)
        text += "Ctrl+";
    if (shortCut & kAlt)
        text += "Alt+";
    text += name;
    return std::u16string(text.begin(), text.end());
}

void LoadSettings(TSettings& s)
{
    TRegistry reg(TRootKey::CurrentUser);
    if (!reg.OpenKey(kSettingsKey, false)) {
        WriteDefaultSettings();
        if (!reg.OpenKey(kSettingsKey, false))
            throw ERegistryError("Cannot open the settings key");
    }
    s.Top = reg.ReadInteger("Top");
    s.Left = reg.ReadInteger("Left");
    s.Width = reg.ReadInteger("Width");
    s.Height = reg.ReadInteger("Height");
    s.Language = reg.ReadInteger("Language");
    s.EveryKey = reg.ReadBool("EveryKey");
    s.Delicate = reg.ReadBool("Delicate");
    s.StartMin = reg.ReadBool("StartMin");
    s.Publisher = reg.ReadBool("Publisher");
    s.DblClickTranslate = reg.ReadBool("DblClickTranslate");
    s.AddToHistory = reg.ReadBool("AddToHistory");
    s.ClipTranslate = reg.ReadBool("ClipTranslate");
    s.WinStart = reg.ReadBool("WinStart");
    s.StayOnTop = reg.ReadBool("StayOnTop");
    s.Min = reg.ReadBool("Min");
    s.Max = reg.ReadBool("Max");
    s.Alphabet = reg.ReadBool("Alphabet");
    s.UserDict = reg.ReadBool("UserDict");
    s.DictType = DictKind(reg.ReadInteger("DictType"));
    s.SLine = reg.ReadBool("SLine");
    s.DBLClickSpeak = reg.ReadBool("DBLClickSpeak");
    s.WordsWidth = reg.ReadInteger("WordsWidth");
    s.BLine = reg.ReadBool("BLine");
    s.DLine = reg.ReadBool("DLine");
    s.Transparent = reg.ReadBool("Transparent");
    s.HotKey = WindowShortCut(reg.ReadString("HotKey"));
    s.hkSpeak = WindowShortCut(reg.ReadString("hkSpeak"));
    s.Dictionary = reg.ReadString("Dictionary");
    s.CDROM = reg.ReadString("CDROM");
    s.From = reg.ReadInteger("From");
    s.To = reg.ReadInteger("To");
    s.DelicateTime = reg.ReadInteger("DelicateTime");
    s.TranValue = reg.ReadInteger("TranValue");
    s.UpdEnbl = reg.ReadBool("UpdEnbl");
    s.UpdCnt = static_cast<std::int16_t>(ReadRange(reg, "UpdCnt", -32768, 32767));
    // A 32-bit value sign-extended, or the 64-bit value written after 2038.
    s.UpdLast = reg.ReadInt64("UpdLast");
    s.UpdPrx = reg.ReadBool("UpdPrx");
    s.UpdPrxSrv = reg.ReadString("UpdPrxSrv");
    s.UpdPrxUsNa = reg.ReadString("UpdPrxUsNa");
    s.UpdPrxPss = reg.ReadString("UpdPrxPss");
    s.UpdPrxPrt = reg.ReadInteger("UpdPrxPrt");
    s.UpdStt = static_cast<std::uint16_t>(ReadRange(reg, "UpdStt", 0, 65535));
    reg.CloseKey();
}

void SaveSettings(const TSettings& settings, int dictType)
{
    const TSettings s = settings;
    TRegistry reg(TRootKey::CurrentUser);
    if (!reg.OpenKey(kSettingsKey, false))
        return;
    reg.WriteInteger("Top", s.Top);
    reg.WriteInteger("Left", s.Left);
    reg.WriteInteger("Width", s.Width);
    reg.WriteInteger("Height", s.Height);
    reg.WriteInteger("Language", s.Language);
    reg.WriteInteger("DictType", dictType >= 0 && dictType <= 4 ? dictType : 4);
    reg.WriteBool("EveryKey", s.EveryKey);
    reg.WriteBool("Delicate", s.Delicate);
    reg.WriteBool("Publisher", s.Publisher);
    reg.WriteBool("DblClickTranslate", s.DblClickTranslate);
    reg.WriteBool("AddToHistory", s.AddToHistory);
    reg.WriteBool("ClipTranslate", s.ClipTranslate);
    reg.WriteBool("WinStart", s.WinStart);
    reg.WriteBool("StartMin", s.StartMin);
    reg.WriteBool("StayOnTop", s.StayOnTop);
    reg.WriteBool("Min", s.Min);
    reg.WriteBool("Max", s.Max);
    reg.WriteBool("Alphabet", s.Alphabet);
    reg.WriteBool("UserDict", s.UserDict);
    reg.WriteBool("SLine", s.SLine);
    reg.WriteBool("DBLClickSpeak", s.DBLClickSpeak);
    reg.WriteBool("Transparent", s.Transparent);
    reg.WriteInteger("WordsWidth", s.WordsWidth);
    reg.WriteBool("BLine", s.BLine);
    reg.WriteBool("DLine", s.DLine);
    reg.WriteString("HotKey", ShortCutToText(s.HotKey));
    reg.WriteString("hkSpeak", ShortCutToText(s.hkSpeak));
    reg.WriteString("CDROM", s.CDROM);
    reg.WriteString("Dictionary", s.Dictionary);
    reg.WriteInteger("From", s.From);
    reg.WriteInteger("To", s.To);
    reg.WriteInteger("DelicateTime", s.DelicateTime);
    reg.WriteInteger("TranValue", s.TranValue);
    reg.WriteBool("UpdEnbl", s.UpdEnbl);
    reg.WriteInteger("UpdCnt", s.UpdCnt);
    // 32 bits while the time fits (until 2038), 64 bits after: the save never stops here.
    reg.WriteInt64("UpdLast", s.UpdLast);
    reg.WriteBool("UpdPrx", s.UpdPrx);
    reg.WriteString("UpdPrxSrv", s.UpdPrxSrv);
    reg.WriteString("UpdPrxUsNa", s.UpdPrxUsNa);
    reg.WriteString("UpdPrxPss", s.UpdPrxPss);
    reg.WriteInteger("UpdPrxPrt", s.UpdPrxPrt);
    reg.WriteInteger("UpdStt", s.UpdStt);
    reg.CloseKey();
}

void WriteDefaultSettings()
{
    const TSettings d;
    TRegistry reg(TRootKey::CurrentUser);
    if (!reg.OpenKey("\\Software\\TavorSoft", true)) {
        reg.CreateKey("TavorSoft");
        reg.CloseKey();
    }
    if (!reg.OpenKey(kSettingsKey, true))
        reg.CreateKey("LexoraXP");
    reg.WriteInteger("Top", d.Top);
    reg.WriteInteger("Left", d.Left);
    reg.WriteInteger("Width", d.Width);
    reg.WriteInteger("Height", d.Height);
    reg.WriteInteger("Language", d.Language);
    reg.WriteInteger("DictType", d.DictType);
    reg.WriteBool("EveryKey", d.EveryKey);
    reg.WriteBool("Delicate", d.Delicate);
    reg.WriteBool("Publisher", d.Publisher);
    reg.WriteBool("DblClickTranslate", d.DblClickTranslate);
    reg.WriteBool("AddToHistory", d.AddToHistory);
    reg.WriteBool("ClipTranslate", d.ClipTranslate);
    reg.WriteBool("WinStart", d.WinStart);
    reg.WriteBool("StayOnTop", d.StayOnTop);
    reg.WriteBool("Min", d.Min);
    reg.WriteBool("Max", d.Max);
    reg.WriteBool("Alphabet", d.Alphabet);
    reg.WriteBool("UserDict", d.UserDict);
    reg.WriteBool("SLine", d.SLine);
    reg.WriteBool("DBLClickSpeak", d.DBLClickSpeak);
    reg.WriteBool("StartMin", d.StartMin);
    reg.WriteInteger("WordsWidth", d.WordsWidth);
    reg.WriteBool("BLine", d.BLine);
    reg.WriteBool("DLine", d.DLine);
    reg.WriteBool("Transparent", d.Transparent);
    reg.WriteString("HotKey", u"none");
    reg.WriteString("hkSpeak", u"none");
    reg.WriteString("Dictionary", u"");
    reg.WriteString("CDROM", u"");
    reg.WriteInteger("From", d.From);
    reg.WriteInteger("To", d.To);
    reg.WriteInteger("DelicateTime", d.DelicateTime);
    reg.WriteInteger("TranValue", d.TranValue);
    reg.WriteBool("UpdEnbl", d.UpdEnbl);
    reg.WriteInteger("UpdCnt", d.UpdCnt);
    reg.WriteInt64("UpdLast", d.UpdLast);
    reg.WriteBool("UpdPrx", d.UpdPrx);
    reg.WriteString("UpdPrxSrv", u"");
    reg.WriteString("UpdPrxUsNa", u"");
    reg.WriteString("UpdPrxPss", u"");
    reg.WriteInteger("UpdPrxPrt", d.UpdPrxPrt);
    reg.WriteInteger("UpdStt", d.UpdStt);
    reg.CloseKey();
}
