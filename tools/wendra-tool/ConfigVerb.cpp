// wendra-tool config check: loads the configuration of a data folder the way the program
// does, tells which record kinds it holds and what was done with each, and whether
// saving it again would give back the same bytes. The data folder is not written.

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Verbs.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "app/DataFolder.h"
#include "records/Text.h"

namespace wendra::tool {

namespace {

const char* treatmentName(LineTreatment treatment) {
    switch (treatment) {
        case LineTreatment::Read:
            return "read";
        case LineTreatment::Kept:
            return "kept";
        case LineTreatment::Unknown:
            return "unknown";
        case LineTreatment::Blank:
            break;
    }
    return "blank";
}

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// 1-based number of the first line where the texts differ.
size_t firstDifferentLine(const std::string& a, const std::string& b) {
    size_t line = 1;
    for (size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i) {
        if (a[i] == '\n') ++line;
    }
    return line;
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wendra-config-XXXXXX");
        if (!::mkdtemp(pattern.data())) fail("cannot make a temporary folder");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

int runCheck(const std::string& home) {
    const FolderEnvironment environment = FolderEnvironment::fromProcess();
    const std::string folder = dataFolder(home, environment);
    NoStatusBanner banner;
    Configuration config(widen(recordsFolder(environment)));
    ConfigurationStore store(config);
    DataFiles files(folder, banner);
    files.attach(DataFile::Configuration, store);
    const std::string path = files.path(DataFile::Configuration);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        fail("no configuration file \"" + path + "\"");
    if (!files.load(DataFile::Configuration)) fail("cannot read \"" + path + "\"");
    for (const KindCount& kind : store.lastKinds()) {
        std::printf("{\"kind\":%s,\"treatment\":\"%s\",\"count\":%d}\n",
                    jsonString(toUtf8(widen(kind.kind))).c_str(), treatmentName(kind.treatment),
                    kind.count);
    }
    const ScratchFolder scratch;
    DataFiles copy(scratch.path(), banner);
    copy.attach(DataFile::Configuration, store);
    if (!copy.save(DataFile::Configuration))
        fail("cannot save a copy in \"" + scratch.path() + "\"");
    const std::string original = contentOf(path);
    const std::string saved = contentOf(copy.path(DataFile::Configuration));
    std::printf("{\"file\":%s,\"bytes\":%zu,\"savedBytes\":%zu,\"roundTrip\":%s",
                jsonString(toUtf8(widen(path))).c_str(), original.size(), saved.size(),
                original == saved ? "true" : "false");
    if (original != saved)
        std::printf(",\"firstDifferentLine\":%zu", firstDifferentLine(original, saved));
    std::printf("}\n");
    return 0;
}

}  // namespace

int runConfig(const Args& args) {
    if (args.empty() || args[0] != "check")
        fail("config: expected \"check\" (config check [--home DIR])");
    std::string home;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--home")
            home = optionValue(args, i);
        else
            fail("config check: unknown argument \"" + args[i] + "\"");
    }
    return runCheck(home);
}

}  // namespace wendra::tool
