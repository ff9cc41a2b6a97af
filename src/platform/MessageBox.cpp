#include "platform/MessageBox.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/Utf8.h"

namespace wendra::platform {

namespace {

// Without a window: say it on stderr and take the default answer.
class ConsoleMessageBoxHost final : public MessageBoxHost {
public:
    Answer show(const Message& message) override {
        const Answer answer = defaultAnswer(message.buttons);
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "[%s] %s%s\n", toUtf8(message.title).c_str(),
                     toUtf8(message.text).c_str(),
                     message.buttons == Buttons::Ok ? "" : answer == Answer::No ? " -> No" : "");
        return answer;
    }

private:
    std::mutex mutex_;
};

std::atomic<MessageBoxHost*> installed{nullptr};

}  // namespace

Answer defaultAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::No;
    }
    return Answer::Ok;
}

MessageBoxHost& messageBoxes() {
    static ConsoleMessageBoxHost console;
    MessageBoxHost* current = installed.load(std::memory_order_acquire);
    return current ? *current : console;
}

ScopedMessageBoxHost::ScopedMessageBoxHost(MessageBoxHost& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedMessageBoxHost::~ScopedMessageBoxHost() {
    installed.store(previous_, std::memory_order_release);
}

Answer showMessage(std::u16string_view text, std::u16string_view title, Buttons buttons,
                   Icon icon) {
    return messageBoxes().show(
        Message{std::u16string(text), std::u16string(title), buttons, icon, false});
}

}  // namespace wendra::platform
