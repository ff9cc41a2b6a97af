// Under a decimal-comma locale the values the program shows keep their point, and the
// numbers it reads are read with a point. (The record codec's own case is with the
// splitter's tests.)

#include <string>

#include "records/ClassicNumbers.h"
#include "records/CoordinateFormat.h"
#include "records/UnitFormat.h"
#include "support/DecimalComma.h"

namespace wendra::test {
namespace {

using RecordsUnderDecimalComma = DecimalCommaTest;

TEST_F(RecordsUnderDecimalComma, ReadRealTakesThePointOnly) {
    size_t used = 0;
    EXPECT_EQ(readReal(" 46.9m", &used), 46.9);
    EXPECT_EQ(used, 5u);
    // A comma ends the number, as it does in a file: "48,5" is 48 followed by text.
    EXPECT_EQ(readReal("48,5", &used), 48.0);
    EXPECT_EQ(used, 2u);
    EXPECT_FALSE(readReal("1e309").has_value());
    EXPECT_FALSE(readReal("m").has_value());
}

// One value per formatter that prints decimals.
TEST_F(RecordsUnderDecimalComma, FormattersKeepThePoint) {
    std::u16string out;
    formatSpeed(out, 9.94f, 0);
    EXPECT_EQ(out, u"9.9km/h");
    formatDistance(out, 5.5f, 0);
    EXPECT_EQ(out, u"5.50km");
    formatSignalLevel(out, 38.3f);
    EXPECT_EQ(out, u"38.3dB");
    formatByteSize(out, 1234567);
    EXPECT_EQ(out, u"1.17 Mb");
    formatCoordinate(out, 48.1173, 0, 0);
    EXPECT_EQ(out, u"48.117300N");
    formatCoordinate(out, 600072.37, 0, 4);
    EXPECT_EQ(out, u"600072.37");
}

}  // namespace
}  // namespace wendra::test
