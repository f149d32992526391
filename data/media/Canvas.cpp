#include "data/media/Canvas.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

TCanvas::TCanvas(int width, int height, TRgb fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * height, fill)
{
}

void TCanvas::Blend(int x, int y, TRgb c, double alpha)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0)
        return;
    alpha = std::min(alpha, 1.0);
    TRgb& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
    auto mix = [alpha](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a * (1 - alpha) + b * alpha));
    };
    p = {mix(p.R, c.R), mix(p.G, c.G), mix(p.B, c.B)};
}

void TCanvas::VerticalGradient(TRgb top, TRgb bottom)
{
    for (int y = 0; y < height_; ++y) {
        const double t = height_ > 1 ? double(y) / (height_ - 1) : 0;
        const TRgb c{static_cast<std::uint8_t>(top.R + (bottom.R - top.R) * t),
                     static_cast<std::uint8_t>(top.G + (bottom.G - top.G) * t),
                     static_cast<std::uint8_t>(top.B + (bottom.B - top.B) * t)};
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, width_, c);
    }
}

void TCanvas::FillRect(int x0, int y0, int x1, int y1, TRgb c)
{
    for (int y = std::max(0, y0); y < std::min(height_, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width_, x1); ++x)
            pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
}

// Shapes are drawn with a one-pixel soft edge so the pictures look smooth.
void TCanvas::FillCircle(double cx, double cy, double r, TRgb c)
{
    for (int y = int(cy - r - 1); y <= int(cy + r + 1); ++y)
        for (int x = int(cx - r - 1); x <= int(cx + r + 1); ++x)
            Blend(x, y, c, r + 0.5 - std::hypot(x - cx, y - cy));
}

void TCanvas::Ring(double cx, double cy, double r, double thickness, TRgb c)
{
    const double half = thickness / 2;
    for (int y = int(cy - r - half - 1); y <= int(cy + r + half + 1); ++y)
        for (int x = int(cx - r - half - 1); x <= int(cx + r + half + 1); ++x)
            Blend(x, y, c, half + 0.5 - std::abs(std::hypot(x - cx, y - cy) - r));
}

void TCanvas::Line(double x0, double y0, double x1, double y1, double thickness, TRgb c)
{
    const double half = thickness / 2;
    const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = int(std::min(y0, y1) - half - 1); y <= int(std::max(y0, y1) + half + 1); ++y)
        for (int x = int(std::min(x0, x1) - half - 1); x <= int(std::max(x0, x1) + half + 1); ++x) {
            double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            Blend(x, y, c, half + 0.5 - std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)));
        }
}

void TCanvas::SaveJpeg(const std::string& fileName, int quality) const
{
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(fileName.c_str(), "wb"), &std::fclose);
    if (!out)
        throw std::runtime_error("cannot write " + fileName);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out.get());
    cinfo.image_width = static_cast<JDIMENSION>(width_);
    cinfo.image_height = static_cast<JDIMENSION>(height_);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width_) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const TRgb* src = &pixels_[static_cast<std::size_t>(cinfo.next_scanline) * width_];
        for (int x = 0; x < width_; ++x) {
            row[3 * x] = src[x].R;
            row[3 * x + 1] = src[x].G;
            row[3 * x + 2] = src[x].B;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    if (std::fflush(out.get()) != 0)
        throw std::runtime_error("cannot write " + fileName);
}
