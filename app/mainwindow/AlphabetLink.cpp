#include "app/mainwindow/AlphabetLink.h"

#include <QMouseEvent>

TAlphabetLink::TAlphabetLink(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    SetHot(false);
}

void TAlphabetLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
    QLabel::mouseReleaseEvent(event);
}

void TAlphabetLink::enterEvent(QEnterEvent* event)
{
    SetHot(true);
    QLabel::enterEvent(event);
}

void TAlphabetLink::leaveEvent(QEvent* event)
{
    SetHot(false);
    QLabel::leaveEvent(event);
}

void TAlphabetLink::SetHot(bool hot)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, hot ? QColor(0, 0, 0xFF) : QColor(Qt::black));
    setPalette(p);
}
