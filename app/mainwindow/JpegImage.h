// JPEG pictures decoded with libjpeg.
#pragma once

#include <QImage>
#include <QString>

// The picture of a JPEG file; a null image when the file is missing or not a readable JPEG.
QImage LoadJpegFile(const QString& fileName);
// The picture of JPEG bytes; a null image when they are not a readable JPEG.
QImage DecodeJpeg(const QByteArray& bytes);
