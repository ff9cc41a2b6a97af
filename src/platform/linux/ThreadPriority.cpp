#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace wendra::platform {

namespace {
constexpr int kLowestNice = 19;
}

void lowerCurrentThreadPriority() {
    // On Linux a nice value belongs to the thread named by its id.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLowestNice);
}

}  // namespace wendra::platform
