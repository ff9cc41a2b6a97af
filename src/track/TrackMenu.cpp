#include "track/TrackMenu.h"

#include <cstdio>

#include "platform/MessageBox.h"
#include "records/Text.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

constexpr std::u16string_view kNoTrack = u"No track to save";
constexpr std::u16string_view kLoseQuestion =
    u"You're going to lose current track. Do you want to continue?";

std::u16string folderOf(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? std::u16string_view()
                                                             : path.substr(0, slash));
}

std::u16string pointsLabel(const char* format, int layer, int count) {
    char text[48];
    if (layer == 0) {
        std::snprintf(text, sizeof text, format, count);
    } else {
        std::snprintf(text, sizeof text, format, layer, count);
    }
    return widen(text);
}

}  // namespace

TrackMenu::TrackMenu(TrackFiles& files, TrackMenuContext context)
    : files_(files), context_(std::move(context)) {}

std::optional<std::string> TrackMenu::choose(bool save, std::u16string proposedName) {
    if (!context_.chooseFile) return std::nullopt;
    FileChoice choice;
    choice.save = save;
    if (context_.tracePath) choice.folder = *context_.tracePath;
    choice.proposedName = std::move(proposedName);
    const std::optional<std::u16string> path = context_.chooseFile(choice);
    if (!path || path->empty()) return std::nullopt;
    if (context_.tracePath) *context_.tracePath = folderOf(*path);
    return toUtf8(*path);
}

std::u16string TrackMenu::defaultName() {
    Track& track = files_.track();
    const float length = track.cumulativeValues();
    TrackNameInput input;
    {
        TrackLock::Hold hold(track.lock(), u".Name");
        const TrackPoint* first = track.main().first();
        const TrackPoint* last = track.main().last();
        if (!first) return {};
        input = TrackNameInput{first->time, first->lat, first->lon, last->lat, last->lon, length};
    }
    const std::vector<NamedPlace> places =
        context_.places ? context_.places() : std::vector<NamedPlace>();
    return defaultTrackName(input, places, context_.unitSystem);
}

bool TrackMenu::save() {
    if (files_.track().main().count() <= 1) {
        platform::showMessage(kNoTrack, u"Error!");
        return false;
    }
    const std::optional<std::string> path = choose(true, defaultName());
    return path && files_.writeLayer(Track::kMainLayer, *path, false);
}

bool TrackMenu::saveAndDelete() {
    if (!save()) return false;
    files_.track().clearLayer(Track::kMainLayer);
    files_.storeLayer(Track::kMainLayer);
    return true;
}

// The journal is emptied by storing the backup's track as layer 0, so that layer 0's
// file and the journal still describe the track in memory should the program die.
bool TrackMenu::takePreviousTrackAgain() {
    Track& track = files_.track();
    if (!track.main().empty() &&
        platform::showMessage(kLoseQuestion, u"Confirmation", platform::Buttons::YesNo,
                              platform::Icon::Question) != platform::Answer::Yes)
        return false;
    track.clearLayer(Track::kMainLayer);
    files_.loadLayer(Track::kMainLayer, files_.folders().backupFile());
    files_.storeLayer(Track::kMainLayer);
    return true;
}

LoadTrackDialog TrackMenu::loadDialog() {
    LoadTrackDialog dialog;
    Track& track = files_.track();
    dialog.layerNames.push_back(pointsLabel("Main (%d pts)", 0, track.layer(0).count()));
    for (int layer = 1; layer < Track::kLayerCount; ++layer)
        dialog.layerNames.push_back(
            pointsLabel("Layer %d (%d pts)", layer, track.layer(layer).count()));
    dialog.colour = track.settings.newPointColour;
    return dialog;
}

bool TrackMenu::load(const LoadTrackDialog& dialog) {
    if (dialog.layer < 0 || dialog.layer >= Track::kLayerCount) return false;
    const std::optional<std::string> path = choose(false, {});
    if (!path) return false;
    const int colour = dialog.forceColour ? dialog.colour : TrackFiles::kNoColour;
    if (dialog.replace) files_.track().clearLayer(dialog.layer);
    files_.loadLayer(dialog.layer, *path, colour);
    files_.storeLayer(dialog.layer);
    if (context_.requestRepaint) context_.requestRepaint();
    return true;
}

}  // namespace wendra
