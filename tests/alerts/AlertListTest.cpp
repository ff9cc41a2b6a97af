// The alert list's records: units, kinds, names kept once and in order.

#include <gtest/gtest.h>

#include "alerts/AlertList.h"

namespace wendra {
namespace {

TEST(AlertList, ReadsRecordsInInternalUnits) {
    struct Case {
        const char* legend;
        const char* fields;
        float value;
        uint32_t flags;
    };
    const Case cases[] = {
        {"proximity in metres", "4|Gate|5|Son 1|400.00|0|", 0.4f, 0},
        {"altitude in metres", "4|High|0||1200.00|268435460|", 1.2f, 0x10000004},
        {"uneven in metres", "4|Hill|0||100.00|536870924|", 0.1f, 0x2000000c},
        {"speed in km/h, below", "4|Slow|0||5.00|805306376|", 5.0f, 0x30000008},
        {"speed without direction goes above", "4|Fast|0||50.00|805306368|", 50.0f, 0x30000004},
        {"climb speed in m/min", "4|Down|0||20.00|1073741832|", 20.0f, 0x40000008},
    };
    for (const Case& c : cases) {
        AlertList list;
        const Alert& alert = list.readRecord(c.fields);
        EXPECT_FLOAT_EQ(alert.value, c.value) << c.legend;
        EXPECT_EQ(alert.flags, c.flags) << c.legend;
        EXPECT_EQ(alert.reference1, Alert::kNotSet) << c.legend;
    }
}

TEST(AlertList, WritesWhatItRead) {
    const char* records[] = {
        "Alert|10|Alert 400m|5|Son 1|400.00|0|\n",
        "Alert|4|High|0||1200.00|268435460|\n",
        "Alert|4|Fast|6|Son 2a|50.00|805306388|\n",
        "Alert|3|a|b|0||123.45|536870916|\n",
    };
    for (const char* record : records) {
        AlertList list;
        const std::string_view line(record);
        EXPECT_EQ(AlertList::record(list.readRecord(line.substr(6))), record);
    }
}

TEST(AlertList, KeepsEachNameOnceInNameOrder) {
    AlertList list;
    list.readRecord("1|b|0||10.00|0|");
    list.readRecord("1|a|0||20.00|0|");
    list.readRecord("1|c|0||30.00|0|");
    list.readRecord("1|b|5|Son 9|40.00|805306376|");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.alerts()[0].name, u"a");
    EXPECT_EQ(list.alerts()[1].name, u"b");
    EXPECT_EQ(list.alerts()[2].name, u"c");
    const Alert* updated = list.find(u"b");
    ASSERT_NE(updated, nullptr);
    EXPECT_EQ(updated->kind(), Alert::kSpeed) << "the kind follows the later record";
    EXPECT_EQ(updated->sound, u"Son 9");
    EXPECT_FLOAT_EQ(updated->value, 40.0f);
    EXPECT_TRUE(list.remove(u"b"));
    EXPECT_FALSE(list.remove(u"b"));
    EXPECT_EQ(list.find(u"b"), nullptr);
}

TEST(AlertList, GainsTheDefaultAlertOnlyWhenEmpty) {
    AlertList list;
    list.addDefaultWhenEmpty();
    list.addDefaultWhenEmpty();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(AlertList::record(list.alerts()[0]), "Alert|10|Alert 400m|5|Son 1|400.00|0|\n");
}

}  // namespace
}  // namespace wendra
