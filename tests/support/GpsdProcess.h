#pragma once
// A real gpsd for system tests: started in the foreground on a free local port, reading
// one device (a pseudo-terminal that plays a receiver), stopped with the object.

#include <string>
#include <sys/types.h>

namespace wendra::test {

// The gpsd binary of the machine; empty when gpsd is not installed.
std::string gpsdBinary();

// A port nobody listens on now (the kernel's choice, released at once); 0 on failure.
int freePort();

class GpsdProcess {
public:
    GpsdProcess(const std::string& binary, int port, const std::string& device);
    ~GpsdProcess();
    GpsdProcess(const GpsdProcess&) = delete;
    GpsdProcess& operator=(const GpsdProcess&) = delete;

    // Waits up to about 5 s for the service to greet on its port.
    bool answers() const;
    int port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace wendra::test
