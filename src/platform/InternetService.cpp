#include "platform/InternetService.h"

#include "platform/Sync.h"

namespace wendra::platform {

InternetService::InternetService(std::chrono::milliseconds period, Ticker& ticker)
    : period_(period), ticker_(ticker), nextDue_(ticker.now().time_since_epoch().count()) {}

bool InternetService::loadRecord(std::string_view) {
    return false;
}

void InternetService::saveRecords(std::vector<std::string>&) const {}

void InternetService::reset() {
    clearFlags(kCancel);
    if (HttpRequest* request = request_.load(std::memory_order_acquire)) request->clearCancel();
    clearMessage();
    setLastResult(HttpRequest::kOk);
    unlockBusy();
}

void InternetService::lockBusy(std::u16string_view label) {
    waitFor([this] { return tryLockBusy(); }, label);
}

bool InternetService::tryLockBusy() {
    return (flags_.fetch_or(kBusy, std::memory_order_acquire) & kBusy) == 0;
}

void InternetService::unlockBusy() {
    flags_.fetch_and(~kBusy, std::memory_order_release);
}

void InternetService::schedule() {
    setNextDue(ticker_.now() + period_);
}

bool InternetService::usable() const {
    const std::uint32_t flags = flags_.load(std::memory_order_acquire);
    return lastResult() == HttpRequest::kOk && (flags & kActive) && !(flags & kStopped);
}

bool InternetService::due() {
    if (!usable() || hasFlags(kBusy) || ticker_.now() < nextDue()) return false;
    setLastResult(HttpRequest::kOk);
    clearMessage();
    return true;
}

void InternetService::refreshState() {
    clearFlags(kActive);
    if ((settings() & kSettingEnabled) && !hasFlags(kStopped)) setFlags(kActive);
}

void InternetService::cancel() {
    setFlags(kCancel);
    if (HttpRequest* request = request_.load(std::memory_order_acquire)) request->cancel();
    onCancel();
}

std::u16string InternetService::message() const {
    std::lock_guard lock(messageMutex_);
    return message_;
}

void InternetService::setMessage(std::u16string_view text) {
    std::lock_guard lock(messageMutex_);
    message_ = text.substr(0, kMaxMessage);
}

Ticker::Time InternetService::nextDue() const {
    return Ticker::Time(Ticker::Time::duration(nextDue_.load(std::memory_order_acquire)));
}

void InternetService::setNextDue(Ticker::Time when) {
    nextDue_.store(when.time_since_epoch().count(), std::memory_order_release);
}

}  // namespace wendra::platform
