// A label that behaves like a hyperlink: while the mouse is over it, it takes the hot font
// and background colours (and underline, bold, a frame as asked); when the mouse leaves, its
// own colours and style come back exactly. A click opens "http://" or "mailto:" followed by
// the text, or, for atUser, fires clicked(). TMURL (Unicode) and TMURLStr (8-bit) build on it.
#pragma once

#include "platform/qt/Colors.h"

#include <QLabel>
#include <QString>

enum TActivType { atHttp = 0, atMailTo = 1, atUser = 2 };

class TCustomMURL : public QLabel {
    Q_OBJECT
public:
    explicit TCustomMURL(QWidget* parent = nullptr);

    TActivType ActivType() const { return FActivType; }
    void SetActivType(TActivType value) { FActivType = value; }

    TColor HotColor() const { return FHotColor; }
    // Also becomes the remembered normal font colour: a change made while the mouse is over
    // the label shows after it leaves.
    void SetHotColor(TColor value);
    TColor HotBgColor() const { return FHotBgColor; }
    // Also becomes the remembered normal background.
    void SetHotBgColor(TColor value);

    bool UnderlineOnHot() const { return FUnderlineOnHot; }
    void SetUnderlineOnHot(bool value) { FUnderlineOnHot = value; }
    bool BoldOnHot() const { return FBoldOnHot; }
    void SetBoldOnHot(bool value) { FBoldOnHot = value; }
    bool HotBorder() const { return FHotBorder; }
    void SetHotBorder(bool value);

    // The label's own font colour (blue after construction).
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    // The label's own background. Until a colour is set the label shows its parent's.
    TColor Color() const { return FColor; }
    bool ParentColor() const { return FParentColor; }
    void SetColor(TColor value);
    // A transparent label never paints a background, whatever its colour.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    bool IsHot() const { return FHot; }

    // What a click does: opens the address, or fires clicked() for atUser.
    void Click();

signals:
    void clicked();
    void mouseEntered();
    void mouseLeft();

protected:
    // The address text after "http://" or "mailto:".
    virtual QString LinkText() const;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void MouseEnter();
    void MouseLeave();
    void ApplyColors();

    TActivType FActivType = atHttp;
    TColor FHotColor = clRed;
    TColor FHotBgColor = clBtnFace;
    bool FUnderlineOnHot = true;
    bool FBoldOnHot = false;
    bool FHotBorder = false;

    TColor FFontColor = clBlue;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    bool FTransparent = false;

    // Remembered while the mouse is over the label.
    TColor FSaveFontColor = 0;
    TColor FSaveColor = clBtnFace;
    bool FSaveParentColor = true;
    bool FSaveUnderline = false;
    bool FSaveBold = false;

    bool FHot = false;
    bool FPressed = false;
};
