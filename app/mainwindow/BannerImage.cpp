#include "app/mainwindow/BannerImage.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

TBannerImage::TBannerImage(QWidget* parent)
    : QLabel(parent)
{
    // The window's width decides the picture's, never the other way round.
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

bool TBannerImage::hasHeightForWidth() const
{
    return !pixmap().isNull();
}

int TBannerImage::heightForWidth(int width) const
{
    const QPixmap picture = pixmap();
    if (picture.isNull() || picture.width() <= width)
        return picture.height();
    return std::max(1, picture.height() * width / picture.width());
}

void TBannerImage::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = pixmap();
    if (picture.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect area = contentsRect();
    QSize size = picture.size();
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area.size(), Qt::KeepAspectRatio);
    const QRect target(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2,
                       size.width(), size.height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, picture);
}
