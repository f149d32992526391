#include "platform/qt/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct TSystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Classic system colour index -> palette role; the index is the position.
constexpr TSystemRole kSystemRoles[] = {
    {QPalette::Active, QPalette::Button},             // 0 scroll bar
    {QPalette::Active, QPalette::Window},             // 1 desktop
    {QPalette::Active, QPalette::Highlight},          // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},        // 3 inactive caption
    {QPalette::Active, QPalette::Window},             // 4 menu
    {QPalette::Active, QPalette::Base},               // 5 window
    {QPalette::Active, QPalette::Shadow},             // 6 window frame
    {QPalette::Active, QPalette::WindowText},         // 7 menu text
    {QPalette::Active, QPalette::Text},               // 8 window text
    {QPalette::Active, QPalette::HighlightedText},    // 9 caption text
    {QPalette::Active, QPalette::Button},             // 10 active border
    {QPalette::Active, QPalette::Button},             // 11 inactive border
    {QPalette::Active, QPalette::Dark},               // 12 application work space
    {QPalette::Active, QPalette::Highlight},          // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},    // 14 highlight text
    {QPalette::Active, QPalette::Button},             // 15 button face
    {QPalette::Active, QPalette::Dark},               // 16 button shadow
    {QPalette::Disabled, QPalette::Text},             // 17 grey text
    {QPalette::Active, QPalette::ButtonText},         // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText},  // 19 inactive caption text
    {QPalette::Active, QPalette::Light},              // 20 button highlight
    {QPalette::Active, QPalette::Shadow},             // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},           // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},        // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},        // 24 info background
    {QPalette::Active, QPalette::Window},             // 25 (unused index)
    {QPalette::Active, QPalette::Link},               // 26 hot light
    {QPalette::Active, QPalette::Highlight},          // 27 gradient active caption
    {QPalette::Inactive, QPalette::Highlight},        // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight},          // 29 menu highlight
    {QPalette::Active, QPalette::Window},             // 30 menu bar
};

constexpr int kSystemCount = static_cast<int>(sizeof kSystemRoles / sizeof kSystemRoles[0]);

}  // namespace

bool IsSystemColor(TColor color)
{
    return (static_cast<std::uint32_t>(color) & 0xFF000000u) == 0xFF000000u;
}

QColor ToQColor(TColor color, const QPalette& palette)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    const auto value = static_cast<std::uint32_t>(color);
    if (IsSystemColor(color)) {
        const auto index = static_cast<int>(value & 0x00FFFFFFu);
        if (index >= kSystemCount || index == 25)
            return QColor(Qt::black);
        const TSystemRole& r = kSystemRoles[index];
        return palette.color(r.group, r.role);
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QColor ToQColor(TColor color)
{
    return ToQColor(color, QGuiApplication::palette());
}
