// quorvel-recorder-sim: the simulated recorder on a pseudo-terminal, for
// trying the tool without hardware. Prints the device path on its first line
// and serves until interrupted.
#include <signal.h>
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "sim/pty_recorder.h"

namespace {

constexpr const char* kProgram = "quorvel-recorder-sim";
constexpr int kBadArguments = 2;

constexpr const char* kUsage =
    "Usage: quorvel-recorder-sim [OPTION]...\n"
    "Serve a simulated temperature recorder on a pseudo-terminal. The first line\n"
    "of output is the device to open; the program serves until SIGINT or SIGTERM.\n"
    "\n"
    "  --fragment N      send each answer in pieces of N bytes\n"
    "  --extra N         send N bytes 0xEE after each 34-byte answer\n"
    "  --extra-only LIST only the answers in LIST get the --extra bytes (numbers from 1,\n"
    "                    separated by commas: 3,9)\n"
    "  --stray-after N   send one more byte 0xEE right after the Nth answer\n"
    "  --stale N         put N bytes 0xEE on the line before the first command\n"
    "  --silent-after N  answer only the first N read commands\n"
    "  --hangup-after N  hang up the line after the Nth answer\n"
    "  --baud B          pace answers at B baud, 10 bits a byte (default: memory speed)\n"
    "  --image FILE      start from a raw memory image (at most 65536 bytes)\n"
    "  --dump FILE       save the memory image after every write and on exit\n"
    "  --blank           start from all-zero memory instead of a recording\n"
    "  --help            show this help\n"
    "  --version         show the program's version\n";

struct Options {
  sim::Faults faults;
  std::string image;
  std::string dump;
  bool blank = false;
  bool help = false;
  bool version = false;
};

struct NumberOption {
  const char* name;
  int sim::Faults::*field;
  long min;
  long max;
};

constexpr NumberOption kNumberOptions[] = {
    {"--fragment", &sim::Faults::fragment, 0, 65536},
    {"--extra", &sim::Faults::extra, 0, 65536},
    {"--stale", &sim::Faults::stale, 0, 65536},
    {"--silent-after", &sim::Faults::silentAfter, 0, 1000000000},
    {"--hangup-after", &sim::Faults::hangupAfter, 0, 1000000000},
    {"--stray-after", &sim::Faults::strayAfter, 1, 1000000000},
    {"--baud", &sim::Faults::baud, 0, 4000000},
};

bool ParseNumber(const std::string& text, long min, long max, int& value) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
  errno = 0;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
  value = static_cast<int>(parsed);
  return true;
}

// "3,9,12": numbers from 1, separated by commas.
bool ParseNumberList(const std::string& text, std::vector<int>& numbers) {
  numbers.clear();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    int number = 0;
    if (!ParseNumber(text.substr(start, comma - start), 1, 1000000000, number)) return false;
    numbers.push_back(number);
    start = comma + 1;
  }
  return !numbers.empty();
}

// Fills `options`; on a bad argument returns false with the message.
bool ParseArguments(int argc, char** argv, Options& options, std::string& message) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string name = arg;
    std::string value;
    bool hasInlineValue = false;
    if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      hasInlineValue = true;
    }
    auto takeValue = [&]() {
      if (hasInlineValue) return true;
      if (i + 1 >= argc) {
        message = name + " needs a value";
        return false;
      }
      value = argv[++i];
      return true;
    };

    if (name == "--help" || name == "--version" || name == "--blank") {
      if (hasInlineValue) {
        message = name + " takes no value";
        return false;
      }
      (name == "--help" ? options.help : name == "--version" ? options.version : options.blank) = true;
      continue;
    }
    if (name == "--extra-only") {
      if (!takeValue()) return false;
      if (!ParseNumberList(value, options.faults.extraOnly)) {
        message = "--extra-only: '" + value + "' is not a list of answer numbers from 1, such as 3,9";
        return false;
      }
      continue;
    }
    if (name == "--image" || name == "--dump") {
      if (!takeValue()) return false;
      if (value.empty()) {
        message = name + " needs a file name";
        return false;
      }
      (name == "--image" ? options.image : options.dump) = value;
      continue;
    }
    bool known = false;
    for (const NumberOption& option : kNumberOptions) {
      if (name != option.name) continue;
      known = true;
      if (!takeValue()) return false;
      if (!ParseNumber(value, option.min, option.max, options.faults.*option.field)) {
        message = name + ": '" + value + "' is not a whole number from " +
                  std::to_string(option.min) + " to " + std::to_string(option.max);
        return false;
      }
    }
    if (known) continue;
    message = arg.rfind("-", 0) == 0 ? "unknown option '" + arg + "'"
                                     : "unexpected argument '" + arg + "'";
    return false;
  }
  if (options.blank && !options.image.empty()) {
    message = "--blank and --image cannot be used together";
    return false;
  }
  return true;
}

int BadArguments(const std::string& message) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, message.c_str(), kProgram);
  return kBadArguments;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string message;
  if (!ParseArguments(argc, argv, options, message)) return BadArguments(message);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s %s\n", kProgram, QUORVEL_VERSION);
    return 0;
  }

  sim::RecorderMemory memory;
  if (!options.image.empty()) {
    if (!memory.LoadImage(options.image, &message)) return BadArguments(message);
  } else if (!options.blank) {
    memory = sim::RecorderMemory::Plausible(std::time(nullptr));
  }
  // An unwritable dump file is refused now rather than at the first write.
  if (!options.dump.empty() && !memory.SaveImage(options.dump, &message)) {
    return BadArguments(message);
  }

  // The signals are taken by sigwait below; blocked before the serving
  // thread starts so that it inherits the mask and never runs a handler.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  sim::PtyRecorder recorder(std::move(memory), options.faults);
  if (!options.dump.empty()) {
    recorder.OnWrite = [dump = options.dump](const sim::RecorderMemory& written) {
      std::string error;
      if (!written.SaveImage(dump, &error)) std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
    };
  }
  if (!recorder.Start(&message)) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return 1;
  }
  std::printf("%s\n", recorder.DevicePath().c_str());
  std::fflush(stdout);

  bool toldHangUp = false;
  timespec pollInterval{0, 200 * 1000000L};
  for (;;) {
    int signalNumber = sigtimedwait(&stopSignals, nullptr, &pollInterval);
    if (signalNumber > 0) break;
    if (!toldHangUp && recorder.HungUp()) {
      std::fprintf(stderr, "%s: hung up the line as asked; waiting for a signal to end\n",
                   kProgram);
      toldHangUp = true;
    }
  }
  recorder.Stop();

  if (!options.dump.empty() && !recorder.Memory().SaveImage(options.dump, &message)) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return 1;
  }
  return 0;
}
