// The balloon window of our own and the fitting of its text: wrapped at words (a word wider
// than the balloon is broken), at most a given width and height, and cut with "…" only where
// text does not fit.
#pragma once

#include <QFont>
#include <QFrame>
#include <QString>

class QTimer;

namespace Balloon {

struct TFittedText {
    QString Text;  // the lines, separated by "\n"
    int Lines = 0;
};

// Lays Text out in Font within MaxWidth, in at most MaxHeight (at least one line).
TFittedText FitBalloonText(const QString& text, const QFont& font, int maxWidth, int maxHeight);

class TBalloonWindow : public QFrame {
public:
    // Sized for the screen at Where, and placed near it inside that screen.
    TBalloonWindow(const QString& word, const QString& text, int seconds, const QPoint& where);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace Balloon
