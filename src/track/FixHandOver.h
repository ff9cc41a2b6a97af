#pragma once
// The fix hand-over: what happens to every chunk the GPS reader reads. It runs the
// parser, asks the receiver-configuration questions, and passes each new valid fix to
// the current position, the live statistics, the journal and the main layer. Runs on
// the reader thread; chunks are dropped while a track file is read or written.

#include <string_view>

#include "gps/NmeaParser.h"
#include "gps/SerialSettings.h"
#include "track/HandOverListener.h"
#include "track/HandOverState.h"
#include "track/TrackFiles.h"
#include "track/TrackStatistics.h"

namespace wendra {

class FixHandOver {
public:
    // The long-gap rule: a first fix this long after the last point starts a new track
    // (delete mode Automatic).
    static constexpr double kLongGapDays = 1.0 / 12.0;
    static constexpr std::u16string_view kJournalFailedText =
        u"Unable to write the journal!\nTrack kept in memory";

    struct Parts {
        NmeaParser& parser;
        SerialSettings& serial;
        TrackFiles& files;
        TrackStatistics& statistics;
        HandOverState& state;
        HandOverListener& listener;
    };

    explicit FixHandOver(const Parts& parts) : p_(parts) {}

    void handle(std::string_view chunk);
    // What happens to a new valid fix (step 5 of handle): the long-gap rule, the
    // current position, the live statistics, then, while recording, the journal and
    // the main layer. Also how a tool replays a journal as live fixes.
    void deliverFix(const Fix& fix);

private:
    void logChunk(std::string_view chunk) const;
    void checkRate();
    void checkSatelliteSystems();
    void clearAfterLongGap(const Fix& fix);
    void record(const Fix& fix);
    void journal(const Fix& fix);

    Parts p_;
    // The journal refused the last fix: said once, until a fix is written again.
    bool journalFailing_ = false;
};

}  // namespace wendra
