#include "plot/axes/axis_steps.h"

#include <array>
#include <cmath>

namespace plot {

namespace {

struct DateStepEntry {
  double days;
  const char* name;
};

constexpr std::array<DateStepEntry, 25> kDateSteps = {{
    {1.0 / 86400, "One Second"},     {5.0 / 86400, "Five Seconds"},   {10.0 / 86400, "Ten Seconds"},
    {15.0 / 86400, "Fifteen Seconds"}, {30.0 / 86400, "Thirty Seconds"}, {1.0 / 1440, "One Minute"},
    {5.0 / 1440, "Five Minutes"},    {10.0 / 1440, "Ten Minutes"},    {15.0 / 1440, "Fifteen Minutes"},
    {30.0 / 1440, "Thirty Minutes"}, {1.0 / 24, "One Hour"},          {2.0 / 24, "Two Hours"},
    {6.0 / 24, "Six Hours"},         {12.0 / 24, "Twelve Hours"},     {1, "One Day"},
    {2, "Two Days"},                 {3, "Three Days"},               {7, "One Week"},
    {15, "Half Month"},              {30, "One Month"},               {60, "Two Months"},
    {90, "Three Months"},            {120, "Four Months"},            {182, "Six Months"},
    {365, "One Year"},
}};

}  // namespace

double NiceStepAfter(double x) {
  // Zero, negative and non-finite values have no next step; the callers
  // start from positive finite values, and this keeps a bad one from
  // recursing forever.
  if (!(x > 0) || !std::isfinite(x)) return x;
  if (x < 1) return NiceStepAfter(x * 10) * 0.1;
  if (x < 2) return 2;
  if (x < 5) return 5;
  if (x < 10) return 10;
  return NiceStepAfter(x * 0.1) * 10;
}

double DateStep(int index) { return kDateSteps[static_cast<std::size_t>(index)].days; }

const char* DateStepName(int index) { return kDateSteps[static_cast<std::size_t>(index)].name; }

int DateStepIndexOf(double x) {
  for (int i = 24; i >= 0; --i) {
    if (std::fabs(DateStep(i) - x) < kOneSecond) return i;
  }
  return kNoDateStep;
}

double NextDateStep(double x) {
  for (int i = 23; i >= 0; --i) {
    if (x >= DateStep(i)) return DateStep(i + 1);
  }
  return DateStep(24);
}

}  // namespace plot
