// Start-up, as a user waits for it: the window from the start of
// `quorvel --simulate` until it is mapped and until its first picture is on
// the (virtual) screen, and `quorvel-cli open FILE export --png` from start
// to exit. Prints, over the runs:
//   window_mapped median_ms=M min_ms=N
//   window_painted median_ms=M min_ms=N
//   cli_export_png median_ms=M min_ms=N
//
// The window runs on a virtual display of its own (Xvfb with a black root,
// so the first picture shows as the moment the window stops being black);
// the data file comes from the simulated recorder through quorvel-cli.
//
// Options: --runs N (at least 5, default 15), --bin DIR (default: this
//          program's folder), --only window|cli.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// a + b, without the operator that GCC 12 warns about wrongly.
std::string Join(std::string a, const std::string& b) { return a.append(b); }

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Print(const char* name, std::vector<double> times) {
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  const double median = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  std::printf("%s median_ms=%.1f min_ms=%.1f\n", name, median, times.front());
  std::fflush(stdout);
}

// Starts `argv` with `env` added to this environment, its output to
// `output` (null: discarded). Returns the child's process id, or -1.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, int output = -1) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  for (const std::string& e : env) putenv(strdup(e.c_str()));
  const int null = open("/dev/null", O_RDWR);
  dup2(null, STDIN_FILENO);
  dup2(output >= 0 ? output : null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

int Wait(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string TempDir() {
  char pattern[] = "/tmp/bench-startup-XXXXXX";
  const char* dir = mkdtemp(pattern);
  return dir != nullptr ? dir : "/tmp";
}

// ---- the window

struct Display {
  pid_t server = -1;
  std::string name;
};

// The virtual screen: an odd size, so a connection that reached another
// program's server on the same number (abstract sockets can be shared
// between machines' containers) is told apart from ours.
constexpr int kScreenWidth = 1280, kScreenHeight = 801;

// Xvfb on display `number` with a black root window; false when it did not
// come up or found the number's socket taken.
bool StartXvfb(Display& display, const std::string& work, int number) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const std::string log = Join(work, "/xvfb.log");
  const std::string name = Join(":", std::to_string(number));
  const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    dup2(fds[1], 3);
    const int null = open("/dev/null", O_RDWR);
    const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(null, STDOUT_FILENO);
    dup2(err >= 0 ? err : null, STDERR_FILENO);
    execlp("Xvfb", "Xvfb", name.c_str(), "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           "-br", nullptr);
    _exit(127);
  }
  close(fds[1]);
  display.server = pid;
  char buffer[32] = {};
  ssize_t got = 0;
  for (int tries = 0; tries < 200 && got <= 0; ++tries) {
    got = read(fds[0], buffer, sizeof buffer - 1);
    if (got <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  close(fds[0]);
  std::string messages;
  if (FILE* f = std::fopen(log.c_str(), "r")) {
    char line[512];
    while (std::fgets(line, sizeof line, f) != nullptr) messages += line;
    std::fclose(f);
  }
  if (got <= 0 || messages.find("already running") != std::string::npos) {
    kill(pid, SIGTERM);
    Wait(pid);
    return false;
  }
  display.name = name;
  return true;
}

// The share of a window's pixels that are not black (the root's colour).
double InkedShare(xcb_connection_t* c, xcb_window_t window, int width, int height) {
  // Small patches in a 4 x 4 grid over the window: fetching all of it on
  // every poll would keep the server from serving the program being timed.
  constexpr int kGrid = 4, kPatch = 8;
  if (width < kPatch || height < kPatch) return 0;
  xcb_get_image_cookie_t cookies[kGrid * kGrid];
  for (int i = 0; i < kGrid * kGrid; ++i) {
    const int x = (width - kPatch) * (2 * (i % kGrid) + 1) / (2 * kGrid);
    const int y = (height - kPatch) * (2 * (i / kGrid) + 1) / (2 * kGrid);
    cookies[i] = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, static_cast<int16_t>(x), static_cast<int16_t>(y),
                               kPatch, kPatch, ~0u);
  }
  int inked = 0, total = 0;
  for (xcb_get_image_cookie_t cookie : cookies) {
    xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr);
    if (reply == nullptr) continue;
    const uint8_t* data = xcb_get_image_data(reply);
    const int length = xcb_get_image_data_length(reply);
    // 32 bits a pixel at depth 24.
    for (int i = 0; i + 4 <= length; i += 4) {
      ++total;
      inked += (data[i] | data[i + 1] | data[i + 2]) != 0;
    }
    free(reply);
  }
  return total == 0 ? 0 : static_cast<double>(inked) / total;
}

void BenchWindow(const std::string& bin, int runs) {
  const std::string work = TempDir();
  Display display;
  xcb_connection_t* c = nullptr;
  // Display numbers from a place of this process's own; one in use elsewhere
  // is passed over.
  const int base = 300 + static_cast<int>(getpid() % 500);
  for (int attempt = 0; attempt < 20 && c == nullptr; ++attempt) {
    if (!StartXvfb(display, work, base + attempt)) continue;
    c = xcb_connect(display.name.c_str(), nullptr);
    for (int tries = 0; xcb_connection_has_error(c) && tries < 25; ++tries) {
      xcb_disconnect(c);
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      c = xcb_connect(display.name.c_str(), nullptr);
    }
    const xcb_screen_t* screen =
        xcb_connection_has_error(c) ? nullptr : xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr || screen->width_in_pixels != kScreenWidth || screen->height_in_pixels != kScreenHeight) {
      xcb_disconnect(c);
      c = nullptr;
      kill(display.server, SIGTERM);
      Wait(display.server);
    }
  }
  if (c == nullptr) {
    std::fprintf(stderr, "bench_startup: cannot start Xvfb and connect to it (apt-get install xvfb)\n");
    return;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);

  const std::vector<std::string> env = {Join("DISPLAY=", display.name), "QT_QPA_PLATFORM=xcb",
                                        Join("XDG_RUNTIME_DIR=", work), Join(Join("XDG_CONFIG_HOME=", work), "/config"),
                                        Join(Join("XDG_DATA_HOME=", work), "/data")};
  std::vector<double> mapped, painted;
  for (int run = 0; run < runs; ++run) {
    const Clock::time_point start = Clock::now();
    const pid_t app = Spawn({Join(bin, "/quorvel"), "--simulate"}, env);
    xcb_window_t window = 0;
    double mappedAt = -1, paintedAt = -1;
    // Mapped: the first top-level window shown. Painted: the first moment
    // most of it is no longer the black of the root.
    while (MsSince(start) < 20000 && paintedAt < 0) {
      if (window == 0) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (event == nullptr) {
          std::this_thread::sleep_for(std::chrono::microseconds(200));
          continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
          window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
          mappedAt = MsSince(start);
        }
        free(event);
        continue;
      }
      xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
      if (g == nullptr) break;
      const double share = InkedShare(c, window, g->width, g->height);
      free(g);
      if (share > 0.5) paintedAt = MsSince(start);
    }
    kill(app, SIGTERM);
    Wait(app);
    // Drop what the closed window left in the queue.
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) free(event);
    if (mappedAt < 0 || paintedAt < 0) {
      std::fprintf(stderr, "bench_startup: run %d: the window did not %s\n", run, mappedAt < 0 ? "appear" : "paint");
      continue;
    }
    // The first run loads fonts and libraries from disk: a warm-up.
    if (run == 0) continue;
    mapped.push_back(mappedAt);
    painted.push_back(paintedAt);
  }
  xcb_disconnect(c);
  kill(display.server, SIGTERM);
  Wait(display.server);
  Print("window_mapped", mapped);
  Print("window_painted", painted);
}

// ---- the command line

void BenchCli(const std::string& bin, int runs) {
  const std::string work = TempDir();
  const std::vector<std::string> env = {Join("XDG_RUNTIME_DIR=", work), Join(Join("XDG_CONFIG_HOME=", work), "/config"),
                                        Join(Join("XDG_DATA_HOME=", work), "/data")};
  // A recording downloaded from the simulated recorder, saved as a data file.
  int fds[2];
  if (pipe(fds) != 0) return;
  const pid_t sim = Spawn({Join(bin, "/quorvel-recorder-sim")}, env, fds[1]);
  close(fds[1]);
  char line[256] = {};
  ssize_t got = read(fds[0], line, sizeof line - 1);
  close(fds[0]);
  const std::string port = got > 0 ? std::string(line, strcspn(line, "\n")) : std::string();
  const std::string cli = Join(bin, "/quorvel-cli");
  const std::string name = Join(work, "/recording");
  const int saved = port.empty() ? -1 : Wait(Spawn({cli, "--port", port, "read-all", "--save", name}, env));
  kill(sim, SIGTERM);
  Wait(sim);
  if (saved != 0) {
    std::fprintf(stderr, "bench_startup: could not make a data file from the simulated recorder\n");
    return;
  }
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const Clock::time_point start = Clock::now();
    const int status =
        Wait(Spawn({cli, "open", Join(name, ".dat"), "export", "--chart", "temperature", "--png", Join(work, "/chart.png")},
                   env));
    const double ms = MsSince(start);
    if (status != 0) {
      std::fprintf(stderr, "bench_startup: quorvel-cli export ended with %d\n", status);
      return;
    }
    if (run > 0) times.push_back(ms);
  }
  Print("cli_export_png", times);
}

std::string OwnFolder(const char* argv0) {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string self = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(argv0);
  const std::size_t slash = self.rfind('/');
  return slash == std::string::npos ? "." : self.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  std::string bin = OwnFolder(argv[0]);
  std::string only;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(5, std::atoi(argv[++i]));
    } else if (arg == "--bin" && i + 1 < argc) {
      bin = argv[++i];
    } else if (arg == "--only" && i + 1 < argc && (std::strcmp(argv[i + 1], "window") == 0 ||
                                                    std::strcmp(argv[i + 1], "cli") == 0)) {
      only = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--runs N] [--bin DIR] [--only window|cli]\n", argv[0]);
      return 2;
    }
  }
  signal(SIGPIPE, SIG_IGN);
  if (only.empty() || only == "window") BenchWindow(bin, runs);
  if (only.empty() || only == "cli") BenchCli(bin, runs);
  return 0;
}
