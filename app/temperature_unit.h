#pragma once

#include <optional>
#include <string>

namespace logger {

// The unit temperatures are shown to the user in. The recorder, its setup
// and the saved files always work in degrees Celsius; only what is shown
// (pane, chart, statistics, spreadsheet files) follows this choice.
enum class TemperatureUnit { Celsius, Fahrenheit };

// Degrees Celsius in the unit: F = C x 9/5 + 32.
double FromCelsius(double celsius, TemperatureUnit unit);

// "°C" or "°F" (UTF-8).
const char* UnitSymbol(TemperatureUnit unit);

// How the unit is remembered: "celsius" or "fahrenheit"; nullopt for any
// other text.
const char* UnitKeyword(TemperatureUnit unit);
std::optional<TemperatureUnit> UnitFromKeyword(const std::string& keyword);

}  // namespace logger
