#pragma once
// The logic of the "Track" menu's file commands: "Save", "Save and Delete", "Take the
// previous track again" and "Load" with its dialog's choices. The file choice itself
// and the points store come from the shell through the context.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "track/DefaultTrackName.h"
#include "track/TrackFiles.h"

namespace wendra {

// What the save or open dialog is asked for.
struct FileChoice {
    bool save = false;
    std::u16string filterName = u"Track file";
    std::u16string extension = u".wdt";
    std::u16string folder;        // where it opens ("TracePath")
    std::u16string proposedName;  // save only
};

// The chosen path, or nothing when the user cancelled.
using FileChooser = std::function<std::optional<std::u16string>(const FileChoice&)>;

struct TrackMenuContext {
    FileChooser chooseFile;
    // The configuration's "TracePath": the folder last used for track files.
    std::u16string* tracePath = nullptr;
    // The points store's named points, for the default name.
    std::function<std::vector<NamedPlace>()> places;
    int unitSystem = 0;
    std::function<void()> requestRepaint;
};

// The "Load a track" dialog's controls.
struct LoadTrackDialog {
    std::vector<std::u16string> layerNames;  // "Main (%d pts)", "Layer %d (%d pts)"
    int layer = 0;                           // "In the layer:"
    bool forceColour = false;                // "Force color"
    int colour = 0;
    bool replace = true;  // "Replace track of layer"

    // The colour button: a colour chosen there is meant to be used.
    void chooseColour(int chosen) {
        colour = chosen;
        forceColour = true;
    }
};

class TrackMenu {
public:
    TrackMenu(TrackFiles& files, TrackMenuContext context);

    // "Save": layer 0 in text form to a chosen file. False when nothing was written.
    bool save();
    // "Save and Delete": then layer 0 is cleared and stored.
    bool saveAndDelete();
    // "Take the previous track again": layer 0 from the backup, after asking when
    // the current track would be lost.
    bool takePreviousTrackAgain();
    // The "Load a track" dialog as it opens.
    LoadTrackDialog loadDialog();
    // OK in that dialog: the file chosen, then cleared (if asked), loaded and stored.
    bool load(const LoadTrackDialog& dialog);

    std::u16string defaultName();

private:
    std::optional<std::string> choose(bool save, std::u16string proposedName);

    TrackFiles& files_;
    TrackMenuContext context_;
};

}  // namespace wendra
