// What the learning window takes from the main window: the objects it reads (the open
// learning list, the current dictionary, the list panel, the interface strings) and the
// members it sets (the sound position, method 6's timer and its speaking). The main window
// fills one for each showing; the window keeps it only while it is open.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QListWidget;
class QTimer;
class TBaseDictionary;
class TLearnDictionary;
class TWideStrings;

struct TLearningHost {
    const TWideStrings* LangStrings = nullptr;    // interface strings (required)
    QString AppDir;                               // program folder, ending in "/": Sounds/ lies there
    QString HelpFile;                             // the main window's help file
    QString FromText;                             // text of the direction chooser cbFrom
    QString ToText;                               // text of the dictionary chooser cbTo
    TBaseDictionary* Dictionary = nullptr;        // the current dictionary (may be null)
    TLearnDictionary* LearnDictionary = nullptr;  // the learning-list store (may be null)

    // The main window's list panel: its entries, in list order, and whether it is shown
    // (a list is open). Without ListShown the list counts as open when lbList is visible.
    const QListWidget* lbList = nullptr;
    std::function<bool()> ListShown;

    // Pronunciation: the word's section and its index within it, and the speak button's click.
    std::int32_t* SoundWordIndex = nullptr;
    std::int32_t* SoundBlock = nullptr;
    std::function<void()> SpeakWord;
    // The sound position of a list entry (the main window's SetListWordSoundPosition).
    std::function<void(int position)> SetListWordSoundPosition;

    // Method 6 runs on the main window's timer after the window has closed.
    QTimer* TimerM6 = nullptr;
    bool* SpeakInMethod6 = nullptr;

    // The main window's message box (text, buttons 0 OK / 1 Yes-No, icon 0 question /
    // 1 information / 2 error); without it the window shows the message form itself.
    std::function<int(const QString& text, int buttons, int icon)> ShowMessageBox;

    // Seed of the random choices; without one the clock seeds them.
    std::optional<std::uint32_t> RandomSeed;
};
