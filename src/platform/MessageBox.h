#pragma once
// Message boxes: the one way the logic asks or tells the user something. The
// window installs a host that shows real boxes; tests install one that answers from
// a script; without either, boxes go to stderr and take their default answer.

#include <string>
#include <string_view>

namespace wendra::platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    std::u16string text;
    std::u16string title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    bool topmost = false;
};

class MessageBoxHost {
public:
    virtual ~MessageBoxHost() = default;
    virtual Answer show(const Message& message) = 0;
};

// The answer a box gets when nobody is there to press a button: OK, or No.
Answer defaultAnswer(Buttons buttons);

// The host in use (the console host unless a ScopedMessageBoxHost replaced it).
MessageBoxHost& messageBoxes();

class ScopedMessageBoxHost {
public:
    explicit ScopedMessageBoxHost(MessageBoxHost& replacement);
    ~ScopedMessageBoxHost();
    ScopedMessageBoxHost(const ScopedMessageBoxHost&) = delete;
    ScopedMessageBoxHost& operator=(const ScopedMessageBoxHost&) = delete;

private:
    MessageBoxHost* previous_;
};

Answer showMessage(std::u16string_view text, std::u16string_view title,
                   Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

}  // namespace wendra::platform
