#include "app/mainwindow/JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace {

struct TErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
};

void OnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->Jump, 1);
}

void OnMessage(j_common_ptr)
{
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    jpeg_decompress_struct info{};
    TErrorManager errors{};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = OnError;
    errors.Base.output_message = OnMessage;
    // Made before the jump point and never reassigned, so it is intact after a longjmp.
    const auto result = std::make_unique<QImage>();
    if (setjmp(errors.Jump) != 0) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    // Banners are small; anything huge is not one of ours.
    if (info.output_width == 0 || info.output_height == 0 || info.output_width > 8192 || info.output_height > 8192
        || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    *result = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return *result;
}

QImage LoadJpegFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return DecodeJpeg(f.readAll());
}
