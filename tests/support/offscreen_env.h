#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Test binaries run without a display; Qt aborts without a platform, and
// warns without a private runtime directory.
inline void UseOffscreenPlatformUnlessSet() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    std::string dir = "/tmp/runtime-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
  }
}

// Every test run gets its own empty configuration and data folders, so no
// run reads or writes the user's remembered settings or another run's.
inline void UseTemporaryUserFolders() {
  static std::string root;
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-home-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return;
  root = pattern;
  std::filesystem::create_directories(root + "/config");
  std::filesystem::create_directories(root + "/data");
  ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  });
}
