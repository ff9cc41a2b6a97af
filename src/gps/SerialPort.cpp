#include "gps/SerialPort.h"

#include <algorithm>
#include <cstdio>

#include "gps/GpsReader.h"
#include "platform/MessageBox.h"
#include "records/Text.h"

namespace wendra {

namespace {

using platform::BluetoothRadio;
using platform::SerialAccess;
using platform::SerialOpenError;
using std::chrono::milliseconds;

constexpr std::uint32_t kPortLock = 1u << 0;
constexpr std::u16string_view kPortLockLabel = u".SerialWait.1";

constexpr milliseconds kAllowance{1000};
constexpr milliseconds kBluetoothAllowance{15000};
constexpr milliseconds kRetryPause{1000};
constexpr milliseconds kBluetoothPause{1000};
constexpr milliseconds kStartPause{500};
constexpr milliseconds kAfterClose{100};
constexpr int kStartAttempts = 3;

// Bits at 9 per byte, and the bytes of 0.2 s, the time between two reads.
constexpr int kBitsPerByte = 9;
constexpr double kBaseChunkSeconds = 0.2;
constexpr long long kMsBitsPerByte = 9000;
constexpr int kChunkMargin = 100;
// A driver that claims this much or more in one read has not read anything sound.
constexpr long kImplausibleCount = 4095;

constexpr std::u16string_view kOpeningBluetooth = u"Openning Bluetooth...";
constexpr std::u16string_view kClosing = u"Closing COM...";
constexpr std::u16string_view kUnableToRead = u"Unable to read GPS!";
constexpr std::u16string_view kErrorTitle = u"Error!";

std::u16string openErrorText(SerialOpenError error) {
    switch (error) {
        case SerialOpenError::None:
            return {};
        case SerialOpenError::NotFound:
            return u"Serial Error: Port Not found!";
        case SerialOpenError::AccessDenied:
            return u"Serial Error:Access Denied!";
        case SerialOpenError::GetState:
            return u"Serial Error:Get State!";
        case SerialOpenError::SetState:
            return u"Serial Error:Set State!";
        case SerialOpenError::Other:
            break;
    }
    return u"Serial Error!";
}

// "COM" or "GPD" and the digit, as the banners and device names show them.
std::string portStem(int portId) {
    char stem[32];
    std::snprintf(stem, sizeof stem, "%s%d", portId < SerialPort::kGpdBase ? "COM" : "GPD",
                  ((portId % 10) + 10) % 10);
    return stem;
}

}  // namespace

SerialPort::SerialPort(Parts parts)
    : ports_(parts.ports),
      radio_(parts.radio),
      shell_(parts.shell),
      programFolder_(std::move(parts.programFolder)),
      ticker_(parts.ticker ? *parts.ticker : platform::systemTicker()),
      watch_(parts.times, parts.shell),
      reader_(std::make_unique<GpsReader>(*this, std::move(parts.chunkSink), watch_, shell_)) {}

SerialPort::~SerialPort() {
    reader_->stop();
    closePort();
}

std::string SerialPort::portName(int portId) {
    return portStem(portId) + ":";
}

int SerialPort::baseChunk(int rate) {
    const int chunk = static_cast<int>((rate / kBitsPerByte) * kBaseChunkSeconds);
    return std::clamp(chunk, 0, kMaxChunk);
}

int SerialPort::chunkSize(int rate, std::optional<long long> msSinceLastRead) {
    const int base = baseChunk(rate);
    if (!msSinceLastRead) return base;
    const long long ms = std::max(0LL, *msSinceLastRead);
    const long long size = static_cast<long long>(rate) * ms / kMsBitsPerByte + kChunkMargin;
    return static_cast<int>(std::clamp<long long>(size, base, kMaxChunk));
}

bool SerialPort::readerRunning() const {
    return reader_->running();
}

void SerialPort::lockPort() {
    lock_.lock(kPortLock, kPortLockLabel);
}

void SerialPort::unlockPort() {
    lock_.unlock(kPortLock);
}

bool SerialPort::openPort(SerialAccess access) {
    releaseDevice();
    receive_[0] = '\0';
    if (settings_.has(SerialOptions::kDeactivated)) return true;
    const int rate =
        access == SerialAccess::Read ? settings_.readingRate() : settings_.receiverRate();
    platform::SerialOpenResult opened = ports_.open(portName(settings_.portId), rate, access);
    if (!opened.device) {
        errorText_ = openErrorText(opened.error == SerialOpenError::None ? SerialOpenError::Other
                                                                         : opened.error);
        return false;
    }
    device_ = std::move(opened.device);
    device_->purge();
    rate_ = rate;
    // gpsd is not a line with a rate: its chunks are sized for the fastest line, so a
    // fast receiver behind it is not held back.
    chunkRate_ = settings_.portId >= kGpdBase ? kSerialRates[kMaxReceiverRateIndex] : rate;
    baseChunk_ = baseChunk(chunkRate_);
    lastRead_.reset();
    return true;
}

void SerialPort::releaseDevice() {
    if (!device_) return;
    device_->purge();
    device_.reset();
    ticker_.sleep(kAfterClose);
}

void SerialPort::closePort() {
    releaseDevice();
    if (radioSwitchedOn_) {
        radio_.setMode(BluetoothRadio::kOff);
        radioSwitchedOn_ = false;
    }
    receive_[0] = '\0';
    errorText_.clear();
    rate_ = 0;
    chunkRate_ = 0;
    baseChunk_ = 0;
    lastRead_.reset();
}

std::string_view SerialPort::readChunk() {
    lockPort();
    if (!device_) {
        std::copy(kNoPortMarker.begin(), kNoPortMarker.end(), receive_.begin());
        unlockPort();
        return std::string_view(receive_.data(), kNoPortMarker.size());
    }
    const platform::Ticker::Time now = ticker_.now();
    std::optional<long long> since;
    if (lastRead_) since = std::chrono::duration_cast<milliseconds>(now - *lastRead_).count();
    const int size = lastRead_ ? chunkSize(chunkRate_, since) : baseChunk_;
    lastRead_ = now;
    long count = device_->read(receive_.data(), static_cast<std::size_t>(size));
    if (count < 0 || count >= kImplausibleCount) count = 0;
    receive_[static_cast<std::size_t>(count)] = '\0';
    unlockPort();
    return std::string_view(receive_.data(), static_cast<std::size_t>(count));
}

long SerialPort::write(std::string_view bytes) {
    if (!device_) return -1;
    return device_->write(bytes.data(), bytes.size());
}

void SerialPort::powerBluetooth() {
    if (savedBluetoothMode_ == BluetoothRadio::kUnknown) savedBluetoothMode_ = radio_.mode();
    if (savedBluetoothMode_ != BluetoothRadio::kOff || radioSwitchedOn_) return;
    shell_.showBanner(kOpeningBluetooth);
    ticker_.sleep(kBluetoothPause);
    radioSwitchedOn_ = radio_.setMode(BluetoothRadio::kOn);
    ticker_.sleep(kBluetoothPause);
}

bool SerialPort::openWithRetries() {
    lockPort();
    shell_.setWaitCursor(true);
    const bool bluetooth = settings_.has(SerialOptions::kActivateBluetooth);
    const milliseconds allowance = bluetooth ? kBluetoothAllowance : kAllowance;
    const platform::Ticker::Time begin = ticker_.now();
    if (bluetooth) powerBluetooth();
    shell_.showBanner(widen("Openning " + portStem(settings_.portId) + "..."));
    bool opened = openPort(SerialAccess::Read);
    while (!opened && ticker_.now() - begin < allowance) {
        ticker_.sleep(kRetryPause);
        opened = openPort(SerialAccess::Read);
    }
    unlockPort();
    shell_.setWaitCursor(false);
    shell_.hideBanner();
    return opened;
}

void SerialPort::startPortLog() {
    std::FILE* log = std::fopen((programFolder_ / kPortLogName).c_str(), "wb");
    if (!log) return;
    if (settings_.has(SerialOptions::kLogPort))
        std::fprintf(log, "$SERIALCONFIG,%d,%d,%d*\n", settings_.portId, settings_.readingRateIndex,
                     settings_.receiverRateIndex);
    std::fclose(log);
}

bool SerialPort::start(Attempts attempts) {
    startPortLog();
    close();
    const bool stopEarly =
        attempts == Attempts::Single || settings_.has(SerialOptions::kActivateBluetooth);
    std::u16string error;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (openWithRetries()) {
            reader_->start();
            return true;
        }
        error = errorText_;
        if (stopEarly) break;
        close();
        ticker_.sleep(kStartPause);
    }
    close();
    // What went wrong is kept for whoever asks after the box.
    errorText_ = error;
    platform::showMessage(kUnableToRead, kErrorTitle, platform::Buttons::Ok, platform::Icon::Error);
    return false;
}

void SerialPort::close() {
    shell_.setWaitCursor(true);
    shell_.showBanner(kClosing);
    reader_->stop();
    closePort();
    unlockPort();
    shell_.setWaitCursor(false);
    shell_.hideBanner();
}

bool SerialPort::applyOnOff() {
    const bool deactivated = settings_.has(SerialOptions::kDeactivated);
    if (!deactivated && !readerRunning()) {
        start(Attempts::Single);
    } else if (deactivated && readerRunning()) {
        close();
    }
    return readerRunning() || settings_.has(SerialOptions::kDeactivated);
}

}  // namespace wendra
