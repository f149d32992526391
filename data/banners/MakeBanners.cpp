// Draws the main window's two banners (English and Bulgarian interface) and writes them as
// JPEG files with libjpeg: make_banners <folder>.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

#include <jpeglib.h>

namespace {

QImage Draw(const QString& title, const QString& line)
{
    QImage image(468, 60, QImage::Format_RGB888);
    QPainter p(&image);
    QLinearGradient g(0, 0, 468, 0);
    g.setColorAt(0, QColor(0x1E, 0x3A, 0x78));
    g.setColorAt(1, QColor(0x4A, 0x86, 0xC8));
    p.fillRect(image.rect(), g);
    p.setPen(QColor(0xFF, 0xD8, 0x40));
    QFont big(QStringLiteral("Liberation Serif"), 18, QFont::Bold);
    p.setFont(big);
    p.drawText(QRect(12, 4, 444, 28), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(Qt::white);
    QFont small(QStringLiteral("Liberation Sans"), 10);
    p.setFont(small);
    p.drawText(QRect(12, 32, 444, 24), Qt::AlignLeft | Qt::AlignVCenter, line);
    return image;
}

bool WriteJpeg(const QImage& image, const QString& fileName)
{
    std::FILE* out = std::fopen(QFile::encodeName(fileName).constData(), "wb");
    if (out == nullptr)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: make_banners <folder>\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const bool ok = WriteJpeg(Draw(QStringLiteral("Lexora XP Pro"),
                                   QStringLiteral("Every word spoken, every dictionary: get the full edition")),
                              folder + "/BANNER_ENG.jpg")
        && WriteJpeg(Draw(QStringLiteral("Lexora XP Pro"),
                          QStringLiteral("Всяка дума изговорена, всеки речник: вземете пълното издание")),
                     folder + "/BANNER_BG.jpg");
    return ok ? 0 : 1;
}
