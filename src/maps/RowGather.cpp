#include "maps/RowGather.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define WENDRA_WIDE_GATHER 1
#endif

namespace wendra::maps {

using platform::Pixel16;

void gatherSteppedPlain(const Pixel16* row, std::int64_t x, std::int64_t sx, std::int64_t count,
                        Pixel16* to) {
    for (std::int64_t i = 0; i < count; ++i, x += sx) to[i] = row[x >> kRowFractionBits];
}

#if defined(WENDRA_WIDE_GATHER)

namespace {

constexpr int kLanes = 32;
constexpr std::int64_t kWindow = 2 * kLanes;
// 32 samples from the first one's pixel on stay within a window of 64 pixels while
// the last one's offset, fraction + 31 steps, is under 64 pixels.
constexpr std::int64_t kWidestStep =
    ((kWindow << kRowFractionBits) - (std::int64_t{1} << kRowFractionBits)) / (kLanes - 1);

__mmask32 firstLanes(std::int64_t n) {
    if (n <= 0) return 0;
    return n >= kLanes ? ~__mmask32{0} : (__mmask32{1} << n) - 1;
}

// The intrinsics fill their unused merge operand with an "undefined" vector, which
// GCC 12 takes for an uninitialised read in builds with sanitizers.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
// Each block: the sample offsets from the window's first pixel, computed exactly in
// 32-bit lanes and narrowed to 16, pick the pixels out of the window's two registers.
// The window's loads are masked to the row, so they never read beyond it.
__attribute__((target("avx512f,avx512bw"))) void gatherWide(const Pixel16* row,
                                                            std::int64_t length, std::int64_t x,
                                                            std::int64_t sx, std::int64_t count,
                                                            Pixel16* to) {
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512i step = _mm512_set1_epi32(static_cast<int>(sx));
    const __m512i low = _mm512_mullo_epi32(lanes, step);
    const __m512i high = _mm512_add_epi32(low, _mm512_set1_epi32(static_cast<int>(16 * sx)));
    constexpr std::int64_t kFractionMask = (std::int64_t{1} << kRowFractionBits) - 1;
    for (std::int64_t i = 0; i < count; i += kLanes, x += kLanes * sx) {
        const std::int64_t first = x >> kRowFractionBits;
        const __m512i fraction = _mm512_set1_epi32(static_cast<int>(x & kFractionMask));
        const __m256i offsetsLow =
            _mm512_cvtepi32_epi16(_mm512_srli_epi32(_mm512_add_epi32(low, fraction), 13));
        const __m256i offsetsHigh =
            _mm512_cvtepi32_epi16(_mm512_srli_epi32(_mm512_add_epi32(high, fraction), 13));
        const __m512i offsets =
            _mm512_inserti64x4(_mm512_castsi256_si512(offsetsLow), offsetsHigh, 1);
        const std::int64_t left = length - first;
        const __m512i windowLow = _mm512_maskz_loadu_epi16(firstLanes(left), row + first);
        const __m512i windowHigh =
            _mm512_maskz_loadu_epi16(firstLanes(left - kLanes), row + first + kLanes);
        const __m512i picked = _mm512_permutex2var_epi16(windowLow, offsets, windowHigh);
        _mm512_mask_storeu_epi16(to + i, firstLanes(count - i), picked);
    }
}

#pragma GCC diagnostic pop

bool wideVectors() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return has;
}

}  // namespace

void gatherStepped(const Pixel16* row, std::int64_t length, std::int64_t x, std::int64_t sx,
                   std::int64_t count, Pixel16* to) {
    if (sx >= 0 && sx <= kWidestStep && count >= kLanes && wideVectors())
        return gatherWide(row, length, x, sx, count, to);
    gatherSteppedPlain(row, x, sx, count, to);
}

#else

void gatherStepped(const Pixel16* row, std::int64_t, std::int64_t x, std::int64_t sx,
                   std::int64_t count, Pixel16* to) {
    gatherSteppedPlain(row, x, sx, count, to);
}

#endif

}  // namespace wendra::maps
