#include "app/ScreenBanner.h"

#include "platform/StatusBanner.h"
#include "platform/WaitCursor.h"

namespace wendra {

void ScreenBanner::show(std::u16string_view text) {
    platform::showStatusBanner(text);
}

void ScreenBanner::hide() {
    platform::hideStatusBanner();
}

void ScreenBanner::setWaitCursor(bool waiting) {
    if (waiting)
        platform::waitCursorHost().show();
    else
        platform::waitCursorHost().hide();
}

}  // namespace wendra
