#include "track/FixHandOver.h"

#include <cstdio>

#include "platform/MessageBox.h"
#include "records/DayNumber.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

constexpr std::u16string_view kQuestionTitle = u"Confirmation!";
constexpr std::u16string_view kRateQuestion =
    u"The GPS configuration seems to be wrong. Do you want to fix it?";
constexpr std::u16string_view kSystemsQuestion =
    u"The GPS sends the positions of several satellite systems. Do you want to use them?";

bool askYesNo(std::u16string_view text) {
    return platform::showMessage(text, kQuestionTitle, platform::Buttons::YesNo,
                                 platform::Icon::Question) == platform::Answer::Yes;
}

}  // namespace

void FixHandOver::handle(std::string_view chunk) {
    if (p_.files.busy().busy()) return;
    if (p_.serial.has(SerialOptions::kLogPort)) logChunk(chunk);
    const int32_t sentencesBefore = p_.parser.sentenceCount();
    p_.parser.parse(chunk);
    checkRate();
    checkSatelliteSystems();

    const double now = currentDayNumber();
    const int32_t flags = p_.parser.flags();
    if (flags & ParserFlags::kGap) {
        // More than a minute without data: the track must not join across it. Marked
        // before this chunk's fix is recorded, so that the break falls in the silence.
        FileBusy::Recording recording(p_.files.busy());
        if (recording.admitted()) p_.files.track().endSegment(u".Gap");
    }
    if (flags & ParserFlags::kFixValid) {
        p_.state.lastFixTime = now;
        if (flags & ParserFlags::kNewFix) {
            p_.parser.setFlags(flags & ~ParserFlags::kNewFix);
            deliverFix(p_.parser.fix());
        }
    } else {
        p_.state.position = PositionMark::NoFix;
    }
    if (p_.parser.sentenceCount() != sentencesBefore) p_.state.lastSignalTime = now;
    if (flags & ParserFlags::kChanged) {
        p_.state.reconnectAllowance = HandOverState::kReconnectAllowance;
        if (!p_.state.quickDraw) p_.listener.requestRepaint();
    }
}

void FixHandOver::logChunk(std::string_view chunk) const {
    std::FILE* log = std::fopen(p_.files.folders().portLogFile().c_str(), "ab");
    if (!log) return;
    std::fwrite(chunk.data(), 1, chunk.size(), log);
    std::fflush(log);
    std::fclose(log);
}

void FixHandOver::checkRate() {
    const int32_t reported = p_.parser.reportedBaudRate();
    if (reported == 0 || reported == p_.serial.receiverRate() ||
        p_.serial.has(SerialOptions::kRateAsked))
        return;
    p_.serial.options |= SerialOptions::kRateAsked;
    if (askYesNo(kRateQuestion)) {
        const int32_t index = SerialSettings::rateIndex(reported);
        if (index >= 0) p_.serial.receiverRateIndex = index;
    }
    p_.listener.settingsChanged();
}

// Receivers that combine several systems may never send a $GP position; without the
// bit they would show no fix at all.
void FixHandOver::checkSatelliteSystems() {
    if ((p_.parser.flags() & ParserFlags::kAllSystems) ||
        p_.serial.has(SerialOptions::kAllSystemsAsked))
        return;
    if (p_.parser.otherSystemPositionCount() == 0 || p_.parser.positionCount() != 0) return;
    p_.serial.options |= SerialOptions::kAllSystemsAsked;
    if (askYesNo(kSystemsQuestion))
        p_.parser.setFlags(p_.parser.flags() | ParserFlags::kAllSystems);
    p_.listener.settingsChanged();
}

void FixHandOver::deliverFix(const Fix& fix) {
    const bool wasShown = p_.state.position == PositionMark::Shown;
    FileBusy::Recording recording(p_.files.busy());
    if (recording.admitted()) clearAfterLongGap(fix, wasShown);
    p_.state.position = PositionMark::Shown;
    p_.listener.positionUpdated(fix);
    p_.statistics.liveUpdate(fix);
    if (recording.admitted()) record(fix);
}

// The GPS was just switched on again, long after the last point: in delete mode
// Automatic that is a new trip, unless the old one came back from the journal.
void FixHandOver::clearAfterLongGap(const Fix& fix, bool positionWasShown) {
    if (positionWasShown || p_.state.recoveryPending) return;
    Track& track = p_.files.track();
    bool longGap = false;
    {
        TrackLock::Hold hold(track.lock(), u".Auto");
        const TrackPoint* last = track.main().last();
        longGap = track.settings.deleteMode == DeleteMode::Automatic && last &&
                  fix.time - last->time > kLongGapDays;
    }
    if (!longGap) return;
    track.clearLayer(Track::kMainLayer);
    p_.files.storeLayer(Track::kMainLayer);
}

void FixHandOver::record(const Fix& fix) {
    Track& track = p_.files.track();
    bool recording = false;
    {
        TrackLock::Hold hold(track.lock(), u".Rec");
        recording = track.settings.recordTrack;
    }
    if (!recording) return;
    // Journaled first: a kill after this line loses nothing the track had.
    p_.files.journal().append(fix);
    p_.listener.fixJournaled(fix);
    track.addFix(trackFixOf(fix), true);
    TrackLock::Hold hold(track.lock(), u".Add.3");
    if (TrackPoint* last = track.main().last()) last->climbSpeed = p_.statistics.liveClimbSpeed();
}

}  // namespace wendra
