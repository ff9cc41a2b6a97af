#pragma once
// A pseudo-terminal that plays the receiver: its slave end ("/dev/pts/N") is what the
// program opens; raw mode on that end is how a reader is seen to have set it up. The
// pair lives as long as the object. Use from one thread.

#include <chrono>
#include <cstddef>
#include <string>

#include "platform/ReplayTerminal.h"

namespace wendra::platform {

class PseudoTerminal final : public ReplayTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal() override;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False with a reason when the machine has no pseudo-terminals.
    bool open(std::string& error) override;
    const std::string& path() const override { return path_; }

    Reader reader() const override;
    void forgetReader() override;
    long write(const char* bytes, std::size_t size, std::chrono::milliseconds wait) override;
    void drain() override;

private:
    int master_ = -1;
    std::string path_;
};

}  // namespace wendra::platform
