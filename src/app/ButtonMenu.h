#pragma once
// A menu screen: a column of buttons, each ending the dialog with its id, and a "Back"
// button (or Escape) ending it with the back id. Buttons whose screen this build does
// not have yet are shown disabled and ignored. The entries are static tables.

#include <span>
#include <string>
#include <string_view>

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

struct ButtonMenuEntry {
    int id;
    std::u16string_view caption;
    bool built;  // the screen behind it exists in this build
};

class ButtonMenu : public platform::DialogProcedure {
public:
    ButtonMenu(std::span<const ButtonMenuEntry> entries, int backId)
        : entries_(entries), backId_(backId) {}

    static platform::DialogTemplate layout(int templateId, std::u16string title,
                                           std::span<const ButtonMenuEntry> entries);

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;

private:
    std::span<const ButtonMenuEntry> entries_;
    int backId_;
};

}  // namespace wendra
