// The list of points driven through the scripted host: group rows above their points,
// each group's own sort, and deleting with the voice memos.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "points/PointListDialog.h"
#include "points/VoiceMemo.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::points {
namespace {

namespace id = point_list;
using test::ScriptedDialog;

std::vector<std::u16string> rows(const ScriptedDialog& d) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < d.itemCount(id::kList); ++i) texts.push_back(d.itemText(id::kList, i));
    return texts;
}

class PointListTest : public ::testing::Test {
protected:
    PointListTest() {
        // Along the equator from the centre at 0/0: "b" nearest, then "c", then "a".
        add(u"a", u"G", 3.0);
        add(u"x", u"", 0.5);
        add(u"c", u"G", 2.0);
        add(u"b", u"G", 1.0);
        context.store = &store;
        context.memoFolder = memos.path();
        context.edit = [this](GpsPoint& p) { edited.push_back(p.name); };
    }

    void add(const char16_t* name, const char16_t* group, double lon) {
        GpsPoint p;
        p.name = name;
        p.group = group;
        p.number = static_cast<int>(store.size()) + 1;
        p.setPosition(0.0, lon);
        store.addPoint(p);
        test::writeFile(voiceMemoPath(memos.path(), p), "RIFF");
    }

    void run(const std::function<void(ScriptedDialog&)>& act) {
        host.expect([&](ScriptedDialog& d) {
            act(d);
            d.press(platform::kIdOk);
        });
        runPointList(context);
    }

    test::TempDir memos;
    test::ScriptedDialogHost host;
    test::ScriptedMessageBoxes boxes;
    PointStore store;
    PointListContext context;
    std::vector<std::u16string> edited;
};

TEST_F(PointListTest, ShowsGroupsAndSortsEachOnItsOwn) {
    run([&](ScriptedDialog& d) {
        EXPECT_EQ(rows(d), (std::vector<std::u16string>{u"- G (3)", u"    a", u"    c", u"    b",
                                                        u"- - (1)", u"    x"}));
        EXPECT_EQ(store.at(2).listRow, 2);
        EXPECT_EQ(d.text(id::kSort), kSortByName);
        d.pick(id::kList, 1);
        d.press(id::kSort);
        EXPECT_EQ(d.text(id::kSort), kSortByDistance);
        EXPECT_EQ(rows(d)[1], u"    b");
        EXPECT_EQ(rows(d)[3], u"    a");
        d.press(id::kSort);
        EXPECT_EQ(d.text(id::kSort), kSortByName);
        EXPECT_EQ(rows(d)[1], u"    a");
        EXPECT_EQ(rows(d)[2], u"    b");
        // The other group keeps its own choice.
        d.pick(id::kList, 4);
        EXPECT_EQ(d.text(id::kSort), kSortByName);
        EXPECT_FALSE(d.enabled(id::kEdit));
        EXPECT_TRUE(d.doubleClickRow(id::kList, 0));
        EXPECT_EQ(rows(d), (std::vector<std::u16string>{u"+ G (3)", u"- - (1)", u"    x"}));
        d.pick(id::kList, 2);
        d.press(id::kEdit);
        d.doubleClickRow(id::kList, 2);
    });
    EXPECT_EQ(edited, (std::vector<std::u16string>{u"x", u"x"}));
    EXPECT_TRUE(store.changed());
}

TEST_F(PointListTest, DeletesAPointOrAGroupWithTheirMemosAfterAsking) {
    const auto memoOf = [&](int number) {
        GpsPoint p;
        p.number = number;
        return hasVoiceMemo(memos.path(), p);
    };
    boxes.answer(platform::Answer::No);
    boxes.answer(platform::Answer::Yes);
    boxes.answer(platform::Answer::Yes);
    run([&](ScriptedDialog& d) {
        d.pick(id::kList, 5);  // x
        d.press(id::kDelete);
        EXPECT_EQ(store.size(), 4u) << "No keeps it";
        d.press(id::kDelete);
        EXPECT_EQ(store.size(), 3u);
        d.pick(id::kList, 0);  // group G
        d.press(id::kDelete);
        EXPECT_EQ(rows(d), std::vector<std::u16string>{});
    });
    EXPECT_EQ(store.size(), 0u);
    for (int number = 1; number <= 4; ++number) EXPECT_FALSE(memoOf(number)) << number;
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, u"Delete this point/group?");
    EXPECT_EQ(shown[0].title, u"Confirmation");
}

}  // namespace
}  // namespace wendra::points
