#include "app/logger_store.h"

#include <stdexcept>

namespace logger {

std::int32_t LoggerStore::At(int index) const {
  if (index < kFirst || index > kLast) throw std::out_of_range("store index " + std::to_string(index));
  return entries_[static_cast<std::size_t>(index - kFirst)];
}

void LoggerStore::Set(int index, std::int32_t value) {
  if (index < kFirst || index > kLast) throw std::out_of_range("store index " + std::to_string(index));
  entries_[static_cast<std::size_t>(index - kFirst)] = value;
}

void FillDayNames(LoggerState& state) {
  state.DayNames = {"none", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
}

}  // namespace logger

namespace logger {

std::string NVramText(const LoggerStore& store) {
  std::string text;
  for (int i = 0; i < 32; ++i) text += static_cast<char>(store.At(LoggerStore::kPage2First + i) & 0xFF);
  return text;
}

}  // namespace logger
