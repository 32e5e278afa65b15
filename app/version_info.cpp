#include "app/version_info.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace logger {

namespace {

constexpr std::uint64_t kMaxRecordSize = 64 * 1024;

std::uint64_t ReadLE(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

bool ReadAt(std::ifstream& in, std::uint64_t offset, void* dest, std::size_t size, std::uint64_t fileSize) {
  if (offset > fileSize || size > fileSize - offset) return false;
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(static_cast<char*>(dest), static_cast<std::streamsize>(size));
  return static_cast<std::size_t>(in.gcount()) == size;
}

// Finds the version section of a 64-bit little-endian ELF file: its offset
// and size, or size 0. Every offset read from the file is checked against
// the file's size, so a damaged file yields "no version" and nothing worse.
std::pair<std::uint64_t, std::uint64_t> FindVersionSection(const std::string& path) {
  std::error_code ec;
  std::uint64_t fileSize = std::filesystem::file_size(path, ec);
  if (ec) return {0, 0};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {0, 0};

  unsigned char header[64];
  if (!ReadAt(in, 0, header, sizeof header, fileSize)) return {0, 0};
  if (std::memcmp(header, "\x7F" "ELF", 4) != 0 || header[4] != 2 || header[5] != 1) return {0, 0};
  std::uint64_t sectionTable = ReadLE(header + 0x28, 8);
  std::uint64_t entrySize = ReadLE(header + 0x3A, 2);
  std::uint64_t count = ReadLE(header + 0x3C, 2);
  std::uint64_t namesIndex = ReadLE(header + 0x3E, 2);
  if (entrySize < 64 || namesIndex >= count) return {0, 0};

  auto sectionAt = [&](std::uint64_t i, unsigned char (&entry)[64]) {
    return ReadAt(in, sectionTable + i * entrySize, entry, sizeof entry, fileSize);
  };
  unsigned char namesEntry[64];
  if (!sectionAt(namesIndex, namesEntry)) return {0, 0};
  std::uint64_t namesOffset = ReadLE(namesEntry + 24, 8);
  std::uint64_t namesSize = ReadLE(namesEntry + 32, 8);
  if (namesSize > kMaxRecordSize * 16) return {0, 0};
  std::string names(namesSize, '\0');
  if (!ReadAt(in, namesOffset, names.data(), names.size(), fileSize)) return {0, 0};

  const std::string wanted = kVersionSection;
  for (std::uint64_t i = 0; i < count; ++i) {
    unsigned char entry[64];
    if (!sectionAt(i, entry)) return {0, 0};
    std::uint64_t nameOffset = ReadLE(entry, 4);
    if (nameOffset >= names.size()) continue;
    if (std::strncmp(names.c_str() + nameOffset, wanted.c_str(), names.size() - nameOffset) != 0) continue;
    std::uint64_t offset = ReadLE(entry + 24, 8);
    std::uint64_t size = ReadLE(entry + 32, 8);
    if (size == 0 || size > kMaxRecordSize || offset > fileSize || size > fileSize - offset) return {0, 0};
    return {offset, size};
  }
  return {0, 0};
}

}  // namespace

std::string ProgramFilePath() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

std::size_t VersionInfoSize(const std::string& programPath) {
  return static_cast<std::size_t>(FindVersionSection(programPath).second);
}

std::vector<char> ReadVersionInfo(const std::string& programPath) {
  auto [offset, size] = FindVersionSection(programPath);
  std::vector<char> raw;
  if (size == 0) return raw;
  std::ifstream in(programPath, std::ios::binary);
  raw.resize(size);
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(raw.data(), static_cast<std::streamsize>(size));
  if (static_cast<std::uint64_t>(in.gcount()) != size) raw.clear();
  return raw;
}

std::optional<FileVersionInfo> ParseVersionInfo(const std::vector<char>& raw) {
  if (raw.size() < sizeof(VersionRecordHeader)) return std::nullopt;
  VersionRecordHeader header;
  std::memcpy(&header, raw.data(), sizeof header);
  if (std::memcmp(header.magic, "QVVERS1", 8) != 0) return std::nullopt;
  if (header.fixed.signature != kFixedInfoSignature) return std::nullopt;
  FileVersionInfo info;
  info.fixed = header.fixed;
  info.language.assign(header.stringTableKey, strnlen(header.stringTableKey, sizeof header.stringTableKey));
  // The strings: key\0value\0 ... ending in an empty key or the record's end.
  std::size_t pos = sizeof header;
  auto next = [&](std::string& out) {
    const char* start = raw.data() + pos;
    std::size_t left = raw.size() - pos;
    std::size_t len = strnlen(start, left);
    if (len == left) return false;  // unterminated
    out.assign(start, len);
    pos += len + 1;
    return true;
  };
  while (pos < raw.size()) {
    std::string key, value;
    if (!next(key) || key.empty()) break;
    if (!next(value)) break;
    info.strings[key] = value;
  }
  return info;
}

std::string FileVersionText(const FixedFileInfo& fixed) {
  return std::to_string(fixed.fileVersionMS >> 16) + "." + std::to_string(fixed.fileVersionMS & 0xFFFF) + "." +
         std::to_string(fixed.fileVersionLS >> 16) + "." + std::to_string(fixed.fileVersionLS & 0xFFFF);
}

std::string AboutVersionText(const std::string& programPath) {
  std::string text = programPath;
  if (VersionInfoSize(programPath) == 0) return text;
  std::vector<char> raw = ReadVersionInfo(programPath);
  if (auto info = ParseVersionInfo(raw)) text = FileVersionText(info->fixed);
  return text;
}

}  // namespace logger
