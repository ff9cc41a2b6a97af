#pragma once
// A dialog described where its behaviour lives: a title, a size and controls with
// integer ids, kinds and places in dialog units (a quarter of the average character
// width across, an eighth of the character height down). Ids are not checked for
// uniqueness; hosts use the first control with an id.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"

namespace wendra::platform {

enum class ControlKind { Button, CheckBox, Radio, Edit, List, Combo, Tree, Label, OwnerDrawn };

// Control style flags, combined with |.
namespace style {
inline constexpr std::uint32_t kDefaultButton = 0x01;  // Enter presses it
inline constexpr std::uint32_t kGroupStart = 0x02;     // radios up to the next start are one group
inline constexpr std::uint32_t kMultiLine = 0x04;      // edit of several lines
inline constexpr std::uint32_t kReadOnly = 0x08;
inline constexpr std::uint32_t kDisabled = 0x10;
inline constexpr std::uint32_t kHidden = 0x20;
inline constexpr std::uint32_t kEditableCombo = 0x40;
}  // namespace style

// The ids the program gives its standard buttons; Enter and Escape arrive as OK and
// Cancel, closing the window as Cancel.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::u16string text;
    Rect bounds;  // dialog units
    std::uint32_t style = 0;
};

// The layout of a form: controls on rows of one height below a margin, each control
// between a left and a right edge; a control may span several rows (a list).
struct FormRows {
    int rowHeight = 14;
    int margin = 4;

    ControlTemplate at(int controlId, ControlKind kind, std::u16string_view text, int row, int left,
                       int right, std::uint32_t styles = 0, int rows = 1) const {
        const int top = margin + row * rowHeight;
        return {controlId,
                kind,
                std::u16string(text),
                {left, top, right, top + rows * rowHeight - 2},
                styles};
    }
    // A form of `width` holding `rowCount` rows and the margins around them.
    Size size(int width, int rowCount) const { return {width, rowCount * rowHeight + 2 * margin}; }
};

struct DialogTemplate {
    int id = 0;
    std::u16string title;
    Size size;  // dialog units
    std::vector<ControlTemplate> controls;

    const ControlTemplate* find(int controlId) const {
        for (const ControlTemplate& control : controls)
            if (control.id == controlId) return &control;
        return nullptr;
    }
};

}  // namespace wendra::platform
