#pragma once

#include <QSettings>

#include "app/app_settings.h"

namespace gui {

// Remembered settings in an INI file (QSettings): by default
// $XDG_CONFIG_HOME/quorvel/quorvel.conf, that is ~/.config/quorvel/quorvel.conf.
class QtSettingsStore final : public logger::SettingsStore {
 public:
  explicit QtSettingsStore(const QString& file = DefaultFile());

  std::optional<std::string> Read(const std::string& key) const override;
  bool Write(const std::string& key, const std::string& value, std::string& error) override;

  static QString DefaultFile();
  QString File() const { return settings_.fileName(); }

 private:
  mutable QSettings settings_;
};

}  // namespace gui
