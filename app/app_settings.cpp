#include "app/app_settings.h"

namespace logger {

namespace {
constexpr const char* kArchiveKey = "downloads/archive";
const char* DeviceKey(PortChoice choice) { return choice == PortChoice::Comm1 ? "ports/comm1" : "ports/comm2"; }
constexpr const char* kUnitKey = "view/unit";
}  // namespace

std::optional<std::string> MemorySettingsStore::Read(const std::string& key) const {
  auto at = values.find(key);
  if (at == values.end()) return std::nullopt;
  return at->second;
}

bool MemorySettingsStore::Write(const std::string& key, const std::string& value, std::string& error) {
  if (!failWith.empty()) {
    error = failWith;
    return false;
  }
  values[key] = value;
  return true;
}

std::optional<std::string> AppSettings::RememberedDevice(PortChoice choice) const {
  auto path = store_.Read(DeviceKey(choice));
  if (path && path->empty()) return std::nullopt;
  return path;
}

bool AppSettings::RememberDevice(PortChoice choice, const std::string& path, std::string& error) {
  return store_.Write(DeviceKey(choice), path, error);
}

bool AppSettings::ArchiveDownloads() const {
  auto value = store_.Read(kArchiveKey);
  // Only a plain "off" switches it off: a mistyped value keeps the downloads.
  return !(value && (*value == "false" || *value == "0" || *value == "off" || *value == "no"));
}

bool AppSettings::SetArchiveDownloads(bool on, std::string& error) {
  return store_.Write(kArchiveKey, on ? "true" : "false", error);
}

TemperatureUnit AppSettings::Unit() const {
  auto keyword = store_.Read(kUnitKey);
  auto unit = keyword ? UnitFromKeyword(*keyword) : std::nullopt;
  return unit.value_or(TemperatureUnit::Celsius);
}

bool AppSettings::RememberUnit(TemperatureUnit unit, std::string& error) {
  return store_.Write(kUnitKey, UnitKeyword(unit), error);
}

}  // namespace logger
