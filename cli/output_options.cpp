#include "cli/output_options.h"

#include <algorithm>
#include <set>

namespace cli {

bool TakeOutputOptions(std::vector<std::string>& args, std::size_t from, OutputUse use, OutputOptions& options,
                       std::string& error) {
  std::vector<std::string> rest(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(std::min(from, args.size())));
  std::set<std::string> seen;
  std::string csvSwitch;  // the first of --utc, --excel, --recorded-only
  for (std::size_t i = from; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool csvOption = a == "--csv" || a == "--utc" || a == "--excel" || a == "--recorded-only";
    if (a != "--fahrenheit" && !csvOption) {
      rest.push_back(a);
      continue;
    }
    if (csvOption && use != OutputUse::UnitAndCsv) {
      error = a + " writes a CSV file; this command does not";
      return false;
    }
    if (!seen.insert(a).second) {
      error = a + " is given twice";
      return false;
    }
    if (a == "--fahrenheit") {
      options.fahrenheit = true;
      options.csvOptions.unit = logger::TemperatureUnit::Fahrenheit;
    } else if (a == "--csv") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--csv needs a file name";
        return false;
      }
      options.csv = args[++i];
    } else {
      if (csvSwitch.empty()) csvSwitch = a;
      if (a == "--utc") options.csvOptions.utc = true;
      if (a == "--excel") options.csvOptions.excel = true;
      if (a == "--recorded-only") options.csvOptions.recordedOnly = true;
    }
  }
  if (!csvSwitch.empty() && !options.csv) {
    error = csvSwitch + " goes with --csv OUT";
    return false;
  }
  args = std::move(rest);
  return true;
}

}  // namespace cli
