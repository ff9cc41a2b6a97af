#pragma once
// The open dialog as its procedure sees it: control values read and written by id.
// Calls naming an id the dialog does not have, or an item that does not exist, do
// nothing and read as empty. None of these calls sends a notification back.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wendra::platform {

// A tree item's handle; 0 is "none" and, as a parent, the top level.
using TreeItem = std::uint64_t;
inline constexpr TreeItem kNoTreeItem = 0;

enum class TreeIcon { None, Folder, File };

class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual void setTitle(std::u16string_view title) = 0;
    // Edit text, label text, button caption, or the chosen text of a combo box.
    virtual std::u16string text(int id) const = 0;
    virtual void setText(int id, std::u16string_view text) = 0;
    virtual bool checked(int id) const = 0;
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool enabled(int id) const = 0;
    virtual void setEnabled(int id, bool enabled) = 0;
    virtual void setVisible(int id, bool visible) = 0;

    // Lists and combo boxes; indexes from 0, -1 is no selection. clearItems empties a
    // tree too, and its item handles are then gone.
    virtual void clearItems(int id) = 0;
    virtual int addItem(int id, std::u16string_view text) = 0;
    virtual int itemCount(int id) const = 0;
    virtual std::u16string itemText(int id, int index) const = 0;
    virtual int selection(int id) const = 0;
    virtual void setSelection(int id, int index) = 0;

    // Trees. An expandable item shows that it can be opened before it has children.
    virtual TreeItem addTreeItem(int id, TreeItem parent, std::u16string_view text, TreeIcon icon,
                                 bool expandable) = 0;
    virtual void expandTreeItem(int id, TreeItem item) = 0;
    // Selects the item and scrolls it into view.
    virtual void selectTreeItem(int id, TreeItem item) = 0;
    virtual TreeItem selectedTreeItem(int id) const = 0;
    virtual TreeItem treeParent(int id, TreeItem item) const = 0;
    virtual std::vector<TreeItem> treeChildren(int id, TreeItem parent) const = 0;
    virtual std::u16string treeItemText(int id, TreeItem item) const = 0;

    // Asks for the owner-drawn area to be painted again.
    virtual void redraw(int id) = 0;
    // A dialog timer calls DialogProcedure::timer until killed or the dialog ends.
    virtual void setTimer(int timerId, int milliseconds) = 0;
    virtual void killTimer(int timerId) = 0;
    // Closes the dialog; the host's run() returns the result.
    virtual void end(int result) = 0;
};

}  // namespace wendra::platform
