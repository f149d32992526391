// The program settings record, read from and written to the settings store (registry layer)
// under "\Software\TavorSoft\LexoraXP"; field names are the stored value names.
#pragma once

#include <cstdint>
#include <string>

// A keyboard shortcut: virtual-key code in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using TShortCut = std::uint16_t;

struct TSettings {
    bool EveryKey = false;
    bool Delicate = false;
    bool Publisher = true;
    bool DblClickTranslate = false;
    bool AddToHistory = true;
    bool ClipTranslate = true;
    bool StayOnTop = false;
    bool WinStart = false;
    bool StartMin = false;
    bool DBLClickSpeak = false;
    TShortCut HotKey = 0;
    TShortCut hkSpeak = 0;
    std::int32_t Top = 100;
    std::int32_t Left = 100;
    std::int32_t Width = 550;
    std::int32_t Height = 380;
    bool Min = false;
    bool Max = false;
    bool Alphabet = true;
    bool UserDict = false;
    std::uint8_t DictType = 4;
    bool SLine = true;
    bool BLine = true;
    bool DLine = true;
    bool Transparent = false;
    std::int32_t TranValue = 155;
    std::int32_t DelicateTime = 10;
    std::int32_t Language = 100;
    std::int32_t WordsWidth = 150;
    std::int32_t From = 0;
    std::int32_t To = 0;
    std::u16string Dictionary;
    std::u16string CDROM;
    bool UpdEnbl = true;
    std::int16_t UpdCnt = 7;
    std::int64_t UpdLast = 1104537600;
    bool UpdPrx = false;
    std::u16string UpdPrxSrv;
    std::u16string UpdPrxUsNa;
    std::u16string UpdPrxPss;
    std::int32_t UpdPrxPrt = 0;
    std::uint16_t UpdStt = 0;
};

// Fills S from the store, writing the defaults first when the key is missing. A missing
// numeric value or one of another kind, or a value out of range, throws ERegistryError after
// the fields read before it were stored.
void LoadSettings(TSettings& s);
// Writes S (DictType given separately: the kind of the dictionary shown now, 0..4); writes
// nothing when the key is missing.
void SaveSettings(const TSettings& s, int dictType);
// Creates the key and writes every default value.
void WriteDefaultSettings();

// Shortcut texts as stored: "Ctrl+A", "Shift+Ctrl+F3", "Num 5" (keypad); a text naming no shortcut ("none")
// gives 0, and 0 gives the empty text.
TShortCut TextToShortCut(const std::u16string& text);
std::u16string ShortCutToText(TShortCut shortCut);
