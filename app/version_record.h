#pragma once

#include <cstdint>

namespace logger {

// The program's version record, embedded in the executable in the ELF
// section named kVersionSection and read back from the running program file
// by the About box. Its fixed part follows the classic fixed-file-info
// layout (signature FEEF04BD, file and product version as two 32-bit halves);
// a string table follows as "key\0value\0" pairs ending in an empty key.
inline constexpr const char* kVersionSection = ".qvversion";
inline constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BDu;

struct FixedFileInfo {
  std::uint32_t signature;
  std::uint32_t structVersion;
  std::uint32_t fileVersionMS;     // major << 16 | minor
  std::uint32_t fileVersionLS;     // release << 16 | build
  std::uint32_t productVersionMS;
  std::uint32_t productVersionLS;
  std::uint32_t fileFlagsMask;
  std::uint32_t fileFlags;
  std::uint32_t fileOS;
  std::uint32_t fileType;
  std::uint32_t fileSubtype;
  std::uint32_t fileDateMS;
  std::uint32_t fileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52);

// Whole record: a magic text, the fixed part, the language/code-page key of
// the string table ("080904E4": English (United Kingdom), Western 8-bit) and
// the strings.
struct VersionRecordHeader {
  char magic[8];  // "QVVERS1\0"
  FixedFileInfo fixed;
  char stringTableKey[12];  // "080904E4\0..."
};

}  // namespace logger
