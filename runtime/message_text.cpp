#include "runtime/message_text.h"

namespace runtime {

namespace {

void AppendHex(std::string& out, unsigned char byte) {
  static const char kDigits[] = "0123456789ABCDEF";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

// The length of the valid UTF-8 sequence at `at` (shortest form, no
// surrogates, at most U+10FFFF), or 0 when the byte there starts none.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t at, char32_t& code) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(at);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (at + length > s.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string EscapeForMessage(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t at = 0;
  while (at < bytes.size()) {
    char32_t code = 0;
    std::size_t length = Utf8SequenceLength(bytes, at, code);
    if (length == 0) {
      AppendHex(out, static_cast<unsigned char>(bytes[at]));
      ++at;
      continue;
    }
    if (code == '\\') {
      out += "\\\\";
    } else if (code == '\r') {
      out += "\\r";
    } else if (code == '\n') {
      out += "\\n";
    } else if (code == '\t') {
      out += "\\t";
    } else if (code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F)) {
      for (std::size_t i = 0; i < length; ++i) AppendHex(out, static_cast<unsigned char>(bytes[at + i]));
    } else {
      out.append(bytes.substr(at, length));
    }
    at += length;
  }
  return out;
}

}  // namespace runtime
