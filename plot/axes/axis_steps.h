#pragma once

#include <string>

namespace plot {

/// One second in days.
inline constexpr double kOneSecond = 1.0 / 86400.0;
/// Index of the calendar step table meaning "no step".
inline constexpr int kNoDateStep = 25;

/// The next value of the 1-2-5 sequence after x (a value on it moves on).
double NiceStepAfter(double x);
/// Step k (0 .. 24) of the calendar table, in days.
double DateStep(int index);
/// Name of step k, e.g. "One Week".
const char* DateStepName(int index);
/// The index whose step lies within one second of x, scanning from the
/// largest; kNoDateStep when none.
int DateStepIndexOf(double x);
/// The next larger calendar step; the one-year step below one second.
double NextDateStep(double x);

}  // namespace plot
