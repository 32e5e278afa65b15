#include <gmock/gmock.h>

#include "plot/chart/chart_exceptions.h"
#include "tests/plot/chart/chart_fixture.h"

namespace {

using ::testing::ElementsAre;
using testsupport::TTestRectSeries;

// Titles and legend on a chart without axes, so the plotting rectangle
// after a paint is what they left (bounds 400 x 300, margins 12 px; text
// 13 px high and 6 px a character).
class LayoutTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    chart.SetAxisVisible(false);
  }
};

TEST_F(LayoutTest, OneLineTitleIsCentredWithoutABox) {
  chart.Title().Text().Add("Hello");
  Paint();
  EXPECT_EQ(screen.Count("Rectangle"), 1);  // only the back wall
  const auto text = screen.Calls("TextOut").at(0);
  EXPECT_EQ(text.args, (std::vector<int>{200 - 15, 12}));
  EXPECT_EQ(text.font.color, plot::clBlue);
  EXPECT_EQ(text.brush.style, platform::BrushStyle::Clear);
  EXPECT_EQ(chart.ChartRect(), (plot::Rect{12, 12 + 13 + 5, 388, 288}));
  EXPECT_TRUE(chart.Title().Clicked(200, 20));
  EXPECT_FALSE(chart.Title().Clicked(200, 40));
}

TEST_F(LayoutTest, EmptyTitleTakesNoGapOnlyItsFrame) {
  Paint();
  EXPECT_EQ(chart.ChartRect().top, 12);
  chart.Title().Frame().SetVisible(true);
  chart.Title().Frame().SetWidth(2);
  Paint();
  EXPECT_EQ(chart.ChartRect().top, 12 + 2 * 2);
  // The adjusted box is one "W" wide around the centre.
  EXPECT_EQ(screen.Log("Rectangle").at(0), "Rectangle(195,12,205,16)");
}

TEST_F(LayoutTest, TitleAlignmentAndFrames) {
  chart.Title().Text().SetLines({"Hi", "Second"});
  chart.Title().SetAlignment(plot::taLeftJustify);
  Paint();
  auto texts = screen.Calls("TextOut");
  EXPECT_EQ(texts[0].args, (std::vector<int>{12 + 3, 12}));
  EXPECT_EQ(texts[1].args, (std::vector<int>{12 + 3, 25}));
  chart.Title().SetAlignment(plot::taRightJustify);
  chart.Title().Frame().SetVisible(true);
  chart.Title().SetColor(plot::clYellow);
  Paint();
  texts = screen.Calls("TextOut");
  const int f = 1;
  EXPECT_EQ(texts[0].args, (std::vector<int>{388 - f - 12 - 3, 12 + f}));
  // A filled, framed box shrunk to the text and kept at the right.
  const auto box = screen.Calls("Rectangle").at(0);
  EXPECT_EQ(box.args, (std::vector<int>{388 - f - 42 - f, 12, 388, 12 + f + 26 + f}));
  EXPECT_EQ(box.brush.color, plot::clYellow);
  EXPECT_EQ(chart.ChartRect().top, 12 + f + 26 + f + 5);
}

TEST_F(LayoutTest, FootLinesGoUpFromTheBottom) {
  chart.Foot().Text().SetLines({"one", "two"});
  Paint();
  const auto texts = screen.Calls("TextOut");
  EXPECT_EQ(texts[0].text, "two");
  EXPECT_EQ(texts[0].args[1], 288 - 13);
  EXPECT_EQ(texts[1].text, "one");
  EXPECT_EQ(texts[1].args[1], 288 - 26);
  EXPECT_EQ(chart.ChartRect().bottom, 288 - 26 - 5);
}

class LegendTest : public LayoutTest {
 protected:
  void SetUp() override {
    LayoutTest::SetUp();
    series.AddPointXY(0, 1, "a");
    series.AddPointXY(1, 2, "b");
    series.AddPointXY(2, 3, "c");
    series.SetParentChart(&chart);
  }
  TTestRectSeries series;
};

TEST_F(LegendTest, RightLegendOfValues) {
  Paint();
  // "1 a" is 18 px: T = 22, rows from 10 % down, frame 1, shadow 3.
  EXPECT_EQ(chart.Legend().RectLegend(), (plot::Rect{352, 30, 383, 71}));
  EXPECT_THAT(Texts(), ElementsAre("1 a", "2 b", "3 c"));
  const auto first = screen.Calls("TextOut")[0];
  EXPECT_EQ(first.args, (std::vector<int>{363, 31}));
  EXPECT_EQ(screen.Calls("TextOut")[2].args, (std::vector<int>{363, 57}));
  // Shadow, box grown by the frame, then each colour box in the point's
  // colour.
  EXPECT_EQ(screen.Log("PatternFill").back(), "PatternFill(354,32,388,76)");
  const auto rects = screen.Calls("Rectangle");
  EXPECT_EQ(rects[0].ToString(), "Rectangle(351,29,384,72)");
  EXPECT_EQ(rects[0].brush.color, plot::clWhite);
  EXPECT_EQ(rects[1].ToString(), "Rectangle(356,33,359,42)");
  EXPECT_EQ(rects[1].brush.color, plot::clRed);
  // The plotting rectangle ends at the legend, less 3 % of its width.
  EXPECT_EQ(chart.ChartRect().right, 352 - 11);
}

TEST_F(LegendTest, WithoutResizeChartTheMarginIsStillTaken) {
  chart.Legend().SetResizeChart(false);
  Paint();
  EXPECT_EQ(chart.ChartRect().right, 388 - 11);
}

TEST_F(LegendTest, NothingToListDrawsNothingAndTakesNoRoom) {
  chart.Legend().SetFirstValue(3);
  Paint();
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(chart.ChartRect().right, 388);
  chart.Legend().SetFirstValue(0);
  series.SetActive(false);
  Paint();
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(chart.ChartRect().right, 388);
}

TEST_F(LegendTest, InvertedFirstValueAndTextStyles) {
  chart.Legend().SetFirstValue(1);
  chart.Legend().SetInverted(true);
  chart.Legend().SetTextStyle(plot::ltsRightPercent);
  Paint();
  EXPECT_THAT(Texts(), ElementsAre("c 50 %", "b 33.33 %"));
  chart.Legend().SetTextStyle(plot::ltsPlain);
  chart.OnGetLegendText = [](plot::TCustomChart&, plot::TLegendStyle style, int index, std::string& text) {
    EXPECT_EQ(style, plot::lsValues);
    text += std::to_string(index);
  };
  Paint();
  EXPECT_THAT(Texts(), ElementsAre("c2", "b1"));
}

TEST_F(LegendTest, SeriesLegendWithTwoSeries) {
  TTestRectSeries other;
  other.AddPointXY(0, 5);
  other.SetTitle("Other");
  other.SetParentChart(&chart);
  series.SetName("Mine");
  TTestRectSeries hidden;
  hidden.SetShowInLegend(false);
  hidden.SetParentChart(&chart);
  Paint();
  EXPECT_EQ(chart.Legend().ResolvedStyle(), plot::lsSeries);
  EXPECT_THAT(Texts(), ElementsAre("Mine", "Other"));
  chart.Legend().SetLegendStyle(plot::lsLastValues);
  Paint();
  EXPECT_THAT(Texts(), ElementsAre("3 c", "5 "));
  series.SetName("");
  EXPECT_EQ(chart.SeriesTitleLegend(0), "Series 1");
}

TEST_F(LegendTest, ClickedRows) {
  Paint();
  EXPECT_EQ(chart.Legend().Clicked(360, 31), 0);
  EXPECT_EQ(chart.Legend().Clicked(360, 45), 1);
  EXPECT_EQ(chart.Legend().Clicked(360, 70), 2);
  EXPECT_EQ(chart.Legend().Clicked(300, 45), -1);
  EXPECT_EQ(chart.Legend().Clicked(360, 80), -1);
}

TEST_F(LegendTest, TopLegendInColumns) {
  chart.Legend().SetAlignment(plot::laTop);
  chart.Legend().SetTopPos(0);
  Paint();
  // Three items of 22 + 3 + 8 fit in one row.
  EXPECT_EQ(chart.Legend().Columns(), 3);
  EXPECT_EQ(chart.Legend().Rows(), 1);
  const plot::Rect r = chart.Legend().RectLegend();
  EXPECT_EQ(r.top, 12 + 1 + 1);
  EXPECT_EQ(r.bottom, 14 + 13 + 2);
  const auto texts = screen.Calls("TextOut");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1].args[0] - texts[0].args[0], 22 + 3 + 4);
  EXPECT_EQ(texts[0].args[1], texts[2].args[1]);
  EXPECT_EQ(chart.ChartRect().top, r.bottom + 3 + 11);
  chart.Legend().SetMaxNumRows(0);
  Paint();
  EXPECT_TRUE(Texts().empty());
}

TEST_F(LegendTest, RangeErrorsKeepTheOldValue) {
  plot::TChartLegend& legend = chart.Legend();
  auto expectError = [](auto&& action, const char* text) {
    try {
      action();
      ADD_FAILURE() << "no error for " << text;
    } catch (const plot::LegendException& e) {
      EXPECT_STREQ(e.what(), text);
    }
  };
  expectError([&] { legend.SetColorWidth(101); }, "Legend Color Width must be between 0 and 100 %");
  expectError([&] { legend.SetTopPos(-1); }, "Top Legend Position must be between 0 and 100 %");
  expectError([&] { legend.SetFirstValue(-1); }, "First Legend Value must be > 0");
  EXPECT_EQ(legend.ColorWidth(), 12);
  EXPECT_EQ(legend.TopPos(), 10);
  legend.SetFirstValue(0);
  legend.SetColorWidth(0);
  EXPECT_EQ(legend.ColorWidth(), 0);
}

TEST_F(LayoutTest, WallsIn3D) {
  chart.SetView3D(true);
  TTestRectSeries series;
  series.AddPointXY(0, 0);
  series.SetParentChart(&chart);
  chart.Legend().SetVisible(false);
  Paint();
  const plot::Rect r = chart.ChartRect();
  // Orthogonal 3D: the rectangle gave the depth up at the right and top.
  EXPECT_EQ(r.right, 388 - chart.Width3D());
  EXPECT_EQ(r.top, 12 + chart.Width3D());
  // Back wall at the depth, then the left and bottom walls as planes.
  EXPECT_GE(screen.Count("Polygon"), 3);
  EXPECT_EQ(chart.GetAxisSeparationWall(&chart.LeftAxis()), 0);
  chart.LeftWall().SetSize(5);
  EXPECT_EQ(chart.GetAxisSeparationWall(&chart.LeftAxis()), 5);
  chart.SetView3DWalls(false);
  EXPECT_EQ(chart.GetAxisSeparationWall(&chart.LeftAxis()), 0);
}

}  // namespace
