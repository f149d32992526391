// The popup balloon that shows a word with its translation: a small frameless window near
// the mouse that never takes the focus, closes after a number of seconds or on a click, and
// is replaced by the next one.
#pragma once

#include <QString>

class QWidget;

namespace Balloon {

// Shows Word and Text for Seconds seconds (at least 1); a shown balloon is replaced.
void ShowBaloon(const QString& word, const QString& text, int seconds);
// Closes the shown balloon; nothing when none is shown.
void CloseBaloon();
// The shown balloon, or null (for tests).
QWidget* CurrentBalloon();

}  // namespace Balloon
