#include "app/port_choice.h"

namespace logger {

namespace {

const std::optional<std::string>& FirstGiven(const std::optional<std::string>& a, const std::optional<std::string>& b,
                                             const std::optional<std::string>& c) {
  for (const std::optional<std::string>* source : {&a, &b, &c}) {
    if (*source && !(*source)->empty()) return *source;
  }
  static const std::optional<std::string> kNone;
  return kNone;
}

}  // namespace

PortPaths ResolvePortPaths(const PortSources& sources) {
  PortPaths paths;
  if (const auto& one = FirstGiven(sources.option1, sources.environment1, sources.remembered1)) paths.comm1 = *one;
  if (const auto& two = FirstGiven(sources.option2, sources.environment2, sources.remembered2)) paths.comm2 = *two;
  return paths;
}

const char* PortItemName(PortChoice choice) { return choice == PortChoice::Comm1 ? "Comm1" : "Comm2"; }

}  // namespace logger
