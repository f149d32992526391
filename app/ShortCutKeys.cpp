#include "app/ShortCutKeys.h"

#include <cstddef>

namespace {

constexpr int kShift = 0x2000;
constexpr int kCtrl = 0x4000;
constexpr int kAlt = 0x8000;
constexpr int kKeypadDigits = 0x60;

struct TKeyPair {
    int Vk;
    int Key;
};
// Keys whose code is not their character. Enter and Return, Tab and Shift's Backtab share one.
// The first pair of a code is the key a shortcut box shows for it.
constexpr TKeyPair kKeys[] = {
    {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x09, Qt::Key_Backtab},   {0x0C, Qt::Key_Clear},
    {0x0D, Qt::Key_Return},    {0x0D, Qt::Key_Enter},  {0x13, Qt::Key_Pause},     {0x1B, Qt::Key_Escape},
    {0x20, Qt::Key_Space},     {0x21, Qt::Key_PageUp}, {0x22, Qt::Key_PageDown},  {0x23, Qt::Key_End},
    {0x24, Qt::Key_Home},      {0x25, Qt::Key_Left},   {0x26, Qt::Key_Up},        {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},      {0x2C, Qt::Key_Print},  {0x2C, Qt::Key_SysReq},    {0x2D, Qt::Key_Insert},
    {0x2E, Qt::Key_Delete},    {0x5D, Qt::Key_Menu},   {0x91, Qt::Key_ScrollLock}};

// The keys of the main block that type punctuation, by the code of the key that types them
// on the US layout, shifted or not; the first pair of a code is the key a box shows for it.
constexpr TKeyPair kPunctuation[] = {
    {0xBA, Qt::Key_Semicolon},  {0xBA, Qt::Key_Colon},      {0xBB, Qt::Key_Equal},        {0xBB, Qt::Key_Plus},
    {0xBC, Qt::Key_Comma},      {0xBC, Qt::Key_Less},       {0xBD, Qt::Key_Minus},        {0xBD, Qt::Key_Underscore},
    {0xBE, Qt::Key_Period},     {0xBE, Qt::Key_Greater},    {0xBF, Qt::Key_Slash},        {0xBF, Qt::Key_Question},
    {0xC0, Qt::Key_QuoteLeft},  {0xC0, Qt::Key_AsciiTilde}, {0xDB, Qt::Key_BracketLeft},  {0xDB, Qt::Key_BraceLeft},
    {0xDC, Qt::Key_Backslash},  {0xDC, Qt::Key_Bar},        {0xDD, Qt::Key_BracketRight}, {0xDD, Qt::Key_BraceRight},
    {0xDE, Qt::Key_Apostrophe}, {0xDE, Qt::Key_QuoteDbl},   {'1', Qt::Key_Exclam},        {'2', Qt::Key_At},
    {'3', Qt::Key_NumberSign},  {'4', Qt::Key_Dollar},      {'5', Qt::Key_Percent},       {'6', Qt::Key_AsciiCircum},
    {'7', Qt::Key_Ampersand},   {'8', Qt::Key_Asterisk},    {'9', Qt::Key_ParenLeft},     {'0', Qt::Key_ParenRight}};
// The German and Russian letters and signs outside A..Z, by the code of their key on those
// keyboard layouts (the key names of Russian letters are their capitals).
constexpr TKeyPair kGerman[] = {{0xBA, Qt::Key_Udiaeresis},      {0xC0, Qt::Key_Odiaeresis}, {0xDE, Qt::Key_Adiaeresis},
                                {0xDB, Qt::Key_ssharp},          {0xDC, Qt::Key_degree},     {0xDD, Qt::Key_Dead_Acute},
                                {0xDC, Qt::Key_Dead_Circumflex}, {0xDD, Qt::Key_Dead_Grave}, {'3', Qt::Key_section}};
constexpr TKeyPair kRussian[] = {
    {'F', 0x0410},  {0xBC, 0x0411}, {'D', 0x0412},  {'U', 0x0413},  {'L', 0x0414}, {'T', 0x0415}, {0xC0, 0x0401},
    {0xBA, 0x0416}, {'P', 0x0417},  {'B', 0x0418},  {'Q', 0x0419},  {'R', 0x041A}, {'K', 0x041B}, {'V', 0x041C},
    {'Y', 0x041D},  {'J', 0x041E},  {'G', 0x041F},  {'H', 0x0420},  {'C', 0x0421}, {'N', 0x0422}, {'E', 0x0423},
    {'A', 0x0424},  {0xDB, 0x0425}, {'W', 0x0426},  {'X', 0x0427},  {'I', 0x0428}, {'O', 0x0429}, {0xDD, 0x042A},
    {'S', 0x042B},  {'M', 0x042C},  {0xDE, 0x042D}, {0xBE, 0x042E}, {'Z', 0x042F}};

// The keypad's operators, apart from the main block's.
constexpr TKeyPair kKeypad[] = {{0x6A, Qt::Key_Asterisk}, {0x6B, Qt::Key_Plus},  {0x6D, Qt::Key_Minus},
                                {0x6E, Qt::Key_Period},   {0x6E, Qt::Key_Comma}, {0x6F, Qt::Key_Slash}};

template <std::size_t N> int Find(const TKeyPair (&table)[N], int key)
{
    for (const TKeyPair& k : table)
        if (k.Key == key)
            return k.Vk;
    return 0;
}

template <std::size_t N> int KeyOf(const TKeyPair (&table)[N], int vk)
{
    for (const TKeyPair& k : table)
        if (k.Vk == vk)
            return k.Key;
    return 0;
}

int VirtualKeyOf(int key, bool keypad)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? kKeypadDigits : '0') + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);
    if (keypad) {
        if (const int vk = Find(kKeypad, key); vk != 0)
            return vk;
    }
    for (const int vk : {Find(kKeys, key), Find(kPunctuation, key), Find(kGerman, key), Find(kRussian, key)})
        if (vk != 0)
            return vk;
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
    // The stored form has no place for the Meta (Windows) key.
    if (modifiers & Qt::MetaModifier)
        return 0;
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
    } else if ((key = KeyOf(kKeypad, vk)) != 0) {
        modifiers |= Qt::KeypadModifier;
    } else if ((key = KeyOf(kKeys, vk)) == 0) {
        key = KeyOf(kPunctuation, vk);
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
