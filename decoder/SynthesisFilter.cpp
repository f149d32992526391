#include "decoder/SynthesisFilter.h"

#include "decoder/AudioOutput.h"

#include <cmath>
#include <cstring>

namespace sonarel {
namespace {

// First half (taps 0..256) of the 512-tap prototype low-pass filter of the synthesis window
// (ISO/IEC 11172-3 Table 3-B.3), in units of 2^-16: the table's values are exact multiples of
// 2^-16. The prototype is symmetric (tap 512 - i equals tap i); the window D applies the sign
// (-1)^(i / 64) that the standard's V/U buffer layout calls for.
constexpr int kPrototype[257] = {
    0,     -1,    -1,    -1,    -1,    -1,    -1,    -2,    -2,    -2,    -2,    -3,    -3,    -4,    -4,    -5,
    -5,    -6,    -7,    -7,    -8,    -9,    -10,   -11,   -13,   -14,   -16,   -17,   -19,   -21,   -24,   -26,
    -29,   -31,   -35,   -38,   -41,   -45,   -49,   -53,   -58,   -63,   -68,   -73,   -79,   -85,   -91,   -97,
    -104,  -111,  -117,  -125,  -132,  -139,  -147,  -154,  -161,  -169,  -176,  -183,  -190,  -196,  -202,  -208,
    -213,  -218,  -222,  -225,  -227,  -228,  -228,  -227,  -224,  -221,  -215,  -208,  -200,  -189,  -177,  -163,
    -146,  -127,  -106,  -83,   -57,   -29,   2,     36,    72,    111,   153,   197,   244,   294,   347,   401,
    459,   519,   581,   645,   711,   779,   848,   919,   991,   1064,  1137,  1210,  1283,  1356,  1428,  1498,
    1567,  1634,  1698,  1759,  1817,  1870,  1919,  1962,  2001,  2032,  2057,  2075,  2085,  2087,  2080,  2063,
    2037,  2000,  1952,  1893,  1822,  1739,  1644,  1535,  1414,  1280,  1131,  970,   794,   605,   402,   185,
    -45,   -288,  -545,  -814,  -1095, -1388, -1692, -2006, -2330, -2663, -3004, -3351, -3705, -4063, -4425, -4788,
    -5153, -5517, -5879, -6237, -6589, -6935, -7271, -7597, -7910, -8209, -8491, -8755, -8998, -9219, -9416, -9585,
    -9727, -9838, -9916, -9959, -9966, -9935, -9863, -9750, -9592, -9389, -9139, -8840, -8492, -8092, -7640, -7134,
    -6574, -5959, -5288, -4561, -3776, -2935, -2037, -1082, -70,   998,   2122,  3300,  4533,  5818,  7154,  8540,
    9975,  11455, 12980, 14548, 16155, 17799, 19478, 21189, 22929, 24694, 26482, 28289, 30112, 31947, 33791, 35640,
    37489, 39336, 41176, 43006, 44821, 46617, 48390, 50137, 51853, 53534, 55178, 56778, 58333, 59838, 61289, 62684,
    64019, 65290, 66494, 67629, 68692, 69679, 70590, 71420, 72169, 72835, 73415, 73908, 74313, 74630, 74856, 74992,
    75038,
};

// Window by age: kWindow.taps[m][j] = D[j + 32 (15 - m)], so that the 16 most recent columns,
// oldest first, meet their coefficients in order. Built by the compiler.
struct Window {
    alignas(16) float taps[16][32] = {};
    constexpr Window()
    {
        for (int m = 0; m < 16; ++m) {
            for (int j = 0; j < 32; ++j) {
                const int i = j + 32 * (15 - m);
                const int tap = i <= 256 ? kPrototype[i] : kPrototype[512 - i];
                const double d = tap / 65536.0 * (((i / 64) & 1) ? -1.0 : 1.0);
                taps[m][j] = static_cast<float>(d);
            }
        }
    }
};
constexpr Window kWindow;

using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));

// The 31 factors 1 / (2 cos x) of the fast transform, x = (2i+1)pi/64 (i < 16), (2i+1)pi/32
// (i < 8), (2i+1)pi/16 (i < 4), (2i+1)pi/8 (i < 2) and pi/4. Built once, when the library
// loads; Factors() also serves callers that run before that (static objects of other files).
struct CosineFactors {
    float values[31];
    CosineFactors()
    {
        int n = 0;
        for (int half = 16; half >= 1; half /= 2)
            for (int i = 0; i < half; ++i)
                values[n++] = static_cast<float>(1.0 / (2.0 * std::cos((2 * i + 1) * M_PI / (4.0 * half))));
    }
};
const float* Factors()
{
    static const CosineFactors factors;  // thread-safe initialisation
    return factors.values;
}
const float* const kLoadTimeFactors = Factors();

// X[m] = sum_k x[k] cos((2k+1) m pi / 2N), m = 0..N-1, by halving (Lee's algorithm); c holds
// the factors of size N followed by those of the smaller sizes.
template <int N> [[gnu::always_inline]] inline void FastDct(const float* x, float* out, const float* c)
{
    constexpr int H = N / 2;
    float sums[H], diffs[H], even[H], odd[H];
    for (int k = 0; k < H; ++k) {
        sums[k] = x[k] + x[N - 1 - k];
        diffs[k] = (x[k] - x[N - 1 - k]) * c[k];
    }
    FastDct<H>(sums, even, c + H);
    FastDct<H>(diffs, odd, c + H);
    for (int m = 0; m < H - 1; ++m) {
        out[2 * m] = even[m];
        out[2 * m + 1] = odd[m] + odd[m + 1];
    }
    out[N - 2] = even[H - 1];
    out[N - 1] = odd[H - 1];
}
template <> [[gnu::always_inline]] inline void FastDct<1>(const float* x, float* out, const float*)
{
    out[0] = x[0];
}

}  // namespace

SynthesisFilter::SynthesisFilter(int32_t channel, float scaleFactor)
    : channel_(channel),
      scaleFactor_(scaleFactor),
      cosineFactors_(Factors())
{
    (void)kLoadTimeFactors;
    Reset();
}

float SynthesisFilter::WindowCoefficient(int i)
{
    if (i < 0 || i > 511)
        return 0.0f;
    return kWindow.taps[15 - i / 32][i % 32];
}

void SynthesisFilter::Reset()
{
    std::memset(stores_, 0, sizeof stores_);
    std::memset(inputs_, 0, sizeof inputs_);
    active_ = 0;
    column_ = 15;
}

void SynthesisFilter::ProduceSamples(int16_t* pcm)
{
    // New vector V[0..63] from the 32-point transform X of the inputs:
    // V[i] = X[16+i] (i < 16), V[16] = 0, V[16+x] = -X[32-x], V[48+x] = V[48-x] = -X[x].
    float x[32];
    FastDct<32>(inputs_, x, cosineFactors_);

    const int p = column_;
    float* active0 = stores_[active_][p];
    float* active1 = stores_[active_][p + 16];
    float* other0 = stores_[active_ ^ 1][p];
    float* other1 = stores_[active_ ^ 1][p + 16];
    for (int j = 0; j < 16; ++j)
        active0[j] = active1[j] = x[16 + j];
    active0[16] = active1[16] = 0.0f;
    for (int j = 17; j < 32; ++j)
        active0[j] = active1[j] = -x[48 - j];
    // V[32 + j]: j = 0 is -X[16]; j = 1..15 is -X[16-j]; j = 16 is -X[0]; j = 17..31 is -X[j-16].
    other0[0] = other1[0] = -x[16];
    for (int j = 1; j < 16; ++j)
        other0[j] = other1[j] = -x[16 - j];
    for (int j = 16; j < 32; ++j)
        other0[j] = other1[j] = -x[j - 16];

    // Window: the 16 most recent sets are columns p+1 .. p+16; four output samples per vector.
    Float4 acc[8] = {};
    const float(*columns)[32] = stores_[active_] + p + 1;
    for (int m = 0; m < 16; ++m) {
        const float* v = columns[m];
        const float* w = kWindow.taps[m];
#pragma GCC unroll 8
        for (int k = 0; k < 8; ++k) {
            Float4 vk, wk;
            std::memcpy(&vk, v + 4 * k, sizeof vk);
            std::memcpy(&wk, w + 4 * k, sizeof wk);
            acc[k] += vk * wk;
        }
    }
    // Scale, clip to 16 bits, truncate toward zero.
    const Float4 scale = {scaleFactor_, scaleFactor_, scaleFactor_, scaleFactor_};
    const Float4 high = {32767.0f, 32767.0f, 32767.0f, 32767.0f};
    const Float4 low = {-32768.0f, -32768.0f, -32768.0f, -32768.0f};
    for (int k = 0; k < 8; ++k) {
        Float4 y = acc[k] * scale;
        y = y > high ? high : y;
        y = y < low ? low : y;
        const Int4 n = __builtin_convertvector(y, Int4);
        for (int i = 0; i < 4; ++i)
            pcm[4 * k + i] = static_cast<int16_t>(n[i]);
    }

    column_ = (column_ + 1) & 15;
    active_ ^= 1;
    std::memset(inputs_, 0, sizeof inputs_);
}

void SynthesisFilter::ProduceSamples(AudioOutput& output)
{
    int16_t pcm[32];
    ProduceSamples(pcm);
    output.PutSamples(channel_, pcm, 32);
}

void SynthesisFilter::ProduceSamples(SynthesisFilter& first, SynthesisFilter& second, AudioOutput& output)
{
    int16_t pcm1[32], pcm2[32];
    first.ProduceSamples(pcm1);
    second.ProduceSamples(pcm2);
    if (first.channel_ == 0 && second.channel_ == 1) {
        output.PutSamplePairs(pcm1, pcm2, 32);
    } else {
        output.PutSamples(first.channel_, pcm1, 32);
        output.PutSamples(second.channel_, pcm2, 32);
    }
}

}  // namespace sonarel
