#pragma once
// An opened receiver port: a serial line, or a network service that speaks like one.
// Reads never block longer than kFirstByteWait, so a reader can always be stopped.
// Implementations do not look at the bytes, except where a service wraps them.

#include <chrono>
#include <cstddef>
#include <memory>

namespace wendra::platform {

// Why a port did not open; each has its own message in the GPS connection.
enum class SerialOpenError { None, NotFound, AccessDenied, GetState, SetState, Other };

enum class SerialAccess { Read, ReadWrite };

class SerialDevice {
public:
    // A read waits at most this long for the first byte, then returns what is there.
    static constexpr std::chrono::milliseconds kFirstByteWait{250};

    virtual ~SerialDevice() = default;

    // Up to `size` bytes; 0 when nothing came within kFirstByteWait, -1 on failure.
    virtual long read(char* into, std::size_t size) = 0;
    // Writes within the port's write time-outs; the count written, -1 on failure.
    virtual long write(const char* from, std::size_t size) = 0;
    // Drops what is waiting in both directions.
    virtual void purge() = 0;
};

struct SerialOpenResult {
    std::unique_ptr<SerialDevice> device;  // null when error is not None
    SerialOpenError error = SerialOpenError::None;
};

}  // namespace wendra::platform
