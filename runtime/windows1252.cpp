#include "runtime/windows1252.h"

#include <array>
#include <cstdint>

namespace runtime {

namespace {

// Code points of 0x80..0x9F; 0 marks the undefined codes.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

char32_t ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    char32_t cp = kHighControls[byte - 0x80];
    return cp != 0 ? cp : byte;
  }
  return byte;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos`; nullopt when malformed.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& pos) {
  auto lead = static_cast<unsigned char>(s[pos]);
  int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || pos + length > s.size()) return std::nullopt;
  char32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
  for (int i = 1; i < length; ++i) {
    auto c = static_cast<unsigned char>(s[pos + i]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  pos += length;
  return cp;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, std::string* badCharacter) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t start = pos;
    auto cp = NextCodePoint(utf8, pos);
    if (!cp) {
      if (badCharacter) *badCharacter = std::string(utf8.substr(start, 1));
      return std::nullopt;
    }
    int byte = -1;
    if (*cp < 0x80 || (*cp >= 0xA0 && *cp <= 0xFF)) {
      byte = static_cast<int>(*cp);
    } else {
      for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        // The five undefined codes came in as the C1 control of their value.
        char32_t code = kHighControls[i] != 0 ? kHighControls[i] : static_cast<char32_t>(0x80 + i);
        if (code == *cp) byte = static_cast<int>(0x80 + i);
      }
    }
    if (byte < 0) {
      if (badCharacter) *badCharacter = std::string(utf8.substr(start, pos - start));
      return std::nullopt;
    }
    out += static_cast<char>(byte);
  }
  return out;
}

bool IsPrintableWindows1252(unsigned char byte) {
  if (byte < 32 || byte == 127) return false;
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80] != 0;
  return true;
}

}  // namespace runtime
