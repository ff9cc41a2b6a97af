// The stepped gather picks exactly the pixels of the one-at-a-time walk, whatever the
// step, the start's fraction and the count (whole blocks of the vector loop, a short
// tail, fewer than a block), with the last sample on the row's last pixel.

#include <gtest/gtest.h>

#include <vector>

#include "maps/RowGather.h"

namespace wendra::test {
namespace {

using platform::Pixel16;

TEST(RowGather, AgreesWithTheWalkForEveryStepStartAndCount) {
    constexpr std::int64_t kOne = std::int64_t{1} << maps::kRowFractionBits;
    const struct {
        const char* legend;
        std::int64_t step;
    } steps[] = {
        {"the same pixel throughout", 0},
        {"zoomed in 3 times", kOne / 3},
        {"a little enlarged", 7953},
        {"just under a pixel", kOne - 1},
        {"just over a pixel", kOne + 1},
        {"reduced to 70%", 11703},
        {"the widest step of a window", 16648},
        {"just beyond it", 16649},
        {"reduced 3 times", 3 * kOne},
        {"mirrored", -9000},
    };
    const std::int64_t fractions[] = {0, 1, kOne / 2, kOne - 1};
    const std::int64_t counts[] = {1, 31, 32, 33, 95, 1920};
    for (const auto& s : steps) {
        for (const std::int64_t fraction : fractions) {
            for (const std::int64_t count : counts) {
                // The row ends at the last sample's pixel; a mirrored walk starts there.
                const std::int64_t reach = s.step * (count - 1);
                const std::int64_t x = (reach < 0 ? 5 * kOne - reach : 5 * kOne) + fraction;
                const std::int64_t length = ((x + std::max<std::int64_t>(reach, 0)) >> maps::kRowFractionBits) + 1;
                std::vector<Pixel16> row(static_cast<std::size_t>(length));
                for (std::size_t i = 0; i < row.size(); ++i) row[i] = Pixel16(i * 2654435761u >> 7);
                std::vector<Pixel16> plain(static_cast<std::size_t>(count)), fast(plain.size());
                maps::gatherSteppedPlain(row.data(), x, s.step, count, plain.data());
                maps::gatherStepped(row.data(), length, x, s.step, count, fast.data());
                ASSERT_EQ(fast, plain) << s.legend << ", fraction " << fraction << ", count "
                                       << count;
            }
        }
    }
}

}  // namespace
}  // namespace wendra::test
