#pragma once
// The terminal a replayed receiver log is played into: the program opens its other end
// as a serial port. Tells whether a reader has that end open and has set it up (raw
// mode), so that nothing is written into the void or into a purge. Use from one thread.

#include <chrono>
#include <cstddef>
#include <string>

namespace wendra::platform {

class ReplayTerminal {
public:
    enum class Reader {
        None,        // nobody has the terminal open
        Opened,      // open, still in the line discipline's cooked mode
        Configured,  // open and switched to raw bytes
    };

    virtual ~ReplayTerminal() = default;

    // Creates the terminal; false with a reason when the machine has none to give.
    virtual bool open(std::string& error) = 0;
    // The path a reader opens, once open.
    virtual const std::string& path() const = 0;

    virtual Reader reader() const = 0;
    // Back to cooked mode once a reader left, so the next one is seen setting up.
    virtual void forgetReader() = 0;
    // Writes what fits within `wait`; the count written, -1 when the terminal failed.
    virtual long write(const char* bytes, std::size_t size, std::chrono::milliseconds wait) = 0;
    // Throws away what readers wrote to the receiver (commands, probes).
    virtual void drain() = 0;
};

}  // namespace wendra::platform
