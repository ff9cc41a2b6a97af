#include "points/PointDialog.h"

#include <algorithm>

#include "platform/DialogHost.h"
#include "platform/MessageBox.h"
#include "platform/SoundPlayer.h"
#include "platform/VoiceRecorder.h"
#include "points/IconList.h"
#include "points/VoiceMemo.h"
#include "records/CoordinateEntry.h"
#include "records/CoordinateFormat.h"
#include "records/SwissGrid.h"
#include "records/Utm.h"
#include "records/WidePrintf.h"

namespace wendra::points {

namespace {

namespace id = point_dialog;
using platform::ControlKind;

constexpr std::u16string_view kTitle = u"GPS Point";
constexpr std::u16string_view kErrorTitle = u"Error!";
constexpr std::u16string_view kNoName = u"You must enter a name!";
constexpr std::u16string_view kNoIdentifier = u"You must enter an identifier!";
constexpr std::u16string_view kIdentifierTaken = u"This identifier already exists";
constexpr std::u16string_view kCannotShow =
    u"Unable to display the coordinates in the selected format.";
constexpr std::u16string_view kCannotShowTitle = u".Error";
constexpr std::u16string_view kNone = u"None";
constexpr std::u16string_view kStatuses[] = {u"Active", u"Displayed", u"Secondary", u"Deactivated"};
constexpr std::u16string_view kLabels[] = {u"Group/Name", u"Group", u"Name", u"Icon"};
constexpr std::u16string_view kMemoRecorded = u"Recorded";
constexpr std::u16string_view kMemoRecording = u"Recording...";
constexpr std::u16string_view kRecorderMissing = u"Recorder not available";
constexpr std::u16string_view kUnableToOpen = u"Unable to open file!";
constexpr int kMemoPollMs = 250;
constexpr int kPaletteSize = 28;
constexpr int kFirstFileIcon = 2;  // after "*" and "*SH*"

struct PositionTexts {
    std::u16string first, second, zone;
};

bool insideSwissBox(const GeoPosition& p) {
    return p.latitude >= kSwissSouth && p.latitude <= kSwissNorth && p.longitude >= kSwissWest &&
           p.longitude <= kSwissEast;
}

// The fields showing the position; nothing when the format cannot show it.
std::optional<PositionTexts> positionTexts(const GeoPosition& p, int format) {
    PositionTexts texts;
    if (!hasCoordinate(p.latitude) || !hasCoordinate(p.longitude)) return texts;
    if (format == kFormatUtm) {
        const UtmCoordinates utm = utmFromGeo(p.latitude, p.longitude);
        if (!utm.valid()) return std::nullopt;
        formatCoordinate(texts.first, utm.easting, kRoleLatitude, format);
        formatCoordinate(texts.second, utm.northing, kRoleLongitude, format);
        formatCoordinate(texts.zone, utm.zone, kRoleUtmZone, format);
    } else if (format == kFormatSwiss) {
        if (!insideSwissBox(p)) return std::nullopt;
        const SwissCoordinates swiss = swissFromGeo(p.latitude, p.longitude);
        formatCoordinate(texts.first, swiss.east, kRoleLatitude, format);
        formatCoordinate(texts.second, swiss.north, kRoleLongitude, format);
    } else {
        formatCoordinate(texts.first, p.latitude, kRoleLatitude, format);
        formatCoordinate(texts.second, p.longitude, kRoleLongitude, format);
    }
    return texts;
}

std::u16string cut(std::u16string text, size_t max) {
    if (text.size() > max) text.resize(max);
    return text;
}

platform::ControlTemplate control(int controlId, ControlKind kind, std::u16string text, int x,
                                  int y, int w, int h, std::uint32_t style = 0) {
    return {controlId, kind, std::move(text), platform::Rect{x, y, x + w, y + h}, style};
}

class PointDialogProcedure final : public platform::DialogProcedure {
public:
    PointDialogProcedure(GpsPoint& point, bool adding, const PointDialogContext& context,
                         PositionTexts texts)
        : point_(point), adding_(adding), context_(context), texts_(std::move(texts)) {}

    bool stored() const { return stored_; }

    void init(platform::DialogControls& d) override {
        std::u16string title;
        appendPrintf(title, adding_ ? "Add a point (%d)" : "Update the point (%d)", point_.number);
        d.setTitle(title);
        fillGroups(d);
        d.setText(id::kName, point_.name);
        showPosition(d, texts_);
        d.setVisible(id::kZone, context_.coordinateFormat == kFormatUtm && !point_.isShared());
        d.setText(id::kShareId, point_.shareId);
        d.setText(id::kShareKey, point_.shareKey);
        d.setEnabled(id::kUseGps, context_.gps.has_value());
        for (const auto text : kStatuses) d.addItem(id::kStatus, text);
        d.setSelection(id::kStatus, static_cast<int>(point_.status()));
        for (const auto text : kLabels) d.addItem(id::kLabel, text);
        d.setSelection(id::kLabel, static_cast<int>(point_.labelMode()));
        fillPictures(d);
        d.setChecked(id::kCourseAndDistance, point_.flags & kCourseAndDistance);
        d.setText(id::kAlert, point_.alertName.empty() ? std::u16string(kNone) : point_.alertName);
        for (int i = 0; i < kPaletteSize; ++i) {
            std::u16string number;
            appendPrintf(number, "%d", i);
            d.addItem(id::kColour, number);
        }
        d.setSelection(id::kColour, std::clamp(point_.colour, 0, kPaletteSize - 1));
        initMemo(d);
    }

    void timer(platform::DialogControls& d, int timerId) override {
        if (timerId != id::kMemoTimer || !recording_) return;
        if (platform::voiceRecorder().state() == platform::VoiceRecorder::State::Idle)
            stopRecording(d);  // the device went away; what came is kept
    }

    // The dialog may close by other ways than its buttons; the memo is complete after.
    void finishMemo() {
        if (recording_) platform::voiceRecorder().stop();
        recording_ = false;
    }

    void command(platform::DialogControls& d, int controlId) override {
        if (controlId == id::kUseGps && context_.gps) {
            if (const auto texts = positionTexts(*context_.gps, context_.coordinateFormat))
                showPosition(d, *texts);
        } else if (controlId == id::kUseManual) {
            if (const auto texts = positionTexts(context_.viewCentre, context_.coordinateFormat))
                showPosition(d, *texts);
        } else if (controlId == platform::kIdOk) {
            if (accept(d)) close(d, platform::kIdOk);
        } else if (controlId == platform::kIdCancel) {
            close(d, platform::kIdCancel);
        } else {
            memoCommand(d, controlId);
        }
    }

private:
    void close(platform::DialogControls& d, int result) {
        if (recording_) stopRecording(d);
        d.end(result);
    }

    void initMemo(platform::DialogControls& d) {
        memoOffered_ = !context_.memoFolder.empty() && point_.number != 0;
        recorderAvailable_ = memoOffered_ && platform::voiceRecorder().available();
        if (context_.recordMemo && recorderAvailable_)
            startRecording(d);
        else
            showMemo(d);
    }

    void memoCommand(platform::DialogControls& d, int controlId) {
        if (!memoOffered_) return;
        if (controlId == id::kMemoRecord && !recording_) {
            startRecording(d);
        } else if (controlId == id::kMemoStop && recording_) {
            stopRecording(d);
        } else if (controlId == id::kMemoPlay && !recording_) {
            playVoiceMemo(context_.memoFolder, point_);
        } else if (controlId == id::kMemoDelete && !recording_) {
            platform::soundPlayer().stop();
            confirmDeleteVoiceMemo(context_.memoFolder, point_);
            showMemo(d);
        }
    }

    // A recorder that is there but cannot start could not make the memo's file (a
    // folder that cannot be written); one that went away just says so in the state line.
    void startRecording(platform::DialogControls& d) {
        recording_ = recordVoiceMemo(context_.memoFolder, point_);
        if (recording_) {
            d.setTimer(id::kMemoTimer, kMemoPollMs);
        } else {
            recorderAvailable_ = platform::voiceRecorder().available();
            if (recorderAvailable_) refuse(kUnableToOpen, kErrorTitle);
        }
        showMemo(d);
    }

    void stopRecording(platform::DialogControls& d) {
        d.killTimer(id::kMemoTimer);
        finishMemo();
        showMemo(d);
    }

    // The buttons follow what can be done now: one of record and stop, play and delete
    // only for a memo that is there and not being recorded over.
    void showMemo(platform::DialogControls& d) {
        const bool present = memoOffered_ && hasVoiceMemo(context_.memoFolder, point_);
        d.setEnabled(id::kMemoRecord, recorderAvailable_ && !recording_);
        d.setEnabled(id::kMemoStop, recording_);
        d.setEnabled(id::kMemoPlay, present && !recording_);
        d.setEnabled(id::kMemoDelete, present && !recording_);
        std::u16string_view state = present ? kMemoRecorded : kNone;
        if (recording_)
            state = kMemoRecording;
        else if (memoOffered_ && !recorderAvailable_)
            state = kRecorderMissing;
        d.setText(id::kMemoState, state);
    }

    void fillGroups(platform::DialogControls& d) {
        if (context_.store) {
            for (const std::u16string& group : context_.store->groups())
                if (!group.empty()) d.addItem(id::kGroup, group);
        }
        d.setText(id::kGroup, point_.group);
    }

    void fillPictures(platform::DialogControls& d) {
        d.addItem(id::kPicture, kNone);
        d.setSelection(id::kPicture, 0);
        if (!context_.icons) return;
        const auto& names = context_.icons->names();
        for (size_t i = kFirstFileIcon; i < names.size(); ++i) {
            const int row = d.addItem(id::kPicture, names[i]);
            if (names[i] == point_.iconName) d.setSelection(id::kPicture, row);
        }
    }

    static void showPosition(platform::DialogControls& d, const PositionTexts& texts) {
        d.setText(id::kLatitude, texts.first);
        d.setText(id::kLongitude, texts.second);
        d.setText(id::kZone, texts.zone);
    }

    static bool refuse(std::u16string_view text, std::u16string_view title) {
        platform::showMessage(text, title, platform::Buttons::Ok, platform::Icon::Error);
        return false;
    }

    bool identifierTaken(std::u16string_view shareId) const {
        if (!context_.store) return false;
        for (size_t i = 0; i < context_.store->size(); ++i) {
            const GpsPoint& other = context_.store->at(i);
            if (&other != &point_ && other.isShared() && other.shareId == shareId) return true;
        }
        return false;
    }

    bool acceptShare(const std::u16string& shareId, const std::u16string& key) const {
        if (shareId.empty()) return refuse(kNoIdentifier, kErrorTitle);
        if (key.size() > kShareKeyMax) {
            std::u16string text;
            appendPrintf(text, "The encryption keys are limited to% d characters",
                         static_cast<int>(kShareKeyMax));
            return refuse(text, kErrorTitle);
        }
        if (identifierTaken(shareId)) return refuse(kIdentifierTaken, kErrorTitle);
        return true;
    }

    bool accept(platform::DialogControls& d) {
        const std::u16string name = d.text(id::kName);
        if (name.empty()) return refuse(kNoName, kErrorTitle);
        const bool shared = point_.isShared();
        const std::u16string shareId = d.text(id::kShareId);
        const std::u16string key = d.text(id::kShareKey);
        if (shared && !acceptShare(shareId, key)) return false;
        std::optional<GeoPosition> position;
        if (!shared) {
            const std::u16string first = d.text(id::kLatitude);
            const std::u16string second = d.text(id::kLongitude);
            const std::u16string zone = d.text(id::kZone);
            const CoordinateEntry entry =
                readCoordinateEntry({first, second, zone}, context_.coordinateFormat);
            if (!entry.accepted) return refuse(entry.message, entry.title);
            position = entry.position;
        }
        if (shared && context_.registerShare && shareId != point_.shareId) {
            const std::u16string error = context_.registerShare(shareId, key);
            if (!error.empty()) return refuse(error, kErrorTitle);
        }
        store(d, name, shareId, key, position);
        return true;
    }

    void store(platform::DialogControls& d, const std::u16string& name,
               const std::u16string& shareId, const std::u16string& key,
               const std::optional<GeoPosition>& position) {
        point_.name = cut(name, kNameMax);
        point_.group = cut(d.text(id::kGroup), kNameMax);
        if (point_.isShared()) {
            point_.shareId = cut(shareId, kShareIdMax);
            point_.shareKey = key;
        }
        if (position) point_.setPosition(position->latitude, position->longitude);
        point_.setStatus(static_cast<PointStatus>(std::max(d.selection(id::kStatus), 0)));
        point_.setLabelMode(static_cast<LabelMode>(std::max(d.selection(id::kLabel), 0)));
        const int picture = d.selection(id::kPicture);
        point_.iconName = picture > 0 ? d.itemText(id::kPicture, picture) : std::u16string();
        point_.iconIndex = context_.icons ? context_.icons->indexOf(point_.iconName) : 0;
        if (d.checked(id::kCourseAndDistance))
            point_.flags |= kCourseAndDistance;
        else
            point_.flags &= ~kCourseAndDistance;
        point_.colour = std::max(d.selection(id::kColour), 0);
        if (context_.store) context_.store->setChanged(true);
        stored_ = true;
    }

    GpsPoint& point_;
    bool adding_;
    const PointDialogContext& context_;
    PositionTexts texts_;
    bool stored_ = false;
    bool memoOffered_ = false;  // a folder to keep it in and a number to name it
    bool recorderAvailable_ = false;
    bool recording_ = false;
};

}  // namespace

platform::DialogTemplate pointDialogTemplate(bool shared, int coordinateFormat) {
    using namespace platform::style;
    platform::DialogTemplate t;
    t.title = std::u16string(kTitle);
    t.size = platform::Size{160, 200};
    const bool grid = coordinateFormat == kFormatUtm || coordinateFormat == kFormatSwiss;
    auto& c = t.controls;
    c.push_back(control(0, ControlKind::Label, u"Group:", 4, 4, 40, 10));
    c.push_back(control(id::kGroup, ControlKind::Combo, u"", 46, 4, 110, 12, kEditableCombo));
    c.push_back(control(0, ControlKind::Label, u"Name:", 4, 18, 40, 10));
    c.push_back(control(id::kName, ControlKind::Edit, u"", 46, 18, 110, 12));
    const std::uint32_t position = shared ? kHidden : 0;
    c.push_back(control(0, ControlKind::Label, grid ? u"X:" : u"Lat.:", 4, 32, 40, 10, position));
    c.push_back(control(id::kLatitude, ControlKind::Edit, u"", 46, 32, 70, 12, position));
    c.push_back(control(0, ControlKind::Label, grid ? u"Y:" : u"Long.:", 4, 46, 40, 10, position));
    c.push_back(control(id::kLongitude, ControlKind::Edit, u"", 46, 46, 70, 12, position));
    c.push_back(control(id::kZone, ControlKind::Edit, u"", 120, 46, 36, 12,
                        coordinateFormat == kFormatUtm && !shared ? 0 : kHidden));
    const std::uint32_t sharing = shared ? 0 : kHidden;
    c.push_back(control(0, ControlKind::Label, u"Identifier:", 4, 32, 40, 10, sharing));
    c.push_back(control(id::kShareId, ControlKind::Edit, u"", 46, 32, 110, 12, sharing));
    c.push_back(control(0, ControlKind::Label, u"Key:", 4, 46, 40, 10, sharing));
    c.push_back(control(id::kShareKey, ControlKind::Edit, u"", 46, 46, 110, 12, sharing));
    c.push_back(
        control(id::kUseGps, ControlKind::Button, u"Use GPS location", 4, 60, 74, 12, position));
    c.push_back(control(id::kUseManual, ControlKind::Button, u"Use manual location", 82, 60, 74, 12,
                        position));
    c.push_back(control(id::kStatus, ControlKind::Combo, u"", 4, 76, 74, 12));
    c.push_back(control(id::kLabel, ControlKind::Combo, u"", 82, 76, 74, 12));
    c.push_back(control(0, ControlKind::Label, u"Select a picture", 4, 92, 74, 10));
    c.push_back(control(id::kPicture, ControlKind::Combo, u"", 82, 92, 74, 12));
    c.push_back(control(id::kCourseAndDistance, ControlKind::CheckBox, u"+ Course and dist.", 4,
                        108, 152, 10));
    c.push_back(control(0, ControlKind::Label, u"Alert:", 4, 122, 40, 10));
    c.push_back(control(id::kAlert, ControlKind::Label, u"", 46, 122, 110, 10));
    c.push_back(control(0, ControlKind::Label, u"Color:", 4, 136, 40, 10));
    c.push_back(control(id::kColour, ControlKind::Combo, u"", 46, 136, 40, 12));
    c.push_back(control(0, ControlKind::Label, u"Voice memo:", 4, 152, 40, 10));
    c.push_back(control(id::kMemoState, ControlKind::Label, u"", 46, 152, 110, 10));
    c.push_back(control(id::kMemoRecord, ControlKind::Button, u"Record", 4, 164, 35, 12));
    c.push_back(control(id::kMemoStop, ControlKind::Button, u"Stop", 43, 164, 35, 12));
    c.push_back(control(id::kMemoPlay, ControlKind::Button, u"Play", 82, 164, 35, 12));
    c.push_back(control(id::kMemoDelete, ControlKind::Button, u"Delete", 121, 164, 35, 12));
    c.push_back(
        control(platform::kIdOk, ControlKind::Button, u"OK", 4, 180, 74, 14, kDefaultButton));
    c.push_back(control(platform::kIdCancel, ControlKind::Button, u"Cancel", 82, 180, 74, 14));
    return t;
}

bool runPointDialog(GpsPoint& point, bool adding, const PointDialogContext& context) {
    const GeoPosition shown =
        point.positionValid() ? GeoPosition{point.latitude, point.longitude} : GeoPosition{};
    const auto texts = positionTexts(shown, context.coordinateFormat);
    if (!texts && !point.isShared()) {
        platform::showMessage(kCannotShow, kCannotShowTitle, platform::Buttons::Ok,
                              platform::Icon::Error);
        return false;
    }
    if (context.store) context.store->numberPoint(point);
    PointDialogProcedure procedure(point, adding, context, texts.value_or(PositionTexts{}));
    platform::runDialog(pointDialogTemplate(point.isShared(), context.coordinateFormat), procedure);
    procedure.finishMemo();
    return procedure.stored();
}

}  // namespace wendra::points
