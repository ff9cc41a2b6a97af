#pragma once
// Where a point's voice memo lives: "%05d.wav" after its number in the memo folder
// ("RecorderPath"). A point without a number has no memo.

#include <filesystem>

#include "points/GpsPoint.h"

namespace wendra::points {

// Empty for a point without a number.
std::filesystem::path voiceMemoPath(const std::filesystem::path& folder, const GpsPoint& point);
bool hasVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point);
// Removes the memo file if there is one; true when none is left.
bool deleteVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point);

// Starts the memo through the sound player; false when the point has none or the
// file is not a sound. A machine without sound plays nothing.
bool playVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point);
// Starts recording the memo through the voice recorder, making the folder when it is
// missing and clearing what a killed recording left there; false when the point has no
// number or the machine cannot record. The memo replaces the old one when stopped.
bool recordVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point);
// Asks "Do you want to delete the voice memo" and deletes it on Yes; true when deleted.
bool confirmDeleteVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point);

}  // namespace wendra::points
