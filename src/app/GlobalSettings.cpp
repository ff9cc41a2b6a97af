#include "app/GlobalSettings.h"

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

void GlobalSettings::read(std::string_view fields, bool older) {
    splitRecord(fields, kTypes, {&options, &mapMemoryMb, &noFixSound});
    // No memory can be less than none; "Maxi" (0) is the default.
    if (mapMemoryMb < 0) mapMemoryMb = GlobalSettings{}.mapMemoryMb;
    if (older) options |= ProgramOptions::kHideBackgroundWindows;
}

std::string GlobalSettings::record() const {
    std::string line = formatRecord("Global4|%d|%d|", options, mapMemoryMb);
    appendCounted(line, noFixSound);
    line += '\n';
    return line;
}

}  // namespace wendra
