#include "app/temperature_unit.h"

namespace logger {

double FromCelsius(double celsius, TemperatureUnit unit) {
  // The product first, so -40 and the half degrees come out as exactly as a
  // double allows (37.5 gives 99.5, not 99.49999...).
  return unit == TemperatureUnit::Fahrenheit ? celsius * 9.0 / 5.0 + 32.0 : celsius;
}

const char* UnitSymbol(TemperatureUnit unit) {
  return unit == TemperatureUnit::Fahrenheit ? "\u00B0F" : "\u00B0C";
}

const char* UnitKeyword(TemperatureUnit unit) {
  return unit == TemperatureUnit::Fahrenheit ? "fahrenheit" : "celsius";
}

std::optional<TemperatureUnit> UnitFromKeyword(const std::string& keyword) {
  if (keyword == "celsius") return TemperatureUnit::Celsius;
  if (keyword == "fahrenheit") return TemperatureUnit::Fahrenheit;
  return std::nullopt;
}

}  // namespace logger
