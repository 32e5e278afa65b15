#include <gtest/gtest.h>

#include <locale.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "platform/posix/system_locale.h"
#include "runtime/conversions.h"
#include "runtime/date_time.h"
#include "runtime/text_format.h"

namespace platform {
namespace {

const runtime::FormatSettings kDefaults;

TEST(FormatSettingsFromLocaleTexts, MapsSeparatorsAndDateAndTimeFormats) {
  const struct {
    const char* name;
    LocaleTexts texts;
    char decimal, thousands, dateSeparator, timeSeparator;
    const char *shortDate, *shortTime, *longTime;
  } cases[] = {
      {"C", {".", "", "%m/%d/%y", "%H:%M:%S", "AM", "PM"}, '.', ',', '/', ':', "mm/dd/yy", "hh:nn", "hh:nn:ss"},
      {"German", {",", ".", "%d.%m.%Y", "%H:%M:%S", "", ""}, ',', '.', '.', ':', "dd/mm/yyyy", "hh:nn", "hh:nn:ss"},
      {"US", {".", ",", "%m/%d/%Y", "%r", "AM", "PM"}, '.', ',', '/', ':', "mm/dd/yyyy", "hh:nn ampm",
       "hh:nn:ss ampm"},
      {"ISO", {".", ",", "%F", "%T", "", ""}, '.', ',', '-', ':', "yyyy/mm/dd", "hh:nn", "hh:nn:ss"},
      {"Finnish", {",", "\xC2\xA0", "%d.%m.%Y", "%H.%M.%S", "", ""}, ',', ' ', '.', '.', "dd/mm/yyyy", "hh:nn",
       "hh:nn:ss"},
      {"French", {",", "\xE2\x80\xAF", "%d/%m/%Y", "%T", "", ""}, ',', ' ', '/', ':', "dd/mm/yyyy", "hh:nn",
       "hh:nn:ss"},
      {"unpadded", {".", "'", "%-d.%-m.%y", "%k:%M", "", ""}, '.', '\'', '.', ':', "d/m/yy", "h:nn", "h:nn"},
      {"month names", {".", ",", "%d-%b-%Y", "%H:%M:%S", "", ""}, '.', ',', '-', ':', "dd/mmm/yyyy", "hh:nn",
       "hh:nn:ss"},
      // Odd texts keep the defaults for their part.
      {"CJK date", {".", ",", "%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", "%H\xE6\x99\x82%M", "", ""}, '.', ',',
       kDefaults.DateSeparator, kDefaults.TimeSeparator, kDefaults.ShortDateFormat.c_str(),
       kDefaults.ShortTimeFormat.c_str(), kDefaults.LongTimeFormat.c_str()},
      {"mixed", {".", ",", "%d/%m-%Y", "%H:%M.%S", "", ""}, '.', ',', kDefaults.DateSeparator,
       kDefaults.TimeSeparator, kDefaults.ShortDateFormat.c_str(), kDefaults.ShortTimeFormat.c_str(),
       kDefaults.LongTimeFormat.c_str()},
      {"no year", {".", ",", "%d/%m", "%M:%S", "", ""}, '.', ',', kDefaults.DateSeparator, kDefaults.TimeSeparator,
       kDefaults.ShortDateFormat.c_str(), kDefaults.ShortTimeFormat.c_str(), kDefaults.LongTimeFormat.c_str()},
      {"multi-byte point", {"\xD9\xAB", "\xD9\xAC", "", "", "", ""}, '.', ',', kDefaults.DateSeparator,
       kDefaults.TimeSeparator, kDefaults.ShortDateFormat.c_str(), kDefaults.ShortTimeFormat.c_str(),
       kDefaults.LongTimeFormat.c_str()},
      {"same separators", {",", ",", "%d.%m.%Y%", "%", "", ""}, ',', '.', kDefaults.DateSeparator,
       kDefaults.TimeSeparator, kDefaults.ShortDateFormat.c_str(), kDefaults.ShortTimeFormat.c_str(),
       kDefaults.LongTimeFormat.c_str()},
      {"empty", {}, '.', ',', kDefaults.DateSeparator, kDefaults.TimeSeparator, kDefaults.ShortDateFormat.c_str(),
       kDefaults.ShortTimeFormat.c_str(), kDefaults.LongTimeFormat.c_str()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    runtime::FormatSettings s = FormatSettingsFromLocaleTexts(c.texts);
    EXPECT_EQ(s.DecimalSeparator, c.decimal);
    EXPECT_EQ(s.ThousandSeparator, c.thousands);
    EXPECT_EQ(s.DateSeparator, c.dateSeparator);
    EXPECT_EQ(s.TimeSeparator, c.timeSeparator);
    EXPECT_EQ(s.ShortDateFormat, c.shortDate);
    EXPECT_EQ(s.ShortTimeFormat, c.shortTime);
    EXPECT_EQ(s.LongTimeFormat, c.longTime);
  }
}

TEST(FormatSettingsFromLocaleTexts, GermanSettingsFormatTheWayAGermanReads) {
  const runtime::FormatSettings s = FormatSettingsFromLocaleTexts({",", ".", "%d.%m.%Y", "%H:%M:%S", "", ""});
  const runtime::DateTime value = runtime::EncodeDate(2000, 12, 25) + runtime::EncodeTime(14, 30, 0, 0);
  EXPECT_EQ(runtime::FormatDateTime("ddddd", value, s), "25.12.2000");
  EXPECT_EQ(runtime::FormatDateTime("dd/mm/yy hh:mm", value, s), "25.12.00 14:30");
  EXPECT_EQ(runtime::FormatFloat("#,##0.###", 1234.5, s), "1.234,5");
  EXPECT_EQ(runtime::StrToFloat(runtime::Format("%5.1f", {-12.5}, s), s), -12.5);
  // AM and PM stay readable when the locale has none.
  EXPECT_EQ(s.TimeAMString, "AM");
}

TEST(LocaleFormatSettings, TheCLocale) {
  const runtime::FormatSettings s = LocaleFormatSettings("C");
  EXPECT_EQ(s.DecimalSeparator, '.');
  EXPECT_EQ(s.ThousandSeparator, ',');
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.ShortDateFormat, "mm/dd/yy");
  EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(s.TimeAMString, "AM");
}

TEST(LocaleFormatSettings, ALocaleThatIsNotInstalledGivesTheDefaults) {
  const runtime::FormatSettings s = LocaleFormatSettings("xx_NOWHERE.UTF-8");
  EXPECT_EQ(s.DecimalSeparator, kDefaults.DecimalSeparator);
  EXPECT_EQ(s.ShortDateFormat, kDefaults.ShortDateFormat);
  EXPECT_EQ(s.LongTimeFormat, kDefaults.LongTimeFormat);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    ::setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SystemFormatSettings, FollowsTheEnvironment) {
  ScopedEnv all("LC_ALL", "C");
  EXPECT_EQ(SystemFormatSettings().ShortDateFormat, "mm/dd/yy");
}

std::optional<std::string> InstalledGermanLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
    if (locale_t probe = ::newlocale(LC_ALL_MASK, name, locale_t{})) {
      ::freelocale(probe);
      return name;
    }
  }
  return std::nullopt;
}

TEST(SystemFormatSettings, GermanLocaleGivesDecimalCommasAndTheProcessLocaleDoesNotLeakIn) {
  std::optional<std::string> german = InstalledGermanLocale();
  if (!german) GTEST_SKIP() << "no German locale installed";
  runtime::FormatSettings s;
  {
    ScopedEnv all("LC_ALL", german->c_str());
    s = SystemFormatSettings();
  }
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ThousandSeparator, '.');
  EXPECT_EQ(s.DateSeparator, '.');
  EXPECT_EQ(runtime::FormatFixed(-38.5, 1, s), "-38,5");

  // With the process locale German, as a Qt program has it, formatting with
  // pinned point settings still writes and reads a point.
  std::string previous = ::setlocale(LC_ALL, nullptr);
  ::setlocale(LC_ALL, german->c_str());
  const runtime::FormatSettings point;
  const std::string text = runtime::Format("%5.1f", {21.5}, point);
  const double read = runtime::StrToFloat("21.5", point);
  const std::string general = runtime::FormatFloat("", 0.25, point);
  ::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(text, " 21.5");
  EXPECT_EQ(read, 21.5);
  EXPECT_EQ(general, "0.25");
}

}  // namespace
}  // namespace platform
