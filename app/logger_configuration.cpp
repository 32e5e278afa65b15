#include "app/logger_configuration.h"

#include "app/logger_commands.h"
#include "app/logger_decoding.h"
#include "runtime/conversions.h"
#include "runtime/convert_error.h"
#include "runtime/text_format.h"
#include "runtime/windows1252.h"

namespace logger {

namespace cmd = commands;

namespace {

std::string TrimRightBlanks(std::string s) {
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.pop_back();
  return s;
}

std::size_t CountCharacters(const std::string& utf8) {
  std::size_t n = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

// The 32 bytes sent for a description: its Windows-1252 text padded with
// spaces. Callers have checked it with DescriptionProblem.
std::string DescriptionBytes(const std::string& text) {
  std::string bytes = runtime::Utf8ToWindows1252(text).value_or(std::string());
  bytes.resize(kDescriptionLength, ' ');
  return bytes;
}

}  // namespace

std::optional<std::string> DescriptionProblem(const std::string& text) {
  std::string bad;
  if (!runtime::Utf8ToWindows1252(text, &bad)) {
    return "The description cannot hold the character '" + bad +
           "': the recorder keeps only characters of the Windows-1252 set.";
  }
  if (CountCharacters(text) > static_cast<std::size_t>(kDescriptionLength)) {
    return "The description holds at most 32 characters.";
  }
  return std::nullopt;
}

bool ValidateSettings(SettingsFields& fields) {
  // Out-of-range fields fall back to the dialog's defaults. (Copied from a
  // defaults object rather than assigned from literals: GCC 12 at -O3 warns
  // falsely (-Wrestrict) on the literal assignments.)
  static const SettingsFields kDefaults;
  int valid = 0;
  std::int32_t interval = runtime::StrToInt(fields.SampleInterval);
  if (interval >= 1 && interval <= 255) ++valid; else fields.SampleInterval = kDefaults.SampleInterval;
  std::int32_t delay = runtime::StrToInt(fields.StartDelay);
  if (delay >= 0 && delay <= 65535) ++valid; else fields.StartDelay = kDefaults.StartDelay;
  double low = runtime::StrToFloat(fields.LowAlarm);
  if (low >= -40 && low <= 84) ++valid; else fields.LowAlarm = kDefaults.LowAlarm;
  double high = runtime::StrToFloat(fields.HighAlarm);
  if (high >= -40 && high <= 84) ++valid; else fields.HighAlarm = kDefaults.HighAlarm;
  // Never send a description the recorder cannot hold as garbage.
  if (auto problem = DescriptionProblem(fields.NVramEdit)) throw runtime::ConvertError(*problem);
  return valid == 4;
}

LoggerConfiguration::LoggerConfiguration(LoggerApp& app, LoggerReports& reports, SettingsDialogView& settings,
                                         NVramDialogView& nvram)
    : app_(app), reports_(reports), settingsView_(settings), nvramView_(nvram) {}

std::string LoggerConfiguration::DescriptionForEditing() const {
  return runtime::Windows1252ToUtf8(TrimRightBlanks(NVramText(app_.State().LoggerData)));
}

bool LoggerConfiguration::Setup1Click() {
  return app_.RunDeviceCommand("Setup", 0, [this] {
    SetupLogger();
    app_.Protocol().ReadPage0();
    reports_.ShowPage0();
  });
}

bool LoggerConfiguration::SettoPCTime1Click() {
  return app_.RunDeviceCommand("Set to PC Time", 0, [this] {
    SetLoggerClock();
    app_.Protocol().ReadPage0();
    reports_.ShowPage0();
  });
}

bool LoggerConfiguration::SetNVram1Click() {
  return app_.RunDeviceCommand("Set NV ram", 0, [this] {
    LoggerProtocol& protocol = app_.Protocol();
    protocol.ReadPage2();
    if (protocol.Stopped()) return;
    std::string text = DescriptionForEditing();
    if (!nvramView_.Execute(text)) return;  // Cancel sends nothing
    if (auto problem = DescriptionProblem(text)) throw runtime::ConvertError(*problem);
    settings_.NVramEdit = text;
    WriteNVram();
    app_.UpdateCaption();
  });
}

void LoggerConfiguration::SetupLogger() {
  LoggerProtocol& protocol = app_.Protocol();
  const LoggerStore& store = app_.State().LoggerData;
  protocol.ReadPage0();
  protocol.ReadPage2();
  // A recorder that did not answer leaves nothing to edit.
  if (protocol.Stopped()) return;

  settings_.NVramEdit = DescriptionForEditing();
  settings_.SampleInterval = runtime::IntToStr(SampleRate(store));
  settings_.StartDelay = runtime::IntToStr(StartDelayMinutes(store));
  settings_.LowAlarm = runtime::Format("%5.1f", {ValueCodeToCelsius(store.Page0(11))});
  settings_.HighAlarm = runtime::Format("%5.1f", {ValueCodeToCelsius(store.Page0(12))});

  if (settingsView_.Execute(settings_)) {
    // Every value is converted before the first byte goes out, so a bad one
    // can never leave the recorder half set up.
    std::int32_t delay = runtime::StrToInt(settings_.StartDelay);
    double low = runtime::StrToFloat(settings_.LowAlarm);
    double high = runtime::StrToFloat(settings_.HighAlarm);
    std::int32_t interval = runtime::StrToInt(settings_.SampleInterval);
    if (auto problem = DescriptionProblem(settings_.NVramEdit)) throw runtime::ConvertError(*problem);

    app_.SetWriting("the setup");
    protocol.WriteByte(cmd::kControl, cmd::kControlSetup);
    protocol.SendNewRecording();  // A5, then the recorder's pause
    protocol.WriteByte(cmd::kStartDelayLow, static_cast<std::uint8_t>(delay % 256));
    protocol.WriteByte(cmd::kStartDelayHigh, static_cast<std::uint8_t>((delay / 256) & 0xFF));
    protocol.WriteByte(cmd::kLowAlarm, static_cast<std::uint8_t>(CelsiusToValueCode(low) & 0xFF));
    protocol.WriteByte(cmd::kHighAlarm, static_cast<std::uint8_t>(CelsiusToValueCode(high) & 0xFF));
    if (settings_.ImmediateStart) protocol.WriteByte(cmd::kControl, cmd::kControlImmediateStart);
    protocol.WriteByte(cmd::kSampleRate, static_cast<std::uint8_t>(interval & 0xFF));
    WriteNVram();
  }
  protocol.ReadPage0();
  protocol.ReadPage2();
  app_.UpdateCaption();
}

void LoggerConfiguration::SetLoggerClock() {
  platform::LocalDateTime now = app_.Ui().clock.Now();  // milliseconds dropped
  LoggerProtocol& protocol = app_.Protocol();
  app_.SetWriting("the clock");
  protocol.WriteByte(cmd::kClockSeconds + 0, ToBcd(now.second));
  protocol.WriteByte(cmd::kClockSeconds + 1, ToBcd(now.minute));
  protocol.WriteByte(cmd::kClockSeconds + 2, ToBcd(now.hour));
  protocol.WriteByte(cmd::kClockSeconds + 3, ToBcd(now.dayOfWeek));
  protocol.WriteByte(cmd::kClockSeconds + 4, ToBcd(now.day));
  protocol.WriteByte(cmd::kClockSeconds + 5, ToBcd(now.month));
  protocol.WriteByte(cmd::kClockSeconds + 6, ToBcd(now.year % 100));
}

void LoggerConfiguration::WriteNVram() {
  std::string bytes = DescriptionBytes(settings_.NVramEdit);
  LoggerProtocol& protocol = app_.Protocol();
  app_.SetWriting("the description");
  for (int k = 0; k < kDescriptionLength; ++k) {
    protocol.WriteByte(static_cast<std::uint8_t>(cmd::kDescription + k), static_cast<std::uint8_t>(bytes[k]));
  }
  protocol.ReadPage2();
  reports_.ShowPage2();
}

}  // namespace logger
