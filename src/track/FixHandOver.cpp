#include "track/FixHandOver.h"

#include <cstdio>
#include <system_error>

#include "platform/MessageBox.h"
#include "platform/TraceLog.h"
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
        // Only a position once shown is lost: until the first fix since the start or
        // since the GPS was switched on, it stays not shown, for the long-gap rule.
        PositionMark shown = PositionMark::Shown;
        p_.state.position.compare_exchange_strong(shown, PositionMark::NoFix);
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
    const bool firstSinceSwitchedOn = p_.state.position == PositionMark::NotShown;
    FileBusy::Recording recording(p_.files.busy());
    if (recording.admitted() && firstSinceSwitchedOn) clearAfterLongGap(fix);
    p_.state.position = PositionMark::Shown;
    p_.listener.positionUpdated(fix);
    p_.statistics.liveUpdate(fix);
    if (recording.admitted()) record(fix);
}

// The GPS was just switched on again, long after the last point: in delete mode
// Automatic that is a new trip, unless the old one came back from the journal. A fix
// lost for hours with the GPS on is the same trip going on.
void FixHandOver::clearAfterLongGap(const Fix& fix) {
    if (p_.state.recoveryPending) return;
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
    journal(fix);
    track.addFix(trackFixOf(fix), true);
    TrackLock::Hold hold(track.lock(), u".Add.3");
    if (TrackPoint* last = track.main().last()) last->climbSpeed = p_.statistics.liveClimbSpeed();
}

// A journal that cannot be written would lose the whole run to a kill without a word:
// the user is told at once, and the track goes on in memory for the shut-down to store.
void FixHandOver::journal(const Fix& fix) {
    FixJournal& journal = p_.files.journal();
    if (journal.append(fix)) {
        if (journalFailing_) platform::traceLog().write("Journal written again: " + journal.path());
        journalFailing_ = false;
        p_.listener.fixJournaled(fix);
        return;
    }
    if (journalFailing_) return;
    journalFailing_ = true;
    const std::string reason =
        std::error_code(journal.lastError(), std::generic_category()).message();
    platform::traceLog().write("Journal not written: " + journal.path() + ": " + reason);
    p_.listener.showStatus(kJournalFailedText);
}

}  // namespace wendra
