#include "netmaps/TemplateUpdater.h"

namespace wendra::netmaps {

bool TemplateUpdater::runOnce(SourceSettings& settings, std::uint64_t tickMilliseconds,
                              const Fetch& fetch) {
    if (done_) return false;
    done_ = true;
    const std::string url = templateUpdateUrl(settings.updateSite, tickMilliseconds);
    if (url.empty() || !fetch) return false;
    const std::optional<std::string> answer = fetch(url);
    if (!answer) return false;
    const auto before = settings.templates;
    result_ = applyTemplateUpdate(*answer, settings);
    return settings.templates != before;
}

}  // namespace wendra::netmaps
