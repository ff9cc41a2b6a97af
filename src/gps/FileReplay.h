#pragma once
// A receiver log read from its file as it plays, in bounded memory whatever the file
// holds: a line longer than kMaxLineBytes (no receiver sends one; a file without
// newlines has one) comes in pieces of that size. Only a regular file that holds at
// least one byte is taken: a folder, a FIFO or an empty file would play nothing.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gps/ReplayPlayer.h"

namespace wendra {

class FileReplay final : public ReplaySource {
public:
    static constexpr std::size_t kMaxLineBytes = 4096;

    // False with a one-line `error` naming the file when it cannot be played.
    bool open(const std::string& path, std::string& error);
    std::optional<std::string> nextLine() override;
    void rewind() override;

private:
    bool refill();

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::vector<char> buffer_;
    std::size_t fill_ = 0;
    std::size_t at_ = 0;
};

}  // namespace wendra
