#include "gps/ReplayPlayer.h"

#include <chrono>

namespace wendra {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kTick{10};
// A reader that opened the terminal but never sets it up (cat, a terminal program) gets
// the log after this long all the same.
constexpr milliseconds kSetUpGrace{500};
// A pass over a log without a single time would otherwise repeat without pause.
constexpr double kUntimedPassSeconds = 1.0;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

Clock::duration toDuration(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

std::optional<std::string> TextReplay::nextLine() {
    if (at_ >= text_.size()) return std::nullopt;
    const std::size_t newline = text_.find('\n', at_);
    const std::size_t end = newline == std::string::npos ? text_.size() : newline + 1;
    std::string line = text_.substr(at_, end - at_);
    at_ = end;
    return line;
}

// The playing thread's own state.
struct ReplayPlayer::Play {
    bool connected = false;
    bool everConnected = false;
    bool readerSeen = false;                    // someone has the terminal open
    std::optional<Clock::time_point> openedAt;  // a reader opened, not yet set up
    Clock::time_point origin;                   // play time 0, moved on by pauses
    Clock::time_point pausedAt;
    std::optional<std::string> line;
    std::size_t written = 0;  // of the line
    double due = 0.0;         // play seconds
    bool timedInPass = false;
    bool linesInPass = false;
    bool finished = false;

    double now() const { return seconds(Clock::now() - origin); }
};

ReplayPlayer::ReplayPlayer(std::unique_ptr<platform::ReplayTerminal> terminal,
                           std::unique_ptr<ReplaySource> source, Options options)
    : source_(std::move(source)),
      options_(options),
      pacer_(options.speed),
      terminal_(std::move(terminal)) {}

ReplayPlayer::~ReplayPlayer() {
    stop();
}

bool ReplayPlayer::start(std::string& error) {
    if (!speedAllowed(options_.speed)) {
        error = std::string("the speed must be ") + kSpeedRange;
        return false;
    }
    if (!terminal_->open(error)) return false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void ReplayPlayer::stop() {
    if (!thread_.joinable()) return;
    stopRequest_ = true;
    thread_.join();
}

void ReplayPlayer::run() {
    Play play;
    while (!stopRequest_) {
        if (!readerReady(play) || play.finished) {
            std::this_thread::sleep_for(kTick);
            continue;
        }
        terminal_->drain();
        if (!play.line && !fetch(play)) continue;
        const double wait = play.due - play.now();
        if (wait > 0.0) {
            std::this_thread::sleep_for(std::min<Clock::duration>(kTick, toDuration(wait)));
            continue;
        }
        deliver(play);
    }
}

// Follows the reader coming and going; play time stands still while nobody listens.
bool ReplayPlayer::readerReady(Play& play) {
    using Reader = platform::ReplayTerminal::Reader;
    const Reader reader = terminal_->reader();
    const Clock::time_point now = Clock::now();
    if (reader == Reader::Opened && !play.openedAt) play.openedAt = now;
    const bool ready = reader == Reader::Configured ||
                       (reader == Reader::Opened && now - *play.openedAt >= kSetUpGrace);
    if (ready && !play.connected) {
        play.origin = play.everConnected ? play.origin + (now - play.pausedAt) : now;
        play.connected = play.everConnected = true;
    } else if (!ready && play.connected) {
        play.connected = false;
        play.pausedAt = now;
    }
    if (reader != Reader::None) {
        play.readerSeen = true;
    } else if (play.readerSeen) {
        play.readerSeen = false;
        play.openedAt.reset();
        terminal_->forgetReader();
    }
    return ready;
}

bool ReplayPlayer::fetch(Play& play) {
    play.line = source_->nextLine();
    if (play.line) {
        play.linesInPass = true;
        play.written = 0;
        if (ReplayPacer::receiverSeconds(*play.line)) play.timedInPass = true;
        play.due = pacer_.due(*play.line);
        return true;
    }
    ++passesDone_;
    // A pass without a single line (the log emptied under us) would start over at once,
    // for ever.
    if (!options_.loop || !play.linesInPass) {
        play.finished = true;
        return false;
    }
    if (!play.timedInPass) play.origin += toDuration(kUntimedPassSeconds / options_.speed);
    play.timedInPass = play.linesInPass = false;
    source_->rewind();
    pacer_.restart();
    return false;
}

void ReplayPlayer::deliver(Play& play) {
    const std::string& line = *play.line;
    const long n = terminal_->write(line.data() + play.written, line.size() - play.written, kTick);
    if (n <= 0) return;  // full, or the reader just left: try again on the next turn
    play.written += static_cast<std::size_t>(n);
    bytesPlayed_ += static_cast<std::size_t>(n);
    if (play.written == line.size()) play.line.reset();
}

}  // namespace wendra
