#pragma once
// The track side of the program, set up on a data folder the way the program would:
// the five layers, the journal, the track files. And a message-box host that answers
// every question the same way and tells on stderr what it was asked.

#include <string>

#include "FolderClaim.h"
#include "app/Configuration.h"
#include "platform/MessageBox.h"
#include "track/FileBusy.h"
#include "track/FixJournal.h"
#include "track/Track.h"
#include "track/TrackFiles.h"

namespace wendra::tool {

struct TrackHome {
    // Creates the folder when missing and holds it (fails the verb when it cannot, or
    // when a running wendra holds it). The track takes
    // the settings of the folder's configuration file when it has one, as the program
    // would (the limits of the layers, the merging and thinning rules).
    explicit TrackHome(const std::string& dataFolder);

    // First, so that nothing of the folder is read or written before it is held.
    FolderClaim claim;

    // The folder's configuration, defaults where it has none.
    Configuration config;

    Track track;
    FileBusy busy;
    FixJournal journal;
    TrackFiles files;
};

class AnsweringHost final : public platform::MessageBoxHost {
public:
    explicit AnsweringHost(platform::Answer yesNo) : yesNo_(yesNo), scope_(*this) {}
    platform::Answer show(const platform::Message& message) override;

private:
    platform::Answer yesNo_;
    platform::ScopedMessageBoxHost scope_;
};

// "yes" or "no" after --answer.
platform::Answer parseAnswer(const std::string& text);

// Shortest texts that read back as the same value; null for what JSON cannot say.
std::string jsonNumber(double value);
std::string jsonNumber(float value);

}  // namespace wendra::tool
