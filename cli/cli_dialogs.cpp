#include "cli/cli_dialogs.h"

#include <ostream>

#include "runtime/conversions.h"
#include "runtime/convert_error.h"

namespace cli {

PrintingPane::~PrintingPane() { Flush(); }

void PrintingPane::Clear() {
  Flush();
  lines_.clear();
  printed_ = 0;
}

void PrintingPane::Flush() {
  if (muted_) {
    printed_ = lines_.size();
    return;
  }
  for (; printed_ < lines_.size(); ++printed_) out_ << lines_[printed_] << '\n';
  out_.flush();
}

namespace {

// Converts as the dialog's OK would and checks the dialog's range.
bool CheckInteger(const std::string& option, const std::string& text, long min, long max, const char* field,
                  std::string& error) {
  try {
    std::int32_t v = runtime::StrToInt(text);
    if (v >= min && v <= max) return true;
  } catch (const runtime::ConvertError& e) {
    error = option + ": " + e.Message();
    return false;
  }
  error = option + ": " + field + " must be " + std::to_string(min) + " to " + std::to_string(max) + ", not " + text;
  return false;
}

bool CheckTemperature(const std::string& option, const std::string& text, const char* field, std::string& error) {
  try {
    double v = runtime::StrToFloat(text);
    if (v >= -40 && v <= 84) return true;
  } catch (const runtime::ConvertError& e) {
    error = option + ": " + e.Message();
    return false;
  }
  error = option + ": " + field + " must be -40 to 84 degrees Celsius, not " + text;
  return false;
}

}  // namespace

std::optional<SetupValues> ParseSetupValues(const std::vector<std::string>& args, std::string& error) {
  SetupValues values;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--immediate" || a == "--button") {
      values.immediateStart = a == "--immediate";
      continue;
    }
    std::optional<std::string>* target = a == "--interval"      ? &values.interval
                                         : a == "--delay"       ? &values.delay
                                         : a == "--low"         ? &values.low
                                         : a == "--high"        ? &values.high
                                         : a == "--description" ? &values.description
                                                                : nullptr;
    if (target == nullptr) {
      error = "setup: unknown option " + a;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = "setup: " + a + " needs a value";
      return std::nullopt;
    }
    *target = args[++i];
  }
  if (values.interval && !CheckInteger("--interval", *values.interval, 1, 255, "the time between samples (minutes)", error))
    return std::nullopt;
  if (values.delay && !CheckInteger("--delay", *values.delay, 0, 65535, "the start delay (minutes)", error))
    return std::nullopt;
  if (values.low && !CheckTemperature("--low", *values.low, "the low alarm", error)) return std::nullopt;
  if (values.high && !CheckTemperature("--high", *values.high, "the high alarm", error)) return std::nullopt;
  if (values.description) {
    if (auto problem = logger::DescriptionProblem(*values.description)) {
      error = "--description: " + *problem;
      return std::nullopt;
    }
  }
  return values;
}

bool CliSettingsView::Execute(logger::SettingsFields& fields) {
  if (values_.interval) fields.SampleInterval = *values_.interval;
  if (values_.delay) fields.StartDelay = *values_.delay;
  if (values_.low) fields.LowAlarm = *values_.low;
  if (values_.high) fields.HighAlarm = *values_.high;
  if (values_.description) fields.NVramEdit = *values_.description;
  if (values_.immediateStart) fields.ImmediateStart = *values_.immediateStart;
  logger::SettingsFields before = fields;
  if (logger::ValidateSettings(fields)) return true;
  // A value read from the recorder was out of range and OK replaced it; say
  // which, then press OK again.
  auto note = [&](const std::string& was, const std::string& now, const char* name) {
    if (was != now) err_ << "setup: the recorder's " << name << " '" << was << "' became '" << now << "'\n";
  };
  note(before.SampleInterval, fields.SampleInterval, "time between samples");
  note(before.StartDelay, fields.StartDelay, "start delay");
  note(before.LowAlarm, fields.LowAlarm, "low alarm");
  note(before.HighAlarm, fields.HighAlarm, "high alarm");
  return logger::ValidateSettings(fields);
}

}  // namespace cli
