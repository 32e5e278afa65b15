#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/version_record.h"

namespace logger {

struct FileVersionInfo {
  FixedFileInfo fixed{};
  std::string language;                       // "080904E4"
  std::map<std::string, std::string> strings;  // CompanyName, ProductName, ...
};

// Full path of the running program file.
std::string ProgramFilePath();

// Size of the program file's version information; 0 when the file has none
// (or cannot be read as an executable).
std::size_t VersionInfoSize(const std::string& programPath);
// The raw version information bytes; empty when there are none.
std::vector<char> ReadVersionInfo(const std::string& programPath);
// The parsed record, or nullopt when it is missing or malformed.
std::optional<FileVersionInfo> ParseVersionInfo(const std::vector<char>& raw);

// "1.0.0.15": the high and low 16 bits of the file version's two halves.
std::string FileVersionText(const FixedFileInfo& fixed);

// What the About box shows next to "Version": the file version, or the
// program's full path when the file carries no readable version record.
std::string AboutVersionText(const std::string& programPath);

}  // namespace logger
