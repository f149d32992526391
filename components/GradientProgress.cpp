#include "components/GradientProgress.h"

#include "platform/qt/Colors.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Channel values of a colour, red, green, blue, as reals for the gradient steps.
using TChannels = std::array<double, 3>;

TChannels Channels(const QColor& c)
{
    const QRgb rgb = c.rgb();
    return {double(qRed(rgb)), double(qGreen(rgb)), double(qBlue(rgb))};
}

// Nearest integer, ties to even, held to a channel's range.
int Channel(double v)
{
    return std::clamp(static_cast<int>(std::nearbyint(v)), 0, 255);
}

QColor FromChannels(const TChannels& c)
{
    return QColor(Channel(c[0]), Channel(c[1]), Channel(c[2]));
}

// Per-pixel step of each channel over the filled width.
TChannels Delta(const QColor& start, const QColor& end, int filled)
{
    const TChannels s = Channels(start), e = Channels(end);
    return {(e[0] - s[0]) / filled, (e[1] - s[1]) / filled, (e[2] - s[2]) / filled};
}

void Advance(TChannels& c, const TChannels& delta, double times)
{
    for (int i = 0; i < 3; ++i)
        c[i] += times * delta[i];
}

}  // namespace

TGradientProgress::TGradientProgress(QWidget* parent)
    : QWidget(parent),
      FColor(ToQColor(clBtnFace)),
      FHintColor(ToQColor(clInfoBk))
{
    resize(150, 15);
}

int TGradientProgress::Percentage() const
{
    if (FMaximum == FMinimum)
        return 0;
    // 64-bit: (Position - Minimum) * 100 leaves 32 bits for ranges past about 21 million.
    return static_cast<int>((std::int64_t(FPosition) - FMinimum) * 100 / (std::int64_t(FMaximum) - FMinimum));
}

void TGradientProgress::SetPosition(std::int32_t value)
{
    value = std::clamp(value, FMinimum, FMaximum);
    if (value == FPosition)
        return;
    const int old = Percentage();
    FPosition = value;
    RangeChanged(old);
}

void TGradientProgress::SetMaximum(std::int32_t value)
{
    if (value == FMaximum)
        return;
    const int old = Percentage();
    FMaximum = std::max(value, FMinimum);
    if (FMaximum < FPosition)
        FPosition = FMaximum;
    RangeChanged(old);
}

void TGradientProgress::SetMinimum(std::int32_t value)
{
    if (value == FMinimum)
        return;
    const int old = Percentage();
    FMinimum = std::min(value, FMaximum);
    if (FMinimum > FPosition)
        FPosition = FMinimum;
    RangeChanged(old);
}

void TGradientProgress::RangeChanged(int oldPercentage)
{
    FDirty = FDirty || (FTextVisible && Percentage() != oldPercentage);
    UpdateBlockLayout();
    UpdateBuffer();
}

void TGradientProgress::StepIt()
{
    const std::int64_t next = std::int64_t(FPosition) + FStep;
    SetPosition(static_cast<std::int32_t>(std::clamp<std::int64_t>(next, FMinimum, FMaximum)));
}

void TGradientProgress::SetSolid(bool value)
{
    if (value == FSolid)
        return;
    FSolid = value;
    FDirty = true;
    UpdateBlockLayout();
    UpdateBuffer();
}

void TGradientProgress::SetGradientBlocks(bool value)
{
    if (value == FGradientBlocks)
        return;
    FGradientBlocks = value;
    if (!FSolid) {
        FDirty = true;
        UpdateBuffer();
    }
}

void TGradientProgress::SetColor(const QColor& value)
{
    if (value == FColor)
        return;
    FColor = value;
    if (!FTransparent) {
        FDirty = true;
        UpdateBuffer();
    }
}

void TGradientProgress::SetStartColor(const QColor& value)
{
    if (value == FStartColor)
        return;
    FStartColor = value;
    FDirty = true;
    UpdateBuffer();
}

void TGradientProgress::SetEndColor(const QColor& value)
{
    if (value == FEndColor)
        return;
    FEndColor = value;
    FDirty = true;
    UpdateBuffer();
}

void TGradientProgress::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    FDirty = true;
    UpdateBuffer();
}

void TGradientProgress::SetTextVisible(bool value)
{
    if (value == FTextVisible)
        return;
    FTextVisible = value;
    FDirty = true;
    UpdateBuffer();
}

void TGradientProgress::SetTextCentered(bool value)
{
    if (value == FTextCentered)
        return;
    FTextCentered = value;
    FDirty = true;
    UpdateBuffer();
}

void TGradientProgress::SetTextFont(const QFont& value)
{
    if (value == FTextFont)
        return;
    FTextFont = value;
    if (FTextVisible) {
        FDirty = true;
        UpdateBuffer();
    }
}

void TGradientProgress::UpdateBlockLayout()
{
    const int w = width(), h = height();
    if (FMaximum == FMinimum || w < 2)
        return;
    // 64-bit: the width times a position of tens of millions leaves 32 bits.
    int filled = static_cast<int>(std::int64_t(w - 2) * (std::int64_t(FPosition) - FMinimum)
                                  / (std::int64_t(FMaximum) - FMinimum));
    if (!FSolid) {
        FBlockWidth = 2 * h / 3;
        if (FBlockWidth == 0) {
            filled = 0;
        } else {
            // Snap to whole blocks, a remainder over half a block rounding up; the last
            // block shrinks to the room left before the right frame.
            FBlockCount = filled / FBlockWidth;
            const int room = std::min(FBlockWidth, w - 2 - FBlockCount * FBlockWidth);
            if (room < 2 * (filled % FBlockWidth)) {
                ++FBlockCount;
                FLastBlockPartial = room < FBlockWidth;
                FLastBlockWidth = room;
                filled = FLastBlockPartial ? w - 2 : FBlockWidth * FBlockCount;
            } else {
                FLastBlockPartial = false;
                filled = FBlockWidth * FBlockCount;
            }
        }
    }
    if (filled != FFilledWidth) {
        FFilledWidth = filled;
        FDirty = true;
        UpdateBuffer();
    }
}

QColor TGradientProgress::FaceColor() const
{
    if (FTransparent && parentWidget())
        return parentWidget()->palette().color(parentWidget()->backgroundRole());
    return FColor;
}

void TGradientProgress::UpdateBuffer()
{
    if (!FDirty)
        return;
    FDirty = false;
    const int w = width(), h = height();
    if (w <= 0 || h <= 0)
        return;
    FFace = QImage(w, h, QImage::Format_RGB32);
    const QColor face = FaceColor();
    FFace.fill(face);
    if (FSolid)
        DrawSolid(FFace);
    else
        DrawBlocks(FFace);
    QPainter p(&FFace);
    if (FFilledWidth < w - 2)
        p.fillRect(QRect(QPoint(FFilledWidth + 1, 1), QPoint(w - 2, h - 2)), face);
    p.end();
    if (FTextVisible)
        DrawText(FFace);
    p.begin(&FFace);
    p.setPen(face);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, w - 1, h - 1);
    p.end();
    update();
}

void TGradientProgress::DrawSolid(QImage& face) const
{
    if (FFilledWidth <= 0)
        return;
    QPainter p(&face);
    const int h = face.height();
    const TChannels delta = Delta(FStartColor, FEndColor, FFilledWidth);
    const TChannels start = Channels(FStartColor);
    for (int i = 0; i < FFilledWidth; ++i) {
        TChannels c = start;
        Advance(c, delta, i);
        p.fillRect(i + 1, 1, 1, h - 2, FromChannels(c));
    }
}

void TGradientProgress::DrawBlocks(QImage& face) const
{
    if (FFilledWidth <= 0 || FBlockWidth <= 0)
        return;
    QPainter p(&face);
    const int h = face.height();
    const int full = FBlockCount - (FLastBlockPartial ? 1 : 0);
    const TChannels delta = Delta(FStartColor, FEndColor, FFilledWidth);
    TChannels current = Channels(FStartColor);
    // One block of `columns` columns from x: one colour, or a step per column.
    const auto block = [&](int x, int columns) {
        if (!FGradientBlocks) {
            p.fillRect(x, 1, columns, h - 2, FromChannels(current));
            Advance(current, delta, FBlockWidth);
            return;
        }
        for (int i = 0; i < columns; ++i) {
            p.fillRect(x + i, 1, 1, h - 2, FromChannels(current));
            Advance(current, delta, 1);
        }
        Advance(current, delta, 1);  // the gap
    };
    for (int k = 0; k < full; ++k)
        block(1 + k * FBlockWidth, FBlockWidth - 1);
    if (FLastBlockPartial)
        block(1 + full * FBlockWidth, FLastBlockWidth);
    const QColor faceColor = FaceColor();
    for (int k = 1; k <= full; ++k)
        p.fillRect(k * FBlockWidth, 1, 1, h - 2, faceColor);
}

void TGradientProgress::DrawText(QImage& face) const
{
    const QString text = QStringLiteral("%1%").arg(Percentage());
    const QFontMetrics fm(FTextFont);
    const int span = FTextCentered ? face.width() : FFilledWidth;
    const int x = std::max(0, (span - fm.horizontalAdvance(text)) / 2);
    const int y = std::max(0, (face.height() - fm.height()) / 2);
    QPainter p(&face);
    p.setFont(FTextFont);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QPoint(x, y + fm.ascent()), text);
}

void TGradientProgress::paintEvent(QPaintEvent*)
{
    if (FFace.size() != size()) {
        FDirty = true;
        UpdateBlockLayout();
        UpdateBuffer();
    }
    if (width() <= 2 || height() <= 2)
        return;
    QPainter p(this);
    p.drawImage(0, 0, FFace);
}

void TGradientProgress::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FSavedHintColor = QToolTip::palette().color(QPalette::ToolTipBase);
    FHintSaved = true;
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, FHintColor);
    QToolTip::setPalette(tips);
    emit OnMouseEnter();
}

void TGradientProgress::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (FHintSaved) {
        QPalette tips = QToolTip::palette();
        tips.setColor(QPalette::ToolTipBase, FSavedHintColor);
        QToolTip::setPalette(tips);
        FHintSaved = false;
    }
    emit OnMouseLeave();
}

void TGradientProgress::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit OnClick();
}

void TGradientProgress::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::PaletteChange)
        return;
    if (FTransparent) {
        FDirty = true;
        UpdateBuffer();
    }
    emit OnParentColorChange();
}
