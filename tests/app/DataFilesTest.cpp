// The data files of the program folder: load and save orders, banners, changed flags,
// and saves that fail without harming the file they were to replace.

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>
#include <utility>

#include "ConfigFixture.h"
#include "app/ConfigurationWriter.h"
#include "app/InternetMaps.h"
#include "maps/MapShell.h"
#include "platform/linux/CurlHttp.h"

namespace wendra::test {
namespace {

// A store that writes one line naming itself and logs what was done to it.
class LoggingStore final : public DataStore {
public:
    LoggingStore(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}

    RecordFileMode saveMode() const override { return mode; }
    void resetToDefaults() override { log_.push_back("reset " + name_); }
    void read(RecordFile& file) override {
        std::string line;
        while (file.readLine(line, kLongLineCapacity)) content += line;
        log_.push_back("read " + name_);
        if (onRead) onRead();
    }
    void afterLoad() override { log_.push_back("fix " + name_); }
    bool takeChanged() override { return std::exchange(ownChange, false); }
    bool write(RecordFile& file) override {
        log_.push_back("write " + name_);
        return file.isBinary() ? file.writeBytes(name_.data(), name_.size())
                               : file.writeText(name_ + "\n");
    }

    RecordFileMode mode = RecordFileMode::WriteText;
    bool ownChange = false;  // as the map list marks the catalogue
    std::string content;
    std::function<void()> onRead;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class DataFilesTest : public ::testing::Test {
protected:
    DataFilesTest() : files(home.path().string(), banner) {
        const char* names[] = {"ini", "wdm", "net", "wdp", "wdn"};
        for (size_t i = 0; i < kDataFileCount; ++i) {
            stores.push_back(std::make_unique<LoggingStore>(names[i], log));
            files.attach(static_cast<DataFile>(i), *stores.back());
        }
    }
    LoggingStore& store(DataFile file) { return *stores[static_cast<size_t>(file)]; }

    TempDir home;
    ScriptedMessageBoxes boxes;
    RecordingBanner banner;
    std::vector<std::string> log;
    std::vector<std::unique_ptr<LoggingStore>> stores;
    DataFiles files;
};

TEST_F(DataFilesTest, LoadsInTheStartUpOrderWithTheirBanners) {
    writeFile(home / "Wendra.wdp", "a point\n");
    store(DataFile::Points).onRead = [&] { files.markChanged(DataFile::Points); };
    files.loadAll();
    EXPECT_EQ(log, (std::vector<std::string>{"reset ini", "fix ini", "reset wdm", "fix wdm",
                                             "reset net", "fix net", "reset wdp", "read wdp",
                                             "fix wdp", "reset wdn", "fix wdn"}))
        << "missing files are not read, but their fix-ups run";
    EXPECT_EQ(store(DataFile::Points).content, "a point\n");
    EXPECT_EQ(banner.events,
              (std::vector<std::u16string>{
                  u"show Loading config...", u"hide", u"show Loading maps...", u"hide",
                  u"show Loading cache...", u"hide", u"show Loading points...", u"hide",
                  u"show Loading route...", u"hide"}));
    EXPECT_FALSE(files.changed(DataFile::Routes)) << "loading the points changes no route";
}

TEST_F(DataFilesTest, SavesWhatChangedInTheSaveOrder) {
    files.markChanged(DataFile::Points);
    files.markChanged(DataFile::Configuration);
    files.saveChanged(false);
    EXPECT_EQ(log, (std::vector<std::string>{"write ini", "write wdn", "write wdp"}))
        << "a change of the points marks the routes, which are saved first";
    for (size_t i = 0; i < kDataFileCount; ++i)
        EXPECT_FALSE(files.changed(static_cast<DataFile>(i)));
    log.clear();
    files.saveChanged(true);
    EXPECT_EQ(log, (std::vector<std::string>{"write ini", "write wdm", "write net", "write wdn",
                                             "write wdp"}));
    EXPECT_EQ(readFile(home / "Wendra.net"), "net\n");
}

TEST_F(DataFilesTest, AChangeTheStoreMarkedItselfIsSavedOnce) {
    store(DataFile::Maps).ownChange = true;
    files.saveChanged(false);
    EXPECT_EQ(log, (std::vector<std::string>{"write wdm"}));
    log.clear();
    files.saveChanged(false);
    EXPECT_TRUE(log.empty()) << "the change was taken by the save";
    store(DataFile::Maps).ownChange = true;
    ASSERT_TRUE(files.save(DataFile::Maps));
    log.clear();
    files.saveChanged(false);
    EXPECT_TRUE(log.empty()) << "a save of the file on its own takes the change too";
}

TEST_F(DataFilesTest, ShowsTheSavingBannerWithTheWaitCursor) {
    ASSERT_TRUE(files.save(DataFile::Maps));
    EXPECT_EQ(banner.events, (std::vector<std::u16string>{u"show Saving maps...", u"wait on",
                                                          u"wait off", u"hide"}));
}

TEST_F(DataFilesTest, WritesTheBinaryFormWhenTheStoreAsksForIt) {
    store(DataFile::Points).mode = RecordFileMode::WriteBinary;
    ASSERT_TRUE(files.save(DataFile::Points));
    EXPECT_EQ(readFile(home / "Wendra.wdp"), "\xffwdp");
}

TEST_F(DataFilesTest, AFileWithoutOwnerIsLeftAlone) {
    DataFiles bare(home.path().string(), banner);
    EXPECT_FALSE(bare.load(DataFile::Maps));
    EXPECT_FALSE(bare.save(DataFile::Maps));
    bare.saveChanged(true);
    EXPECT_TRUE(banner.events.empty());
    EXPECT_FALSE(std::filesystem::exists(home / "Wendra.wdm"));
}

TEST_F(DataFilesTest, ASaveIntoAFolderThatIsAFileFailsWithTheFilesMessage) {
    writeFile(home / "not-a-folder", "x");
    DataFiles blocked((home / "not-a-folder").string(), banner);
    blocked.attach(DataFile::Configuration, store(DataFile::Configuration));
    blocked.attach(DataFile::Routes, store(DataFile::Routes));
    blocked.markChanged(DataFile::Configuration);
    EXPECT_FALSE(blocked.save(DataFile::Configuration));
    EXPECT_FALSE(blocked.save(DataFile::Routes));
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, u"Unable to save config!");
    EXPECT_EQ(shown[0].title, u"Error!");
    EXPECT_EQ(shown[1].text, u"Unable to open file!");
    EXPECT_FALSE(blocked.changed(DataFile::Configuration)) << "the settings stay in memory";
    EXPECT_EQ(banner.events.back(), u"hide");
}

// The file system refuses the write half-way: a file-size limit below the new content.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }

private:
    rlimit previous_{};
    void (*previousSignal_)(int);
};

TEST_F(ConfigTest, AFailedSaveLeavesTheOldFileAsItWas) {
    const std::string old = golden("full.ini");
    ASSERT_TRUE(loadText(old));
    config.global.mapMemoryMb = 128;
    config.setFolder(Folder::TracePath, std::u16string(4000, u'x'));
    ASSERT_GT(configurationText(config).size(), 4096u);
    files.markChanged(DataFile::Configuration);
    bool savedOk = true;
    {
        const FileSizeLimit limit(4096);
        savedOk = files.save(DataFile::Configuration);
    }
    EXPECT_FALSE(savedOk);
    EXPECT_EQ(readFile(iniPath()), old);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u"Unable to save config!");
    EXPECT_EQ(config.global.mapMemoryMb, 128) << "the settings stay";
    EXPECT_FALSE(files.changed(DataFile::Configuration));
    size_t leftovers = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(home.path()))
        ++leftovers;
    EXPECT_EQ(leftovers, 1u) << "no half-written file stays behind";
}

TEST_F(ConfigTest, SavingShowsItsBanner) {
    files.save(DataFile::Configuration);
    EXPECT_EQ(banner.events, (std::vector<std::u16string>{u"show Saving config...", u"wait on",
                                                          u"wait off", u"hide"}));
}

// A key's save while the tile worker is in a run (the test holds the service's busy
// lock in its stead) leaves the cache index for a later save instead of waiting on a
// run that may hang on a server; the change is saved once the run is over.
TEST_F(DataFilesTest, CacheIndexIsLeftForLaterWhileTheTileWorkerRuns) {
    maps::MapShell shell;
    maps::MapCatalogue catalogue(shell);
    InternetMaps internet(catalogue, home.path().string(),
                          [](platform::HttpSession& session) {
                              return std::make_unique<platform::CurlHttp>(session);
                          },
                          {});
    files.attach(DataFile::Cache, internet.store());
    const std::filesystem::path index = files.path(DataFile::Cache);
    internet.cache().markChanged();
    internet.service()->lockBusy(u"test");
    files.saveChanged(false);
    EXPECT_FALSE(std::filesystem::exists(index));
    internet.service()->unlockBusy();
    files.saveChanged(false);
    EXPECT_TRUE(std::filesystem::exists(index));
}

// A run that hangs on a server (here a thread in the worker's place that holds the
// lock until it is cancelled) is cut short when the window needs the lock, and the
// service is usable again once the window lets go.
TEST_F(DataFilesTest, TheWindowCutsAHangingTileRunShort) {
    maps::MapShell shell;
    maps::MapCatalogue catalogue(shell);
    InternetMaps internet(catalogue, home.path().string(),
                          [](platform::HttpSession& session) {
                              return std::make_unique<platform::CurlHttp>(session);
                          },
                          {});
    platform::InternetService& service = *internet.service();
    std::atomic<bool> running{false};
    std::atomic<bool> cancelled{false};
    std::thread run([&] {
        service.lockBusy(u"test run");
        running = true;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!service.cancelRequested() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        cancelled = service.cancelRequested();
        service.setLastResult(platform::HttpRequest::kCancelled);
        service.unlockBusy();
    });
    while (!running) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    internet.copySettings();
    run.join();
    EXPECT_TRUE(cancelled) << "the window waited for the run instead of cutting it short";
    EXPECT_FALSE(service.cancelRequested());
    EXPECT_EQ(service.lastResult(), platform::HttpRequest::kOk);
    EXPECT_TRUE(service.tryLockBusy()) << "the lock went back";
}

}  // namespace
}  // namespace wendra::test
