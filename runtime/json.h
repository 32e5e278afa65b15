#pragma once

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "runtime/convert_error.h"

namespace runtime {

// A strict JSON document (RFC 8259): what the program writes and reads back
// as small settings files. Objects keep their members in file order and
// remember the line each member stands on, so a reader can name the line of
// a value it refuses.
class JsonValue {
 public:
  using Array = std::vector<JsonValue>;
  struct Member;
  using Object = std::vector<Member>;

  // Defined below Member: the value's storage needs it whole.
  JsonValue();  // null
  JsonValue(bool value);
  JsonValue(double value);
  JsonValue(int value);
  JsonValue(const char* value);
  JsonValue(std::string value);
  JsonValue(Array value);
  JsonValue(Object value);

  bool IsNull() const { return value_.index() == 0; }
  bool IsBool() const { return std::holds_alternative<bool>(value_); }
  bool IsNumber() const { return std::holds_alternative<double>(value_); }
  bool IsString() const { return std::holds_alternative<std::string>(value_); }
  bool IsArray() const { return std::holds_alternative<Array>(value_); }
  bool IsObject() const { return std::holds_alternative<Object>(value_); }

  bool AsBool() const { return std::get<bool>(value_); }
  double AsNumber() const { return std::get<double>(value_); }
  const std::string& AsString() const { return std::get<std::string>(value_); }
  const Array& AsArray() const { return std::get<Array>(value_); }
  const Object& AsObject() const;
  Object& AsObject();

  // The line (from 1) the value starts on in the parsed text; 0 when built.
  int Line() const { return line_; }
  void SetLine(int line) { line_ = line; }

 private:
  std::variant<std::monostate, bool, double, std::string, Array, Object> value_;
  int line_ = 0;
};

struct JsonValue::Member {
  std::string name;
  JsonValue value;
};

inline JsonValue::JsonValue() = default;
inline JsonValue::JsonValue(bool value) : value_(value) {}
inline JsonValue::JsonValue(double value) : value_(value) {}
inline JsonValue::JsonValue(int value) : value_(static_cast<double>(value)) {}
inline JsonValue::JsonValue(const char* value) : value_(std::string(value)) {}
inline JsonValue::JsonValue(std::string value) : value_(std::move(value)) {}
inline JsonValue::JsonValue(Array value) : value_(std::move(value)) {}
inline JsonValue::JsonValue(Object value) : value_(std::move(value)) {}
inline const JsonValue::Object& JsonValue::AsObject() const { return std::get<Object>(value_); }
inline JsonValue::Object& JsonValue::AsObject() { return std::get<Object>(value_); }

// A text that is not JSON: the message says what is wrong and where
// ("line 3, column 7: expected ':' after a member name").
class JsonError : public TextError {
 public:
  JsonError(const std::string& message, int line) : TextError(message), line_(line) {}
  ~JsonError() override;
  int Line() const { return line_; }

 private:
  int line_;
};

// Parses a whole document. Refuses anything beyond strict JSON (comments,
// trailing commas, single quotes, NaN), invalid UTF-8, control characters
// in strings, duplicate member names, numbers out of double range, and
// nesting deeper than 64 levels, each with a JsonError.
JsonValue ParseJson(const std::string& text);

// The document as text, indented by two spaces per level, members in
// order, ending in a line feed. Numbers that are integers print without a
// fraction; others with the fewest digits that read back the same value.
std::string WriteJson(const JsonValue& value);

}  // namespace runtime
