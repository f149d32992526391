// Colours as the windows give them: $00BBGGRR for a fixed colour, $FF0000nn for a system
// colour (button face, tooltip background, ...). Every window turns them into QColor here.
#pragma once

#include <QColor>

#include <cstdint>

class QPalette;

using TColor = std::int32_t;

namespace ColorValues {
constexpr TColor System(int index)
{
    return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index));
}
}  // namespace ColorValues

// Fixed colours ($00BBGGRR).
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;  // nothing is drawn: a transparent QColor

// System colours ($FF0000nn, nn = the classic system colour index).
constexpr TColor clScrollBar = ColorValues::System(0);
constexpr TColor clBackground = ColorValues::System(1);
constexpr TColor clActiveCaption = ColorValues::System(2);
constexpr TColor clInactiveCaption = ColorValues::System(3);
constexpr TColor clMenu = ColorValues::System(4);
constexpr TColor clWindow = ColorValues::System(5);
constexpr TColor clWindowFrame = ColorValues::System(6);
constexpr TColor clMenuText = ColorValues::System(7);
constexpr TColor clWindowText = ColorValues::System(8);
constexpr TColor clCaptionText = ColorValues::System(9);
constexpr TColor clActiveBorder = ColorValues::System(10);
constexpr TColor clInactiveBorder = ColorValues::System(11);
constexpr TColor clAppWorkSpace = ColorValues::System(12);
constexpr TColor clHighlight = ColorValues::System(13);
constexpr TColor clHighlightText = ColorValues::System(14);
constexpr TColor clBtnFace = ColorValues::System(15);
constexpr TColor clBtnShadow = ColorValues::System(16);
constexpr TColor clGrayText = ColorValues::System(17);
constexpr TColor clBtnText = ColorValues::System(18);
constexpr TColor clInactiveCaptionText = ColorValues::System(19);
constexpr TColor clBtnHighlight = ColorValues::System(20);
constexpr TColor cl3DDkShadow = ColorValues::System(21);
constexpr TColor cl3DLight = ColorValues::System(22);
constexpr TColor clInfoText = ColorValues::System(23);
constexpr TColor clInfoBk = ColorValues::System(24);
constexpr TColor clHotLight = ColorValues::System(26);
constexpr TColor clGradientActiveCaption = ColorValues::System(27);
constexpr TColor clGradientInactiveCaption = ColorValues::System(28);
constexpr TColor clMenuHighlight = ColorValues::System(29);
constexpr TColor clMenuBar = ColorValues::System(30);

// True for a system colour ($FF0000nn).
bool IsSystemColor(TColor color);

// The colour to paint: a fixed colour as its red, green and blue bytes (the top byte is
// ignored), a system colour as the matching role of the application palette (an unknown
// system index gives black), clNone as transparent.
QColor ToQColor(TColor color);

// The same against a given palette (a widget's own).
QColor ToQColor(TColor color, const QPalette& palette);
