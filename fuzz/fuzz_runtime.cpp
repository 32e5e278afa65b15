// The runtime's conversions and formats over any text, number and pattern,
// with the separators a system locale may give. Besides not crashing or
// hanging: a number converted to text and back is the same number, a
// date-time broken into fields and encoded again is the same instant, and
// Windows-1252 text survives the trip through UTF-8.

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "runtime/conversions.h"
#include "runtime/convert_error.h"
#include "runtime/date_time.h"
#include "runtime/rounding.h"
#include "runtime/text_format.h"
#include "runtime/windows1252.h"

namespace {

using fuzzsupport::Finding;

// Texts longer than this from a short pattern mean a width limit was missed.
constexpr std::size_t kMaxText = 64 * 1024;

double AnyDouble(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: return std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
    case 1: return in.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    default: return static_cast<double>(in.ConsumeIntegral<std::int32_t>()) / 4;
  }
}

runtime::FormatSettings AnySettings(FuzzedDataProvider& in) {
  static const char kSeparators[] = {'.', ',', ' ', '\'', '/', ':', '-'};
  runtime::FormatSettings s;
  s.DecimalSeparator = in.PickValueInArray(kSeparators);
  s.ThousandSeparator = in.PickValueInArray(kSeparators);
  s.DateSeparator = in.PickValueInArray(kSeparators);
  s.TimeSeparator = in.PickValueInArray(kSeparators);
  // The short formats are what the system locale's date and time order
  // give; patterns from users come through the pattern argument.
  static const char* const kDateFormats[] = {"dd/mm/yyyy", "m/d/yy", "yyyy/mm/dd", "d/m/yyyy"};
  static const char* const kTimeFormats[] = {"hh:nn:ss", "h:nn:ss ampm", "hh:nn"};
  s.ShortDateFormat = in.PickValueInArray(kDateFormats);
  s.LongTimeFormat = in.PickValueInArray(kTimeFormats);
  return s;
}

void CheckLength(const std::string& text, const char* what) {
  if (text.size() > kMaxText) Finding(std::string(what) + " made a text of " + std::to_string(text.size()) + " bytes");
}

void DateTimeRoundTrip(double value) {
  runtime::DateFields date;
  runtime::TimeFields time;
  try {
    runtime::DecodeDateTime(value, date, time);
  } catch (const runtime::ConvertError&) {
    return;
  }
  if (value < 0) return;  // before day 0 the time of day counts the other way
  double again = runtime::EncodeDate(date.year, date.month, date.day) +
                 runtime::EncodeTime(time.hour, time.minute, time.second, time.millisecond);
  // Fields are taken after rounding to the millisecond.
  if (std::fabs(again - value) > 0.5 / 86400000.0 + 1e-9) Finding("a date-time did not encode back to itself");
  int weekday = runtime::DayOfWeek(value);
  if (weekday < 1 || weekday > 7) Finding("a day of the week outside 1..7");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const runtime::FormatSettings settings = AnySettings(in);
  const int op = in.ConsumeIntegralInRange<int>(0, 9);
  const std::string text = in.ConsumeRandomLengthString(64);
  const double value = AnyDouble(in);
  try {
    switch (op) {
      case 0: {
        std::int32_t v = runtime::StrToInt(text);
        if (runtime::StrToInt(runtime::IntToStr(v)) != v) Finding("IntToStr does not read back");
        break;
      }
      case 1: {
        double v = runtime::StrToFloat(text, settings);
        if (!std::isfinite(v)) Finding("StrToFloat gave a value that is not finite");
        break;
      }
      case 2: CheckLength(runtime::FormatFloat(text, value, settings), "FormatFloat"); break;
      case 3: CheckLength(runtime::FormatDateTime(text, value, settings), "FormatDateTime"); break;
      case 4: {
        auto i = in.ConsumeIntegral<std::int64_t>();
        std::string s = in.ConsumeRandomLengthString(16);
        CheckLength(runtime::Format(text, {i, value, s}, settings), "Format");
        CheckLength(runtime::Format(text, {value, s, i}, settings), "Format");
        CheckLength(runtime::Format(text, {s}, settings), "Format");
        break;
      }
      case 5: CheckLength(runtime::FormatFixed(value, in.ConsumeIntegralInRange<int>(-8, 2000), settings), "FormatFixed"); break;
      case 6: {
        auto v = in.ConsumeIntegral<std::int32_t>();
        std::string hex = runtime::IntToHex(v, in.ConsumeIntegralInRange<int>(-8, 2000));
        CheckLength(hex, "IntToHex");
        if (runtime::StrToInt("$" + hex.substr(hex.size() > 8 ? hex.size() - 8 : 0)) != v) {
          Finding("IntToHex does not read back");
        }
        break;
      }
      case 7: DateTimeRoundTrip(value); break;
      case 8: {
        std::string utf8 = runtime::Windows1252ToUtf8(text);
        if (!fuzzsupport::IsValidUtf8(utf8)) Finding("Windows-1252 text became invalid UTF-8");
        auto back = runtime::Utf8ToWindows1252(utf8);
        if (!back || *back != text) Finding("Windows-1252 text did not survive UTF-8");
        runtime::Utf8ToWindows1252(text);
        break;
      }
      default: {
        if (std::isfinite(value) && std::fabs(value) < 4503599627370496.0) {
          double r = static_cast<double>(runtime::RoundHalfEven(value));
          if (std::fabs(r - value) > 0.5) Finding("RoundHalfEven moved a value by more than a half");
        } else {
          runtime::RoundHalfEven(value);
        }
        std::string shortest = runtime::FloatToStr(value, settings);
        CheckLength(shortest, "FloatToStr");
        if (std::isnormal(value) && settings.DecimalSeparator != 0 && settings.DecimalSeparator != settings.ThousandSeparator) {
          double back = runtime::StrToFloat(shortest, settings);
          if (std::fabs(back - value) > std::fabs(value) * 1e-14) Finding("FloatToStr does not read back");
        }
        break;
      }
    }
  } catch (const runtime::ConvertError& e) {
    if (std::string(e.what()).empty()) Finding("a conversion error without a message");
  }
  return 0;
}
