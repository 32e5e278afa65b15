#pragma once

#include <map>
#include <optional>
#include <string>

#include "app/port_choice.h"
#include "app/temperature_unit.h"

namespace logger {

// Where remembered settings are kept: the window keeps them in a file in the
// user's configuration folder ($XDG_CONFIG_HOME/quorvel/quorvel.conf); tests
// and programs that remember nothing keep them in memory.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Read(const std::string& key) const = 0;
  // False, with `error` naming the file and the reason, when the value could
  // not be kept for the next start.
  virtual bool Write(const std::string& key, const std::string& value, std::string& error) = 0;
};

class MemorySettingsStore final : public SettingsStore {
 public:
  std::optional<std::string> Read(const std::string& key) const override;
  bool Write(const std::string& key, const std::string& value, std::string& error) override;

  // A write fails with this text when it is not empty (a read-only folder).
  std::string failWith;
  std::map<std::string, std::string> values;
};

// The settings the program remembers between runs. Each setting is one
// typed pair of accessors over one key here, so that every remembered value
// and its key live in one place; later settings (download archive on or off,
// units, chart templates) join the same way.
class AppSettings {
 public:
  explicit AppSettings(SettingsStore& store) : store_(store) {}

  // The device last chosen for a Port item (Port, Choose Device...).
  std::optional<std::string> RememberedDevice(PortChoice choice) const;
  bool RememberDevice(PortChoice choice, const std::string& path, std::string& error);

  // Whether completed downloads are kept in the download archive (on unless
  // switched off: "archive=false" under [downloads]).
  bool ArchiveDownloads() const;
  bool SetArchiveDownloads(bool on, std::string& error);

  // The unit temperatures are shown in (View, Celsius / Fahrenheit);
  // Celsius when none was chosen or the file holds something else.
  TemperatureUnit Unit() const;
  bool RememberUnit(TemperatureUnit unit, std::string& error);

 private:
  SettingsStore& store_;
};

}  // namespace logger
