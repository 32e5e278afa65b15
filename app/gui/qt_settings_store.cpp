#include "app/gui/qt_settings_store.h"

#include <QStandardPaths>

namespace gui {

QString QtSettingsStore::DefaultFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/quorvel/quorvel.conf";
}

QtSettingsStore::QtSettingsStore(const QString& file) : settings_(file, QSettings::IniFormat) {}

std::optional<std::string> QtSettingsStore::Read(const std::string& key) const {
  QString k = QString::fromStdString(key);
  if (!settings_.contains(k)) return std::nullopt;
  return settings_.value(k).toString().toStdString();
}

bool QtSettingsStore::Write(const std::string& key, const std::string& value, std::string& error) {
  settings_.setValue(QString::fromStdString(key), QString::fromStdString(value));
  // Written now, so a failure is noticed while the user can still be told.
  settings_.sync();
  if (settings_.status() == QSettings::NoError) return true;
  error = "cannot write " + settings_.fileName().toStdString();
  return false;
}

}  // namespace gui
