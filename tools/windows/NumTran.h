// The number-to-words window: a whole number typed, one of seven languages picked, the number
// shown in words and copied to the clipboard on request.
#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TMBox;
class TWideStrings;

class TfNumTran : public QDialog {
    Q_OBJECT
public:
    TfNumTran(const TWideStrings& langStrings, QWidget* parent = nullptr);

    QLabel* lNumber;
    QLabel* lLabguage;
    QLineEdit* eNumber;
    QComboBox* cbLanguage;
    QPushButton* bTranslate;
    QPushButton* bClose;
    TMBox* MBox1;
    QLabel* Label1;
    QPushButton* UniButton1;

    std::int32_t CurrentNumber = 0;
    std::uint8_t LanguageIndex = 0;

    void FormCreate();
    void bTranslateClick();
    void cbLanguageChange(int index);
    void UniButton1Click();
    void bCloseClick();

protected:
    void showEvent(QShowEvent* event) override;                  // centred on its owner
    void keyPressEvent(QKeyEvent* event) override;               // FormKeyDown: Escape closes
    bool eventFilter(QObject* watched, QEvent* event) override;  // eNumberKeyPress, eNumberKeyDown

private:
    std::int32_t ReadNumber() const;
    void FitCaptions();

    const TWideStrings& LangStrings;
};
