#include "app/command_progress.h"

#include "app/logger_commands.h"

namespace logger {

namespace cmd = commands;

std::string RegionName(std::uint16_t address) {
  if (address >= cmd::kTemperatureLogAddress) return "the temperature log";
  if (address >= cmd::kHistogramAddress) return "the histogram";
  if (address >= cmd::kAlarmRecordsAddress) return "the alarm records";
  if (address >= cmd::kSerialNumberAddress) return "the serial number";
  if (address >= cmd::kPage2Address) return "page 2";
  return "page 0";
}

std::string CommandProgress::Activity() const {
  if (!writing.empty()) return "Writing " + writing;
  if (blocksSent == 0) return command;
  if (blocksPlanned > 0) return "Reading block " + std::to_string(blocksSent) + " of " + std::to_string(blocksPlanned);
  return "Reading " + region;
}

std::string CommandProgress::Step() const {
  if (!writing.empty()) return "while writing " + writing;
  if (blocksSent == 0) return "before the first read";
  if (blocksPlanned > 0) {
    return "at block " + std::to_string(blocksSent) + " of " + std::to_string(blocksPlanned) + " (" + region + ")";
  }
  return "while reading " + region;
}

std::string CommandProgress::StopReason() const {
  const char* reason = nullptr;
  switch (stop) {
    case CommandStop::TimedOut: reason = "no answer"; break;
    case CommandStop::Cancelled: reason = "cancelled"; break;
    case CommandStop::DeviceLost: reason = "connection lost"; break;
    case CommandStop::NotOpen: reason = "the port is not open"; break;
    case CommandStop::OutOfFrame: reason = "answers out of frame"; break;
    case CommandStop::None: reason = failed ? "stopped by an error" : nullptr; break;
    case CommandStop::Aborted: break;  // the program is closing
  }
  if (reason == nullptr || completed) return {};
  return reason;
}

std::string CommandProgress::IncompleteNotice() const {
  std::string reason = StopReason();
  if (reason.empty() || command.empty()) return {};
  std::string notice = IsDownload() ? std::string("Download") : command;
  notice += " incomplete: ";
  notice += reason;
  if (stop != CommandStop::NotOpen) {
    notice += ' ';
    notice += Step();
  }
  return notice;
}

}  // namespace logger
