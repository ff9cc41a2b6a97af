#pragma once
// A message-box host for tests: records every box shown and answers from a script
// (then the default answer once the script runs out).

#include <deque>
#include <mutex>
#include <vector>

#include "platform/MessageBox.h"

namespace wendra::test {

class ScriptedMessageBoxes final : public platform::MessageBoxHost {
public:
    ScriptedMessageBoxes() : scope_(*this) {}

    platform::Answer show(const platform::Message& message) override {
        std::lock_guard lock(mutex_);
        shown_.push_back(message);
        if (answers_.empty()) return platform::defaultAnswer(message.buttons);
        const platform::Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    void answer(platform::Answer next) {
        std::lock_guard lock(mutex_);
        answers_.push_back(next);
    }

    std::vector<platform::Message> shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }

private:
    mutable std::mutex mutex_;
    std::deque<platform::Answer> answers_;
    std::vector<platform::Message> shown_;
    platform::ScopedMessageBoxHost scope_;
};

}  // namespace wendra::test
