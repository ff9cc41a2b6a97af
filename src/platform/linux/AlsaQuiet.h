#pragma once
// ALSA prints its own complaints on stderr when a device is missing; the program says
// "not available" instead, so those are silenced once for the whole process.

namespace wendra::platform {

void quietAlsaErrors();

}  // namespace wendra::platform
