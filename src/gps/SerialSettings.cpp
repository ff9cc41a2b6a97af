#include "gps/SerialSettings.h"

#include <algorithm>

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {
constexpr std::string_view kKind = "Serial6";
}

void SerialSettings::changeReceiverRate(int32_t index) {
    if (index != receiverRateIndex) options &= ~SerialOptions::kRateAsked;
    receiverRateIndex = index;
}

std::string SerialSettings::record() const {
    return formatRecord("Serial6|%d|%d|%d|%d|\n", portId, readingRateIndex, receiverRateIndex,
                        options);
}

bool SerialSettings::load(std::string_view line) {
    std::string_view rest;
    if (!hasRecordPrefix(line, kKind, &rest)) return false;
    int32_t port = 0;
    int32_t reading = 0;
    int32_t receiver = 0;
    int32_t bits = 0;
    splitRecord(rest, "dddd", {&port, &reading, &receiver, &bits});
    // An id or index no port or rate has keeps the default: it would open nothing.
    portId = port >= 0 && port < kPortIds ? port : SerialSettings{}.portId;
    readingRateIndex = reading >= 0 && reading <= kMaxReceiverRateIndex
                           ? reading
                           : SerialSettings{}.readingRateIndex;
    // A negative index is no rate either; it would read before the table.
    receiverRateIndex = std::clamp(receiver, 0, kMaxReceiverRateIndex);
    options = bits & ~SerialOptions::kTransient;
    return true;
}

int32_t SerialSettings::rateAt(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(kSerialRates.size())) return 0;
    return kSerialRates[static_cast<size_t>(index)];
}

int32_t SerialSettings::rateIndex(int32_t rate) {
    if (rate <= 0) return -1;
    const auto found = std::find(kSerialRates.begin(), kSerialRates.end(), rate);
    return found == kSerialRates.end() ? -1 : static_cast<int32_t>(found - kSerialRates.begin());
}

}  // namespace wendra
