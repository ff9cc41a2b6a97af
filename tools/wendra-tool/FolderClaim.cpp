#include "FolderClaim.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Args.h"

namespace wendra::tool {

namespace {

const std::string& createdFolder(const std::string& dataFolder) {
    std::error_code error;
    std::filesystem::create_directories(dataFolder, error);
    if (error) fail("cannot create the data folder \"" + dataFolder + "\": " + error.message());
    return dataFolder;
}

}  // namespace

FolderClaim::FolderClaim(const std::string& dataFolder) : lock_(createdFolder(dataFolder)) {
    std::string error;
    switch (lock_.claim(error)) {
        case platform::DataFolderLock::Outcome::Held:
            if (!error.empty()) std::fprintf(stderr, "wendra-tool: %s\n", error.c_str());
            return;
        case platform::DataFolderLock::Outcome::InUse:
            fail("the data folder \"" + dataFolder + "\" is in use by a running wendra");
        case platform::DataFolderLock::Outcome::Failed:
            fail(error);
    }
}

}  // namespace wendra::tool
