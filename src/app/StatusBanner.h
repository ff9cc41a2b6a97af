#pragma once
// The one-line band the window draws over the screen during long operations ("Saving
// config...") and the wait cursor. The window implements it; NoStatusBanner is for
// programs without one.

#include <string_view>

namespace wendra {

class StatusBanner {
public:
    virtual ~StatusBanner() = default;
    virtual void show(std::u16string_view text) = 0;
    virtual void hide() = 0;
    virtual void setWaitCursor(bool waiting) = 0;
};

class NoStatusBanner final : public StatusBanner {
public:
    void show(std::u16string_view) override {}
    void hide() override {}
    void setWaitCursor(bool) override {}
};

}  // namespace wendra
