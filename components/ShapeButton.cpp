#include "components/ShapeButton.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>

namespace {

constexpr int RepeatInterval = 300;  // ms between repeated clicks while held down

// The pixels of the picture whose colour differs from its top-left pixel.
QBitmap ShapeMask(const QImage& picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    return QBitmap::fromImage(argb.createMaskFromColor(argb.pixel(0, 0), Qt::MaskInColor));
}

}  // namespace

TShapeButton::TShapeButton(QWidget* parent)
    : QWidget(parent)
{
    FRepeatTimer.setInterval(RepeatInterval);
    connect(&FRepeatTimer, &QTimer::timeout, this, [this] { DoClick(); });
    setMouseTracking(true);  // the hot state follows the mouse moves
    resize(15, 15);
}

void TShapeButton::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    update();
}

void TShapeButton::SetAutoRepeat(bool value)
{
    FAutoRepeat = value;
    UpdateRepeatTimer();
}

void TShapeButton::SetPaintMode(TPaintMode mode)
{
    if (mode == FPaintMode)
        return;
    if (FPaintMode == pmCrop)
        RemoveRegion();
    FPaintMode = mode;
    if (mode == pmCrop)
        BuildRegion();
    update();
}

void TShapeButton::SetPicIdle(const QImage& picture)
{
    FPicIdle = picture;
    RebuildRegion();
    update();
}

void TShapeButton::SetPicUp(const QImage& picture)
{
    FPicUp = picture;
    update();
}

void TShapeButton::SetPicDown(const QImage& picture)
{
    FPicDown = picture;
    update();
}

void TShapeButton::SetPicDsbld(const QImage& picture)
{
    FPicDsbld = picture;
    update();
}

void TShapeButton::SetImageList(const QList<QImage>& list)
{
    if (list == FImageList)
        return;
    FImageList = list;
    QImage* const targets[] = {&FPicIdle, &FPicUp, &FPicDown, &FPicDsbld};
    for (qsizetype i = 0; i < list.size() && i < 4; ++i)
        *targets[i] = list[i];
    RebuildRegion();
    update();
}

const QImage& TShapeButton::CurrentPicture() const
{
    const QImage& idle = FEnabled || FPicDsbld.isNull() ? FPicIdle : FPicDsbld;
    if (FPressed && FHot && FEnabled)
        return FPicDown.isNull() ? idle : FPicDown;
    if (FHot && !FPressed && FEnabled)
        return FPicUp.isNull() ? idle : FPicUp;
    return idle;
}

void TShapeButton::DoClick()
{
    if (FEnabled)
        emit OnClick();
}

void TShapeButton::BuildRegion()
{
    if (FPaintMode != pmCrop || FRegionApplied || FPicIdle.isNull())
        return;
    setMask(QRegion(ShapeMask(FPicIdle)));
    FRegionApplied = true;
}

// The shape always follows the idle picture, whichever came first, the picture or the mode.
void TShapeButton::RebuildRegion()
{
    if (FPaintMode != pmCrop)
        return;
    RemoveRegion();
    BuildRegion();
}

void TShapeButton::RemoveRegion()
{
    clearMask();
    FRegionApplied = false;
}

void TShapeButton::paintEvent(QPaintEvent*)
{
    const QImage& picture = CurrentPicture();
    if (picture.isNull())
        return;
    if (size() != picture.size())
        resize(picture.size());
    QPainter p(this);
    if (FPaintMode == pmTransparent) {
        QPixmap pixmap = QPixmap::fromImage(picture);
        pixmap.setMask(ShapeMask(picture));
        p.drawPixmap(0, 0, pixmap);
    } else {
        p.drawImage(0, 0, picture);
    }
}

bool TShapeButton::Inside(QPoint pos) const
{
    return mask().isEmpty() ? rect().contains(pos) : mask().contains(pos);
}

void TShapeButton::SetHot(bool hot)
{
    if (hot == FHot)
        return;
    FHot = hot;
    update();
    if (hot)
        emit OnMouseEnter();
    else
        emit OnMouseLeave();
    UpdateRepeatTimer();
}

void TShapeButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    SetHot(Inside(event->position().toPoint()));
}

void TShapeButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    SetHot(false);
}

void TShapeButton::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    SetHot(Inside(pos));
    emit OnMouseMove(pos);
}

void TShapeButton::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    FPressed = true;
    SetHot(Inside(event->position().toPoint()));  // a press may come without a move before it
    update();
    emit OnMouseDown(event->position().toPoint());
    UpdateRepeatTimer();
}

// A quick second press is a press of its own, not a double click.
void TShapeButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TShapeButton::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !FPressed)
        return;
    const QPoint pos = event->position().toPoint();
    FPressed = false;
    update();
    emit OnMouseUp(pos);
    UpdateRepeatTimer();
    if (Inside(pos))
        DoClick();
}

void TShapeButton::UpdateRepeatTimer()
{
    const bool run = FAutoRepeat && FHot && FPressed;
    if (run && !FRepeatTimer.isActive())
        FRepeatTimer.start();
    else if (!run)
        FRepeatTimer.stop();
}
