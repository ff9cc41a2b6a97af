#pragma once
// A pseudo-terminal that plays the receiver: the program opens its other end as a
// serial port. Tells whether a reader has that end open and has set it up (raw mode),
// so that nothing is written into the void or into a purge. Use from one thread.

#include <chrono>
#include <cstddef>
#include <string>

namespace wendra::platform {

class PseudoTerminal {
public:
    enum class Reader {
        None,        // nobody has the terminal open
        Opened,      // open, still in the line discipline's cooked mode
        Configured,  // open and switched to raw bytes
    };

    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Creates the pair; false with a reason when the machine has no pseudo-terminals.
    bool open(std::string& error);
    // The path a reader opens ("/dev/pts/N").
    const std::string& path() const { return path_; }

    Reader reader() const;
    // Back to cooked mode once a reader left, so the next one is seen setting up.
    void forgetReader();
    // Writes what fits within `wait`; the count written, -1 when the terminal failed.
    long write(const char* bytes, std::size_t size, std::chrono::milliseconds wait);
    // Throws away what readers wrote to the receiver (commands, probes).
    void drain();

private:
    int master_ = -1;
    std::string path_;
};

}  // namespace wendra::platform
