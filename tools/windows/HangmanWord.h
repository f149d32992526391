// The hangman word as guessed so far (" h  _  l  l  o "): as large as its label allows, a
// word kept on one line; a phrase wraps only between its words.
#pragma once

#include <QLabel>
#include <QStringList>

class THangmanWord : public QLabel {
    Q_OBJECT
public:
    static constexpr int kLargestPoints = 16;
    static constexpr int kSmallestPoints = 7;

    explicit THangmanWord(QWidget* parent = nullptr);

    // Sets the text and picks the largest size from kLargestPoints down at which every word
    // fits the width and every line the height, its spaces narrowed to a half where that helps;
    // then, when no letter is hidden, with spaces of a quarter.
    void Show(const QString& text);
    // The lines as drawn.
    const QStringList& Lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();
    QStringList Wrap(const QFont& font, int width, bool breakWords) const;

    QStringList lines_;
};
