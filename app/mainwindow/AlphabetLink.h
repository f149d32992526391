// A link of the letter panel: a caption that turns blue under the mouse and reports clicks;
// a letter link also carries the letter whose block it opens.
#pragma once

#include <QLabel>

class TAlphabetLink : public QLabel {
    Q_OBJECT
public:
    explicit TAlphabetLink(const QString& caption, QWidget* parent = nullptr);

    // The letter of the block a letter link opens; 0 = none, ' ' = the caption's letter.
    char16_t LetterKey = u' ';

signals:
    void clicked(TAlphabetLink* link);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SetHot(bool hot);
};
