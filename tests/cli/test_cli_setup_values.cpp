// setup's options are checked before anything is sent; each field accepts
// both of its ends and refuses the next value out, like the dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_dialogs.h"

namespace {

TEST(CliSetupValues, EachFieldAcceptsBothEndsAndRefusesOneStepBeyond) {
  const struct {
    const char* option;
    const char* value;
    bool accepted;
  } cases[] = {
      {"--interval", "1", true},   {"--interval", "255", true},  {"--interval", "0", false},
      {"--interval", "256", false}, {"--delay", "0", true},       {"--delay", "65535", true},
      {"--delay", "-1", false},     {"--delay", "65536", false},  {"--low", "-40", true},
      {"--low", "84", true},        {"--low", "-40.01", false},   {"--low", "84.01", false},
      {"--high", "-40", true},      {"--high", "84", true},       {"--high", "-40.01", false},
      {"--high", "84.01", false},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto values = cli::ParseSetupValues({c.option, c.value}, error);
    EXPECT_EQ(values.has_value(), c.accepted) << c.option << " " << c.value << ": " << error;
    if (!c.accepted) {
      EXPECT_NE(error.find(c.value), std::string::npos) << error;
    }
  }
  std::string error;
  EXPECT_TRUE(cli::ParseSetupValues({"--description", std::string(32, 'x')}, error).has_value());
  EXPECT_FALSE(cli::ParseSetupValues({"--description", std::string(33, 'x')}, error).has_value());
}

}  // namespace
