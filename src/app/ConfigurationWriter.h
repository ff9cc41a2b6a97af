#pragma once
// The text of the configuration file, records in the program's save order, each
// followed by the fields a later version added to it and by the kept lines of its place.

#include <string>

#include "app/Configuration.h"

namespace wendra {

std::string configurationText(const Configuration& config);

}  // namespace wendra
