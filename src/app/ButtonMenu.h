#pragma once
// A menu screen: a column of buttons, each ending the dialog with its id, and a "Back"
// button (or Escape) ending it with the back id. Buttons whose screen this build does
// not have yet are shown disabled and ignored. The entries are static tables.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

// Lays buttons out top to bottom in a column of one width, then sizes the dialog.
class ButtonColumn {
public:
    ButtonColumn(platform::DialogTemplate& dialog, int width);
    void add(int id, std::u16string caption, std::uint32_t style = 0);
    // Sizes the dialog to the buttons added.
    void finish();

private:
    platform::DialogTemplate& dialog_;
    int width_;
    int top_;
};

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
