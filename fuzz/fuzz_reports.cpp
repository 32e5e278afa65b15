// The six report renderers over any store, as a download (one byte per
// entry) or a loaded data file (any 32-bit number per entry) leaves it, on a
// computer whose clock shows any year. Each report either draws its lines or
// ends with a conversion message; none changes the store, and every line is
// one line of UTF-8.
//
// Input: byte 0 bit 0 chooses 32-bit entries (little-endian) over bytes,
// bit 1 draws the temperature report too (2048 lines: most of a run's time,
// so only inputs that ask for it pay for it); bytes 1-2 the computer's year
// (big-endian, taken modulo 9999, plus 1); then the entries from index 1 on.
// Entries past the input stay 0.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/logger_rig.h"
#include "runtime/convert_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzzsupport::Finding;
  if (size < 3) return 0;
  fuzzsupport::LoggerRig rig;
  const bool wide = (data[0] & 1) != 0;
  const bool temperature = (data[0] & 2) != 0;
  rig.clock.now.year = (data[1] * 256 + data[2]) % 9999 + 1;
  logger::LoggerStore& store = rig.app.State().LoggerData;
  std::size_t pos = 3;
  for (int k = logger::LoggerStore::kFirst; k <= logger::LoggerStore::kLast; ++k) {
    if (wide) {
      if (pos + 4 > size) break;
      auto value = static_cast<std::uint32_t>(data[pos] | data[pos + 1] << 8 | data[pos + 2] << 16 |
                                              static_cast<std::uint32_t>(data[pos + 3]) << 24);
      store.Set(k, static_cast<std::int32_t>(value));
      pos += 4;
    } else {
      if (pos >= size) break;
      store.Set(k, data[pos++]);
    }
  }
  const logger::LoggerStore before = store;

  struct Report {
    const char* name;
    void (logger::LoggerReports::*show)();
  };
  const Report reports[] = {
      {"page 0", &logger::LoggerReports::ShowPage0},         {"page 2", &logger::LoggerReports::ShowPage2},
      {"serial number", &logger::LoggerReports::ShowSerialNumber}, {"alarms", &logger::LoggerReports::ShowAlarms},
      {"histogram", &logger::LoggerReports::ShowHistogram},   {"temperature", &logger::LoggerReports::ShowTemperature},
  };
  for (const Report& report : reports) {
    if (report.show == &logger::LoggerReports::ShowTemperature && !temperature) continue;
    try {
      (rig.reports.*report.show)();
    } catch (const runtime::ConvertError& e) {
      if (std::string(e.what()).empty()) Finding(std::string(report.name) + ": an error without a message");
    }
    fuzzsupport::CheckPaneLines(rig.pane, report.name);
    if (!(store == before)) Finding(std::string(report.name) + " changed the store");
  }
  return 0;
}
