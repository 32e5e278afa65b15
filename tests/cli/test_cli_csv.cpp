// quorvel-cli's ways out besides the reports: the log as a CSV file (names
// that need quoting, a decimal-comma locale, UTC), the statistics, and
// --fahrenheit, which changes what is shown but never what Save writes.
#include <gtest/gtest.h>

#include <locale.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/cli/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using namespace clitest;

std::string ReadBytes(const fs::path& path) {
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

std::vector<std::string> Split(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t at = text.find(end, pos);
    if (at == std::string::npos) at = text.size();
    lines.push_back(text.substr(pos, at - pos));
    pos = at + end.size();
  }
  return lines;
}

class CliCsv : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / ("quorvel-cli-csv-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (const char* locale = ::getenv("LC_ALL")) savedLocale = locale;
    ::setenv("TZ", "Europe/Berlin", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    // Started 25/12/00 14:30, every 15 minutes, 1000 samples recorded, alarms
    // at 2.0 and 8.0; the log climbs from 0.0 in half degrees, 23 apart.
    int store[3001] = {};
    const int page0[32] = {0x07, 0x59, 0x23, 0x07, 0x31, 0x12, 0x05, 0, 0, 0, 0, 84, 96, 15, 0, 0,
                           0,    88,   0,    0,    0x24, 0x30, 0x14, 0x25, 0x12, 0x00, 0xE8, 0x03, 0, 0, 8, 0};
    for (int i = 0; i < 32; ++i) store[1 + i] = page0[i];
    for (int n = 0; n < 2048; ++n) store[297 + n] = 80 + (n % 23);
    std::ofstream out(dir / "log.dat", std::ios::binary);
    for (int k = 1; k <= 3000; ++k) out << store[k] << "\r\n";
  }
  void TearDown() override {
    fs::remove_all(dir);
    if (savedLocale) ::setenv("LC_ALL", savedLocale->c_str(), 1);
    else ::unsetenv("LC_ALL");
  }
  std::string Data() const { return (dir / "log.dat").string(); }

  fs::path dir;
  std::optional<std::string> savedLocale;
};

TEST_F(CliCsv, TheLogAsCsvUnderANameThatNeedsQuoting) {
  const fs::path csv = dir / "cold, \"north\" room.csv";
  CliRun run = RunCli({"open", Data(), "export", "--csv", csv.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  const std::string text = ReadBytes(csv);
  ASSERT_EQ(text.find('\r'), std::string::npos);
  std::vector<std::string> rows = Split(text, "\n");
  std::vector<std::string> listing = Split(RunCli({"open", Data(), "show", "temperature"}).out, "\n");
  ASSERT_EQ(listing.size(), 2u + 2048u);
  ASSERT_EQ(rows.size(), listing.size() - 1);
  EXPECT_EQ(rows[0], "index,time,temperature_C");
  EXPECT_EQ(listing[2], "25/12/00 14:30 \t   0.0");
  EXPECT_EQ(rows[1], "0,2000-12-25T14:30:00+01:00,0.0");
  // Sample 2047 (code 80 + 2047 % 23 = 80) 2047 x 15 minutes later.
  EXPECT_EQ(listing[2049], "15/01/01 22:15 \t   0.0");
  EXPECT_EQ(rows[2048], "2047,2001-01-15T22:15:00+01:00,0.0");

  // Only what the recorder wrote, in UTC, in Fahrenheit.
  run = RunCli({"open", Data(), "export", "--csv", csv.string(), "--recorded-only", "--utc", "--fahrenheit"});
  ASSERT_EQ(run.status, 0) << run.err;
  rows = Split(ReadBytes(csv), "\n");
  ASSERT_EQ(rows.size(), 1001u);
  EXPECT_EQ(rows[0], "index,time,temperature_F");
  EXPECT_EQ(rows[1], "0,2000-12-25T13:30:00Z,32.0");
  EXPECT_EQ(rows[1000], "999,2001-01-04T23:15:00Z,41.0");  // 5.0 degrees Celsius
}

TEST_F(CliCsv, ExcelUnderADecimalCommaLocale) {
  locale_t german = ::newlocale(LC_ALL_MASK, "de_DE.UTF-8", locale_t{});
  if (german == locale_t{}) GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed (scripts/install-deps makes it)";
  ::freelocale(german);
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  const fs::path csv = dir / "excel.csv";
  CliRun run = RunCli({"open", Data(), "export", "--csv", csv.string(), "--excel"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadBytes(csv);
  ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  std::vector<std::string> rows = Split(text.substr(3), "\r\n");
  ASSERT_EQ(rows.size(), 2049u);
  EXPECT_EQ(rows[0], "index;time;temperature_C");
  EXPECT_EQ(rows[2], "1;2000-12-25T14:45:00+01:00;0,5");
  // The same locale without --excel writes the portable form.
  ASSERT_EQ(RunCli({"open", Data(), "export", "--csv", csv.string()}).status, 0);
  EXPECT_EQ(Split(ReadBytes(csv), "\n")[2], "1,2000-12-25T14:45:00+01:00,0.5");
}

TEST_F(CliCsv, StatisticsOfTheRecordedSamples) {
  CliRun run = RunCli({"open", Data(), "show", "stats"});
  ASSERT_EQ(run.status, 0) << run.err;
  // 1000 samples of 0.0 .. 11.0: 23 codes 43 times and the first 11 once
  // more. Above 8.0: 6 of each 23, 258 samples of 15 minutes; below 2.0: 4
  // of each 23 and 4 more, 176; the mean 0.5 x 10934 / 1000 = 5.467.
  EXPECT_EQ(run.out,
            "Statistics\n"
            "Recorded samples 1000\n"
            "Minimum 0.0 \u00B0C\n"
            "Maximum 11.0 \u00B0C\n"
            "Mean 5.5 \u00B0C\n"
            "Above high alarm 8.0 \u00B0C: 2 16:30\n"
            "Below low alarm 2.0 \u00B0C: 1 20:00\n");
  run = RunCli({"open", Data(), "show", "stats", "--fahrenheit"});
  EXPECT_NE(run.out.find("Maximum 51.8 \u00B0F\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Mean 41.8 \u00B0F\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Above high alarm 46.4 \u00B0F: 2 16:30\n"), std::string::npos) << run.out;
}

TEST_F(CliCsv, RefusedBeforeAnythingIsWritten) {
  const std::string csv = (dir / "x.csv").string();
  const std::vector<std::vector<std::string>> refused = {
      {"open", Data(), "export", "--utc"},
      {"open", Data(), "export", "--csv"},
      {"open", Data(), "export", "--csv", csv, "--excel", "--excel"},
      {"open", Data(), "show", "temperature", "--csv", csv},
      {"open", Data(), "save", (dir / "a.log").string(), "--fahrenheit"},
      {"read-all", "--recorded-only"},
      {"setup", "--fahrenheit"},
  };
  for (const auto& args : refused) {
    CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2) << args.back() << ": " << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_FALSE(fs::exists(csv));
  EXPECT_FALSE(fs::exists(dir / "a.log"));
  // A folder is no file: named, and nothing else touched.
  CliRun run = RunCli({"open", Data(), "export", "--csv", dir.string()});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find(dir.string()), std::string::npos) << run.err;
}

TEST_F(CliCsv, ReadAllInFahrenheitSavesTheSameBytesAsInCelsius) {
  // The same recording with its clock stopped: two downloads a second
  // apart on a slow machine must still compare byte for byte.
  sim::RecorderMemory stopped;
  stopped.Raw() = sim::RecorderMemory::Plausible(1796000000).Raw();
  sim::PtyRecorder recorder(stopped, sim::Faults{});
  std::string error;
  ASSERT_TRUE(recorder.Start(&error)) << error;
  const std::string port = Port(recorder);
  CliRun celsius = RunCli({"--port", port, "read-all", "--save", (dir / "c.log").string()});
  ASSERT_EQ(celsius.status, 0) << celsius.err;
  CliRun fahrenheit = RunCli({"--port", port, "read-all", "--fahrenheit", "--save", (dir / "f.log").string(),
                              "--csv", (dir / "f.csv").string()});
  ASSERT_EQ(fahrenheit.status, 0) << fahrenheit.err;
  EXPECT_NE(celsius.out.find("Date and Time\t  \u00B0C\n"), std::string::npos);
  EXPECT_NE(fahrenheit.out.find("Date and Time\t  \u00B0F\n"), std::string::npos);
  EXPECT_NE(celsius.out, fahrenheit.out);
  EXPECT_EQ(ReadBytes(dir / "f.log"), ReadBytes(dir / "c.log"));
  EXPECT_EQ(ReadBytes(dir / "f.dat"), ReadBytes(dir / "c.dat"));
  EXPECT_EQ(Split(ReadBytes(dir / "f.csv"), "\n").size(), 2049u);
  EXPECT_EQ(ReadBytes(dir / "f.csv").rfind("index,time,temperature_F\n", 0), 0u);
}

}  // namespace
