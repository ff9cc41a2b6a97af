#include "maps/MapShell.h"

#include "platform/TraceLog.h"

namespace wendra::maps {

platform::Answer MapShell::ask(std::u16string_view text, std::u16string_view title,
                               platform::Buttons buttons) {
    return platform::showMessage(text, title, buttons);
}

void MapShell::trace(std::string_view line) {
    platform::traceLog().write(line);
}

}  // namespace wendra::maps
