#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/log_csv.h"

namespace cli {

// The ways data leaves the program besides the reports: a CSV file of the
// log and the unit temperatures are shown in.
struct OutputOptions {
  std::optional<std::string> csv;  // --csv OUT
  logger::CsvOptions csvOptions;   // --utc, --excel, --recorded-only; the unit
  bool fahrenheit = false;         // --fahrenheit
};

// What a command accepts of them.
enum class OutputUse {
  UnitOnly,       // --fahrenheit
  UnitAndCsv,     // --fahrenheit, --csv OUT and its three switches
};

// Takes the output options out of `args` from index `from` on, leaving the
// command's other arguments in order. False with `error` set (naming the
// option at fault) when one is refused: a value missing, a switch of --csv
// without it, an option given twice, or one the command does not take.
bool TakeOutputOptions(std::vector<std::string>& args, std::size_t from, OutputUse use, OutputOptions& options,
                       std::string& error);

}  // namespace cli
