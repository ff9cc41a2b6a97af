#include "SignalCloser.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include "platform/Window.h"

namespace wendra {

namespace {

constexpr int kDialogRetryMs = 50;
int pipeFds[2] = {-1, -1};

extern "C" void onTerminate(int) {
    const int saved = errno;
    const char byte = 'T';
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

}  // namespace

SignalCloser::SignalCloser(platform::Window& window) : window_(window) {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &action, nullptr) != 0 || ::sigaction(SIGINT, &action, nullptr) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this,
                     [this] { signalled(); });
    retry_.setSingleShot(true);
    QObject::connect(&retry_, &QTimer::timeout, this, [this] { closeWhenNoDialog(); });
}

SignalCloser::~SignalCloser() {
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
}

void SignalCloser::signalled() {
    char bytes[16];
    while (::read(pipeFds[0], bytes, sizeof bytes) > 0) {
    }
    closeWhenNoDialog();
}

// A dialog runs its own loop on this thread; the window closes once it has returned.
void SignalCloser::closeWhenNoDialog() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        retry_.start(kDialogRetryMs);
        return;
    }
    window_.close();
}

}  // namespace wendra
