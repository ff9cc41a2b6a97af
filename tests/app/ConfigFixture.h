#pragma once
// A data folder with the configuration attached as the program does, a banner that
// records what it was asked to show, and a scripted message-box host.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Configuration.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "app/StatusBanner.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::test {

class RecordingBanner final : public StatusBanner {
public:
    void show(std::u16string_view text) override {
        events.push_back(u"show " + std::u16string(text));
    }
    void hide() override { events.push_back(u"hide"); }
    void setWaitCursor(bool waiting) override {
        events.push_back(waiting ? u"wait on" : u"wait off");
    }
    std::vector<std::u16string> events;
};

class ConfigTest : public ::testing::Test {
protected:
    ConfigTest() : store(config), files(home.path().string(), banner) {
        files.attach(DataFile::Configuration, store);
    }

    static std::string golden(const std::string& name) {
        return readFile(testData() / "config" / name);
    }
    std::string iniPath() const { return files.path(DataFile::Configuration); }
    // Puts the bytes in place as Wendra.ini and loads them.
    bool loadText(const std::string& bytes) {
        writeFile(iniPath(), bytes);
        return files.load(DataFile::Configuration);
    }
    // Saves and returns what was written.
    std::string saved() {
        EXPECT_TRUE(files.save(DataFile::Configuration));
        return readFile(iniPath());
    }

    TempDir home;
    ScriptedMessageBoxes boxes;
    RecordingBanner banner;
    Configuration config{u"/home/anna/Documents/WendraRecords"};
    ConfigurationStore store;
    DataFiles files;
};

}  // namespace wendra::test
