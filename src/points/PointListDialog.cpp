#include "points/PointListDialog.h"

#include <algorithm>
#include <vector>

#include "platform/DialogHost.h"
#include "platform/DialogProcedure.h"
#include "platform/MessageBox.h"
#include "points/VoiceMemo.h"
#include "records/WidePrintf.h"

namespace wendra::points {

namespace {

namespace id = point_list;
using platform::ControlKind;

constexpr std::u16string_view kTitle = u"Points";
constexpr std::u16string_view kAskDelete = u"Delete this point/group?";
constexpr std::u16string_view kConfirmation = u"Confirmation";
constexpr std::u16string_view kNoGroup = u"-";
constexpr std::u16string_view kPointIndent = u"    ";

struct Row {
    GroupHeader* header = nullptr;  // a header row
    GpsPoint* point = nullptr;      // else a point row
};

class PointListProcedure final : public platform::DialogProcedure {
public:
    explicit PointListProcedure(const PointListContext& context)
        : context_(context), store_(*context.store) {}

    void init(platform::DialogControls& d) override { fill(d, 0); }

    void command(platform::DialogControls& d, int controlId) override {
        const int row = d.selection(id::kList);
        if (controlId == id::kSort) {
            sort(d, row);
        } else if (controlId == id::kEdit) {
            edit(d, row);
        } else if (controlId == id::kDelete) {
            remove(d, row);
        } else if (controlId == platform::kIdOk || controlId == platform::kIdCancel) {
            d.end(controlId);
        }
    }

    void notify(platform::DialogControls& d, int controlId,
                const platform::Notification& what) override {
        if (controlId != id::kList) return;
        const int row = d.selection(id::kList);
        if (what.code == platform::NotifyCode::SelectionChanged) {
            showSortChoice(d, row);
        } else if (what.code == platform::NotifyCode::DoubleClicked) {
            if (GroupHeader* header = headerAt(row)) {
                header->expanded = !header->expanded;
                fill(d, row);
            } else {
                edit(d, row);
            }
        }
    }

private:
    GroupHeader* headerAt(int row) const {
        return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[row].header : nullptr;
    }
    GpsPoint* pointAt(int row) const {
        return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[row].point : nullptr;
    }
    // The group a row belongs to: its own header or its point's.
    GroupHeader* groupOf(int row) const {
        if (GroupHeader* header = headerAt(row)) return header;
        if (GpsPoint* point = pointAt(row)) return &store_.groupHeader(point->group);
        return nullptr;
    }

    void fill(platform::DialogControls& d, int select) {
        rows_.clear();
        d.clearItems(id::kList);
        for (size_t i = 0; i < store_.size(); ++i) store_.at(i).listRow = -1;
        for (const std::u16string& group : store_.groups()) {
            GroupHeader& header = store_.groupHeader(group);
            int count = 0;
            for (size_t i = 0; i < store_.size(); ++i) count += store_.at(i).group == group;
            std::u16string text = header.expanded ? u"- " : u"+ ";
            text += group.empty() ? kNoGroup : std::u16string_view(group);
            appendPrintf(text, " (%d)", count);
            d.addItem(id::kList, text);
            rows_.push_back({&header, nullptr});
            if (!header.expanded) continue;
            for (size_t i = 0; i < store_.size(); ++i) {
                GpsPoint& point = store_.at(i);
                if (point.group != group) continue;
                point.listRow = static_cast<int>(rows_.size());
                d.addItem(id::kList, std::u16string(kPointIndent) +
                                         point.displayText(context_.coordinateFormat, false));
                rows_.push_back({nullptr, &point});
            }
        }
        const int last = static_cast<int>(rows_.size()) - 1;
        d.setSelection(id::kList, std::min(select, last));
        showSortChoice(d, d.selection(id::kList));
    }

    void showSortChoice(platform::DialogControls& d, int row) {
        const GroupHeader* header = groupOf(row);
        d.setEnabled(id::kSort, header != nullptr);
        d.setEnabled(id::kEdit, pointAt(row) != nullptr);
        d.setEnabled(id::kDelete, header != nullptr);
        d.setText(id::kSort, header && header->byDistance ? kSortByDistance : kSortByName);
    }

    void sort(platform::DialogControls& d, int row) {
        GroupHeader* header = groupOf(row);
        if (!header) return;
        header->byDistance = !header->byDistance;
        store_.sortGroup(header->name, header->byDistance, context_.centreLatUnits,
                         context_.centreLonUnits);
        store_.setChanged(true);
        fill(d, row);
    }

    void edit(platform::DialogControls& d, int row) {
        GpsPoint* point = pointAt(row);
        if (!point || !context_.edit) return;
        context_.edit(*point);
        fill(d, row);
    }

    void remove(platform::DialogControls& d, int row) {
        GroupHeader* header = headerAt(row);
        GpsPoint* point = pointAt(row);
        if (!header && !point) return;
        if (platform::showMessage(kAskDelete, kConfirmation, platform::Buttons::YesNo,
                                  platform::Icon::Question) != platform::Answer::Yes)
            return;
        std::vector<const GpsPoint*> doomed;
        for (size_t i = 0; i < store_.size(); ++i) {
            const GpsPoint& candidate = store_.at(i);
            if (&candidate == point || (header && candidate.group == header->name))
                doomed.push_back(&candidate);
        }
        for (const GpsPoint* gone : doomed) {
            deleteVoiceMemo(context_.memoFolder, *gone);
            store_.removePoint(*gone);
        }
        store_.setChanged(true);
        fill(d, row);
    }

    const PointListContext& context_;
    PointStore& store_;
    std::vector<Row> rows_;
};

platform::ControlTemplate control(int controlId, ControlKind kind, std::u16string_view text, int x,
                                  int y, int w, int h, std::uint32_t style = 0) {
    return {controlId, kind, std::u16string(text), platform::Rect{x, y, x + w, y + h}, style};
}

}  // namespace

platform::DialogTemplate pointListTemplate() {
    platform::DialogTemplate t;
    t.title = std::u16string(kTitle);
    t.size = platform::Size{160, 200};
    t.controls = {
        control(id::kList, ControlKind::List, u"", 4, 4, 152, 160),
        control(id::kSort, ControlKind::Button, kSortByName, 4, 168, 50, 12),
        control(id::kEdit, ControlKind::Button, u"Edit", 56, 168, 48, 12),
        control(id::kDelete, ControlKind::Button, u"Delete", 106, 168, 50, 12),
        control(platform::kIdOk, ControlKind::Button, u"OK", 4, 184, 152, 12,
                platform::style::kDefaultButton),
    };
    return t;
}

void runPointList(const PointListContext& context) {
    if (!context.store) return;
    PointListProcedure procedure(context);
    platform::runDialog(pointListTemplate(), procedure);
}

}  // namespace wendra::points
