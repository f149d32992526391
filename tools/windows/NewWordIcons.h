// Tool-bar pictures of the word editor, drawn at run time so they need no image files.
#pragma once

#include <QColor>
#include <QIcon>

namespace NewWordIcons {

enum class TGlyph {
    Add,
    Save,
    SaveList,
    Open,
    Copy,
    Cut,
    Paste,
    Undo,
    Bold,
    Italic,
    Underline,
    AlignLeft,
    Center,
    AlignRight,
    Bullets,
    Colour,
};

QIcon Icon(TGlyph glyph);

// A small square of the colour, framed, for the colour chooser.
QIcon Swatch(const QColor& colour);

}  // namespace NewWordIcons
