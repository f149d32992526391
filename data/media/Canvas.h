// A small RGB canvas for the generated pictures: filled shapes, thick lines, gradients, and
// saving as JPEG through libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TRgb {
    std::uint8_t R = 0, G = 0, B = 0;
};

class TCanvas {
public:
    TCanvas(int width, int height, TRgb fill);

    void VerticalGradient(TRgb top, TRgb bottom);
    void FillRect(int x0, int y0, int x1, int y1, TRgb c);
    void FillCircle(double cx, double cy, double r, TRgb c);
    void Ring(double cx, double cy, double r, double thickness, TRgb c);
    void Line(double x0, double y0, double x1, double y1, double thickness, TRgb c);

    // Throws std::runtime_error when the file cannot be written.
    void SaveJpeg(const std::string& fileName, int quality = 90) const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    TRgb At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

private:
    void Blend(int x, int y, TRgb c, double alpha);

    int width_, height_;
    std::vector<TRgb> pixels_;
};
