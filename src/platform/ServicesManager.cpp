#include "platform/ServicesManager.h"

#include <algorithm>
#include <string>

namespace wendra::platform {
namespace {

std::u16string unreachableText(int code, std::chrono::minutes retry) {
    std::string text = "Unable to reach the internet! (error " + std::to_string(code) +
                       "), next try in " + std::to_string(retry.count()) + " min";
    return {text.begin(), text.end()};
}

}  // namespace

ServicesManager::ServicesManager(Ticker& ticker)
    : ticker_(ticker), record_(std::chrono::milliseconds(0), ticker) {}

void ServicesManager::add(InternetService& service) {
    services_.push_back(&service);
}

bool ServicesManager::refreshAll() {
    record_.clearFlags(InternetService::kActive);
    for (InternetService* service : services_) {
        service->refreshState();
        if (service->hasFlags(InternetService::kActive)) record_.setFlags(InternetService::kActive);
    }
    return active();
}

bool ServicesManager::active() const {
    return record_.hasFlags(InternetService::kActive);
}

void ServicesManager::cancelAll() {
    record_.cancel();
    for (InternetService* service : services_) service->cancel();
}

void ServicesManager::resetAll() {
    record_.reset();
    record_.setNextDue(ticker_.now());
    for (InternetService* service : services_) service->reset();
    backOffMinutes_ = static_cast<int>(kFirstBackOff.count());
    lossTold_ = false;
    retrying_ = false;
}

void ServicesManager::saveAll(std::vector<std::string>& lines) const {
    for (const InternetService* service : services_) service->saveRecords(lines);
}

bool ServicesManager::loadRecord(std::string_view line) {
    return std::any_of(services_.begin(), services_.end(),
                       [line](InternetService* service) { return service->loadRecord(line); });
}

// After the back-off the failed services get their result cleared, as the user
// interface's reset would, so that a dead zone does not end the trip's internet work.
bool ServicesManager::retryIfDue() {
    if (record_.lastResult() == HttpRequest::kOk) return true;
    if (ticker_.now() < record_.nextDue()) return false;
    record_.setLastResult(HttpRequest::kOk);
    // Not reset(): that would also free a busy bit the user interface may hold now.
    for (InternetService* service : services_) {
        service->setLastResult(HttpRequest::kOk);
        service->clearMessage();
    }
    retrying_ = true;
    return true;
}

ServicesManager::Pass ServicesManager::pass(bool suspended) {
    if (!retryIfDue() || !record_.due()) return Pass::Idle;
    for (std::size_t index = 0; index < services_.size() && record_.usable(); ++index) {
        if (index == 0 && suspended) continue;
        runService(index);
    }
    return conclude();
}

void ServicesManager::runService(std::size_t index) {
    InternetService& service = *services_[index];
    if (!service.due() || !service.tryLockBusy()) return;
    if (!service.hasFlags(InternetService::kVersionChecked)) {
        service.setFlags(InternetService::kVersionChecked);
        service.checkOnce();
    }
    if (service.usable()) service.run();
    service.unlockBusy();
    service.schedule();
    merge(service, index);
}

void ServicesManager::merge(const InternetService& service, std::size_t index) {
    record_.setLastResult(service.lastResult());
    const std::u16string text = service.message();
    if (text.empty()) return;
    if (index + 1 < services_.size())
        services_[index + 1]->setNextDue(ticker_.now() + kNextServiceDelay);
    std::u16string merged = record_.message();
    if (!merged.empty()) merged += kSeparator;
    if (merged.size() >= kMaxMerged) return;
    merged += std::u16string_view(text).substr(0, kMaxMerged - merged.size());
    record_.setMessage(merged);
}

ServicesManager::Pass ServicesManager::conclude() {
    const int result = record_.lastResult();
    if (result == HttpRequest::kOk) {
        backOffMinutes_ = static_cast<int>(kFirstBackOff.count());
        lossTold_ = false;
        retrying_ = false;
        return Pass::Done;
    }
    // A cancel is the user's or the shut-down's doing: nothing to tell.
    if (result == HttpRequest::kCancelled) {
        record_.setNextDue(ticker_.now() + kFirstBackOff);
        record_.clearMessage();
        return Pass::Idle;
    }
    std::chrono::minutes backOff(backOffMinutes_.load());
    if (retrying_ && lossTold_) backOff = std::min(backOff * 2, kLongestBackOff);
    backOffMinutes_ = static_cast<int>(backOff.count());
    record_.setNextDue(ticker_.now() + backOff);
    record_.setMessage(unreachableText(result, backOff));
    retrying_ = false;
    if (lossTold_) return Pass::Unreachable;
    lossTold_ = true;
    return Pass::Lost;
}

void ServicesManager::workerStopping() {
    if (record_.lastResult() != HttpRequest::kOk) return;
    for (InternetService* service : services_) service->workerStopping();
}

}  // namespace wendra::platform
