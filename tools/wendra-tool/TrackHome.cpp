#include "TrackHome.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "Args.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "records/Text.h"

namespace wendra::tool {

namespace {

template <typename T>
std::string shortest(T value) {
    if (!std::isfinite(value)) return "null";
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

TrackHome::TrackHome(const std::string& dataFolder)
    : claim(dataFolder),
      journal(TrackFolders::inDataFolder(dataFolder).journalFile()),
      files(track, TrackFolders::inDataFolder(dataFolder), busy, journal) {
    NoStatusBanner banner;
    ConfigurationStore store(config);
    DataFiles data(dataFolder, banner);
    data.attach(DataFile::Configuration, store);
    data.load(DataFile::Configuration);
    track.settings = config.track;
    files.oldSavingFormat = config.global.has(ProgramOptions::kOldSavingFormat);
}

platform::Answer AnsweringHost::show(const platform::Message& message) {
    const bool question = message.buttons == platform::Buttons::YesNo ||
                          message.buttons == platform::Buttons::YesNoCancel;
    const platform::Answer answer = question ? yesNo_ : platform::defaultAnswer(message.buttons);
    const char* said = answer == platform::Answer::Yes  ? "yes"
                       : answer == platform::Answer::No ? "no"
                                                        : "ok";
    std::fprintf(stderr, "wendra-tool: [%s] %s -> %s\n", toUtf8(message.title).c_str(),
                 toUtf8(message.text).c_str(), said);
    return answer;
}

platform::Answer parseAnswer(const std::string& text) {
    if (text == "yes") return platform::Answer::Yes;
    if (text == "no") return platform::Answer::No;
    fail("malformed --answer: \"" + text + "\" (yes or no)");
}

std::string jsonNumber(double value) {
    return shortest(value);
}

std::string jsonNumber(float value) {
    return shortest(value);
}

}  // namespace wendra::tool
