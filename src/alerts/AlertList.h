#pragma once
// The alerts, kept sorted by name with each name once, and their configuration records
// ("Alert|..." after the "RIRUvo|" prefix). Names are compared unit by unit; what a
// name may contain is the dialog's business, not checked here.

#include <string>
#include <string_view>
#include <vector>

#include "alerts/Alert.h"

namespace wendra {

class AlertList {
public:
    static constexpr std::u16string_view kDefaultName = u"Alert 400m";
    static constexpr float kDefaultRadiusKm = 0.4f;

    const std::vector<Alert>& alerts() const { return alerts_; }
    bool empty() const { return alerts_.empty(); }
    size_t size() const { return alerts_.size(); }

    const Alert* find(std::u16string_view name) const;
    // An alert of the same name takes the new kind, flags, sound and value; otherwise the
    // alert is inserted in name order. Returns the stored alert.
    Alert& addOrUpdate(const Alert& alert);
    bool remove(std::u16string_view name);
    void clear() { alerts_.clear(); }

    // The proximity alert "Alert 400m" (sound "Son 1") when the list is empty, as after
    // loading a configuration without alerts.
    void addDefaultWhenEmpty();

    // Takes the fields after "RIRUvo|Alert|" (type string "wwfd"); values stored in
    // metres come back in km, and a speed alert without a direction gets "Above".
    Alert& readRecord(std::string_view fields);
    // "Alert|%d|%s|%d|%s|%0.2f|%d|" and the alert's later fields, then a newline; the
    // caller writes the "RIRUvo|" prefix.
    static std::string record(const Alert& alert);

private:
    std::vector<Alert> alerts_;
};

}  // namespace wendra
