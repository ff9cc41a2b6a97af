#pragma once
// The program's time base: days, with fraction, since 2000-09-26 00:00 local time.
// Instants (fix times, point times, file dates) are Day numbers; durations are their
// differences. Local time is whatever the installed platform clock says.

#include "platform/Clock.h"

namespace wendra {

// Days from 1601-01-01 to the Day number's origin.
constexpr double kDayNumberOrigin = 146000.0;

double currentDayNumber();
double dayNumberFromCivil(const platform::CivilTime& local);
// Whole seconds, as the handheld's conversion did; the millisecond field is 0.
platform::CivilTime civilFromDayNumber(double day);

}  // namespace wendra
