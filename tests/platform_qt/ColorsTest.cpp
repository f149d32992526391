// Colour values: $00BBGGRR byte order, system colours from the palette, the odd values.
#include "platform/qt/Colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

TEST(Colors, FixedColoursAreBlueGreenRed)
{
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(0x048AE4), QColor(0xE4, 0x8A, 0x04));
    EXPECT_EQ(ToQColor(14898176), QColor(0x00, 0x54, 0xE3));    // $E35400
    EXPECT_EQ(ToQColor(0x02123456), QColor(0x56, 0x34, 0x12));  // the top byte does not count
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_FALSE(IsSystemColor(clWhite));
    EXPECT_TRUE(IsSystemColor(clBtnFace));
}

TEST(Colors, SystemColoursFollowThePalette)
{
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    pal.setColor(QPalette::ToolTipBase, QColor(4, 5, 6));
    pal.setColor(QPalette::Base, QColor(7, 8, 9));
    pal.setColor(QPalette::Text, QColor(10, 11, 12));
    pal.setColor(QPalette::Highlight, QColor(13, 14, 15));
    EXPECT_EQ(ToQColor(clBtnFace, pal), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(clInfoBk, pal), QColor(4, 5, 6));
    EXPECT_EQ(ToQColor(clWindow, pal), QColor(7, 8, 9));
    EXPECT_EQ(ToQColor(clWindowText, pal), QColor(10, 11, 12));
    EXPECT_EQ(ToQColor(clHighlight, pal), QColor(13, 14, 15));
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(clInfoBk), 0xFF000018u);
    // The application palette by default; an index past the classic set is black.
    EXPECT_EQ(ToQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_EQ(ToQColor(static_cast<TColor>(0xFF000040u)), QColor(Qt::black));
    EXPECT_EQ(ToQColor(static_cast<TColor>(0xFFFFFFFFu)), QColor(Qt::black));
}
