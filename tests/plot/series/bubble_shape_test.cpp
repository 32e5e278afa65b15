#include <gmock/gmock.h>

#include <typeindex>

#include "plot/chart/series_registry.h"
#include "plot/functions/basic_functions.h"
#include "plot/series/bubble_series.h"
#include "plot/series/chart_shape.h"
#include "plot/series/extended_series_kinds.h"
#include "tests/plot/series/extended_series_fixture.h"

namespace {

using ::testing::ElementsAre;
using plot::TBubbleSeries;
using plot::TChartShape;

class BubbleTest : public ExtendedSeriesTest {
 protected:
  void SetUp() override {
    ExtendedSeriesTest::SetUp();
    Add(bubbles);
    bubbles.AddBubble(5, 46, 10);
    bubbles.AddBubble(2, 20, -4);  // a negative radius counts by its size
  }
  TBubbleSeries bubbles;
};

TEST_F(BubbleTest, RadiusIsMeasuredOnTheVerticalAxisAndDrawnRoundOnANonSquarePlot) {
  // The vertical range holds every bubble.
  EXPECT_EQ(bubbles.MinYValue(), 16);
  EXPECT_EQ(bubbles.MaxYValue(), 56);
  PaintChecked();
  // 3 pixels a unit up, 30 across: a radius of 10 is 30 pixels both ways.
  EXPECT_THAT(SeriesLog({"Ellipse"}), ElementsAre("Ellipse(58,216,82,240)", "Ellipse(130,120,190,180)"));
  EXPECT_EQ(bubbles.RadiusPixels(1), 30);

  // With an automatic bottom axis the largest radius is the margin at both
  // ends, so the outer bubbles are whole.
  chart.BottomAxis().SetAutomatic(true);
  PaintChecked();
  int left = 0, right = 0;
  bubbles.HorizMargins(left, right);
  EXPECT_EQ(left, 31);
  EXPECT_EQ(right, 31);
  EXPECT_GE(bubbles.CalcXPos(0) - bubbles.RadiusPixels(0), chart.ChartRect().left);
  EXPECT_LE(bubbles.CalcXPos(1) + bubbles.RadiusPixels(1), chart.ChartRect().right);
}

TEST_F(BubbleTest, ClickedInsideTheCircleWithTheTopmostBubbleFirst) {
  bubbles.AddBubble(5.5, 46, 10);
  PaintChecked();
  EXPECT_EQ(bubbles.ClickedPoint(131, 150), 1);
  EXPECT_EQ(bubbles.ClickedPoint(129, 150), -1);
  // Inside both: the one drawn last.
  EXPECT_EQ(bubbles.ClickedPoint(170, 150), 2);
  EXPECT_EQ(bubbles.ClickedPoint(70, 228), 0);
  EXPECT_EQ(bubbles.ClickedPoint(70, 215), -1);
}

TEST_F(BubbleTest, MarkSitsAboveTheBubblesTop) {
  bubbles.Marks().SetVisible(true);
  bubbles.Marks().SetArrowLength(8);
  PaintChecked();
  // The large bubble's top is at (160, 120).
  EXPECT_THAT(Lines(), ::testing::Contains("MoveTo(160,120)"));
  EXPECT_THAT(Lines(), ::testing::Contains("LineTo(160,112)"));
  // A plain point is a bubble of radius 0, drawn one pixel.
  const int plain = bubbles.AddPointXY(8, 30);
  EXPECT_EQ(bubbles.RadiusValues().ValueAt(plain), 0);
  PaintChecked();
  EXPECT_THAT(SeriesLog({"Ellipse"}), ::testing::Contains("Ellipse(249,197,251,199)"));
}

// Corners (2, 23) and (6, 69): x 70 .. 190, y 219 up to 81.
class ShapeTest : public ExtendedSeriesTest {
 protected:
  void SetUp() override {
    ExtendedSeriesTest::SetUp();
    Add(shape);
    shape.SetCorners(2, 23, 6, 69);
  }
  TChartShape shape;
};

TEST_F(ShapeTest, EachStyleFillsTheBoxOfItsCornersInEitherOrder) {
  PaintChecked();
  EXPECT_THAT(SeriesLog({"Rectangle"}), ElementsAre("Rectangle(70,81,190,219)"));
  shape.SetStyle(plot::chasEllipse);
  PaintChecked();
  EXPECT_THAT(SeriesLog({"Ellipse"}), ElementsAre("Ellipse(70,81,190,219)"));
  // The triangle stands on the first corner's Y and points to the second.
  shape.SetStyle(plot::chasTriangle);
  PaintChecked();
  EXPECT_THAT(SeriesLog({"Polygon"}), ElementsAre("Polygon(70,219 130,81 190,219)"));
  shape.SetCorners(6, 69, 2, 23);
  PaintChecked();
  EXPECT_THAT(SeriesLog({"Polygon"}), ElementsAre("Polygon(70,81 130,219 190,81)"));
  EXPECT_EQ(shape.MinXValue(), 2);
  EXPECT_EQ(shape.MaxYValue(), 69);

  // One corner alone draws nothing.
  shape.DeletePoint(1);
  PaintChecked();
  EXPECT_TRUE(SeriesLog({"Polygon", "Rectangle"}).empty());
}

TEST_F(ShapeTest, TextIsCentredOrLaidFromTheTopOfATextBox) {
  shape.SetText("Hi\rthere");
  PaintChecked();
  // Lines 13 pixels high around the middle, y 150.
  EXPECT_THAT(SeriesLog({"TextOut"}), ElementsAre("TextOut(130,137,\"Hi\")", "TextOut(130,150,\"there\")"));
  shape.SetStyle(plot::chasTextBox);
  shape.SetAlignment(plot::taLeftJustify);
  PaintChecked();
  // Half a "W" (3 pixels) in from the left and from the top.
  EXPECT_THAT(SeriesLog({"TextOut"}), ElementsAre("TextOut(73,84,\"Hi\")", "TextOut(73,97,\"there\")"));
  // One legend row, saying the text.
  EXPECT_EQ(shape.LegendItemCount(), 1);
  EXPECT_EQ(shape.LegendString(0, plot::ltsLeftValue), "Hi there");
}

TEST_F(ShapeTest, ClickedInsideTheDrawnOutlineNotItsBox) {
  PaintChecked();
  EXPECT_EQ(shape.ClickedPoint(70, 81), 0);
  EXPECT_EQ(shape.ClickedPoint(69, 81), -1);
  shape.SetStyle(plot::chasEllipse);
  EXPECT_EQ(shape.ClickedPoint(130, 150), 0);
  EXPECT_EQ(shape.ClickedPoint(73, 84), -1);
  shape.SetStyle(plot::chasTriangle);
  EXPECT_EQ(shape.ClickedPoint(130, 150), 0);
  EXPECT_EQ(shape.ClickedPoint(75, 90), -1);
}

TEST(ExtendedSeriesKinds, RegisterOnceWithPagesAndFunctionsOnLines) {
  plot::RegisterExtendedSeriesKinds();
  const std::size_t count = plot::RegisteredSeriesTypes().size();
  plot::RegisterExtendedSeriesKinds();
  ASSERT_EQ(plot::RegisteredSeriesTypes().size(), count);
  std::vector<std::string> kinds, functions;
  for (const plot::TSeriesTypeEntry& e : plot::RegisteredSeriesTypes()) {
    if (e.galleryPage == "Extended") kinds.push_back(e.description);
    if (e.galleryPage == "Functions") {
      functions.push_back(e.description);
      EXPECT_EQ(e.seriesClass, std::type_index(typeid(plot::TLineSeries)));
    }
  }
  EXPECT_THAT(kinds, ElementsAre("Gantt", "Arrow", "Bubble", "Shape"));
  EXPECT_THAT(functions, ElementsAre("Add", "Subtract", "Multiply", "Divide", "High", "Low", "Average"));

  plot::TChart chart;
  auto average = plot::CreateNewSeries(&chart, typeid(plot::TLineSeries), typeid(plot::TAverageFunction));
  ASSERT_NE(average, nullptr);
  EXPECT_NE(dynamic_cast<plot::TAverageFunction*>(average->Function()), nullptr);
  EXPECT_EQ(average->Function()->ParentSeries(), average.get());
  auto bubble = plot::CreateNewSeries(&chart, typeid(TBubbleSeries));
  EXPECT_NE(dynamic_cast<TBubbleSeries*>(bubble.get()), nullptr);
}

}  // namespace
