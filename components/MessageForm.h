// The program's one modal message window: OK or Yes/No, a question, information or error
// picture, every text from the interface strings.
#pragma once

#include <QDialog>
#include <QString>

class TWideStrings;
class QLabel;
class QPushButton;

class TfMessage : public QDialog {
    Q_OBJECT
public:
    explicit TfMessage(QWidget* owner = nullptr);

    QLabel* lMessage;
    QLabel* ImageQuestion;
    QLabel* ImageInfo;
    QLabel* ImageError;
    QPushButton* bOk;
    QPushButton* bYes;
    QPushButton* bNo;

    void bOkClick();
    void bYesClick();
    void bNoClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;  // UniFormKeyDown: Enter and Escape
    void showEvent(QShowEvent* event) override;     // opens centred on its owner, inside the screen
    void closeEvent(QCloseEvent* event) override;
    // Key preview: Enter and Escape reach the form before the focused button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool UniFormKeyDown(const QKeyEvent& event);
};

// Buttons: 0 OK, 1 Yes/No, other: none. Icon: 0 question, 1 information, 2 error, other: none.
// Returns 1 OK, 6 Yes, 7 No, 2 closed through the title bar.
int ShowMessageForm(QWidget* owner, const QString& text, const TWideStrings& strings, int buttons, int icon);
