#pragma once
// The timeZone stored with new points: whole hours to add to local time to get UTC,
// from the platform clock's offset when first asked, then cached for the run.

namespace wendra {

int deviceTimeZoneHours();
// Forgets the cached value (tests that install another clock).
void resetDeviceTimeZone();

}  // namespace wendra
