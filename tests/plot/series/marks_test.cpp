#include <gmock/gmock.h>

#include "plot/axes/chart_axis.h"
#include "tests/plot/series/series_fixture.h"
#include "tests/support/support_chart_series.h"

namespace {

using ::testing::ElementsAre;
using plot::TLineSeries;

// Marks of a line series with the default font (13 pixels high, 6 wide per
// character on the recording canvas), arrow 8 and a one-pixel frame.
class MarksTest : public SeriesTest {
 protected:
  void SetUp() override {
    SeriesTest::SetUp();
    Add(line);
    line.Marks().SetVisible(true);
  }
  TLineSeries line;
};

TEST_F(MarksTest, BoxSitsAboveThePointByTheArrowLength) {
  line.AddPointY(1, "ab");
  line.AddPointY(2, "abc");
  Paint();
  const int x = line.CalcXPos(1), y = line.CalcYPos(1);
  const auto boxes = SeriesCalls("Rectangle");
  ASSERT_EQ(boxes.size(), 2u);
  // "abc" and "W": 18 + 6 wide, one line high, both plus the frame.
  const int width = 24 + 2, height = 13 + 2;
  const int left = x - width / 2, top = y - height + 1 - 8;
  EXPECT_THAT(boxes[1].args, ElementsAre(left, top, left + width, top + height));
  EXPECT_EQ(boxes[1].brush.color, 0x80FFFFu);
  // The arrow from the point up to the box, then the centred text under the
  // frame.
  const auto texts = SeriesCalls("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "abc");
  EXPECT_EQ(texts[1].args[0], left + width / 2);
  EXPECT_EQ(texts[1].args[1], top + 1);
  EXPECT_EQ(texts[1].textAlign, platform::text_align::kCenter);
  const auto log = SeriesLog({"MoveTo", "LineTo"});
  EXPECT_THAT(std::vector<std::string>(log.end() - 2, log.end()),
              ElementsAre("MoveTo(" + std::to_string(x) + "," + std::to_string(y) + ")",
                          "LineTo(" + std::to_string(x) + "," + std::to_string(y - 8) + ")"));
}

TEST_F(MarksTest, NullPointsAndEmptyTextsHaveNoMark) {
  line.AddPointY(1, "one");
  line.AddNullPoint("gap");
  line.AddPointY(3, "three");
  line.OnGetMarkText = [](plot::TChartSeries&, int index, std::string& text) {
    if (index == 2) text.clear();
  };
  Paint();
  std::vector<std::string> texts;
  for (const auto& call : SeriesCalls("TextOut")) texts.push_back(call.text);
  EXPECT_THAT(texts, ElementsAre("one"));
}

TEST_F(MarksTest, TwoLineTextMakesABoxTwoFontHeightsHighWithBothLinesCentred) {
  line.AddPointY(1, "wide line\rab");
  Paint();
  const auto boxes = SeriesCalls("Rectangle");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args[3] - boxes[0].args[1], 2 * 13 + 2);
  EXPECT_EQ(boxes[0].args[2] - boxes[0].args[0], 9 * 6 + 6 + 2);
  const auto texts = SeriesCalls("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "wide line");
  EXPECT_EQ(texts[1].text, "ab");
  EXPECT_EQ(texts[0].args[0], texts[1].args[0]);
  EXPECT_EQ(texts[1].args[1] - texts[0].args[1], 13);
  // A trailing carriage return adds no line.
  line.SetPointLabel(0, "one\r");
  Paint();
  EXPECT_EQ(SeriesCalls("Rectangle")[0].args[3] - SeriesCalls("Rectangle")[0].args[1], 13 + 2);
}

TEST_F(MarksTest, TransparentBoxWithoutFrameLeavesArrowAndText) {
  line.AddPointY(1, "x");
  line.Marks().SetTransparent(true);
  line.Marks().Frame().SetVisible(false);
  Paint();
  EXPECT_TRUE(SeriesLog({"Rectangle"}).empty());
  EXPECT_EQ(SeriesLog({"TextOut"}).size(), 1u);
  EXPECT_EQ(SeriesLog({"LineTo"}).size(), 1u);
  // The text starts at the box top: no frame to step over.
  const int y = line.CalcYPos(0);
  EXPECT_EQ(SeriesCalls("TextOut")[0].args[1], y - 13 + 1 - 8);
}

TEST_F(MarksTest, PercentOfAZeroSumReadsHundredPercent) {
  line.AddPointY(0);
  line.AddPointY(0);
  line.Marks().SetStyle(plot::smsPercent);
  Paint();
  std::vector<std::string> texts;
  for (const auto& call : SeriesCalls("TextOut")) texts.push_back(call.text);
  EXPECT_THAT(texts, ElementsAre("100 %", "100 %"));
}

TEST_F(MarksTest, UserPlacedMarkStaysWhereItWasPut) {
  line.AddPointY(1, "a");
  line.AddPointY(5, "b");
  Paint();
  plot::TSeriesMarkPosition* position = line.Marks().Positions().Position(1);
  ASSERT_NE(position, nullptr);
  EXPECT_FALSE(position->UserPlaced);
  position->UserPlaced = true;
  position->BoxLeftTop = {20, 30};
  position->ArrowEnd = {25, 45};
  // Points move: the unplaced mark follows, the placed one stays.
  line.AddPointY(100, "c");
  Paint();
  const auto boxes = SeriesCalls("Rectangle");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[1].args[0], 20);
  EXPECT_EQ(boxes[1].args[1], 30);
  EXPECT_EQ(line.Marks().Positions().Position(0)->ArrowStart.y, line.CalcYPos(0));
  EXPECT_EQ(line.Marks().Positions().Position(1)->BoxLeftTop.y, 30);
}

TEST_F(MarksTest, ArrowInThePointColourIsDrawnBlack) {
  line.AddPointY(1, "a");
  line.Marks().Arrow().SetColor(plot::clRed);
  Paint();
  auto arrows = SeriesCalls("LineTo");
  ASSERT_EQ(arrows.size(), 1u);
  EXPECT_EQ(arrows[0].pen.color, plot::clBlack);

  // An arrow in the chart's own colour too; white on a black chart.
  chart.SetColor(plot::clBlack);
  line.Marks().Arrow().SetColor(plot::clBlack);
  Paint();
  EXPECT_EQ(SeriesCalls("LineTo")[0].pen.color, plot::clWhite);

  plot::SetCheckMarkArrowColor(false);
  line.Marks().Arrow().SetColor(plot::clRed);
  Paint();
  plot::SetCheckMarkArrowColor(true);
  EXPECT_EQ(SeriesCalls("LineTo")[0].pen.color, plot::clRed);
}

TEST_F(MarksTest, KindsWithoutTheirOwnPlacementDrawEachMarkAtItsPointInItsColour) {
  // A kind built straight on the base series: the box stands on the point
  // (no lift), the arrow has no length, and a point coloured like the
  // arrow gets a black one.
  chart.RemoveSeries(&line);
  testsupport::TTestRectSeries rects;
  Add(rects);
  rects.Marks().SetVisible(true);
  rects.Marks().Arrow().SetColor(plot::clGreen);
  rects.AddPointY(1, "ab");
  rects.AddPointY(2, "abc", plot::clGreen);
  Paint();
  const auto texts = SeriesCalls("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "abc");
  const int x = rects.CalcXPos(1), y = rects.CalcYPos(1);
  const int width = 24 + 2, height = 13 + 2;
  const auto boxes = SeriesCalls("Rectangle");
  ASSERT_EQ(boxes.size(), 2u + 2u);  // two points, two mark boxes
  EXPECT_THAT(boxes[3].args, ElementsAre(x - width / 2, y - height + 1, x - width / 2 + width, y + 1));
  ASSERT_NE(rects.Marks().Positions().Position(1), nullptr);
  const auto arrows = SeriesCalls("LineTo");
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0].pen.color, plot::clGreen);
  EXPECT_EQ(arrows[1].pen.color, plot::clBlack);
}

TEST_F(MarksTest, ThreeDMarksOfALineSitAtItsFrontDepth) {
  chart.SetView3D(true);
  line.AddPointY(1, "a");
  Paint();
  EXPECT_EQ(line.Marks().ZPosition(), line.StartZ());
  const auto boxes = SeriesCalls("Rectangle");
  ASSERT_EQ(boxes.size(), 1u);
  // The box follows its arrow's end projected at that depth.
  const plot::TSeriesMarkPosition* stored = line.Marks().Positions().Position(0);
  const plot::Point end = chart.Canvas().ProjectPoint(stored->ArrowEnd.x, stored->ArrowEnd.y, line.StartZ());
  EXPECT_EQ(boxes[0].args[0], stored->BoxLeftTop.x + end.x - stored->ArrowEnd.x);
  EXPECT_EQ(boxes[0].args[1], stored->BoxLeftTop.y + end.y - stored->ArrowEnd.y);
}

}  // namespace
