#include "decoder/SynthesisFilter.h"

#include "decoder/AudioOutput.h"
#include "decoder/WideVectors.h"

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
using Short4 = int16_t __attribute__((vector_size(8)));

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

Float4 Load(const float* p)
{
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
void Store(float* p, Float4 v)
{
    std::memcpy(p, &v, sizeof v);
}
// The synthesis works on vectors of four floats, or on vectors of eight that hold the same four
// lanes of two filters (lanes 0..3 the first, 4..7 the second). Shuffle<I0..I3> picks lanes of
// a (0..3) and b (4..7) as __builtin_shufflevector does on four lanes, for each filter alike.
using Float8 = float __attribute__((vector_size(32)));
using Int8 = int32_t __attribute__((vector_size(32)));
using Short8 = int16_t __attribute__((vector_size(16)));

constexpr int Lane(int i, int half)
{
    return i < 4 ? 4 * half + i : 8 + 4 * half + (i - 4);
}
template <int I0, int I1, int I2, int I3, class V> [[gnu::always_inline]] inline V Shuffle(V a, V b)
{
    if constexpr (sizeof(V) == sizeof(Float4))
        return __builtin_shufflevector(a, b, I0, I1, I2, I3);
    else
        return __builtin_shufflevector(a, b, Lane(I0, 0), Lane(I1, 0), Lane(I2, 0), Lane(I3, 0), Lane(I0, 1),
                                       Lane(I1, 1), Lane(I2, 1), Lane(I3, 1));
}
// Four lanes for every filter of a vector.
template <class V> [[gnu::always_inline]] inline V Spread(Float4 v)
{
    if constexpr (sizeof(V) == sizeof(Float4))
        return v;
    else
        return __builtin_shufflevector(v, v, 0, 1, 2, 3, 0, 1, 2, 3);
}
template <class V> [[gnu::always_inline]] inline V Reverse(V v)
{
    return Shuffle<3, 2, 1, 0>(v, v);
}
// The low (0, 4, 1, 5) and high (2, 6, 3, 7) interleavings of two vectors.
template <class V> [[gnu::always_inline]] inline V InterleaveLow(V a, V b)
{
    return Shuffle<0, 4, 1, 5>(a, b);
}
template <class V> [[gnu::always_inline]] inline V InterleaveHigh(V a, V b)
{
    return Shuffle<2, 6, 3, 7>(a, b);
}
// Lane 3 of a, then lanes 0..2 of b.
template <class V> [[gnu::always_inline]] inline V ShiftInLast(V a, V b)
{
    return Shuffle<3, 4, 5, 6>(a, b);
}
// Lanes 1..3 of a, then lane 0 of b.
template <class V> [[gnu::always_inline]] inline V ShiftIn(V a, V b)
{
    return Shuffle<1, 2, 3, 4>(a, b);
}

// X[m] = sum_k x[k] cos((2k+1) m pi / 64), m = 0..31, by halving (Lee's algorithm) in eight
// vectors of four. Each size N splits a block into sums x[k] + x[N-1-k] and differences
// (x[k] - x[N-1-k]) c[k], transforms both halves, and joins them: X[2m] = even[m],
// X[2m+1] = odd[m] + odd[m+1], X[N-1] = odd[N/2-1]. Every value is computed with the same
// operations in the same order as one element at a time; the missing odd[N/2] is -0.0, which
// leaves any float unchanged when added. c holds the factors of size 32, then 16, 8, 4 and 2.
// V is Float4, or Float8 for two filters at once; x holds the inputs and receives X.
template <class V> [[gnu::always_inline]] inline void Dct32(V x[8], const float* c)
{
    const V negZero = -V{};
    V a[8];
// Size 32.
#pragma GCC unroll 8
    for (int j = 0; j < 4; ++j) {
        const V hi = Reverse(x[7 - j]);
        a[j] = x[j] + hi;
        a[4 + j] = (x[j] - hi) * Spread<V>(Load(c + 4 * j));
    }
// Size 16, two blocks of four vectors.
#pragma GCC unroll 8
    for (int h = 0; h < 8; h += 4) {
#pragma GCC unroll 8
        for (int j = 0; j < 2; ++j) {
            const V hi = Reverse(a[h + 3 - j]);
            x[h + j] = a[h + j] + hi;
            x[h + 2 + j] = (a[h + j] - hi) * Spread<V>(Load(c + 16 + 4 * j));
        }
    }
    // Size 8, four blocks of two vectors.
    const V c8 = Spread<V>(Load(c + 24));
#pragma GCC unroll 8
    for (int q = 0; q < 8; q += 2) {
        const V hi = Reverse(x[q + 1]);
        a[q] = x[q] + hi;
        a[q + 1] = (x[q] - hi) * c8;
    }
    // Size 4, one block per vector, two vectors at a time.
    const V c4 = Spread<V>(Float4{c[28], c[29], c[28], c[29]});
#pragma GCC unroll 8
    for (int q = 0; q < 8; q += 2) {
        const V lo = Shuffle<0, 1, 4, 5>(a[q], a[q + 1]);
        const V hi = Shuffle<3, 2, 7, 6>(a[q], a[q + 1]);
        const V sums = lo + hi;
        const V diffs = (lo - hi) * c4;
        x[q] = Shuffle<0, 1, 4, 5>(sums, diffs);
        x[q + 1] = Shuffle<2, 3, 6, 7>(sums, diffs);
    }
    // Size 2, two blocks per vector; size 1 leaves the values as they are.
    const V c2 = Spread<V>(Float4{c[30], c[30], c[30], c[30]});
#pragma GCC unroll 8
    for (int q = 0; q < 8; q += 2) {
        const V first = Shuffle<0, 2, 4, 6>(x[q], x[q + 1]);
        const V second = Shuffle<1, 3, 5, 7>(x[q], x[q + 1]);
        const V sums = first + second;
        const V diffs = (first - second) * c2;
        x[q] = Shuffle<0, 4, 1, 5>(sums, diffs);
        x[q + 1] = Shuffle<2, 6, 3, 7>(sums, diffs);
    }
// Join size 4: [e0 e1 | o0 o1] gives e0, o0 + o1, e1, o1.
#pragma GCC unroll 8
    for (int q = 0; q < 8; ++q) {
        const V spread = Shuffle<0, 2, 1, 3>(x[q], negZero);
        const V next = Shuffle<4, 3, 4, 4>(x[q], negZero);
        x[q] = spread + next;
    }
// Join size 8: even vector, odd vector.
#pragma GCC unroll 8
    for (int q = 0; q < 8; q += 2) {
        const V odd = x[q + 1] + ShiftIn(x[q + 1], negZero);
        a[q] = InterleaveLow(x[q], odd);
        a[q + 1] = InterleaveHigh(x[q], odd);
    }
// Join size 16: two even vectors, two odd ones.
#pragma GCC unroll 8
    for (int h = 0; h < 8; h += 4) {
        const V odd0 = a[h + 2] + ShiftIn(a[h + 2], a[h + 3]);
        const V odd1 = a[h + 3] + ShiftIn(a[h + 3], negZero);
        x[h] = InterleaveLow(a[h], odd0);
        x[h + 1] = InterleaveHigh(a[h], odd0);
        x[h + 2] = InterleaveLow(a[h + 1], odd1);
        x[h + 3] = InterleaveHigh(a[h + 1], odd1);
    }
// Join size 32.
#pragma GCC unroll 8
    for (int j = 0; j < 4; ++j) {
        const V odd = x[4 + j] + ShiftIn(x[4 + j], j < 3 ? x[5 + j] : negZero);
        a[2 * j] = InterleaveLow(x[j], odd);
        a[2 * j + 1] = InterleaveHigh(x[j], odd);
    }
#pragma GCC unroll 8
    for (int j = 0; j < 8; ++j)
        x[j] = a[j];
}

// Applies the window to the 16 most recent columns (oldest first), then scales, clips to 16
// bits and truncates toward zero: four or eight output samples per vector of type V. Each lane
// sees the same operations in the same order whatever the width, so both widths give the same
// bits.
template <class V, class I, class S>
[[gnu::always_inline]] inline void ApplyWindow(const float (*columns)[32], float scaleFactor, int16_t* pcm)
{
    constexpr int kLanes = sizeof(V) / sizeof(float);
    constexpr int kVectors = 32 / kLanes;
    V acc[kVectors] = {};
    for (int m = 0; m < 16; ++m) {
        const float* column = columns[m];
        const float* taps = kWindow.taps[m];
#pragma GCC unroll 8
        for (int k = 0; k < kVectors; ++k) {
            V c, t;
            std::memcpy(&c, column + kLanes * k, sizeof c);
            std::memcpy(&t, taps + kLanes * k, sizeof t);
            acc[k] += c * t;
        }
    }
    const V scale = V{} + scaleFactor;
    const V high = V{} + 32767.0f;
    const V low = V{} - 32768.0f;
#pragma GCC unroll 8
    for (int k = 0; k < kVectors; ++k) {
        V y = acc[k] * scale;
        y = y > high ? high : y;
        y = y < low ? low : y;
        const S samples = __builtin_convertvector(__builtin_convertvector(y, I), S);
        std::memcpy(pcm + kLanes * k, &samples, sizeof samples);
    }
}

// Column p of both stores (and its copy p + 16) from the transform X of a set:
// V[i] = X[16+i] (i < 16), V[16] = 0, V[16+x] = -X[32-x], V[48+x] = V[48-x] = -X[x]; V[0..31]
// goes to the active store, V[32..63] to the other.
[[gnu::always_inline]] inline void StoreColumn(const Float4 x[8], float (*active)[32], float (*other)[32], int p)
{
    // Negated and reversed: n[k] = -X[4k+3], -X[4k+2], -X[4k+1], -X[4k].
    Float4 n[8];
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k)
        n[k] = -Reverse(x[k]);
    const Float4 zero = {0.0f, 0.0f, 0.0f, 0.0f};
    // V[0..31]: X[16..31], then 0 and -X[31] .. -X[17].
    Float4 v[8] = {x[4],
                   x[5],
                   x[6],
                   x[7],
                   __builtin_shufflevector(zero, n[7], 0, 4, 5, 6),
                   ShiftInLast(n[7], n[6]),
                   ShiftInLast(n[6], n[5]),
                   ShiftInLast(n[5], n[4])};
    // V[32..63]: -X[16], -X[15] .. -X[1], then -X[0] .. -X[15].
    Float4 w[8] = {__builtin_shufflevector(-x[4], n[3], 0, 4, 5, 6),
                   ShiftInLast(n[3], n[2]),
                   ShiftInLast(n[2], n[1]),
                   ShiftInLast(n[1], n[0]),
                   -x[0],
                   -x[1],
                   -x[2],
                   -x[3]};
    float* active0 = active[p];
    float* active1 = active[p + 16];
    float* other0 = other[p];
    float* other1 = other[p + 16];
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        Store(active0 + 4 * k, v[k]);
        Store(active1 + 4 * k, v[k]);
        Store(other0 + 4 * k, w[k]);
        Store(other1 + 4 * k, w[k]);
    }
}

// One set through its filter: the transform of the inputs becomes the newest column, then the
// window meets the active store's 16 most recent columns (p+1 .. p+16).
template <class V, class I, class S>
[[gnu::always_inline]] inline void SynthesizeOne(const SetJob& job, const float* factors)
{
    Float4 x[8];
#pragma GCC unroll 8
    for (int j = 0; j < 8; ++j)
        x[j] = Load(job.inputs + 4 * j);
    Dct32(x, factors);
    StoreColumn(x, job.active, job.other, job.column);
    ApplyWindow<V, I, S>(job.active + job.column + 1, job.scaleFactor, job.pcm);
}

// Two filters' sets at once, their transforms side by side in vectors of eight.
template <class V, class I, class S>
[[gnu::always_inline]] inline void SynthesizeTwo(const SetJob* jobs, const float* factors)
{
    Float8 x[8];
#pragma GCC unroll 8
    for (int j = 0; j < 8; ++j) {
        const Float4 first = Load(jobs[0].inputs + 4 * j);
        const Float4 second = Load(jobs[1].inputs + 4 * j);
        x[j] = __builtin_shufflevector(first, second, 0, 1, 2, 3, 4, 5, 6, 7);
    }
    Dct32(x, factors);
    Float4 first[8], second[8];
#pragma GCC unroll 8
    for (int j = 0; j < 8; ++j) {
        first[j] = __builtin_shufflevector(x[j], x[j], 0, 1, 2, 3);
        second[j] = __builtin_shufflevector(x[j], x[j], 4, 5, 6, 7);
    }
    StoreColumn(first, jobs[0].active, jobs[0].other, jobs[0].column);
    StoreColumn(second, jobs[1].active, jobs[1].other, jobs[1].column);
    for (int n = 0; n < 2; ++n)
        ApplyWindow<V, I, S>(jobs[n].active + jobs[n].column + 1, jobs[n].scaleFactor, jobs[n].pcm);
}

void SynthesizeBaseline(const SetJob* jobs, const float* factors)
{
    SynthesizeOne<Float4, Int4, Short4>(jobs[0], factors);
}
void SynthesizePairBaseline(const SetJob* jobs, const float* factors)
{
    SynthesizeOne<Float4, Int4, Short4>(jobs[0], factors);
    SynthesizeOne<Float4, Int4, Short4>(jobs[1], factors);
}
// Wider vectors for the window and for two filters' transforms; separate multiplies and adds (no
// fused multiply-add), as in the baseline.
[[gnu::target("avx2")]] void SynthesizeAvx2(const SetJob* jobs, const float* factors)
{
    SynthesizeOne<Float8, Int8, Short8>(jobs[0], factors);
}
[[gnu::target("avx2")]] void SynthesizePairAvx2(const SetJob* jobs, const float* factors)
{
    SynthesizeTwo<Float8, Int8, Short8>(jobs, factors);
}

}  // namespace

SynthesisFilter::SynthesisFilter(int32_t channel, float scaleFactor)
    : channel_(channel),
      scaleFactor_(scaleFactor),
      cosineFactors_(Factors()),
      synthesize_(WideVectors() ? SynthesizeAvx2 : SynthesizeBaseline),
      synthesizePair_(WideVectors() ? SynthesizePairAvx2 : SynthesizePairBaseline)
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
    Synthesize(inputs_, pcm);
    std::memset(inputs_, 0, sizeof inputs_);
}

SetJob SynthesisFilter::Job(const float* inputs, int16_t* pcm)
{
    return {inputs, stores_[active_], stores_[active_ ^ 1], column_, scaleFactor_, pcm};
}

void SynthesisFilter::Advance()
{
    column_ = (column_ + 1) & 15;
    active_ ^= 1;
}

void SynthesisFilter::Synthesize(const float* inputs, int16_t* pcm)
{
    const SetJob job = Job(inputs, pcm);
    synthesize_(&job, cosineFactors_);
    Advance();
}

void SynthesisFilter::ProduceSamplesFrom(const float* inputs, AudioOutput& output)
{
    int16_t pcm[32];
    Synthesize(inputs, pcm);
    output.PutSamples(channel_, pcm, 32);
}

void SynthesisFilter::ProduceSamplesFrom(SynthesisFilter& first, const float* firstInputs, SynthesisFilter& second,
                                         const float* secondInputs, AudioOutput& output)
{
    int16_t pcm1[32], pcm2[32];
    if (&first == &second) {
        first.Synthesize(firstInputs, pcm1);
        second.Synthesize(secondInputs, pcm2);
    } else {
        const SetJob jobs[2] = {first.Job(firstInputs, pcm1), second.Job(secondInputs, pcm2)};
        first.synthesizePair_(jobs, first.cosineFactors_);
        first.Advance();
        second.Advance();
    }
    if (first.channel_ == 0 && second.channel_ == 1) {
        output.PutSamplePairs(pcm1, pcm2, 32);
    } else {
        output.PutSamples(first.channel_, pcm1, 32);
        output.PutSamples(second.channel_, pcm2, 32);
    }
}

}  // namespace sonarel
