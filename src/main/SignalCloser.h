#pragma once
// SIGTERM and SIGINT close the window through the program's normal shut-down: the
// handler only writes to a pipe; the window thread reads it, closes any open dialog
// first (its procedure must not outlive the state it works on), then the window.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

namespace wendra::platform {
class Window;
}

namespace wendra {

class SignalCloser final : public QObject {
public:
    explicit SignalCloser(platform::Window& window);
    ~SignalCloser() override;

    // False when the pipe or the handlers could not be set up.
    bool installed() const { return notifier_ != nullptr; }

private:
    void signalled();
    void closeWhenNoDialog();

    platform::Window& window_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer retry_;
};

}  // namespace wendra
