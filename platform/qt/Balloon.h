// The popup balloon that shows a word with its translation. Where the desktop runs a
// notification service the balloon is a desktop notification; elsewhere it is a small
// frameless window of our own near the mouse that never takes the focus, sized to its text
// (at most a third of the screen wide), closing after a number of seconds or on a click.
// A new balloon replaces the shown one. Events() tells how a balloon went.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace Balloon {

class TBalloonEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
signals:
    void Clicked();
    // Closed by the user or by CloseBaloon.
    void Hidden();
    // Its time ran out.
    void TimedOut();
};

// Shows Word and Text for Seconds seconds (at least 1); a shown balloon is replaced.
void ShowBaloon(const QString& word, const QString& text, int seconds);
// Closes the shown balloon; nothing when none is shown.
void CloseBaloon();
// The shown balloon window of our own, or null (none, or shown as a desktop notification).
QWidget* CurrentBalloon();
// How balloons go; lives as long as the application.
TBalloonEvents& Events();

}  // namespace Balloon
