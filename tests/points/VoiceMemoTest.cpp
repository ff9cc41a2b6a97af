#include <gtest/gtest.h>

#include <vector>

#include "platform/SoundPlayer.h"
#include "points/VoiceMemo.h"
#include "support/RecordingPlayer.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::points {
namespace {

using test::RecordingPlayer;

TEST(VoiceMemo, NamedAfterThePointNumberPlayedAndDeletedOnYes) {
    test::TempDir dir;
    test::ScriptedMessageBoxes boxes;
    RecordingPlayer player;
    GpsPoint point;
    EXPECT_TRUE(voiceMemoPath(dir.path(), point).empty()) << "no number, no memo";
    EXPECT_FALSE(playVoiceMemo(dir.path(), point));
    point.number = 42;
    EXPECT_EQ(voiceMemoPath(dir.path(), point), dir / "00042.wav");
    EXPECT_FALSE(playVoiceMemo(dir.path(), point)) << "not recorded yet";
    test::writeFile(dir / "00042.wav", "RIFF");
    EXPECT_TRUE(playVoiceMemo(dir.path(), point));
    EXPECT_EQ(player.played(), (std::vector<std::filesystem::path>{dir / "00042.wav"}));

    boxes.answer(platform::Answer::No);
    boxes.answer(platform::Answer::Yes);
    EXPECT_FALSE(confirmDeleteVoiceMemo(dir.path(), point));
    EXPECT_TRUE(hasVoiceMemo(dir.path(), point));
    EXPECT_TRUE(confirmDeleteVoiceMemo(dir.path(), point));
    EXPECT_FALSE(hasVoiceMemo(dir.path(), point));
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, u"Do you want to delete the voice memo");
    EXPECT_EQ(boxes.shown()[0].title, u"Confirmation");
}

}  // namespace
}  // namespace wendra::points
