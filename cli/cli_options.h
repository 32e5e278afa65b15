#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/answer_timeout.h"

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
  int timeoutMs = logger::kDefaultAnswerTimeoutMs;
  std::string command;
  std::vector<std::string> args;
  bool help = false;
  bool version = false;
};

// Parses the global options (--port, --timeout, --help, --version), which
// may stand before or after the command word, and the command word; the
// command's own arguments stay in `args`, in order. "--" ends the global
// options: everything after it belongs to the command. nullopt with `error`
// set (naming the option at fault) on bad input.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& argv, std::string& error);

std::string UsageText();

// "quorvel-cli 1.0.0.15".
std::string VersionText();

}  // namespace cli
