// The six report renderers: exact lines, the chart side of the histogram and
// the log, and robustness against any integer in any store entry.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "app/logger_decoding.h"
#include "app/logger_reports.h"
#include "runtime/convert_error.h"
#include "runtime/date_time.h"
#include "runtime/format_settings.h"
#include "tests/support/support_fakes.h"

namespace {

using Lines = std::vector<std::string>;

class ReportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime::SetFormatSettings(runtime::FormatSettings{});  // '.', '/', ':'
    clock.now.year = 2026;
    logger::FillDayNames(state);
  }
  void TearDown() override { runtime::SetFormatSettings(runtime::FormatSettings{}); }
  void Page0(int offset, int value) { state.LoggerData.Set(1 + offset, value); }
  const Lines& Pane() const { return pane.Lines(); }

  logger::LoggerState state;
  logger::LineListPane pane;
  logger::ChartSeriesMemory chart;
  testsupport::FakeClock clock;
  logger::LoggerReports reports{state, pane, chart, clock};
};

TEST_F(ReportsTest, Page0OfAnAllZeroStore) {
  state.LogStartTime = 42.25;
  reports.ShowPage0();
  const Lines expected = {
      "Page Zero - Setup RAM",
      "Date 00/00/00",
      "Day  00 none",
      "Time 00:00:00",
      "Alarm day 00 00:00:00",
      "Low temp alarm  -40.0",
      "High temp alarm -40.0",
      "Sample rate (mins) 0",
      "Control 00000000",
      "Current temp -40.0",
      "Start Delay (mins) 0",
      "TR MCLR MIP SIP LOBAT TLF THF ALMF",
      "Status 00000000",
      "Start time 00/00/00 00:00",
      "Current sample count 0",
      "Total sample count 0",
  };
  EXPECT_EQ(Pane(), expected);
  EXPECT_DOUBLE_EQ(state.LogStartTime, 42.25);  // no start day: unchanged
}

TEST_F(ReportsTest, Page0Fields) {
  const int bytes[32] = {0x07, 0x59, 0x23, 0x07, 0x31, 0x12, 0x05, 0x01, 0x02, 0x03, 0x04, 100, 123, 15, 0x50, 0,
                         0,    133,  0x2C, 0x01, 0x24, 0x30, 0x14, 0x25, 0x12, 0x00, 1,    2,   3,   0,  1,    0};
  for (int i = 0; i < 32; ++i) Page0(i, bytes[i]);
  reports.ShowPage0();
  ASSERT_EQ(Pane().size(), 16u);
  EXPECT_EQ(Pane()[1], "Date 31/12/05");
  EXPECT_EQ(Pane()[2], "Day  07 Saturday");
  EXPECT_EQ(Pane()[3], "Time 23:59:07");
  EXPECT_EQ(Pane()[4], "Alarm day 04 03:02:01");
  EXPECT_EQ(Pane()[5], "Low temp alarm   10.0");
  EXPECT_EQ(Pane()[6], "High temp alarm  21.5");
  EXPECT_EQ(Pane()[7], "Sample rate (mins) 15");
  EXPECT_EQ(Pane()[8], "Control 01010000");
  EXPECT_EQ(Pane()[9], "Current temp  26.5");
  EXPECT_EQ(Pane()[10], "Start Delay (mins) 300");
  // Status 24: ones at the third and sixth digit (MIP and TLF).
  EXPECT_EQ(Pane()[12], "Status 00100100");
  EXPECT_EQ(Pane()[13], "Start time 25/12/00 14:30");
  EXPECT_EQ(Pane()[14], "Current sample count " + std::to_string(3 * 65536 + 2 * 256 + 1));
  EXPECT_EQ(Pane()[15], "Total sample count 256");
  EXPECT_DOUBLE_EQ(state.LogStartTime, runtime::EncodeDate(2000, 12, 25) + runtime::EncodeTime(14, 30, 0, 0));
}

TEST_F(ReportsTest, Page0DecodingErrorComesAfterTheSixteenLines) {
  Page0(23, 0x01);
  Page0(24, 0x13);
  try {
    reports.ShowPage0();
    FAIL() << "month 13 must fail";
  } catch (const runtime::ConvertError& e) {
    EXPECT_STREQ(e.what(), "Invalid argument to date encode");
  }
  EXPECT_EQ(Pane().size(), 16u);
}

TEST_F(ReportsTest, Page0DayByteBeyondTheNamesNeverReadsPastThem) {
  for (int day : {8, 0x10, 255, -1, INT_MAX, INT_MIN}) {
    Page0(3, day);
    reports.ShowPage0();
    EXPECT_EQ(Pane()[2].rfind("Day  ", 0), 0u);
    EXPECT_NE(Pane()[2].find("invalid"), std::string::npos) << Pane()[2];
  }
}

TEST_F(ReportsTest, Page2ShowsIndexHexAndCharacters) {
  state.LoggerData.Set(33, 0x48);
  state.LoggerData.Set(34, 0x69);
  for (int n = 35; n <= 64; ++n) state.LoggerData.Set(n, ' ');
  state.LoggerData.Set(63, 0x0A);  // a line feed must not split the line
  state.LoggerData.Set(64, 0xE9);  // é in Windows-1252
  reports.ShowPage2();
  ASSERT_EQ(Pane().size(), 17u);
  EXPECT_EQ(Pane()[0], "Page Two - User RAM");
  EXPECT_EQ(Pane()[1], "33 48 69 H i");
  EXPECT_EQ(Pane()[2], "35 20 20    ");
  EXPECT_EQ(Pane()[16], "63 0A E9 . \u00E9");
}

TEST_F(ReportsTest, Page2ControlAndUndefinedCodesShowAsDots) {
  const int codes[] = {0, 9, 13, 31, 127, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x80, 0xA0, 256 + 'A', -1};
  const char* shown[] = {".", ".", ".", ".", ".", ".", ".", ".", ".", ".", "\u20AC", "\u00A0", "A", "\u00FF"};
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    EXPECT_EQ(logger::LoggerReports::DescriptionCharacter(codes[i]), shown[i]) << codes[i];
  }
}

TEST_F(ReportsTest, SerialNumberAndAlarms) {
  for (int n = 65; n <= 72; ++n) state.LoggerData.Set(n, n * 3);
  reports.ShowSerialNumber();
  ASSERT_EQ(Pane().size(), 9u);
  EXPECT_EQ(Pane()[0], "Serial number");
  EXPECT_EQ(Pane()[1], "65\t195");
  EXPECT_EQ(Pane()[8], "72\t216");

  Page0(13, 15);
  state.LoggerData.Set(73, 0x10);
  state.LoggerData.Set(76, 0x05);
  state.LoggerData.Set(73 + 4 * 12, 2);  // first high alarm record
  state.LoggerData.Set(76 + 4 * 12, 1);
  reports.ShowAlarms();
  ASSERT_EQ(Pane().size(), 3u + 24u + 1u);
  EXPECT_EQ(Pane()[0], "\tCount\tDuration");
  EXPECT_EQ(Pane()[1], "Start Date/Time\t(mins)");
  EXPECT_EQ(Pane()[2], "Low Alarms");
  EXPECT_EQ(Pane()[3], "240\t75");
  EXPECT_EQ(Pane()[14], "0\t0");
  EXPECT_EQ(Pane()[15], "High Alarms");
  EXPECT_EQ(Pane()[16], "30\t15");
}

TEST_F(ReportsTest, HistogramLinesLabelsAndBars) {
  state.LoggerData.Set(169, 3);
  state.LoggerData.Set(295, 34);
  state.LoggerData.Set(296, 12);
  reports.ShowHistogram();
  ASSERT_EQ(Pane().size(), 66u);
  EXPECT_EQ(Pane()[0], "Histogram");
  EXPECT_EQ(Pane()[1], "Temp\tCount");
  EXPECT_EQ(Pane()[2], "\" -40 to -38.5\"\t3");
  EXPECT_EQ(Pane()[3], "\" -38 to -36.5\"\t0");
  EXPECT_EQ(Pane()[22], "\"   0 to 1.5\"\t0");
  EXPECT_EQ(Pane()[65], "\"  86 to 87.5\"\t3106");
  EXPECT_EQ(chart.active, logger::ChartSeriesMemory::Active::Histogram);
  EXPECT_EQ(chart.title, "Temperature Counts");
  ASSERT_EQ(chart.histogram.size(), 64u);
  EXPECT_EQ(chart.histogram[0].label, " -40 to -38.5");
  EXPECT_DOUBLE_EQ(chart.histogram[0].y, 3);
  EXPECT_EQ(chart.histogram[63].label, "  86 to 87.5");
  EXPECT_DOUBLE_EQ(chart.histogram[63].y, 3106);
  EXPECT_EQ(chart.zoomResets, 1);
}

TEST_F(ReportsTest, TemperatureListingAndLine) {
  state.LogStartTime = runtime::EncodeDate(2000, 12, 25) + runtime::EncodeTime(14, 30, 0, 0);
  state.SampleStep = runtime::EncodeTime(0, 15, 0, 0);
  state.LoggerData.Set(297, 130);
  state.LoggerData.Set(298, 55);
  reports.ShowTemperature();
  ASSERT_EQ(Pane().size(), 2u + 2048u);
  EXPECT_EQ(Pane()[0], "Temperature");
  EXPECT_EQ(Pane()[1], "Date and Time\t  \u00B0C");
  EXPECT_EQ(Pane()[2], "25/12/00 14:30 \t  25.0");
  EXPECT_EQ(Pane()[3], "25/12/00 14:45 \t -12.5");
  // 96 steps of 15 minutes land on the next day's same minute.
  EXPECT_EQ(Pane()[2 + 96].substr(0, 14), "26/12/00 14:30");
  EXPECT_EQ(Pane()[2 + 2047], "15/01/01 22:15 \t -40.0");
  ASSERT_EQ(chart.temperature.size(), 2048u);
  EXPECT_EQ(chart.title, "Temperature and Time");
  EXPECT_EQ(chart.temperature[0].label, "25/12/00 14:30  ");
  EXPECT_DOUBLE_EQ(chart.temperature[1].y, -12.5);
  EXPECT_TRUE(pane.Enabled());
}

TEST_F(ReportsTest, AllZeroStoreLogIs2048PointsAtMinus40WithOneTime) {
  reports.ShowTemperature();
  ASSERT_EQ(chart.temperature.size(), 2048u);
  for (const auto& p : chart.temperature) {
    EXPECT_DOUBLE_EQ(p.y, -40.0);
    EXPECT_EQ(p.label, "30/12/99 00:00  ");
  }
}

TEST_F(ReportsTest, DecimalCommaLocale) {
  runtime::FormatSettings german;
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  german.DateSeparator = '.';
  runtime::SetFormatSettings(german);
  Page0(11, 101);
  reports.ShowPage0();
  EXPECT_EQ(Pane()[5], "Low temp alarm   10,5");
  reports.ShowHistogram();
  EXPECT_EQ(Pane()[2], "\" -40 to -38,5\"\t0");
  reports.ShowTemperature();
  EXPECT_EQ(Pane()[2], "30.12.99 00:00 \t -40,0");
}

// Any 32-bit value in any entry: every renderer gives its lines or a clear
// conversion error, never a crash, and no line is split by a control code.
TEST_F(ReportsTest, AnyIntegerInAnyEntry) {
  std::mt19937 random(12345);
  const int extremes[] = {0, 1, -1, 255, 256, 0x7FFF, INT_MAX, INT_MIN, 0x1A, 13, 10};
  for (int round = 0; round < 60; ++round) {
    for (int i = 1; i <= 3000; ++i) {
      int v = round % 3 == 0 ? extremes[random() % std::size(extremes)]
                             : static_cast<int>(random() % 2 == 0 ? random() : random() % 256);
      state.LoggerData.Set(i, v);
    }
    if (round % 2 == 0) {  // a valid start so the log's times are computed too
      Page0(13, static_cast<int>(random() % 1440));
      Page0(21, 0x30), Page0(22, 0x14), Page0(23, 0x25), Page0(24, 0x12), Page0(25, 0x99);
    }
    for (auto show : {&logger::LoggerReports::ShowPage0, &logger::LoggerReports::ShowPage2,
                      &logger::LoggerReports::ShowSerialNumber, &logger::LoggerReports::ShowAlarms,
                      &logger::LoggerReports::ShowHistogram, &logger::LoggerReports::ShowTemperature}) {
      try {
        (reports.*show)();
      } catch (const runtime::ConvertError&) {
        // a clear message for the user; the lines so far stay
      }
      for (const std::string& line : Pane()) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
      }
    }
    EXPECT_TRUE(pane.Enabled());
  }
}

}  // namespace
