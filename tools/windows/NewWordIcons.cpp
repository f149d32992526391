#include "tools/windows/NewWordIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace NewWordIcons {
namespace {

constexpr int kSize = 20;
const QColor kInk(0x30, 0x30, 0x40);

void Letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline)
{
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(15);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
}

void Lines(QPainter& p, Qt::Alignment align, bool bullets)
{
    p.setPen(QPen(kInk, 1.5));
    const int widths[] = {14, 10, 14, 8};
    for (int i = 0; i < 4; ++i) {
        const int y = 4 + 4 * i;
        int w = bullets ? 11 : widths[i];
        int x = 3;
        if (align == Qt::AlignHCenter)
            x = (kSize - w) / 2;
        else if (align == Qt::AlignRight)
            x = kSize - 3 - w;
        if (bullets) {
            p.setBrush(kInk);
            p.drawEllipse(QPointF(4.5, y), 1.5, 1.5);
            x = 7;
        }
        p.drawLine(x, y, x + w, y);
    }
}

void Page(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void Draw(QPainter& p, TGlyph glyph)
{
    switch (glyph) {
    case TGlyph::Add:
        p.setPen(QPen(QColor(0x1a, 0x8a, 0x2a), 3));
        p.drawLine(10, 3, 10, 17);
        p.drawLine(3, 10, 17, 10);
        break;
    case TGlyph::Save:
    case TGlyph::SaveList:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(glyph == TGlyph::Save ? QColor(0x3a, 0x6e, 0xc0) : QColor(0x2a, 0x9a, 0x6a));
        p.drawRect(QRectF(3.5, 3.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 7, 5));
        p.drawRect(QRectF(5.5, 11.5, 9, 5));
        break;
    case TGlyph::Open: {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0xe8, 0xc0, 0x50));
        QPainterPath folder;
        folder.moveTo(2.5, 5.5);
        folder.lineTo(8, 5.5);
        folder.lineTo(9.5, 7.5);
        folder.lineTo(17.5, 7.5);
        folder.lineTo(17.5, 16.5);
        folder.lineTo(2.5, 16.5);
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    case TGlyph::Copy:
        Page(p, QRectF(3.5, 2.5, 9, 11));
        Page(p, QRectF(7.5, 6.5, 9, 11));
        break;
    case TGlyph::Cut:
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(6, 3, 13, 13);
        p.drawLine(14, 3, 7, 13);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(6, 15), 2.5, 2.5);
        p.drawEllipse(QPointF(14, 15), 2.5, 2.5);
        break;
    case TGlyph::Paste:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0xc0, 0x90, 0x50));
        p.drawRect(QRectF(3.5, 3.5, 11, 14));
        Page(p, QRectF(8.5, 7.5, 9, 10));
        break;
    case TGlyph::Undo: {
        p.setPen(QPen(kInk, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 5, 11, 10), 90 * 16, -200 * 16);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(3, 5), QPointF(10, 1.5), QPointF(10, 8.5)}));
        break;
    }
    case TGlyph::Bold:
        Letter(p, QStringLiteral("B"), true, false, false);
        break;
    case TGlyph::Italic:
        Letter(p, QStringLiteral("I"), false, true, false);
        break;
    case TGlyph::Underline:
        Letter(p, QStringLiteral("U"), false, false, true);
        break;
    case TGlyph::AlignLeft:
        Lines(p, Qt::AlignLeft, false);
        break;
    case TGlyph::Center:
        Lines(p, Qt::AlignHCenter, false);
        break;
    case TGlyph::AlignRight:
        Lines(p, Qt::AlignRight, false);
        break;
    case TGlyph::Bullets:
        Lines(p, Qt::AlignLeft, true);
        break;
    case TGlyph::Colour:
        Letter(p, QStringLiteral("A"), true, false, false);
        p.fillRect(QRect(3, 16, 14, 3), QColor(0xd0, 0x20, 0x20));
        break;
    }
}

}  // namespace

QIcon Icon(TGlyph glyph)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, glyph);
    p.end();
    return QIcon(pixmap);
}

QIcon Swatch(const QColor& colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(colour);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 13, 13);
    p.end();
    return QIcon(pixmap);
}

}  // namespace NewWordIcons
