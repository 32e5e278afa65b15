// The ends of every Setup and Set NV ram field, years of other centuries,
// pinned with values that a plausible off-by-one, a wrong comparison or a
// wrong rounding would treat differently. Each case says what it separates.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/logger_configuration.h"
#include "app/logger_decoding.h"
#include "app/logger_reports.h"
#include "runtime/convert_error.h"
#include "runtime/date_time.h"
#include "runtime/format_settings.h"
#include "tests/app/app_rigs.h"

namespace {

using apptest::Bytes;

// ---- Setup's validation

TEST(SetupLimits, EachFieldAcceptsBothEndsAndReplacesOneStepBeyond) {
  const struct {
    std::string logger::SettingsFields::*field;
    const char* text;
    const char* afterOk;  // the text after OK: unchanged when valid
  } cases[] = {
      // Inclusive ends (a > or < test refuses them) and the next value out
      // (a limit off by one accepts it).
      {&logger::SettingsFields::SampleInterval, "1", "1"},
      {&logger::SettingsFields::SampleInterval, "255", "255"},
      {&logger::SettingsFields::SampleInterval, "0", "1"},
      {&logger::SettingsFields::SampleInterval, "256", "1"},
      {&logger::SettingsFields::StartDelay, "0", "0"},
      {&logger::SettingsFields::StartDelay, "65535", "65535"},
      {&logger::SettingsFields::StartDelay, "-1", "0"},
      {&logger::SettingsFields::StartDelay, "65536", "0"},
      {&logger::SettingsFields::LowAlarm, "-40", "-40"},
      {&logger::SettingsFields::LowAlarm, "84", "84"},
      {&logger::SettingsFields::LowAlarm, "-40.01", "-40"},
      {&logger::SettingsFields::LowAlarm, "84.01", "-40"},
      {&logger::SettingsFields::HighAlarm, "-40", "-40"},
      {&logger::SettingsFields::HighAlarm, "84", "84"},
      {&logger::SettingsFields::HighAlarm, "-40.01", "84"},
      {&logger::SettingsFields::HighAlarm, "84.01", "84"},
  };
  for (const auto& c : cases) {
    logger::SettingsFields fields;
    fields.NVramEdit = "Cold room";
    fields.*c.field = c.text;
    const bool valid = std::string(c.text) == c.afterOk;
    EXPECT_EQ(logger::ValidateSettings(fields), valid) << c.text;
    EXPECT_EQ(fields.*c.field, c.afterOk) << c.text;
  }
}

TEST(SetNVramLimits, ThirtyTwoCharactersFitAndTheThirtyThirdDoesNot) {
  // Characters, not bytes: 32 two-byte characters fit.
  EXPECT_FALSE(logger::DescriptionProblem(std::string(32, 'x')).has_value());
  std::string accented;
  for (int i = 0; i < 32; ++i) accented += "\u00E9";
  EXPECT_FALSE(logger::DescriptionProblem(accented).has_value());
  EXPECT_TRUE(logger::DescriptionProblem(accented + "x").has_value());
  EXPECT_TRUE(logger::DescriptionProblem(std::string(33, 'x')).has_value());
  EXPECT_FALSE(logger::DescriptionProblem("").has_value());
}

// ---- Setup and Set NV ram over the in-memory recorder

class ScriptedSettings final : public logger::SettingsDialogView {
 public:
  bool Execute(logger::SettingsFields& fields) override {
    seen = fields;
    fields = typed;
    return logger::ValidateSettings(fields);
  }
  logger::SettingsFields seen, typed;
};

class ScriptedNVram final : public logger::NVramDialogView {
 public:
  bool Execute(std::string& text) override {
    seen = text;
    if (answer) text = *answer;
    return true;
  }
  std::string seen;
  std::optional<std::string> answer;
};

struct ConfigurationRig {
  explicit ConfigurationRig(sim::RecorderMemory memory)
      : port(*new testsupport::MemoryRecorderPort(std::move(memory))),
        app(std::unique_ptr<platform::SerialPort>(&port), {apptest::kMemoryDevice, apptest::kMemoryDevice},
            logger::LoggerApp::Services{pump, clock, messages, cursor}),
        reports(app.State(), pane, chart, clock),
        configuration(app, reports, settings, nvram) {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    pump.clock = &clock;
    app.Protocol().SetAnswerTimeoutMs(1000);
    EXPECT_TRUE(app.OpenPort());
  }
  // Write commands (22 addr value) to the given addresses, in order.
  std::vector<std::string> WritesTo(std::initializer_list<int> addresses) const {
    std::vector<std::string> out;
    for (const std::string& c : port.Commands()) {
      if (c.size() != 3 || static_cast<unsigned char>(c[0]) != 0x22) continue;
      for (int a : addresses) {
        if (static_cast<unsigned char>(c[1]) == a) out.push_back(c);
      }
    }
    return out;
  }

  testsupport::FakeClock clock;
  testsupport::CountingPump pump;
  testsupport::RecordingMessages messages;
  testsupport::RecordingCursor cursor;
  testsupport::MemoryRecorderPort& port;
  logger::LoggerApp app;
  logger::LineListPane pane;
  logger::ChartSeriesMemory chart;
  logger::LoggerReports reports;
  ScriptedSettings settings;
  ScriptedNVram nvram;
  logger::LoggerConfiguration configuration;
};

TEST(SetupLimits, TheDialogIsFilledFromTheRecordersExtremes) {
  sim::RecorderMemory memory;
  memory.Raw()[13] = 255;   // sample rate
  memory.Raw()[18] = 0xFF;  // start delay, low byte first
  memory.Raw()[19] = 0xFE;
  memory.Raw()[11] = 0;     // -40.0
  memory.Raw()[12] = 255;   // 87.5: beyond what OK accepts
  ConfigurationRig rig(memory);
  rig.settings.typed.NVramEdit = "x";
  ASSERT_TRUE(rig.configuration.Setup1Click());
  // FF FE, low byte first: 65279 (high byte first would give 65534).
  EXPECT_EQ(rig.settings.seen.SampleInterval, "255");
  EXPECT_EQ(rig.settings.seen.StartDelay, "65279");
  EXPECT_EQ(rig.settings.seen.LowAlarm, "-40.0");
  EXPECT_EQ(rig.settings.seen.HighAlarm, " 87.5");
}

TEST(SetupLimits, ValuesAtTheEndsGoOutAsTheirBytes) {
  const struct {
    const char *interval, *delay, *low, *high;
    std::vector<std::string> writes;  // 0B 0C 0D 12 13 in the order sent
    const char* separates;
  } cases[] = {
      {"255", "65535", "-40", "84",
       {Bytes({0x22, 0x12, 0xFF}), Bytes({0x22, 0x13, 0xFF}), Bytes({0x22, 0x0B, 0x00}), Bytes({0x22, 0x0C, 0xF8}),
        Bytes({0x22, 0x0D, 0xFF})},
       "the upper ends in one byte each"},
      // 256 = 00 01 (low byte first); 83.25 -> 246.5 -> 246 and -39.75 ->
      // 0.5 -> 0 (halves to even; rounding them up gives F7 and 01).
      {"1", "256", "83.25", "-39.75",
       {Bytes({0x22, 0x12, 0x00}), Bytes({0x22, 0x13, 0x01}), Bytes({0x22, 0x0B, 0xF6}), Bytes({0x22, 0x0C, 0x00}),
        Bytes({0x22, 0x0D, 0x01})},
       "byte order and the rounding of thresholds"},
      // 83.75 -> 247.5 -> 248; -39.25 -> 1.5 -> 2 (truncating: F7, 01).
      {"2", "255", "83.75", "-39.25",
       {Bytes({0x22, 0x12, 0xFF}), Bytes({0x22, 0x13, 0x00}), Bytes({0x22, 0x0B, 0xF8}), Bytes({0x22, 0x0C, 0x02}),
        Bytes({0x22, 0x0D, 0x02})},
       "truncated thresholds"},
  };
  for (const auto& c : cases) {
    ConfigurationRig rig{sim::RecorderMemory()};
    rig.settings.typed.SampleInterval = c.interval;
    rig.settings.typed.StartDelay = c.delay;
    rig.settings.typed.LowAlarm = c.low;
    rig.settings.typed.HighAlarm = c.high;
    rig.settings.typed.NVramEdit = "Limits";
    ASSERT_TRUE(rig.configuration.Setup1Click());
    EXPECT_TRUE(rig.messages.messages.empty());
    EXPECT_EQ(rig.WritesTo({0x0B, 0x0C, 0x0D, 0x12, 0x13}), c.writes) << c.separates;
  }
}

TEST(SetNVramLimits, TheRecordersTextLosesOnlyTrailingCodesUpToBlank) {
  sim::RecorderMemory memory;
  // "Room!" then a control code, then blanks: codes up to 32 are trimmed
  // from the end, "!" (33) is kept.
  const std::string text = std::string("Room!\x1F") + std::string(26, ' ');
  for (int i = 0; i < 32; ++i) memory.Raw()[0x40 + i] = static_cast<std::uint8_t>(text[i]);
  ConfigurationRig rig(memory);
  ASSERT_TRUE(rig.configuration.SetNVram1Click());
  EXPECT_EQ(rig.nvram.seen, "Room!");

  // All 32 positions used: nothing trimmed, all 32 written back as they are.
  const std::string full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  for (int i = 0; i < 32; ++i) rig.port.Memory().Raw()[0x40 + i] = static_cast<std::uint8_t>(full[i]);
  ASSERT_TRUE(rig.configuration.SetNVram1Click());
  EXPECT_EQ(rig.nvram.seen, full);
  std::vector<std::string> description;
  for (int k = 0; k < 32; ++k) description.push_back(Bytes({0x22, 0x40 + k, full[static_cast<std::size_t>(k)]}));
  auto writes = rig.WritesTo({0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D,
                              0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B,
                              0x5C, 0x5D, 0x5E, 0x5F});
  ASSERT_GE(writes.size(), 32u);
  EXPECT_EQ(std::vector<std::string>(writes.end() - 32, writes.end()), description);

  // One character more is refused with a message and nothing is sent.
  const std::size_t before = rig.port.Commands().size();
  rig.nvram.answer = full + "6";
  ASSERT_TRUE(rig.configuration.SetNVram1Click());
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_EQ(rig.messages.messages[0].text, "The description holds at most 32 characters.");
  EXPECT_EQ(rig.port.Commands().size(), before + 1);  // only the read of page 2
}

// ---- Years of other centuries

void SetStart(logger::LoggerState& state, int minute, int hour, int day, int month, int year) {
  const int bytes[] = {minute, hour, day, month, year};
  for (int i = 0; i < 5; ++i) state.LoggerData.Set(1 + 21 + i, bytes[i]);
}

TEST(Centuries, TwoDigitYearsTakeTheComputersCentury) {
  const struct {
    int computerYear, yearByte, expectedYear;
    const char* separates;
  } cases[] = {
      {2026, 0x00, 2000, "the plain case"},
      {2099, 0x00, 2000, "a window around today (2100)"},
      {2100, 0x99, 2199, "a window around today (2099)"},
      {2150, 0x49, 2149, "rounding the century (2249)"},
      {1999, 0x05, 1905, "a fixed century 2000 (2005)"},
      {9999, 0x99, 9999, "the last year there is"},
      {100, 0x01, 101, "the first century with a start date"},
  };
  for (const auto& c : cases) {
    logger::LoggerState state;
    SetStart(state, 0x30, 0x14, 0x25, 0x12, c.yearByte);
    logger::DeriveLogTimes(state, c.computerYear);
    EXPECT_DOUBLE_EQ(state.LogStartTime, runtime::EncodeDate(c.expectedYear, 12, 25) + runtime::EncodeTime(14, 30, 0, 0))
        << c.computerYear << ": " << c.separates;
  }
}

TEST(Centuries, LeapDaysFollowTheCenturyRules) {
  // 29 February of year 00: in 2000 (divisible by 400) it exists, in 1900
  // and 2100 it does not; a rule of every fourth year accepts all three.
  const struct {
    int computerYear;
    bool exists;
  } cases[] = {{2026, true}, {1950, false}, {2150, false}, {2450, true}};
  for (const auto& c : cases) {
    logger::LoggerState state;
    SetStart(state, 0x00, 0x12, 0x29, 0x02, 0x00);
    std::string error;
    try {
      logger::DeriveLogTimes(state, c.computerYear);
    } catch (const runtime::ConvertError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.exists ? "" : "Invalid argument to date encode") << c.computerYear;
  }
}

TEST(Centuries, SampleTimesCrossTheEndOfFebruaryByTheCenturysCalendar) {
  // Started 28/02/00 23:30, one sample an hour: the second sample is on 29
  // February in 2000 and on 1 March in 2100.
  for (int year : {2026, 2126}) {
    testsupport::FakeClock clock;
    clock.now.year = year;
    logger::LoggerState state;
    logger::FillDayNames(state);
    SetStart(state, 0x30, 0x23, 0x28, 0x02, 0x00);
    state.LoggerData.Set(1 + 13, 60);
    logger::LineListPane pane;
    logger::ChartSeriesMemory chart;
    logger::LoggerReports reports(state, pane, chart, clock);
    runtime::SetFormatSettings(runtime::FormatSettings{});
    reports.ShowPage0();
    reports.ShowTemperature();
    ASSERT_GE(chart.temperature.size(), 2u);
    EXPECT_EQ(chart.temperature[1].label, year == 2026 ? "29/02/00 00:30  " : "01/03/00 00:30  ") << year;
  }
}

TEST(Centuries, SetToPcTimeSendsTheYearWithinItsCentury) {
  const struct {
    int year, month, day, dayOfWeek;
    int yearByte;
  } cases[] = {{2100, 1, 1, 6, 0x00}, {1999, 12, 31, 6, 0x99}, {2009, 3, 1, 1, 0x09}};
  for (const auto& c : cases) {
    ConfigurationRig rig{sim::RecorderMemory()};
    rig.clock.now = {c.year, c.month, c.day, 23, 59, 7, 999, c.dayOfWeek};
    ASSERT_TRUE(rig.configuration.SettoPCTime1Click());
    const auto writes = rig.WritesTo({0x03, 0x04, 0x05, 0x06});
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[3], Bytes({0x22, 0x06, c.yearByte})) << c.year;
    EXPECT_EQ(writes[1], Bytes({0x22, 0x04, (c.day / 10) * 16 + c.day % 10})) << c.year;
  }
}

}  // namespace
