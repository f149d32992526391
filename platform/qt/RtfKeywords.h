// The RTF control words the reader acts on, looked up by name.
#pragma once

#include <string_view>

namespace RichText {

enum class TKeyword {
    Unknown,
    SkipDestination,  // a destination whose content is never shown (\info, \pict, \stylesheet ...)
    FontTable,
    ColourTable,
    Pn,
    PnBullet,
    PnNumbered,
    AnsiCodePage,
    DefaultFont,
    Uc,
    U,
    Plain,
    Pard,
    Par,
    Line,
    Tab,
    Character,  // a word that stands for one character (\emdash, \bullet ...)
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Font,
    FontCharset,
    FontSize,
    Colour,
    Red,
    Green,
    Blue,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    FirstIndent,
    ListMember,
};

TKeyword FindKeyword(std::string_view word);

// The character of a TKeyword::Character word.
char16_t KeywordCharacter(std::string_view word);

}  // namespace RichText
