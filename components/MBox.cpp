#include "components/MBox.h"

#include <QPainter>

namespace {
constexpr int kTitleBottom = 22;  // the title strip covers rows 1..21
constexpr QPoint kCaptionAt{4, 4};
}  // namespace

TMBox::TMBox(QWidget* parent)
    : QWidget(parent)
{
    resize(100, 100);
}

void TMBox::SetColor(TColor value)
{
    FColor = value;
    update();
}

void TMBox::SetBorderColor(TColor value)
{
    FBorderColor = value;
    update();
}

void TMBox::SetTitleColor(TColor value)
{
    FTitleColor = value;
    update();
}

void TMBox::SetCaption(const QString& caption)
{
    FCaption = caption;
    update();
}

void TMBox::SetBackImage(const QImage& image)
{
    if (!image.isNull())
        FBackImage = image.copy();
}

void TMBox::SetBackground(bool value)
{
    FBackground = value;
    update();
}

void TMBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor fill = ToQColor(FColor, palette());
    // Outline and fill: (0, 0)-(Width, Height), right and bottom exclusive.
    p.fillRect(rect(), fill);
    p.setPen(ToQColor(FBorderColor, palette()));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, width() - 1, height() - 1);

    if (!FBackImage.isNull())
        p.drawImage(QPoint(1, 1), FBackImage);

    if (FShowTitle) {
        const QColor title = ToQColor(FTitleColor, palette());
        // Strip (1, 1)-(Width - 1, 22): outlined in the box colour, filled with the title colour.
        p.fillRect(QRect(1, 1, width() - 2, kTitleBottom - 1), title);
        p.setPen(fill);
        p.drawRect(1, 1, width() - 3, kTitleBottom - 2);
        // The caption on the title colour, in the box's font.
        p.setFont(font());
        const QFontMetrics metrics = p.fontMetrics();
        const QRect cell(kCaptionAt, QSize(metrics.horizontalAdvance(FCaption), metrics.height()));
        p.fillRect(cell, title);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FCaption);
    }
}
