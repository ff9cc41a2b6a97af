#pragma once
// What every periodic network service of the internet worker shares: its flag bits
// (the busy bit is a lock), user settings, period and next-due time, last result and
// status message, and the request in progress so another thread can cancel it.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HttpRequest.h"
#include "platform/Ticker.h"

namespace wendra::platform {

class InternetService {
public:
    static constexpr std::uint32_t kActive = 1u << 0;
    static constexpr std::uint32_t kStopped = 1u << 1;  // after a refusal, until re-enabled
    static constexpr std::uint32_t kBusy = 1u << 2;
    static constexpr std::uint32_t kVersionChecked = 1u << 8;
    static constexpr std::uint32_t kCancel = 1u << 31;
    static constexpr std::uint32_t kSettingEnabled = 1u << 0;
    static constexpr std::size_t kMaxMessage = 254;

    explicit InternetService(std::chrono::milliseconds period, Ticker& ticker = systemTicker());
    virtual ~InternetService() = default;
    InternetService(const InternetService&) = delete;
    InternetService& operator=(const InternetService&) = delete;

    // One cycle of the service's work on the worker thread, with the busy bit held by
    // the caller: sets the last result and the status message. Looks at
    // cancelRequested() between steps.
    virtual void run() = 0;
    // Once, before the first run (the tile service's version check).
    virtual void checkOnce() {}
    // The worker is ending and the connection was fine (the sharing services' clears).
    virtual void workerStopping() {}
    // Records kept with the configuration: false when the line is not the service's.
    virtual bool loadRecord(std::string_view line);
    virtual void saveRecords(std::vector<std::string>& lines) const;

    // Clears the cancel bit, the message and the last result; releases the busy bit.
    void reset();
    // Takes the busy bit with the sync protocol (1 ms polls) under the label.
    void lockBusy(std::u16string_view label);
    bool tryLockBusy();
    void unlockBusy();
    void schedule();
    // Usable, not busy and the time has come; clears the last result and message.
    bool due();
    bool usable() const;
    // Active again only when the user enabled it and it was not stopped.
    void refreshState();
    // From any thread: sets the cancel bit and cancels the request in progress.
    void cancel();
    bool cancelRequested() const { return hasFlags(kCancel); }

    void setFlags(std::uint32_t bits) { flags_.fetch_or(bits, std::memory_order_acq_rel); }
    void clearFlags(std::uint32_t bits) { flags_.fetch_and(~bits, std::memory_order_acq_rel); }
    bool hasFlags(std::uint32_t bits) const {
        return (flags_.load(std::memory_order_acquire) & bits) == bits;
    }
    std::uint32_t settings() const { return settings_.load(std::memory_order_acquire); }
    void setSettings(std::uint32_t bits) { settings_.store(bits, std::memory_order_release); }

    int lastResult() const { return lastResult_.load(std::memory_order_acquire); }
    void setLastResult(int code) { lastResult_.store(code, std::memory_order_release); }
    std::u16string message() const;
    // Keeps at most 254 characters.
    void setMessage(std::u16string_view text);
    void clearMessage() { setMessage({}); }

    Ticker::Time nextDue() const;
    void setNextDue(Ticker::Time when);
    std::chrono::milliseconds period() const { return period_; }
    Ticker& ticker() const { return ticker_; }

    // The request the service is running, if any, for cancel from another thread.
    void setCurrentRequest(HttpRequest* request) {
        request_.store(request, std::memory_order_release);
    }

protected:
    // Called by cancel() after the request was told, from the cancelling thread: for
    // the work a service runs beside its request (the tile conversion).
    virtual void onCancel() {}

private:
    std::chrono::milliseconds period_;
    Ticker& ticker_;
    std::atomic<std::uint32_t> flags_{0};
    std::atomic<std::uint32_t> settings_{0};
    std::atomic<int> lastResult_{HttpRequest::kOk};
    std::atomic<Ticker::Time::rep> nextDue_;
    std::atomic<HttpRequest*> request_{nullptr};
    mutable std::mutex messageMutex_;
    std::u16string message_;
};

}  // namespace wendra::platform
