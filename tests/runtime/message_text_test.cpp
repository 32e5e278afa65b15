// Bytes from outside shown in messages: what must be spelled out and what
// must stay as it is.
#include <gtest/gtest.h>

#include "runtime/message_text.h"

namespace {

TEST(EscapeForMessage, ControlsAndBadUtf8AreSpelledOutValidTextStays) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"12 ab", "12 ab"},
      {"a\\b", "a\\\\b"},                                // a backslash doubles: \x41 stays readable as typed
      {"\r\n\t", "\\r\\n\\t"},
      {std::string("\0\x01\x1F\x7F", 4), "\\x00\\x01\\x1F\\x7F"},
      {"\xC2\x85\xC2\x9F", "\\xC2\\x85\\xC2\\x9F"},       // C1 controls (NEL, APC) as their bytes
      {"\xC2\xA0\xC3\xA9\xE2\x82\xAC", "\xC2\xA0\xC3\xA9\xE2\x82\xAC"},  // no-break space, é, €
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},           // four bytes
      {"\xC0\xAF", "\\xC0\\xAF"},                         // overlong '/'
      {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},                // overlong, three bytes
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                // a surrogate
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},       // beyond U+10FFFF
      {"ok\xE2\x82", "ok\\xE2\\x82"},                     // cut short at the end
      {"\xE2\x82" "A", "\\xE2\\x82A"},                    // cut short by a plain byte
      {"\xFF\xFE", "\\xFF\\xFE"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(runtime::EscapeForMessage(in), out) << out;
}

}  // namespace
