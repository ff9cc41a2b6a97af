#include "points/VoiceMemo.h"

#include "platform/MessageBox.h"
#include "platform/SoundPlayer.h"
#include "platform/VoiceRecorder.h"
#include "records/RecordFile.h"

#include <cstdio>
#include <system_error>

namespace wendra::points {

std::filesystem::path voiceMemoPath(const std::filesystem::path& folder, const GpsPoint& point) {
    if (point.number == 0) return {};
    char name[32];
    std::snprintf(name, sizeof name, "%05d.wav", point.number);
    return folder / name;
}

bool hasVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point) {
    const std::filesystem::path path = voiceMemoPath(folder, point);
    std::error_code code;
    return !path.empty() && std::filesystem::is_regular_file(path, code);
}

bool deleteVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point) {
    const std::filesystem::path path = voiceMemoPath(folder, point);
    if (path.empty()) return true;
    std::error_code code;
    std::filesystem::remove(path, code);
    return !std::filesystem::exists(path, code);
}

bool playVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point) {
    return hasVoiceMemo(folder, point) && platform::playSound(voiceMemoPath(folder, point));
}

bool recordVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point) {
    const std::filesystem::path path = voiceMemoPath(folder, point);
    if (path.empty()) return false;
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    sweepLeftoverTemporaries(folder.string());
    // The memo may be playing; its new take must not be the loudspeaker's echo.
    platform::soundPlayer().stop();
    return platform::voiceRecorder().record(path);
}

bool confirmDeleteVoiceMemo(const std::filesystem::path& folder, const GpsPoint& point) {
    if (!hasVoiceMemo(folder, point)) return false;
    if (platform::showMessage(u"Do you want to delete the voice memo", u"Confirmation",
                              platform::Buttons::YesNo,
                              platform::Icon::Question) != platform::Answer::Yes)
        return false;
    return deleteVoiceMemo(folder, point);
}

}  // namespace wendra::points
