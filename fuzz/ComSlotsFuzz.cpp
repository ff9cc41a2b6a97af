// Reads arbitrary bytes as the COM slot file; what it keeps must write out and read back
// to the same table, with every slot's path absolute and every GPD port a TCP port.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ComSlotTable.h"

namespace {

void check(bool promise) {
    if (!promise) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using wendra::platform::ComSlotTable;
    ComSlotTable table;
    table.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = table.text();
    ComSlotTable again;
    again.parse(text);
    check(again.text() == text);
    for (int n = 0; n < ComSlotTable::kSlots; ++n) {
        if (const ComSlotTable::Slot* s = table.slot(n))
            check(!s->path.empty() && s->path[0] == '/');
        check(table.gpsd(n).port >= 1 && table.gpsd(n).port <= 65535);
    }
    return 0;
}
