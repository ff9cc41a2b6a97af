// Map images on their load threads: a load admitted by the catalogue, room made for it
// under a budget, an unload that stops a large load within its rows, a load that
// outlives its unload and frees on its own, and the manager thread's passes.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <vector>

#include "maps/CatalogueSupport.h"
#include "maps/JpegEncoder.h"
#include "maps/MapManager.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

using maps::MapPtr;
using maps::MapStatus;
namespace flag = maps::mapflag;

constexpr int kSide = 8;
const maps::RankingView kView{0, 0, fittingScale(kSide, 1.0), 1000};

struct Catalogue {
    RecordingShell shell;
    maps::MapCatalogue catalogue{shell};
    TempDir folder;

    MapPtr add(const std::string& name, double latitude, bool load) {
        const auto image = folder / name;
        writeBmp(image, kSide, kSide, 200, 100, 50);
        MapPtr map = catalogue.newMap();
        EXPECT_TRUE(map->setDefinition(squareMap(image, latitude, 0, 1.0, kSide)));
        if (load) map->loadNow();
        return map;
    }
};

TEST(MapLoadThread, AdmissionMakesRoomUnderTheBudgetAndLoadsTheBestMap) {
    Catalogue c;
    const MapPtr best = c.add("best.bmp", 0.0, false);
    const std::vector<MapPtr> others = {c.add("a.bmp", 0.1, true), c.add("b.bmp", 0.2, true),
                                        c.add("c.bmp", 0.3, true)};
    c.catalogue.setBudgetMiB(1);  // three of them fit, not four
    c.catalogue.admit(kView);
    ASSERT_TRUE(waitUntil([&] { return loaded(*best); }));
    EXPECT_TRUE(loaded(*others[0]) && loaded(*others[1]));
    EXPECT_EQ(others[2]->status(), MapStatus::WaitingToLoad);
    EXPECT_EQ(c.catalogue.shared().allocatedBytes.load(), 3 * best->memoryNeed());
    EXPECT_TRUE(waitUntil([&] { return !c.catalogue.shared().loadRunning.load(); }));
}

TEST(MapLoadThread, AnUnloadStopsALargeLoadWithinItsRows) {
    Catalogue c;
    const auto image = c.folder / "large.jpg";
    constexpr int kWidth = 8000, kHeight = 6000;
    {
        maps::JpegEncoder jpeg;
        ASSERT_TRUE(jpeg.start(image, kWidth, kHeight));
        std::vector<std::uint8_t> row(kWidth * 3);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) row[x * 3] = static_cast<std::uint8_t>(x ^ y);
            ASSERT_TRUE(jpeg.writeRow(row.data()));
        }
        ASSERT_TRUE(jpeg.close());
    }
    MapPtr map = c.catalogue.newMap();
    ASSERT_TRUE(map->setDefinition(squareMap(image, 0, 0, 1.0, 0, false)));
    map->startLoad();
    // The bitmap is counted once allocated, before the first row.
    ASSERT_TRUE(waitUntil([&] { return c.catalogue.shared().allocatedBytes.load() > 0; }));
    ASSERT_TRUE(map->has(flag::kLoading)) << "the load ended before it could be stopped";
    map->unload();
    EXPECT_FALSE(map->has(flag::kLoading | flag::kLoaded | flag::kUnloadRequested));
    EXPECT_EQ(map->status(), MapStatus::WaitingToLoad);
    EXPECT_EQ(c.catalogue.shared().allocatedBytes.load(), 0u);
    EXPECT_TRUE(c.shell.boxes().empty());
    EXPECT_TRUE(c.shell.traces().empty());
}

// The image is a pipe that nobody writes: the load blocks in the system, where it cannot
// look at its stop request. The unload gives up after 5.5 s without freeing anything;
// once the pipe delivers, the load ends, frees the bitmap and lets other loads run.
TEST(MapLoadThread, ALoadThatOutlivesItsUnloadFreesWhenItEnds) {
    Catalogue c;
    const auto pipe = c.folder / "slow.bmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    MapPtr map = c.catalogue.newMap();
    ASSERT_TRUE(map->setDefinition(squareMap(pipe, 0, 0, 1.0, kSide)));
    map->startLoad();
    map->unload();
    ASSERT_TRUE(map->has(flag::kLoadAbandoned));
    EXPECT_EQ(c.shell.traces(), std::vector<std::string>{".Terminate.4 (slow)"});
    EXPECT_TRUE(c.catalogue.shared().loadRunning.load());
    map->unload();     // gives up at once the second time
    map->startLoad();  // and starts no second load
    c.catalogue.purgeRemoved();
    EXPECT_EQ(c.catalogue.size(), 1u);

    writeBmp(c.folder / "bytes.bmp", kSide, kSide, 1, 2, 3);
    const std::string bytes = readFile(c.folder / "bytes.bmp");
    std::signal(SIGPIPE, SIG_IGN);
    const bool ended = waitUntil([&] {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            [[maybe_unused]] const auto n = ::write(fd, bytes.data(), bytes.size());
            ::close(fd);
        }
        return !map->has(flag::kLoadAbandoned);
    });
    ASSERT_TRUE(ended);
    EXPECT_TRUE(waitUntil([&] { return !c.catalogue.shared().loadRunning.load(); }));
    EXPECT_FALSE(map->has(flag::kLoading | flag::kLoaded));
    EXPECT_EQ(c.catalogue.shared().allocatedBytes.load(), 0u);
}

struct NightShell {
    Catalogue c;
    maps::MapManager manager{c.catalogue};
};

platform::Pixel16 paintedPixel(maps::MapCatalogue& catalogue) {
    platform::PixelBuffer view({4, 4});
    const maps::MapCell cell{maps::CellCorner{0.2, -0.2, 0, 0}, maps::CellCorner{0.2, 0.2, 4, 0},
                             maps::CellCorner{-0.2, -0.2, 0, 4}, maps::CellCorner{-0.2, 0.2, 4, 4}};
    catalogue.buildDisplayList(kView.scale, 0);
    catalogue.paintAll(std::span(&cell, 1), view, 0);
    return view.at(2, 2);
}

TEST(MapManagerThread, LoadsMapsAndReloadsThemInTheNewNightColours) {
    NightShell s;
    const MapPtr map = s.c.add("day.bmp", 0.0, false);
    s.c.shell.view = kView;
    s.c.shell.hasView = true;
    s.manager.start();
    ASSERT_TRUE(waitUntil([&] { return loaded(*map); }));
    EXPECT_EQ(paintedPixel(s.c.catalogue), platform::toPixel16(platform::rgb(200, 100, 50)));

    s.c.shell.night = maps::NightMode::Inverted;
    s.manager.post(maps::ManagerLevel::NightMode);
    ASSERT_TRUE(
        waitUntil([&] { return map->nightMode() == maps::NightMode::Inverted && loaded(*map); }));
    EXPECT_EQ(paintedPixel(s.c.catalogue), platform::toPixel16(platform::rgb(55, 155, 205)));
    s.manager.stop();
    EXPECT_FALSE(s.manager.running());
}

}  // namespace
}  // namespace wendra::test
