#pragma once
// A message-box host for kiosks and scripted runs: every question gets the same
// answer (Yes or No) without being shown, every other box its default, and each box
// is written to the trace log with the answer it got.

#include "platform/MessageBox.h"

namespace wendra::platform {

class AssumedAnswers final : public MessageBoxHost {
public:
    explicit AssumedAnswers(Answer yesNo) : yesNo_(yesNo) {}
    Answer show(const Message& message) override;

    // "[title] text -> answer", the line the trace log gets.
    static std::string logLine(const Message& message, Answer answer);

private:
    Answer yesNo_;
};

}  // namespace wendra::platform
