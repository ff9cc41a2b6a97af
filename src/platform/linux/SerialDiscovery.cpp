#include "platform/linux/SerialDiscovery.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>

namespace wendra::platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPlainPrefixes[] = {"ttyUSB", "ttyACM", "rfcomm"};
constexpr const char* kUartPrefix = "ttyS";
constexpr size_t kMaxAttributeBytes = 128;
constexpr int kUsbLevelsUp = 4;  // tty -> interface -> device is enough; a hub is not ours

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string attribute(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    if (line.size() > kMaxAttributeBytes) line.resize(kMaxAttributeBytes);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

std::vector<std::string> sortedNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// "usb-u-blox_AG_..." and the tty it reaches ("ttyACM0"), for each by-id link.
std::vector<std::pair<std::string, std::string>> byIdLinks(const fs::path& dev) {
    std::vector<std::pair<std::string, std::string>> links;
    const fs::path folder = dev / "serial" / "by-id";
    for (const std::string& name : sortedNames(folder)) {
        std::error_code error;
        const fs::path target = fs::canonical(folder / name, error);
        if (!error) links.emplace_back(name, target.filename().string());
    }
    return links;
}

std::string usbProduct(const fs::path& ttyDevice) {
    std::error_code error;
    fs::path at = fs::canonical(ttyDevice, error);
    if (error) return {};
    for (int level = 0; level < kUsbLevelsUp && at.has_parent_path();
         ++level, at = at.parent_path()) {
        const std::string product = attribute(at / "product");
        if (product.empty()) continue;
        const std::string maker = attribute(at / "manufacturer");
        if (maker.empty() || product.find(maker) != std::string::npos) return product;
        return maker + " " + product;
    }
    return {};
}

}  // namespace

std::string serialDeviceName(const fs::path& sysRoot, const std::string& tty) {
    const fs::path device = sysRoot / "class" / "tty" / tty / "device";
    std::string what = usbProduct(device);
    if (what.empty()) {
        std::error_code error;
        const fs::path driver = fs::read_symlink(device / "driver", error);
        if (!error) what = driver.filename().string();
    }
    if (what.empty() && startsWith(tty, "rfcomm")) what = "Bluetooth";
    return what.empty() ? tty : what + " (" + tty + ")";
}

bool uartAnswers(const fs::path& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    serial_struct info{};
    const bool uart = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    close(fd);
    return uart;
}

std::vector<SeenDevice> discoverSerialDevices(const DiscoveryRoots& roots) {
    std::vector<SeenDevice> found;
    std::set<std::string> reached;  // ttys already reached through a by-id link
    for (const auto& [link, tty] : byIdLinks(roots.dev)) {
        if (!reached.insert(tty).second) continue;
        found.push_back(
            {(roots.dev / "serial" / "by-id" / link).string(), serialDeviceName(roots.sys, tty)});
    }
    const std::vector<std::string> names = sortedNames(roots.dev);
    for (const std::string& name : names) {
        const bool plain = std::any_of(std::begin(kPlainPrefixes), std::end(kPlainPrefixes),
                                       [&](const char* p) { return startsWith(name, p); });
        if (!plain || reached.count(name)) continue;
        found.push_back({(roots.dev / name).string(), serialDeviceName(roots.sys, name)});
    }
    for (const std::string& name : names) {
        if (!startsWith(name, kUartPrefix) || reached.count(name)) continue;
        const fs::path path = roots.dev / name;
        if (!(roots.answers ? roots.answers(path) : uartAnswers(path))) continue;
        found.push_back({path.string(), serialDeviceName(roots.sys, name)});
    }
    return found;
}

}  // namespace wendra::platform
