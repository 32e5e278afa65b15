#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

// Exit statuses of quorvel-cli.
enum ExitStatus {
  kExitDone = 0,
  kExitLink = 1,         // no answer in time, link lost, port not opened
  kExitBadArguments = 2, // refused before anything was sent
  kExitDataError = 3,    // decoding or file errors
  kExitInterrupted = 130,
};

struct CliOptions {
  std::string port;            // empty when not given
  int timeoutMs = 10000;
  std::string command;
  std::vector<std::string> args;
  bool help = false;
  bool version = false;
};

// Parses the global options and the command word; the command's own
// arguments stay in `args`. nullopt with `error` set on bad input.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& argv, std::string& error);

// Reads a whole number or a decimal number of seconds (0 < s <= 86400).
std::optional<int> ParseTimeoutSeconds(const std::string& text);

std::string UsageText();

// "quorvel-cli 1.0.0.15".
std::string VersionText();

}  // namespace cli
