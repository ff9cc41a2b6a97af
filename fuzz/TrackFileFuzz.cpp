// Loads arbitrary bytes as a track file into the main layer and a display layer, writes
// both back in either form, and reads the same bytes as a crash journal.

#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/MessageBox.h"
#include "track/FileBusy.h"
#include "track/FixJournal.h"
#include "track/Track.h"
#include "track/TrackFiles.h"
#include "track/TrackPoint.h"

#include "MemoryInput.h"

namespace {

using namespace wendra;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// One in-memory file reused by every run; the readers open it by path.
const wendra::fuzz::MemoryInput& input() {
    static const wendra::fuzz::MemoryInput file("track_file_fuzz");
    return file;
}

// Nobody answers; a memory error must not stop the run.
class SilentBoxes final : public platform::MessageBoxHost {
public:
    platform::Answer show(const platform::Message& m) override {
        return platform::defaultAnswer(m.buttons);
    }
};

void checkLinks(const TrackLayer& layer) {
    int count = 0;
    const TrackPoint* prev = nullptr;
    for (const TrackPoint* p = layer.first(); p; p = p->next) {
        check(p->prev == prev);
        check(p->weight >= 1 && p->heading >= 0 && p->heading < 360);
        check(p->signal >= 0.0f && p->signal <= 100.0f);
        // Only points on the globe, with numbers that are numbers, are ever loaded.
        check(std::fabs(p->lat) <= 0.5 && std::fabs(p->lon) <= 1.0 && std::isfinite(p->time));
        check(std::isfinite(p->altitude) && std::isfinite(p->speed));
        prev = p;
        ++count;
    }
    check(prev == layer.last() && count == layer.count());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentBoxes boxes;
    static platform::ScopedMessageBoxHost useBoxes(boxes);
    input().store(data, size);
    Track track;
    track.settings.maxPointsIndex = 0;  // thinning joins in early
    FileBusy busy;
    FixJournal journal(input().path());
    TrackFiles files(track, TrackFolders{}, busy, journal);
    const LayerLoad main = files.loadLayer(0, input().path());
    const LayerLoad display = files.loadLayer(1, input().path(), 0x0105);
    check(main == display);
    checkLinks(track.layer(0));
    checkLinks(track.layer(1));
    for (const bool binary : {false, true}) {
        check(files.writeLayer(0, "/dev/null", binary));
        check(files.writeLayer(1, "/dev/null", binary));
    }
    // The journal hands out only the whole records that a receiver could have given.
    size_t fixes = 0;
    journal.forEach([&fixes](const Fix& fix) {
        check(std::fabs(fix.latitude) <= 90.0 && std::fabs(fix.longitude) <= 180.0);
        check(std::isfinite(fix.altitude) && std::isfinite(fix.speed) && std::isfinite(fix.time));
        ++fixes;
        return true;
    });
    check(fixes <= size / kFixRecordSize);
    return 0;
}
