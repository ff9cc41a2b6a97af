#pragma once
// The receiver ports the machine offers under the program's names: "COM0:".."COM9:"
// (serial devices) and "GPD0:".."GPD9:" (a GPS service). Used from one thread, the
// window's; the devices it opens may then be read from another.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SerialDevice.h"

namespace wendra::platform {

// One line of the port list: the port id (0-9 COM, 10-19 GPD) and what is behind it,
// in UTF-8 as the machine names it.
struct PortDescription {
    int portId = 0;
    std::string text;
};

// What "Search" found: a port id, and the rate when the service knows it (else 0).
struct PortSearchResult {
    int portId = 0;
    int rate = 0;
};

class SerialPorts {
public:
    virtual ~SerialPorts() = default;

    // Opens the port named "COMn:" or "GPDn:" at the rate, 8N1, no flow control.
    virtual SerialOpenResult open(std::string_view name, int rate, SerialAccess access) = 0;
    // The ports known now, by port id; ports with nothing behind them are left out.
    virtual std::vector<PortDescription> describe() = 0;
    // A GPS service that answers now, if any.
    virtual std::optional<PortSearchResult> search() = 0;
};

}  // namespace wendra::platform
