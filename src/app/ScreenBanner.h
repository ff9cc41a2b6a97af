#pragma once
// The status banner and the wait cursor on the screen, for the data files and for the
// GPS connection alike: the platform's hosts behind the program's banner interface.

#include <string_view>

#include "app/StatusBanner.h"

namespace wendra {

class ScreenBanner final : public StatusBanner {
public:
    void show(std::u16string_view text) override;
    void hide() override;
    void setWaitCursor(bool waiting) override;
};

}  // namespace wendra
