// Local wall-clock time as a day count with the time of day as fraction
// (day 0 is 1899-12-30), and its decoding into clock fields.
#pragma once

#include "HostGlobal.h"

#include <QtCore/QDateTime>

namespace LumitraHost {

using TDateTime = double;

// Milliseconds in one day.
inline constexpr int MSecsPerDay = 86400000;

LUMITRA_EXPORT TDateTime Now();
LUMITRA_EXPORT TDateTime DateTimeFromQDateTime(const QDateTime &Value);
LUMITRA_EXPORT QDateTime QDateTimeFromDateTime(TDateTime Value);

// The fields are decoded through whole milliseconds, rounded, so that a value
// a hair below a second boundary (12:00:00.9999999) counts as the next
// millisecond (12:00:01.000). NaN and infinities decode as midnight.
LUMITRA_EXPORT int MilliSecondOfTheDay(TDateTime Value);
LUMITRA_EXPORT int HourOf(TDateTime Value);
LUMITRA_EXPORT int MinuteOf(TDateTime Value);
LUMITRA_EXPORT int SecondOf(TDateTime Value);
LUMITRA_EXPORT int MilliSecondOf(TDateTime Value);

} // namespace LumitraHost
