#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/json.h"

namespace runtime {
namespace {

TEST(Json, ReadsEveryKindWithLinesAndWritesItBack) {
  const std::string text =
      "{\n"
      "  \"a\": [1, -2.5e1, 0.125, true, false, null],\n"
      "  \"b\": {\"c\": \"x\\\"y\\\\z\\n\\u00B0\\ud83d\\ude00/\"},\n"
      "  \"d\": \"\xC2\xB0" "C\"\n"
      "}";
  JsonValue v = ParseJson(text);
  const auto& o = v.AsObject();
  ASSERT_EQ(o.size(), 3u);
  EXPECT_EQ(o[0].name, "a");
  EXPECT_EQ(o[0].value.Line(), 2);
  const auto& a = o[0].value.AsArray();
  EXPECT_EQ(a[1].AsNumber(), -25.0);
  EXPECT_EQ(a[2].AsNumber(), 0.125);
  EXPECT_TRUE(a[3].AsBool());
  EXPECT_TRUE(a[5].IsNull());
  EXPECT_EQ(o[1].value.AsObject()[0].value.AsString(), "x\"y\\z\n\xC2\xB0\xF0\x9F\x98\x80/");
  EXPECT_EQ(o[2].value.Line(), 4);
  EXPECT_EQ(o[2].value.AsString(), "\xC2\xB0" "C");

  // Written and read again: the same document, numbers exact.
  const std::string written = WriteJson(v);
  JsonValue again = ParseJson(written);
  EXPECT_EQ(WriteJson(again), written);
  EXPECT_NE(written.find("\"a\": [\n    1,\n    -25,\n    0.125"), std::string::npos) << written;
  EXPECT_EQ(ParseJson(WriteJson(JsonValue(0.1))).AsNumber(), 0.1);
  EXPECT_EQ(WriteJson(JsonValue(std::string("\x01"))), "\"\\u0001\"\n");
}

// Each bad text: the line the error names and a word of its message.
TEST(Json, RefusesAnythingButStrictJsonNamingTheLine) {
  struct Case {
    std::string text;
    int line;
    const char* words;
  };
  const Case cases[] = {
      {"", 1, "ends where a value"},
      {"{\n\"a\": 1,\n}", 3, "comma before '}'"},
      {"[1,\n2,]", 2, "comma before ']'"},
      {"{\"a\" 1}", 1, "expected ':'"},
      {"{'a': 1}", 1, "member name"},
      {"// note\n{}", 1, "expected a value"},
      {"{\"a\": 1}\n{}", 2, "after the end"},
      {"{\"a\": 1,\n \"a\": 2}", 2, "given twice"},
      {"[01]", 1, "after an array item"},
      {"[1.]", 1, "digit after '.'"},
      {"[1e]", 1, "exponent"},
      {"[-]", 1, "expected a digit"},
      {"[1e999]", 1, "out of range"},
      {"[NaN]", 1, "expected a value"},
      {"[tru]", 1, "expected a value"},
      {"[\"a\nb\"]", 1, "control character"},
      {"[\"\\x\"]", 1, "unknown escape"},
      {"[\"\\u12G4\"]", 1, "hexadecimal"},
      {"[\"\\ud83d\"]", 1, "low half"},
      {"[\"\\ude00\"]", 1, "lone low surrogate"},
      {"[\"\xFF\"]", 1, "UTF-8"},
      {"[\"\xC0\xAF\"]", 1, "UTF-8"},   // overlong "/"
      {"[\"\xED\xA0\x80\"]", 1, "UTF-8"},  // an encoded surrogate
      {"[\"\xE2\x82\"]", 1, "UTF-8"},   // cut short
      {"[\"abc", 1, "not closed"},
      {std::string(65, '[') + std::string(65, ']'), 1, "deeper than 64"},
  };
  for (const Case& c : cases) {
    try {
      ParseJson(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const JsonError& e) {
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_NE(e.Message().find(c.words), std::string::npos) << c.text << " -> " << e.Message();
      EXPECT_EQ(e.Message().rfind("line " + std::to_string(c.line) + ", column ", 0), 0u) << e.Message();
    }
  }
  // 64 levels are fine; a tiny number underflows to zero rather than failing.
  EXPECT_NO_THROW(ParseJson(std::string(64, '[') + std::string(64, ']')));
  EXPECT_EQ(ParseJson("1e-400").AsNumber(), 0.0);
}

// Random bytes around JSON's own characters: a value or a JsonError, never
// anything else (the sanitizer build also checks memory on the way).
TEST(Json, RandomTextsGiveAValueOrAnError) {
  std::mt19937 engine(19);
  const std::string alphabet = "{}[]\":,\\u0123456789eE.-+ \ntrfalsenull\xC2\xB0\xFF\xED";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1), length(0, 40);
  int parsed = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text(length(engine), ' ');
    for (char& c : text) c = alphabet[pick(engine)];
    try {
      JsonValue v = ParseJson(text);
      EXPECT_EQ(WriteJson(ParseJson(WriteJson(v))), WriteJson(v));
      ++parsed;
    } catch (const JsonError&) {
    }
  }
  EXPECT_GT(parsed, 0);
}

}  // namespace
}  // namespace runtime
