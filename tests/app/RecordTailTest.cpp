// The fields after those a reader knows start exactly where the splitter stopped.

#include <gtest/gtest.h>

#include "app/RecordTail.h"

namespace wendra {
namespace {

TEST(RecordTail, StartsWhereTheSplitterStopped) {
    struct Case {
        const char* legend;
        const char* fields;
        const char* types;
        const char* tail;
    };
    const Case cases[] = {
        {"no more fields", "1|2|", "dd", ""},
        {"fewer fields than letters", "1|", "ddd", ""},
        {"two later fields", "1|2|3|x|", "dd", "3|x|"},
        {"line end dropped", "1|2|3|\r\n", "dd", "3|"},
        {"missing final bar added", "1|2|3", "dd", "3|"},
        {"counted string holding a bar", "3|a|b|7|8|", "sd", "8|"},
        {"counted string claiming too much", "9|ab|", "s", ""},
        {"counted string claiming less", "1|abc|5|", "s", "5|"},
        {"negative length reads as empty", "-4||6|", "sd", ""},
        {"length with spaces and sign", " +2|ab|6|", "s", "6|"},
        {"line ends after the length", "4|", "sd", ""},
        {"empty counted string", "0||1|2|", "wd", "2|"},
    };
    for (const Case& c : cases) EXPECT_EQ(fieldsAfter(c.fields, c.types), c.tail) << c.legend;
}

TEST(RecordTail, GoesBeforeTheNewline) {
    EXPECT_EQ(withTail("A|1|\n", "2|"), "A|1|2|\n");
    EXPECT_EQ(withTail("A|1|", "2|"), "A|1|2|");
    EXPECT_EQ(withTail("A|1|\n", ""), "A|1|\n");
}

}  // namespace
}  // namespace wendra
