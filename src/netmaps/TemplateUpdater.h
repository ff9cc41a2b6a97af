#pragma once
// Runs the template update at most once per program run, before the first tile
// request. Without an update site nothing is fetched; a failed fetch only ends the
// attempt: the tile work goes on with the templates it has.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "netmaps/SourceSettings.h"
#include "netmaps/TemplateUpdate.h"

namespace wendra::netmaps {

class TemplateUpdater {
public:
    // The answer's body, or nothing when the request failed.
    using Fetch = std::function<std::optional<std::string>(const std::string& url)>;

    // True when templates changed (the tile cache file then wants saving).
    bool runOnce(SourceSettings& settings, std::uint64_t tickMilliseconds, const Fetch& fetch);
    bool done() const { return done_; }
    const TemplateUpdateResult& result() const { return result_; }

private:
    bool done_ = false;
    TemplateUpdateResult result_;
};

}  // namespace wendra::netmaps
