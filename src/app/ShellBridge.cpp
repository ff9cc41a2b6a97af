#include "app/ShellBridge.h"

#include <utility>

#include "app/AppMessages.h"
#include "app/Configuration.h"
#include "gps/NmeaParser.h"
#include "platform/SoundPlayer.h"
#include "platform/Window.h"
#include "records/Text.h"

namespace wendra {

ShellBridge::ShellBridge(std::filesystem::path programFolder, const NmeaParser& readerParser,
                         HandOverState& handOver)
    : programFolder_(std::move(programFolder)), readerParser_(readerParser), handOver_(handOver) {}

void ShellBridge::post(std::uint32_t code) {
    if (platform::Window* window = window_.load(std::memory_order_acquire)) window->post(code);
}

void ShellBridge::setWaitCursor(bool busy) {
    screen_.setWaitCursor(busy);
}

void ShellBridge::showBanner(std::u16string_view text) {
    screen_.show(text);
}

void ShellBridge::hideBanner() {
    screen_.hide();
}

void ShellBridge::setNoFixSound(std::u16string name) {
    std::lock_guard lock(mutex_);
    noFixSound_ = std::move(name);
}

void ShellBridge::showStatus(std::u16string_view text) {
    {
        std::lock_guard lock(mutex_);
        statusText_ = std::u16string(text);
    }
    post(AppMessage::kStatusText);
}

// A 10 Hz receiver asks for a repaint with every fix; one message on its way is enough.
void ShellBridge::requestRepaint() {
    if (!repaintPosted_.exchange(true, std::memory_order_acq_rel)) post(AppMessage::kRepaint);
}

std::u16string ShellBridge::noFixSound() {
    std::lock_guard lock(mutex_);
    return noFixSound_;
}

void ShellBridge::playSound(std::u16string_view name) {
    platform::playSound(programFolder_ / (toUtf8(name) + ".wav"));
}

void ShellBridge::requestReconnect() {
    post(AppMessage::kReconnect);
}

// The reader says so on every pass while the GPS is off; only the first one changes
// what the map shows. The first fix after the GPS is switched on again finds the mark
// "not shown", which is what the long-gap rule looks for.
void ShellBridge::positionNotShown() {
    bool hadPosition = false;
    {
        std::lock_guard lock(mutex_);
        hadPosition = position_.has_value();
        position_.reset();
    }
    const PositionMark before = handOver_.position.exchange(PositionMark::NotShown);
    if (hadPosition || before != PositionMark::NotShown) requestRepaint();
}

void ShellBridge::positionUpdated(const Fix& fix) {
    std::lock_guard lock(mutex_);
    position_ = fix;
}

// Runs on the reader thread, the only one that changes the reader's settings, so they
// are read here and only the copy crosses to the window thread.
void ShellBridge::settingsChanged() {
    {
        std::lock_guard lock(mutex_);
        settings_ = ReaderSettings{readerSerial_->options, readerSerial_->receiverRateIndex,
                                   readerParser_.flags(), readerParser_.correction()};
    }
    post(AppMessage::kReaderSettings);
}

void ShellBridge::afterChunk() {
    const std::uint32_t revision = readerParser_.settingsRevision();
    if (revision == sentRevision_) return;
    sentRevision_ = revision;
    settingsChanged();
}

std::optional<std::u16string> ShellBridge::takeStatusText() {
    std::lock_guard lock(mutex_);
    return std::exchange(statusText_, std::nullopt);
}

std::optional<ReaderSettings> ShellBridge::takeSettings() {
    std::lock_guard lock(mutex_);
    return std::exchange(settings_, std::nullopt);
}

bool ShellBridge::mergeSettings(Configuration& config) {
    const std::optional<ReaderSettings> settings = takeSettings();
    if (!settings) return false;
    constexpr std::int32_t kAnswered = SerialOptions::kRateAsked | SerialOptions::kAllSystemsAsked;
    config.serial.options =
        (config.serial.options & ~kAnswered) | (settings->serialOptions & kAnswered);
    config.serial.receiverRateIndex = settings->receiverRateIndex;
    config.nmea.flags = (config.nmea.flags & ~ParserFlags::kSettings) |
                        (settings->parserFlags & ParserFlags::kSettings);
    config.nmea.correction = settings->correction;
    return true;
}

std::optional<Fix> ShellBridge::position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

}  // namespace wendra
