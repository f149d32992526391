#include "components/CustomMURL.h"

#include "platform/qt/OpenUrl.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

TCustomMURL::TCustomMURL(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    // A widget's own cursor: a busy cursor shown while the label is made does not replace it.
    setCursor(Qt::PointingHandCursor);
    ApplyColors();
}

void TCustomMURL::SetHotColor(TColor value)
{
    FHotColor = value;
    FSaveFontColor = value;
}

void TCustomMURL::SetHotBgColor(TColor value)
{
    FHotBgColor = value;
    FSaveColor = value;
    FSaveParentColor = false;
}

void TCustomMURL::SetHotBorder(bool value)
{
    FHotBorder = value;
    if (FHot)
        update();
}

void TCustomMURL::SetFontColor(TColor value)
{
    FFontColor = value;
    ApplyColors();
}

void TCustomMURL::SetColor(TColor value)
{
    FColor = value;
    FParentColor = false;
    ApplyColors();
}

void TCustomMURL::SetTransparent(bool value)
{
    FTransparent = value;
    ApplyColors();
}

void TCustomMURL::ApplyColors()
{
    QPalette pal = palette();
    const QColor text = ToQColor(FFontColor);
    // The disabled group keeps the style's grey text.
    pal.setColor(QPalette::Active, QPalette::WindowText, text);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, text);
    pal.setColor(QPalette::Window, ToQColor(FColor));
    setPalette(pal);
    setAutoFillBackground(!FTransparent && !FParentColor);
    update();
}

QString TCustomMURL::LinkText() const
{
    return text();
}

void TCustomMURL::Click()
{
    switch (FActivType) {
    case atHttp:
        OpenUrl(QUrl(QStringLiteral("http://") + LinkText()));
        break;
    case atMailTo:
        OpenUrl(QUrl(QStringLiteral("mailto:") + LinkText()));
        break;
    case atUser:
        emit clicked();
        break;
    }
}

void TCustomMURL::MouseEnter()
{
    if (FHot)
        return;
    emit mouseEntered();
    FHot = true;
    FSaveFontColor = FFontColor;
    FSaveColor = FColor;
    FSaveParentColor = FParentColor;
    FFontColor = FHotColor;
    FColor = FHotBgColor;
    FParentColor = false;
    QFont f = font();
    FSaveUnderline = f.underline();
    FSaveBold = f.bold();
    if (FUnderlineOnHot)
        f.setUnderline(true);
    if (FBoldOnHot)
        f.setBold(true);
    setFont(f);
    ApplyColors();
}

void TCustomMURL::MouseLeave()
{
    if (!FHot)
        return;
    emit mouseLeft();
    FHot = false;
    FFontColor = FSaveFontColor;
    FColor = FSaveColor;
    FParentColor = FSaveParentColor;
    // Only what the hover added is taken away: a label that was bold stays bold.
    QFont f = font();
    if (FUnderlineOnHot)
        f.setUnderline(FSaveUnderline);
    if (FBoldOnHot)
        f.setBold(FSaveBold);
    setFont(f);
    ApplyColors();
}

void TCustomMURL::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    MouseEnter();
}

void TCustomMURL::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    MouseLeave();
}

void TCustomMURL::mousePressEvent(QMouseEvent* event)
{
    // Taken here (a plain label passes presses on to its parent), so the release comes back.
    event->accept();
    if (event->button() == Qt::LeftButton)
        FPressed = true;
}

void TCustomMURL::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = FPressed && rect().contains(event->position().toPoint());
    FPressed = false;
    if (click)
        Click();
}

void TCustomMURL::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (FHot && FHotBorder) {
        QPainter p(this);
        p.setPen(ToQColor(FHotColor));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
}
