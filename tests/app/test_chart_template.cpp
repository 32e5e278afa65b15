// Chart templates: the file's keys, their effect on the logger's chart as
// drawn (recording canvas), the round trip through a real file, and the
// errors a hostile or mistyped file gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/chart_template.h"
#include "app/logger_chart.h"
#include "platform/posix/posix_file_system.h"
#include "plot/series/line_series.h"
#include "plot/series/series_marks.h"
#include "tests/support/support_recording_canvas.h"

namespace logger {
namespace {

namespace fs = std::filesystem;

const char* kFullTemplate = R"({
  "chart": "temperature",
  "title": "Cold room 4",
  "view3D": false,
  "legend": {"visible": true},
  "leftAxis": {"automatic": false, "minimum": -10, "maximum": 50, "increment": 5, "title": "°C", "grid": false},
  "bottomAxis": {"title": "Sample", "grid": true},
  "series": [{"color": "#0000FF", "lineWidth": 3, "marks": false, "pointer": true}]
})";

// The logger's chart showing a short log, painted onto a recording canvas.
class TemplateChart : public ::testing::Test {
 protected:
  void SetUp() override {
    plot::TChart& c = chart.Chart1();
    c.SetBounds(0, 0, 400, 300);
    c.Canvas().SetBuffered(false);
    chart.BeginTemperature();
    for (int i = 0; i < 20; ++i) chart.AddTemperaturePoint(2.0 + i * 0.5, std::string(1, 't').append(std::to_string(i)));
    chart.ResetZoom();
  }
  void Paint() {
    screen.Clear();
    chart.Chart1().Draw(screen, {0, 0, 400, 300});
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& call : screen.Calls("TextOut")) out.push_back(call.text);
    return out;
  }
  bool Drew(const std::string& text) const {
    auto texts = Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  // Lines drawn with the dotted grid pen, across (the left axis' grid) or
  // up (the bottom axis').
  int GridLines(bool across) const {
    int n = 0;
    const auto& calls = screen.calls;
    for (std::size_t i = 1; i < calls.size(); ++i) {
      if (calls[i].op != "LineTo" || calls[i].pen.style != platform::PenStyle::Dot || calls[i - 1].op != "MoveTo") {
        continue;
      }
      const bool flat = calls[i].args.at(1) == calls[i - 1].args.at(1);
      n += flat == across;
    }
    return n;
  }
  // Line segments drawn in this colour and width: the series' line.
  int LinesIn(platform::Color color, int width) const {
    int n = 0;
    for (const auto& call : screen.calls) n += call.op == "LineTo" && call.pen.color == color && call.pen.width == width;
    return n;
  }

  LoggerChart chart;
  testsupport::RecordingCanvas screen;
};

TEST_F(TemplateChart, EachKeyChangesWhatIsDrawnAndNothingElse) {
  Paint();
  ASSERT_TRUE(Drew("Temperature and Time"));
  ASSERT_FALSE(Drew("-10"));
  ASSERT_FALSE(Drew("2 t0"));
  ASSERT_GT(GridLines(true), 0);
  ASSERT_GT(GridLines(false), 0);
  ASSERT_GT(LinesIn(0x0000FF, 1), 0);  // red, as configured

  ApplyChartTemplate(ParseChartTemplate(kFullTemplate, "look.json"), chart.Chart1());
  Paint();
  EXPECT_TRUE(Drew("Cold room 4"));
  EXPECT_FALSE(Drew("Temperature and Time"));
  // The fixed left axis: -10 to 50 every 5, whatever the points span.
  for (int v = -10; v <= 50; v += 5) EXPECT_TRUE(Drew(std::to_string(v))) << v;
  EXPECT_FALSE(Drew("55"));
  EXPECT_TRUE(Drew("°C"));
  EXPECT_TRUE(Drew("Sample"));
  // The legend lists the one series' points; the left grid is gone, the
  // bottom one stays.
  EXPECT_TRUE(Drew("2 t0"));
  EXPECT_EQ(GridLines(true), 0);
  EXPECT_GT(GridLines(false), 0);
  EXPECT_EQ(LinesIn(0x0000FF, 1), 0);
  EXPECT_GT(LinesIn(0xFF0000, 3), 10);  // blue (red is the low byte), 3 wide
  EXPECT_TRUE(chart.Series1().Pointer().Visible());
  // The data is the template's business nowhere.
  EXPECT_EQ(chart.Series1().Count(), 20);
  EXPECT_EQ(chart.Series1().PointLabel(3), "t3");
}

TEST_F(TemplateChart, CapturedLookAppliesToAFreshChartAndSurvivesTheFile) {
  ApplyChartTemplate(ParseChartTemplate(kFullTemplate, "look.json"), chart.Chart1());
  chart.Chart1().BottomAxis().SetAutomaticMaximum(false);
  chart.Chart1().BottomAxis().SetMaximum(12);
  const ChartTemplate captured = CaptureChartTemplate(chart.Chart1(), ChartKind::Temperature);
  EXPECT_EQ(captured.leftAxis.minimum, -10);
  EXPECT_EQ(captured.leftAxis.automatic, false);
  // Half fixed: only the maximum is kept, the other end follows the series.
  EXPECT_FALSE(captured.bottomAxis.automatic.has_value());
  EXPECT_EQ(captured.bottomAxis.maximum, 12);
  EXPECT_FALSE(captured.bottomAxis.minimum.has_value());

  const fs::path dir = fs::temp_directory_path() / (std::string("quorvel-template-").append(std::to_string(::getpid())));
  fs::create_directories(dir);
  const std::string path = (dir / "look.json").string();
  platform::PosixFileSystem files;
  WriteChartTemplateFile(files, path, captured);
  const ChartTemplate read = ReadChartTemplateFile(files, path);
  EXPECT_EQ(read, captured);
  EXPECT_EQ(ParseChartTemplate(ChartTemplateText(read), "again"), read);

  LoggerChart fresh;
  fresh.BeginTemperature();
  ApplyChartTemplate(read, fresh.Chart1());
  EXPECT_EQ(CaptureChartTemplate(fresh.Chart1(), ChartKind::Temperature), captured);
  EXPECT_TRUE(fresh.Chart1().BottomAxis().AutomaticMinimum());

  // A missing file and a folder are named with their fault.
  try {
    ReadChartTemplateFile(files, (dir / "none.json").string());
    ADD_FAILURE();
  } catch (const TemplateError& e) {
    EXPECT_NE(e.Message().find("none.json: File not found"), std::string::npos) << e.Message();
  }
  EXPECT_THROW(ReadChartTemplateFile(files, dir.string()), TemplateError);
  fs::remove_all(dir);
}

TEST_F(TemplateChart, AxisEndsMoveInAnOrderTheAxisAccepts) {
  // From an automatic range around 2..11.5 to one wholly above it, and back
  // below: each end alone would be refused on the way.
  chart.Chart1().LeftAxis().SetAutomatic(false);
  chart.Chart1().LeftAxis().SetRange(0, 10);
  ApplyChartTemplate(ParseChartTemplate(R"({"leftAxis": {"minimum": 100, "maximum": 200}})", "up"), chart.Chart1());
  EXPECT_EQ(chart.Chart1().LeftAxis().Minimum(), 100);
  EXPECT_EQ(chart.Chart1().LeftAxis().Maximum(), 200);
  ApplyChartTemplate(ParseChartTemplate(R"({"leftAxis": {"minimum": -50, "maximum": -40}})", "down"),
                     chart.Chart1());
  EXPECT_EQ(chart.Chart1().LeftAxis().Minimum(), -50);
  EXPECT_EQ(chart.Chart1().LeftAxis().Maximum(), -40);
  // A minimum alone fixes that end only.
  LoggerChart other;
  ApplyChartTemplate(ParseChartTemplate(R"({"leftAxis": {"minimum": -5}})", "min"), other.Chart1());
  EXPECT_FALSE(other.Chart1().LeftAxis().AutomaticMinimum());
  EXPECT_TRUE(other.Chart1().LeftAxis().AutomaticMaximum());
}

// Reset Chart Look: every configured setting back, whatever an editor or a
// template changed, both templates forgotten, added series gone, the data
// and the shown display kept.
TEST_F(TemplateChart, ResetLookGivesBackTheConfiguredChart) {
  plot::TChart& c = chart.Chart1();
  chart.SetTemplate(ChartKind::Temperature, ParseChartTemplate(kFullTemplate, "look.json"));
  chart.SetTemplate(ChartKind::Histogram, ParseChartTemplate(R"({"title": "Bars"})", "bars.json"));
  chart.ApplyCurrentTemplate();
  c.SetBackColor(0x00FF00);
  c.BackWall().Brush().SetStyle(platform::BrushStyle::Cross);
  c.BottomAxis().SetDateTimeFormat("hh:mm");
  c.BottomAxis().SetLabelsAngle(0);
  c.SetBevelOuter(plot::bvRaised);
  c.Gradient().SetVisible(true);
  chart.Series1().Marks().SetVisible(true);
  chart.Series1().Pointer().SetStyle(plot::psCircle);
  chart.Series2().SetSeriesColor(0x00FF00);
  auto extra = std::make_unique<plot::TPointSeries>();
  extra->SetParentChart(&c);
  chart.KeepSeries(std::move(extra));
  c.ExchangeSeries(0, 2);
  ASSERT_EQ(c.SeriesCount(), 3);

  chart.ResetLook();
  EXPECT_FALSE(chart.Template(ChartKind::Temperature).has_value());
  EXPECT_FALSE(chart.Template(ChartKind::Histogram).has_value());
  ASSERT_EQ(c.SeriesCount(), 2);
  EXPECT_EQ(c.Series(0), &chart.Series1());
  EXPECT_EQ(c.Title().Text().Lines(), std::vector<std::string>{"Temperature and Time"});
  EXPECT_EQ(c.BackColor(), 0xFFFFFFu);
  EXPECT_EQ(c.BackWall().Brush().Style(), platform::BrushStyle::Clear);
  EXPECT_EQ(c.BottomAxis().DateTimeFormat(), "dd/MM/yy hh:mm");
  EXPECT_EQ(c.BottomAxis().LabelsAngle(), 90);
  EXPECT_EQ(c.BevelOuter(), plot::bvNone);
  EXPECT_FALSE(c.Gradient().Visible());
  EXPECT_FALSE(c.Legend().Visible());
  EXPECT_FALSE(c.View3D());
  EXPECT_TRUE(c.LeftAxis().Automatic());
  EXPECT_EQ(c.LeftAxis().Title().Caption(), "");
  EXPECT_TRUE(c.LeftAxis().Grid().Visible());
  EXPECT_EQ(chart.Series1().SeriesColor(), 0x0000FFu);
  EXPECT_EQ(chart.Series1().LinePen().Width(), 1);
  EXPECT_FALSE(chart.Series1().Marks().Visible());
  EXPECT_FALSE(chart.Series1().Pointer().Visible());
  EXPECT_EQ(chart.Series1().Pointer().Style(), plot::psRectangle);
  EXPECT_EQ(chart.Series2().SeriesColor(), 0x0000FFu);
  // The temperature display stays shown, with its points.
  EXPECT_TRUE(chart.Series1().Active());
  EXPECT_FALSE(chart.Series2().Active());
  EXPECT_EQ(chart.Series1().Count(), 20);
  // The histogram's template is gone too.
  chart.BeginHistogram();
  chart.ResetZoom();
  EXPECT_EQ(c.Title().Text().Lines(), std::vector<std::string>{"Temperature Counts"});
}

TEST(ChartTemplateErrors, NameTheFileTheLineAndTheKey) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"{\n  \"colour\": 1\n}", "t.json, line 2: unknown key \"colour\""},
      {"{\"leftAxis\": {\n\"minimum\": 1,\n\"max\": 2}}", "t.json, line 3: unknown key \"max\" in \"leftAxis\""},
      {"{\"series\": [{}, {\"width\": 2}]}", "t.json, line 1: unknown key \"width\" in \"series\""},
      {"{\"legend\": {\"shown\": true}}", "unknown key \"shown\" in \"legend\""},
      {"{\"chart\": \"bars\"}", "\"chart\" must be \"temperature\" or \"histogram\""},
      {"{\"view3D\": 1}", "\"view3D\" must be true or false"},
      {"{\"leftAxis\": {\"minimum\": \"-10\"}}", "\"minimum\" in \"leftAxis\" must be a number"},
      {"{\"leftAxis\": {\"minimum\": 5, \"maximum\": 1}}", "Axis Minimum Value must be <= Maximum"},
      {"{\"bottomAxis\": {\"increment\": -1}}", "Axis increment must be >= 0"},
      {"{\"series\": [{\"color\": \"blue\"}]}", "#RRGGBB"},
      {"{\"series\": [{\"lineWidth\": 1.5}]}", "whole number from 0 to 100"},
      {"{\"series\": {}}", "\"series\" must be a list"},
      {"[]", "t.json, line 1: expected an object"},
      {"{\n\n\"title\": \"x\",}", "t.json, line 3, column"},
  };
  for (const Case& c : cases) {
    try {
      ParseChartTemplate(c.text, "t.json");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const TemplateError& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
  // A refused template changes nothing: it never reaches the chart.
  EXPECT_EQ(ParseChartTemplate("{}", "empty"), ChartTemplate{});
}

}  // namespace
}  // namespace logger
