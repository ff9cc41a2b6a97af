#include "platform/AssumedAnswers.h"

#include "platform/TraceLog.h"
#include "platform/Utf8.h"

namespace wendra::platform {

namespace {

const char* nameOf(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return "OK";
        case Answer::Cancel:
            return "Cancel";
        case Answer::Yes:
            return "Yes";
        case Answer::No:
            return "No";
    }
    return "?";
}

// A box of several lines stays on one line of the log.
std::string oneLine(std::u16string_view text) {
    std::string line = toUtf8(text);
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return line;
}

}  // namespace

std::string AssumedAnswers::logLine(const Message& message, Answer answer) {
    return "Box [" + oneLine(message.title) + "] " + oneLine(message.text) + " -> " +
           nameOf(answer);
}

Answer AssumedAnswers::show(const Message& message) {
    const bool question =
        message.buttons == Buttons::YesNo || message.buttons == Buttons::YesNoCancel;
    const Answer answer = question ? yesNo_ : defaultAnswer(message.buttons);
    traceLog().write(logLine(message, answer));
    return answer;
}

}  // namespace wendra::platform
