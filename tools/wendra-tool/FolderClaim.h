#pragma once
// A data folder held by a verb that writes it, for the verb's whole life: the same lock
// the program takes, so that neither saves over what the other is recording. Creates
// the folder when missing; fails the verb when another process holds it.

#include <string>

#include "platform/linux/DataFolderLock.h"

namespace wendra::tool {

class FolderClaim {
public:
    explicit FolderClaim(const std::string& dataFolder);

private:
    platform::DataFolderLock lock_;
};

}  // namespace wendra::tool
