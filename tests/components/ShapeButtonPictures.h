// Pictures for the picture-button tests.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

namespace ShapeButtonTest {

// The colour the button cuts away.
inline const QColor Key(255, 0, 255);

// A 13 x 13 picture: a disc of `color` on the key colour (magenta corners).
inline QImage Disc(const QColor& color)
{
    QImage image(13, 13, QImage::Format_RGB32);
    image.fill(Key);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRect(0, 0, 13, 13));
    return image;
}

}  // namespace ShapeButtonTest
