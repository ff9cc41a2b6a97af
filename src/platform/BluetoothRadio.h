#pragma once
// Switching the Bluetooth radio on and off, for receivers reached over Bluetooth.
// Where the machine does not let the program do it, available() is false and the
// other calls do nothing.

namespace wendra::platform {

class BluetoothRadio {
public:
    static constexpr int kUnknown = -1;
    static constexpr int kOff = 0;
    static constexpr int kOn = 1;

    virtual ~BluetoothRadio() = default;

    virtual bool available() = 0;
    // kOn when a radio is on, kOff when all are off, kUnknown when it cannot be told.
    virtual int mode() = 0;
    // kOn or kOff for every Bluetooth radio; false when the machine refused.
    virtual bool setMode(int mode) = 0;
};

}  // namespace wendra::platform
