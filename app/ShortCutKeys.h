// The stored shortcut form (Settings.h: virtual-key code in the low byte, 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt) and Qt's keys, both ways. The settings window stores shortcuts
// through it and the main window matches pressed keys through it, so every key the one can
// store the other recognises.
#pragma once

#include "app/Settings.h"

#include <QKeySequence>

// The shortcut of a pressed key; 0 for a key that has no virtual-key code here. Digits
// pressed on the keypad (KeypadModifier) are the keypad's own codes 0x60..0x69.
TShortCut ShortCutOfKey(int key, Qt::KeyboardModifiers modifiers);

// The key sequence a shortcut box shows for a stored shortcut (empty for none), and back.
QKeySequence ShortCutToSequence(TShortCut shortCut);
TShortCut SequenceToShortCut(const QKeySequence& sequence);
