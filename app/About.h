// The About box: a banner picture that opens the maker's home page, the product name and
// version, the number of installed dictionaries, a link to the product site and OK.
#pragma once

#include "engine/WideStringList.h"

#include <QDialog>
#include <QImage>

class QFrame;
class QLabel;
class QPushButton;
class TMURLStr;

class TfAbout : public QDialog {
    Q_OBJECT
public:
    TfAbout(const TWideStringList& strings, QWidget* parent = nullptr);

    // "Dictionaries: " + Count.
    void SetDictionaryCount(int count);
    void SetPicture(const QImage& picture);

    QLabel* Image1;
    QLabel* UniLabel2;
    QLabel* lDictCount;
    QFrame* Bevel1;
    TMURLStr* MURLStr1;
    QPushButton* Button1;

    void FormShow();
    void Button1Click();
    void Image1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TWideStringList& strings_;
};
