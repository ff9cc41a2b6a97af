// Under a decimal-comma locale every number the program writes keeps its point, and
// every number it reads back is read whole.

#include <string>

#include "records/ClassicNumbers.h"
#include "records/CoordinateFormat.h"
#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"
#include "records/Text.h"
#include "records/UnitFormat.h"
#include "support/DecimalComma.h"

namespace wendra::test {
namespace {

using RecordsUnderDecimalComma = DecimalCommaTest;

TEST_F(RecordsUnderDecimalComma, RecordLinesKeepThePoint) {
    EXPECT_EQ(formatRecord("NMEA2|%d|%0.1f|\n", 12, 48.0), "NMEA2|12|48.0|\n");
    std::string line;
    appendFormat(line, "%.12Lf|%.2f|", static_cast<long double>(0.25), 1.5);
    EXPECT_EQ(line, "0.250000000000|1.50|");
}

TEST_F(RecordsUnderDecimalComma, SplitterReadsThePoint) {
    float f = 0.0f;
    double d = 0.0;
    ASSERT_EQ(splitRecord("48.5|0.256944444444|", "fF", {&f, &d}), 0);
    EXPECT_FLOAT_EQ(f, 48.5f);
    EXPECT_DOUBLE_EQ(d, 0.256944444444);
}

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
