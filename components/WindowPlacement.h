// Where the program's dialogs and help window open: centred on the window that opened them,
// with their frame inside the screen's work area.
#pragma once

class QWidget;

// Moves Window (a top-level widget, shown or not) so that its frame is centred on Owner's
// frame (or on the active window of Owner's own that covers it) and lies inside the screen's
// work area; without a visible Owner, centred on the screen. A resizable window larger than
// the work area is shrunk to fit.
void PlaceOnOwner(QWidget& window, const QWidget* owner);
