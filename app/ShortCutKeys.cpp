#include "app/ShortCutKeys.h"

namespace {

constexpr int kShift = 0x2000;
constexpr int kCtrl = 0x4000;
constexpr int kAlt = 0x8000;
constexpr int kKeypadDigits = 0x60;

struct TKeyPair {
    int Vk;
    Qt::Key Key;
};
// Keys whose code is not their character. Enter and Return, Tab and Shift's Backtab share one.
constexpr TKeyPair kKeys[] = {{0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x09, Qt::Key_Backtab},
                              {0x0D, Qt::Key_Return},    {0x0D, Qt::Key_Enter},  {0x1B, Qt::Key_Escape},
                              {0x20, Qt::Key_Space},     {0x21, Qt::Key_PageUp}, {0x22, Qt::Key_PageDown},
                              {0x23, Qt::Key_End},       {0x24, Qt::Key_Home},   {0x25, Qt::Key_Left},
                              {0x26, Qt::Key_Up},        {0x27, Qt::Key_Right},  {0x28, Qt::Key_Down},
                              {0x2D, Qt::Key_Insert},    {0x2E, Qt::Key_Delete}};

int VirtualKeyOf(int key, bool keypad)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? kKeypadDigits : '0') + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);
    for (const TKeyPair& k : kKeys)
        if (k.Key == key)
            return k.Vk;
    return 0;
}

int WithModifiers(int vk, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier)
        vk |= kShift;
    if (modifiers & Qt::ControlModifier)
        vk |= kCtrl;
    if (modifiers & Qt::AltModifier)
        vk |= kAlt;
    return vk;
}

}  // namespace

TShortCut ShortCutOfKey(int key, Qt::KeyboardModifiers modifiers)
{
    const int vk = VirtualKeyOf(key, modifiers & Qt::KeypadModifier);
    if (vk == 0)
        return 0;
    // Shift+Tab arrives as Backtab; the Shift is the user's.
    return static_cast<TShortCut>(
        WithModifiers(vk, key == Qt::Key_Backtab ? modifiers | Qt::ShiftModifier : modifiers));
}

QKeySequence ShortCutToSequence(TShortCut shortCut)
{
    const int vk = shortCut & 0xFF;
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        key = vk;
    } else if (vk >= kKeypadDigits && vk <= kKeypadDigits + 9) {
        key = Qt::Key_0 + (vk - kKeypadDigits);
        modifiers |= Qt::KeypadModifier;
    } else if (vk >= 0x70 && vk <= 0x87) {
        key = Qt::Key_F1 + (vk - 0x70);
    } else {
        for (const TKeyPair& k : kKeys)
            if (k.Vk == vk) {
                key = k.Key;
                break;
            }
    }
    if (key == 0)
        return {};
    if (shortCut & kShift)
        modifiers |= Qt::ShiftModifier;
    if (shortCut & kCtrl)
        modifiers |= Qt::ControlModifier;
    if (shortCut & kAlt)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

TShortCut SequenceToShortCut(const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        return 0;
    const QKeyCombination combination = sequence[0];
    return ShortCutOfKey(combination.key(), combination.keyboardModifiers());
}
