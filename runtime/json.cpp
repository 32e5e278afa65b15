#include "runtime/json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace runtime {

JsonError::~JsonError() = default;

namespace {

constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    SkipSpace();
    JsonValue value = Value(0);
    SkipSpace();
    if (pos_ < text_.size()) Fail("unexpected text after the end of the document");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw JsonError("line " + std::to_string(line_) + ", column " + std::to_string(pos_ - lineStart_ + 1) + ": " + what,
                    line_);
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  void SkipSpace() {
    while (!AtEnd()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++pos_;
        ++line_;
        lineStart_ = pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else {
        break;
      }
    }
  }

  void Expect(char c, const char* what) {
    if (Peek() != c) Fail(std::string("expected ") + what);
    ++pos_;
  }

  JsonValue Value(int depth) {
    if (depth >= kMaxDepth) Fail("nested deeper than 64 levels");
    const int line = line_;
    JsonValue value;
    switch (Peek()) {
      case '{': value = ObjectValue(depth); break;
      case '[': value = ArrayValue(depth); break;
      case '"': value = JsonValue(StringValue()); break;
      case 't': Word("true"); value = JsonValue(true); break;
      case 'f': Word("false"); value = JsonValue(false); break;
      case 'n': Word("null"); break;
      default:
        if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
          value = JsonValue(Number());
        } else if (AtEnd()) {
          Fail("the document ends where a value should be");
        } else {
          Fail("expected a value");
        }
    }
    value.SetLine(line);
    return value;
  }

  void Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) Fail("expected a value");
    pos_ += word.size();
  }

  JsonValue ObjectValue(int depth) {
    ++pos_;  // {
    JsonValue::Object members;
    SkipSpace();
    if (Peek() == '}') {
      ++pos_;
      return JsonValue(std::move(members));
    }
    for (;;) {
      SkipSpace();
      if (Peek() != '"') Fail("expected a member name in double quotes");
      const int line = line_;
      std::string name = StringValue();
      for (const auto& m : members) {
        if (m.name == name) {
          --pos_;  // point at the name's closing quote
          Fail("the member \"" + name + "\" is given twice");
        }
      }
      SkipSpace();
      Expect(':', "':' after a member name");
      SkipSpace();
      JsonValue value = Value(depth + 1);
      if (value.Line() == 0) value.SetLine(line);
      members.push_back({std::move(name), std::move(value)});
      SkipSpace();
      if (Peek() == ',') {
        ++pos_;
        SkipSpace();
        if (Peek() == '}') Fail("a comma before '}'");
        continue;
      }
      Expect('}', "',' or '}' after a member");
      return JsonValue(std::move(members));
    }
  }

  JsonValue ArrayValue(int depth) {
    ++pos_;  // [
    JsonValue::Array items;
    SkipSpace();
    if (Peek() == ']') {
      ++pos_;
      return JsonValue(std::move(items));
    }
    for (;;) {
      SkipSpace();
      items.push_back(Value(depth + 1));
      SkipSpace();
      if (Peek() == ',') {
        ++pos_;
        SkipSpace();
        if (Peek() == ']') Fail("a comma before ']'");
        continue;
      }
      Expect(']', "',' or ']' after an array item");
      return JsonValue(std::move(items));
    }
  }

  double Number() {
    const std::size_t start = pos_;
    if (Peek() == '-') ++pos_;
    if (Peek() == '0') {
      ++pos_;
    } else if (Peek() >= '1' && Peek() <= '9') {
      while (Peek() >= '0' && Peek() <= '9') ++pos_;
    } else {
      Fail("expected a digit");
    }
    if (Peek() == '.') {
      ++pos_;
      if (!(Peek() >= '0' && Peek() <= '9')) Fail("expected a digit after '.'");
      while (Peek() >= '0' && Peek() <= '9') ++pos_;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      if (!(Peek() >= '0' && Peek() <= '9')) Fail("expected a digit in the exponent");
      while (Peek() >= '0' && Peek() <= '9') ++pos_;
    }
    double value = 0;
    const char* first = text_.data() + start;
    const char* last = text_.data() + pos_;
    auto [end, ec] = std::from_chars(first, last, value);
    // Out of range with a negative exponent is an underflow: as good as zero.
    const std::string_view digits(first, static_cast<std::size_t>(last - first));
    const bool negativeExponent = digits.find("e-") != digits.npos || digits.find("E-") != digits.npos;
    if (ec == std::errc::result_out_of_range && negativeExponent) return 0.0;
    if (ec != std::errc() || end != last || !std::isfinite(value)) {
      pos_ = start;
      Fail("the number " + std::string(first, last) + " is out of range");
    }
    return value;
  }

  unsigned Hex4() {
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      char c = Peek();
      unsigned digit;
      if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
      else Fail("expected four hexadecimal digits after \\u");
      code = code * 16 + digit;
      ++pos_;
    }
    return code;
  }

  static void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // One UTF-8 sequence copied as it is, after checking it is well formed
  // (no overlong forms, no surrogates, nothing above U+10FFFF).
  void CopyUtf8(std::string& out) {
    const auto lead = static_cast<unsigned char>(text_[pos_]);
    int extra;
    std::uint32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) extra = 1, code = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF) extra = 2, code = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4) extra = 3, code = lead & 0x07u;
    else Fail("the text is not valid UTF-8");
    if (pos_ + static_cast<std::size_t>(extra) >= text_.size()) Fail("the text is not valid UTF-8");
    for (int i = 1; i <= extra; ++i) {
      const auto c = static_cast<unsigned char>(text_[pos_ + static_cast<std::size_t>(i)]);
      if ((c & 0xC0) != 0x80) Fail("the text is not valid UTF-8");
      code = (code << 6) | (c & 0x3Fu);
    }
    const std::uint32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      Fail("the text is not valid UTF-8");
    }
    out.append(text_.substr(pos_, static_cast<std::size_t>(extra) + 1));
    pos_ += static_cast<std::size_t>(extra) + 1;
  }

  std::string StringValue() {
    ++pos_;  // opening quote
    std::string out;
    for (;;) {
      if (AtEnd()) Fail("a string is not closed");
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return out;
      }
      if (static_cast<unsigned char>(c) < 0x20) Fail("a control character inside a string");
      if (static_cast<unsigned char>(c) >= 0x80) {
        CopyUtf8(out);
        continue;
      }
      if (c != '\\') {
        out += c;
        ++pos_;
        continue;
      }
      ++pos_;
      const char e = Peek();
      ++pos_;
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          std::uint32_t code = Hex4();
          if (code >= 0xDC00 && code <= 0xDFFF) Fail("a lone low surrogate in \\u escapes");
          if (code >= 0xD800 && code <= 0xDBFF) {
            if (Peek() != '\\' || pos_ + 1 >= text_.size() || text_[pos_ + 1] != 'u') {
              Fail("a high surrogate without its low half");
            }
            pos_ += 2;
            const std::uint32_t low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("a high surrogate without its low half");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          --pos_;
          Fail("an unknown escape in a string");
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::size_t lineStart_ = 0;
};

void WriteString(std::string& out, const std::string& text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static const char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void WriteNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";  // JSON has no infinities
    return;
  }
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, ec == std::errc() ? end : buffer);
}

void Write(std::string& out, const JsonValue& value, int indent) {
  const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
  if (value.IsNull()) {
    out += "null";
  } else if (value.IsBool()) {
    out += value.AsBool() ? "true" : "false";
  } else if (value.IsNumber()) {
    WriteNumber(out, value.AsNumber());
  } else if (value.IsString()) {
    WriteString(out, value.AsString());
  } else if (value.IsArray()) {
    const auto& items = value.AsArray();
    if (items.empty()) {
      out += "[]";
      return;
    }
    out += "[\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
      out += pad + "  ";
      Write(out, items[i], indent + 1);
      out += i + 1 < items.size() ? ",\n" : "\n";
    }
    out += pad + "]";
  } else {
    const auto& members = value.AsObject();
    if (members.empty()) {
      out += "{}";
      return;
    }
    out += "{\n";
    for (std::size_t i = 0; i < members.size(); ++i) {
      out += pad + "  ";
      WriteString(out, members[i].name);
      out += ": ";
      Write(out, members[i].value, indent + 1);
      out += i + 1 < members.size() ? ",\n" : "\n";
    }
    out += pad + "}";
  }
}

}  // namespace

JsonValue ParseJson(const std::string& text) { return Parser(text).Document(); }

std::string WriteJson(const JsonValue& value) {
  std::string out;
  Write(out, value, 0);
  out += '\n';
  return out;
}

}  // namespace runtime
