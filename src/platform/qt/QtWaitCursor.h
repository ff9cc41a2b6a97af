#pragma once
// The wait cursor as Qt's application-wide override cursor. Shows and hides from
// other threads are queued to the window thread in the order they were asked.

#include "platform/WaitCursor.h"

namespace wendra::platform::qt {

class QtWaitCursor final : public WaitCursorHost {
public:
    void show() override;
    void hide() override;
};

}  // namespace wendra::platform::qt
