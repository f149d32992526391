// Writes the pictures and answer sounds of the learning games into the folder given:
// LearnBack.jpg (800 x 600 background), Yes.jpg / No.jpg (answer pictures), Yes.wav / No.wav
// (answer sounds), Hang_1.jpg .. Hang_7.jpg (the gallows, one stage more each) and
// Hang_Win.jpg (the saved man).
#include "data/media/Canvas.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr TRgb kWood{120, 78, 40}, kRope{190, 160, 110}, kInk{40, 40, 48}, kSky{214, 232, 248}, kGrass{120, 170, 90},
    kGreen{46, 160, 67}, kRed{200, 40, 40}, kWhite{255, 255, 255}, kSun{250, 200, 60};

void Gallows(TCanvas& c)
{
    c.VerticalGradient(kSky, {240, 246, 252});
    c.FillRect(0, 262, c.Width(), c.Height(), kGrass);
    c.Line(30, 262, 130, 262, 8, kWood);  // base
    c.Line(60, 262, 60, 30, 8, kWood);    // post
    c.Line(56, 30, 170, 30, 8, kWood);    // beam
    c.Line(60, 70, 100, 30, 6, kWood);    // brace
    c.Line(165, 30, 165, 62, 3, kRope);   // rope
}

// Stage 2 adds the head, then the body, the arms and the legs; stage 7 is the whole man.
void Man(TCanvas& c, int stage, TRgb ink)
{
    if (stage >= 2)
        c.Ring(165, 80, 18, 4, ink);
    if (stage >= 3)
        c.Line(165, 98, 165, 170, 4, ink);
    if (stage >= 4)
        c.Line(165, 115, 135, 150, 4, ink);
    if (stage >= 5)
        c.Line(165, 115, 195, 150, 4, ink);
    if (stage >= 6)
        c.Line(165, 170, 140, 220, 4, ink);
    if (stage >= 7)
        c.Line(165, 170, 190, 220, 4, ink);
}

void WinPicture(TCanvas& c)
{
    c.VerticalGradient({170, 210, 245}, {235, 245, 252});
    c.FillRect(0, 262, c.Width(), c.Height(), kGrass);
    c.FillCircle(200, 50, 24, kSun);
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6;
        c.Line(200 + 30 * std::cos(a), 50 + 30 * std::sin(a), 200 + 40 * std::cos(a), 50 + 40 * std::sin(a), 3, kSun);
    }
    // The man stands free with his arms up.
    c.Ring(110, 120, 18, 4, kInk);
    c.FillCircle(104, 116, 2, kInk);
    c.FillCircle(116, 116, 2, kInk);
    c.Line(102, 126, 110, 131, 2, kInk);
    c.Line(110, 131, 118, 126, 2, kInk);
    c.Line(110, 138, 110, 205, 4, kInk);
    c.Line(110, 150, 80, 110, 4, kInk);
    c.Line(110, 150, 140, 110, 4, kInk);
    c.Line(110, 205, 88, 258, 4, kInk);
    c.Line(110, 205, 132, 258, 4, kInk);
}

void Background(TCanvas& c)
{
    c.VerticalGradient({24, 64, 112}, {8, 24, 56});
    for (int i = 0; i < 40; ++i) {
        const double x = std::fmod(i * 197.0, 800), y = std::fmod(i * 131.0, 600);
        c.FillCircle(x, y, 30 + (i % 5) * 12, {static_cast<std::uint8_t>(30 + i % 4 * 4), 74, 124});
    }
}

void Answer(TCanvas& c, bool right)
{
    const TRgb colour = right ? kGreen : kRed;
    c.FillCircle(48, 48, 44, colour);
    if (right) {
        c.Line(26, 50, 42, 68, 9, kWhite);
        c.Line(42, 68, 72, 30, 9, kWhite);
    } else {
        c.Line(30, 30, 66, 66, 9, kWhite);
        c.Line(66, 30, 30, 66, 9, kWhite);
    }
}

// Notes with a soft attack and a decaying tail.
void WriteNotes(const std::string& fileName, const std::vector<double>& notes, double noteSeconds, bool buzz)
{
    constexpr int kRate = 22050;
    std::vector<short> samples;
    for (double f : notes) {
        const int n = static_cast<int>(kRate * noteSeconds);
        for (int i = 0; i < n; ++i) {
            const double t = double(i) / kRate;
            const double envelope = std::min(1.0, t / 0.005) * std::exp(-t * (buzz ? 6 : 9));
            double s = std::sin(2 * std::numbers::pi * f * t) + 0.3 * std::sin(4 * std::numbers::pi * f * t);
            if (buzz)
                s = std::tanh(2.5 * s);
            samples.push_back(static_cast<short>(9000 * envelope * s));
        }
    }
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(fileName.c_str(), SFM_WRITE, &info);
    if (!f)
        throw std::runtime_error("cannot write " + fileName);
    const sf_count_t written = sf_writef_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(f);
    if (written != static_cast<sf_count_t>(samples.size()))
        throw std::runtime_error("cannot write " + fileName);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_media <Sounds folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        TCanvas back(800, 600, {});
        Background(back);
        back.SaveJpeg((dir / "LearnBack.jpg").string());
        for (bool right : {true, false}) {
            TCanvas answer(96, 96, kWhite);
            Answer(answer, right);
            answer.SaveJpeg((dir / (right ? "Yes.jpg" : "No.jpg")).string());
        }
        for (int stage = 1; stage <= 7; ++stage) {
            TCanvas hang(240, 300, {});
            Gallows(hang);
            Man(hang, stage, stage == 7 ? kRed : kInk);
            hang.SaveJpeg((dir / ("Hang_" + std::to_string(stage) + ".jpg")).string());
        }
        TCanvas win(240, 300, {});
        WinPicture(win);
        win.SaveJpeg((dir / "Hang_Win.jpg").string());
        WriteNotes((dir / "Yes.wav").string(), {1046.5, 1318.5, 1568.0}, 0.12, false);
        WriteNotes((dir / "No.wav").string(), {220.0, 164.8}, 0.2, true);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_media: %s\n", e.what());
        return 1;
    }
    return 0;
}
