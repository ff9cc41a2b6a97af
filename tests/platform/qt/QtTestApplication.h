#pragma once
// Qt tests run inside one QApplication on the offscreen platform, created before
// the first test. These helpers let a test act while a modal loop runs.

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <functional>

namespace wendra::test {

// Runs the event loop for about the given time, or until done() turns true.
void processEventsFor(std::chrono::milliseconds time, const std::function<bool()>& done = {});

// Once the next modal window is up, hands it to act(); gives up after 5 s.
void whenModalShows(std::function<void(QWidget&)> act);

}  // namespace wendra::test
