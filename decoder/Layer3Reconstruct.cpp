#include "decoder/Layer3Reconstruct.h"

#include <algorithm>
#include <cstring>

#include <immintrin.h>

#include "decoder/WideVectors.h"

namespace sonarel {

namespace {

// |v|^(4/3) x factor with the sign of v. The sign goes on by its bit, not by a branch on the data:
// (-p) x f and -(p x f) are the same float.
inline float Dequantize(int32_t v, float factor, const float* power)
{
    const uint32_t sign = static_cast<uint32_t>(v) & 0x80000000u;
    const uint32_t a = sign != 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    const float p = __builtin_expect(a < Layer3ComputedTables::PowerEntries, 1) ? power[a] : PowerFourThirds(v);
    uint32_t bits;
    const float product = p * factor;
    std::memcpy(&bits, &product, 4);
    bits ^= sign;
    float result;
    std::memcpy(&result, &bits, 4);
    return result;
}

using Float4 = float __attribute__((vector_size(16)));
inline Float4 LoadFloat4(const float* p)
{
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void StoreFloat4(float* p, Float4 v)
{
    std::memcpy(p, &v, sizeof v);
}
inline Float4 Reversed(Float4 v)
{
    return __builtin_shufflevector(v, v, 3, 2, 1, 0);
}

inline int GainIndex(int v)
{
    return v < 63 ? v : 63;
}

}  // namespace

namespace {

// Lines [0, count) of one band, dequantised with one factor.
void DequantizeLines(const int32_t* is, float* ro, int count, float factor, const float* power)
{
    for (int i = 0; i < count; ++i)
        ro[i] = Dequantize(is[i], factor, power);
}
// The same eight (then four) lines at a time where all of them are within the table: the same product and
// sign as one line at a time.
[[gnu::target("avx2")]] void DequantizeLinesAvx2(const int32_t* is, float* ro, int count, float factor,
                                                 const float* power)
{
    const __m256i limit = _mm256_set1_epi32(Layer3ComputedTables::PowerEntries - 1);
    const __m256i signBit = _mm256_set1_epi32(static_cast<int32_t>(0x80000000u));
    const __m256 f = _mm256_set1_ps(factor);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(is + i));
        const __m256i a = _mm256_abs_epi32(v);  // negative only for the lowest int
        const __m256i outside =
            _mm256_or_si256(_mm256_cmpgt_epi32(a, limit), _mm256_cmpgt_epi32(_mm256_setzero_si256(), a));
        if (!_mm256_testz_si256(outside, outside)) {
            DequantizeLines(is + i, ro + i, 8, factor, power);
            continue;
        }
        const __m256 p = _mm256_i32gather_ps(power, a, 4);
        const __m256 sign = _mm256_castsi256_ps(_mm256_and_si256(v, signBit));
        _mm256_storeu_ps(ro + i, _mm256_xor_ps(_mm256_mul_ps(p, f), sign));
    }
    if (i + 4 <= count) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(is + i));
        const __m128i a = _mm_abs_epi32(v);
        const __m128i outside =
            _mm_or_si128(_mm_cmpgt_epi32(a, _mm256_castsi256_si128(limit)), _mm_cmpgt_epi32(_mm_setzero_si128(), a));
        if (_mm_testz_si128(outside, outside)) {
            const __m128 p = _mm_i32gather_ps(power, a, 4);
            const __m128 sign = _mm_castsi128_ps(_mm_and_si128(v, _mm256_castsi256_si128(signBit)));
            _mm_storeu_ps(ro + i, _mm_xor_ps(_mm_mul_ps(p, _mm256_castps256_ps128(f)), sign));
            i += 4;
        }
    }
    DequantizeLines(is + i, ro + i, count - i, factor, power);
}

using LinesStep = void (*)(const int32_t* is, float* ro, int count, float factor, const float* power);

template <LinesStep DequantizeBand>
[[gnu::always_inline]] inline void RequantizeWith(const int32_t is[576], int limit, const Layer3GranuleInfo& g,
                                                  const Layer3ScaleFactors& sf, const ScaleFactorBandTable& bands,
                                                  int version, float ro[576])
{
    const Layer3ComputedTables& t = Layer3Computed();
    const float globalGain = t.GlobalGain[g.global_gain & 255];
    const int shift = g.scalefac_scale ? 1 : 0;
    limit = std::clamp(limit, 0, 576);

    auto longBands = [&](int firstBand, int lastBand) {
        for (int band = firstBand; band < lastBand; ++band) {
            const int start = bands.Long[band];
            if (start >= limit)
                break;
            const int stop = std::min<int>(bands.Long[band + 1], limit);
            const int pre = g.preflag ? Pretab[band] : 0;
            const float factor = globalGain * t.Gain[GainIndex((sf.l[band] + pre) << shift)];
            DequantizeBand(is + start, ro + start, stop - start, factor, t.Power);
        }
    };

    if (!g.ShortBlocks()) {
        longBands(0, 22);
    } else {
        int firstShort = 0;
        if (g.mixed_block_flag) {
            longBands(0, MixedLongBands(version));
            firstShort = 3;
        }
        for (int band = firstShort; band < 13; ++band) {
            const int width = bands.Short[band + 1] - bands.Short[band];
            const int base = 3 * bands.Short[band];
            if (base >= limit)
                break;
            for (int w = 0; w < 3; ++w) {
                const int start = base + w * width;
                const int stop = std::min(start + width, limit);
                const float factor =
                    globalGain * t.Gain[GainIndex(4 * (g.subblock_gain[w] & 7) + (sf.s[w][band] << shift))];
                DequantizeBand(is + start, ro + start, stop - start, factor, t.Power);
            }
        }
    }
    std::fill(ro + limit, ro + 576, 0.0f);
}

void RequantizeBaseline(const int32_t is[576], int limit, const Layer3GranuleInfo& g, const Layer3ScaleFactors& sf,
                        const ScaleFactorBandTable& bands, int version, float ro[576])
{
    RequantizeWith<DequantizeLines>(is, limit, g, sf, bands, version, ro);
}
void RequantizeAvx2(const int32_t is[576], int limit, const Layer3GranuleInfo& g, const Layer3ScaleFactors& sf,
                    const ScaleFactorBandTable& bands, int version, float ro[576])
{
    RequantizeWith<DequantizeLinesAvx2>(is, limit, g, sf, bands, version, ro);
}

}  // namespace

void Requantize(const int32_t is[576], int limit, const Layer3GranuleInfo& g, const Layer3ScaleFactors& sf,
                const ScaleFactorBandTable& bands, int version, float ro[576])
{
    if (WideVectors())
        RequantizeAvx2(is, limit, g, sf, bands, version, ro);
    else
        RequantizeBaseline(is, limit, g, sf, bands, version, ro);
}

namespace {

constexpr int NoPosition = -1;

// Highest non-zero line in [first, last), or -1.
int HighestNonZero(const float* v, int first, int last)
{
    for (int i = last - 1; i >= first; --i)
        if (v[i] != 0.0f)
            return i;
    return -1;
}

}  // namespace

void ProcessStereo(const float ro[2][576], float lr[2][576], const Layer3GranuleInfo& g0, const Layer3GranuleInfo& g1,
                   const Layer3ScaleFactors& sf1, const ScaleFactorBandTable& bands, const Layer3StereoMode& mode,
                   int& limit)
{
    const float* left = ro[0];
    const float* right = ro[1];
    const float root = 0.70710677f;

    if (!mode.intensity) {
        if (mode.midSide) {
            for (int i = 0; i < limit; ++i) {
                const float m = left[i], s = right[i];
                lr[0][i] = (m + s) * root;
                lr[1][i] = (m - s) * root;
            }
        } else {
            std::memcpy(lr[0], left, sizeof(float) * static_cast<size_t>(limit));
            std::memcpy(lr[1], right, sizeof(float) * static_cast<size_t>(limit));
        }
        std::fill(lr[0] + limit, lr[0] + 576, 0.0f);
        std::fill(lr[1] + limit, lr[1] + 576, 0.0f);
        return;
    }

    // Intensity positions per line; an illegal or absent position leaves the line stereo.
    int position[576];
    std::fill(position, position + 576, NoPosition);
    const bool mpeg1 = mode.version == 1;
    auto legalLong = [&](int band) {
        const int p = sf1.l[band];
        if (mpeg1)
            return p < 7 ? p : NoPosition;
        return p != sf1.IllegalLong[band] ? p : NoPosition;
    };
    auto legalShort = [&](int w, int band) {
        const int p = sf1.s[w][band];
        if (mpeg1)
            return p < 7 ? p : NoPosition;
        return p != sf1.IllegalShort[band] ? p : NoPosition;
    };
    // Long bands from the one above the highest non-zero line of the second channel (below
    // line Last) up to band LastBand - 1.
    auto longPart = [&](int last, int lastBand) {
        const int high = HighestNonZero(right, 0, last);
        int band = 0;
        while (band < lastBand && bands.Long[band] <= high)
            ++band;
        for (; band < lastBand; ++band) {
            const int p = legalLong(band);
            for (int i = bands.Long[band]; i < bands.Long[band + 1]; ++i)
                position[i] = p;
        }
    };

    if (!g0.ShortBlocks()) {
        longPart(576, 21);
        const int p = position[bands.Long[20]];
        for (int i = bands.Long[21]; i < 576; ++i)
            position[i] = p;
    } else {
        const bool mixed = g0.mixed_block_flag != 0;
        const int lowest = mixed ? 3 : 0;
        int maxFirst = 0;
        for (int w = 0; w < 3; ++w) {
            int first = lowest;
            for (int band = 12; band >= lowest; --band) {
                const int width = bands.Short[band + 1] - bands.Short[band];
                const int start = 3 * bands.Short[band] + w * width;
                if (HighestNonZero(right, start, start + width) >= 0) {
                    first = band + 1;
                    break;
                }
            }
            maxFirst = std::max(maxFirst, first);
            for (int band = first; band < 13; ++band) {
                const int width = bands.Short[band + 1] - bands.Short[band];
                const int start = 3 * bands.Short[band] + w * width;
                const int p = band < 12 ? legalShort(w, band) : (first <= 11 ? legalShort(w, 11) : NoPosition);
                for (int i = start; i < start + width; ++i)
                    position[i] = p;
            }
        }
        if (mixed && maxFirst <= 3)
            longPart(36, MixedLongBands(mode.version));
    }

    const Layer3ComputedTables& t = Layer3Computed();
    const int row = g1.scalefac_compress & 1;
    int top = 0;
    for (int i = 0; i < 576; ++i) {
        const int p = position[i];
        const float l = left[i], r = right[i];
        if (p == NoPosition) {
            if (mode.midSide) {
                lr[0][i] = (l + r) * root;
                lr[1][i] = (l - r) * root;
            } else {
                lr[0][i] = l;
                lr[1][i] = r;
            }
        } else if (mpeg1) {
            const float ratio = IntensityRatios[p];
            lr[1][i] = l / (1.0f + ratio);
            lr[0][i] = lr[1][i] * ratio;
        } else {
            float k0 = 1.0f, k1 = 1.0f;
            if (p & 1)
                k0 = t.LsfIntensity[row][((p + 1) >> 1) & 31];
            else if (p != 0)
                k1 = t.LsfIntensity[row][(p >> 1) & 31];
            lr[0][i] = l * k0;
            lr[1][i] = l * k1;
        }
        if (lr[0][i] != 0.0f || lr[1][i] != 0.0f)
            top = i + 1;
    }
    limit = std::max(limit, top);
}

void Reorder(const float lr[576], const Layer3GranuleInfo& g, const ScaleFactorBandTable& bands, float work[576])
{
    if (!g.ShortBlocks()) {
        std::memcpy(work, lr, sizeof(float) * 576);
        return;
    }
    std::fill(work, work + 576, 0.0f);
    int firstBand = 0;
    if (g.mixed_block_flag) {
        std::memcpy(work, lr, sizeof(float) * 36);
        firstBand = 3;
    }
    for (int band = firstBand; band < 13; ++band) {
        const int n = bands.Short[band + 1] - bands.Short[band];
        const int base = 3 * bands.Short[band];
        for (int w = 0; w < 3; ++w)
            for (int f = 0; f < n; ++f)
                work[base + 3 * f + w] = lr[base + w * n + f];
    }
}

void ReduceAliases(float work[576], const Layer3GranuleInfo& g, int sbLimit)
{
    if (g.ShortBlocks() && !g.mixed_block_flag)
        return;
    const Layer3ComputedTables& t = Layer3Computed();
    const int boundaries = g.Mixed() ? 1 : std::min(sbLimit, 31);
    // Four butterflies per vector: a = lo[17 - i] (lines read backwards), b = hi[i].
    const Float4 cs[2] = {LoadFloat4(t.Cs), LoadFloat4(t.Cs + 4)};
    const Float4 ca[2] = {LoadFloat4(t.Ca), LoadFloat4(t.Ca + 4)};
    for (int sb = 0; sb < boundaries; ++sb) {
        float* lo = work + 18 * sb;
        float* hi = lo + 18;
        for (int h = 0; h < 2; ++h) {
            const Float4 a = Reversed(LoadFloat4(lo + 14 - 4 * h));
            const Float4 b = LoadFloat4(hi + 4 * h);
            StoreFloat4(lo + 14 - 4 * h, Reversed(a * cs[h] - b * ca[h]));
            StoreFloat4(hi + 4 * h, b * cs[h] + a * ca[h]);
        }
    }
}

namespace {

// Matrix times vector in whole vectors (GCC/Clang vector extension): 20 lanes, as five vectors
// of four or, Wide, two of eight and one of four. Every lane sums its 18 products in the same
// order either way, so both give the same bits.
template <bool Wide> [[gnu::always_inline]] inline void ImdctLongWith(const float in[18], int blockType, float out[36])
{
    const Layer3ComputedTables& t = Layer3Computed();
    typedef float Vec4 __attribute__((vector_size(16)));
    typedef float Vec8 __attribute__((vector_size(32)));
    Vec4 a0 = {}, a1 = {}, a2 = {}, a3 = {}, a4 = {};
    if constexpr (Wide) {
        Vec8 a01 = {}, a23 = {};
        for (int k = 0; k < 18; ++k) {
            const float* m = t.ImdctLong[k];
            Vec8 m01, m23;
            Vec4 m4;
            std::memcpy(&m01, m, sizeof m01);
            std::memcpy(&m23, m + 8, sizeof m23);
            std::memcpy(&m4, m + 16, sizeof m4);
            a01 += in[k] * m01;
            a23 += in[k] * m23;
            a4 += in[k] * m4;
        }
        a0 = __builtin_shufflevector(a01, a01, 0, 1, 2, 3);
        a1 = __builtin_shufflevector(a01, a01, 4, 5, 6, 7);
        a2 = __builtin_shufflevector(a23, a23, 0, 1, 2, 3);
        a3 = __builtin_shufflevector(a23, a23, 4, 5, 6, 7);
    } else {
        for (int k = 0; k < 18; ++k) {
            const Vec4 x = {in[k], in[k], in[k], in[k]};
            const Vec4* m = reinterpret_cast<const Vec4*>(t.ImdctLong[k]);
            a0 += x * m[0];
            a1 += x * m[1];
            a2 += x * m[2];
            a3 += x * m[3];
            a4 += x * m[4];
        }
    }
    // Window: out[i] = acc[i] w[i] and out[17-i] = -acc[i] w[17-i] (i = 0..8); out[18+i] =
    // acc[9+i] w[18+i] and out[35-i] = acc[9+i] w[35-i]. Lanes 9..12 and 13..16 of acc:
    const Vec4 b0 = __builtin_shufflevector(a2, a3, 1, 2, 3, 4);
    const Vec4 b1 = __builtin_shufflevector(a3, a4, 1, 2, 3, 4);
    const float* w = t.Window[blockType & 3];
    auto load = [w](int i) {
        Vec4 v;
        std::memcpy(&v, w + i, sizeof v);
        return v;
    };
    auto store = [out](int i, Vec4 v) { std::memcpy(out + i, &v, sizeof v); };
    auto reverse = [](Vec4 v) { return __builtin_shufflevector(v, v, 3, 2, 1, 0); };
    store(0, a0 * load(0));
    store(4, a1 * load(4));
    out[8] = a2[0] * w[8];
    out[9] = -a2[0] * w[9];
    store(10, -reverse(a1) * load(10));
    store(14, -reverse(a0) * load(14));
    store(18, b0 * load(18));
    store(22, b1 * load(22));
    out[26] = a4[1] * w[26];
    out[27] = a4[1] * w[27];
    store(28, reverse(b1) * load(28));
    store(32, reverse(b0) * load(32));
}

void ImdctLongBaseline(const float in[18], int blockType, float out[36])
{
    ImdctLongWith<false>(in, blockType, out);
}
[[gnu::target("avx2")]] void ImdctLongAvx2(const float in[18], int blockType, float out[36])
{
    ImdctLongWith<true>(in, blockType, out);
}

}  // namespace

void ImdctLong(const float in[18], int blockType, float out[36])
{
    if (WideVectors())
        ImdctLongAvx2(in, blockType, out);
    else
        ImdctLongBaseline(in, blockType, out);
}

void ImdctShort(const float in[18], float out[36])
{
    const Layer3ComputedTables& t = Layer3Computed();
    const float* sw = t.ShortWindow;
    std::fill(out, out + 36, 0.0f);
    for (int j = 0; j < 3; ++j) {
        float y6[6] = {};
        for (int m = 0; m < 6; ++m) {
            const float x = in[3 * m + j];
            for (int n = 0; n < 6; ++n)
                y6[n] += x * t.ImdctShort[m][n];
        }
        float* o = out + 6 + 6 * j;
        for (int i = 0; i < 3; ++i) {
            o[i] += y6[i] * sw[i];
            o[5 - i] += -y6[i] * sw[5 - i];
            o[6 + i] += y6[3 + i] * sw[6 + i];
            o[11 - i] += y6[3 + i] * sw[11 - i];
        }
    }
}

namespace {

template <bool Wide>
[[gnu::always_inline]] inline void HybridSynthesisWith(float work[576], float prevblock[576],
                                                       const Layer3GranuleInfo& g, int sbLimit, int& prevLimit)
{
    const int type = g.window_switching_flag ? g.block_type : 0;
    const bool mixed = g.Mixed();
    const int active = std::min(sbLimit, 32);
    float out[36];
    for (int sb = 0; sb < active; ++sb) {
        float* x = work + 18 * sb;
        float* prev = prevblock + 18 * sb;
        const int bt = (mixed && sb < 2) ? 0 : type;
        if (bt == 2)
            ImdctShort(x, out);
        else
            ImdctLongWith<Wide>(x, bt, out);
        // Overlap-add in the pieces the long transform stores each half in (4, 4, 1, 1, 4, 4),
        // so that every load meets one earlier store whole.
        for (int i : {0, 4, 10, 14}) {
            StoreFloat4(x + i, LoadFloat4(out + i) + LoadFloat4(prev + i));
            StoreFloat4(prev + i, LoadFloat4(out + 18 + i));
        }
        for (int i = 8; i < 10; ++i) {
            x[i] = out[i] + prev[i];
            prev[i] = out[18 + i];
        }
    }
    // Silent subbands: the output is the overlap alone, and the overlap becomes zero.
    for (int sb = active; sb < prevLimit; ++sb) {
        float* x = work + 18 * sb;
        float* prev = prevblock + 18 * sb;
        for (int i = 0; i < 18; ++i) {
            x[i] = prev[i];
            prev[i] = 0.0f;
        }
    }
    prevLimit = active;
    for (int sb = 1; sb < 32; sb += 2) {
        float* x = work + 18 * sb;
        for (int i = 1; i < 18; i += 2)
            x[i] = -x[i];
    }
}

void HybridSynthesisBaseline(float work[576], float prevblock[576], const Layer3GranuleInfo& g, int sbLimit,
                             int& prevLimit)
{
    HybridSynthesisWith<false>(work, prevblock, g, sbLimit, prevLimit);
}
[[gnu::target("avx2")]] void HybridSynthesisAvx2(float work[576], float prevblock[576], const Layer3GranuleInfo& g,
                                                 int sbLimit, int& prevLimit)
{
    HybridSynthesisWith<true>(work, prevblock, g, sbLimit, prevLimit);
}

}  // namespace

void HybridSynthesis(float work[576], float prevblock[576], const Layer3GranuleInfo& g, int sbLimit, int& prevLimit)
{
    if (WideVectors())
        HybridSynthesisAvx2(work, prevblock, g, sbLimit, prevLimit);
    else
        HybridSynthesisBaseline(work, prevblock, g, sbLimit, prevLimit);
}

}  // namespace sonarel
