#pragma once

#include <cstdint>
#include <string>

#include "app/logger_protocol.h"

namespace logger {

// How far a device command got and how it ended. LoggerApp keeps one for the
// command that runs and one for the last that ended (LastCommand()), so the
// status line, the messages and later features (a download archive that
// must know whether a download is whole) read the same facts.
struct CommandProgress {
  std::string command;     // "Read All", "Read Just Page 0", "Setup", "Set to PC Time", "Set NV ram", "Open"
  int blocksPlanned = 0;   // read commands it sends when it runs to its end; 0 when not known ahead
  int blocksSent = 0;      // read commands sent so far
  std::string region;      // the region of the last read ("the histogram"); empty before the first
  std::string writing;     // what it writes now ("the setup"); empty while reading
  CommandStop stop = CommandStop::None;
  bool failed = false;     // ended with an error message
  bool completed = false;  // ran to its end: no stop and no error

  // The download command, whose incomplete end the status line reports as
  // an incomplete download.
  bool IsDownload() const { return command == "Read All"; }
  // "Reading block 12 of 74", "Reading page 2", "Writing the setup".
  std::string Activity() const;
  // Where it is or stopped: "at block 9 of 74 (the histogram)", "while
  // reading page 2", "while writing the clock", "before the first read".
  std::string Step() const;
  // Why it ended early, in a few words ("no answer", "cancelled", "answers
  // out of frame"); empty for one that completed or ended with Exit.
  std::string StopReason() const;
  // The status line's notice for a command that ended early ("Download
  // incomplete: no answer at block 9 of 74 (the histogram)"); empty for one
  // that completed, was refused, or ended with Exit.
  std::string IncompleteNotice() const;
};

// The memory region of a read block: "page 0", "page 2", "the serial
// number", "the alarm records", "the histogram" or "the temperature log".
std::string RegionName(std::uint16_t address);

}  // namespace logger
