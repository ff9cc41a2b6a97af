#pragma once
// Background work that must never take the processor from the window or the GPS reader
// (tile conversion) runs at the machine's lowest priority. Best effort: a machine that
// refuses leaves the thread as it was.

namespace wendra::platform {

// Lowers the calling thread only, not the process.
void lowerCurrentThreadPriority();

}  // namespace wendra::platform
