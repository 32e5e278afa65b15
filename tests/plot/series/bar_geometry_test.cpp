// The bar series' rounding rules, pinned with numbers that come out
// differently under each plausible wrong variant. Each case says which
// variants it tells apart.
#include <gmock/gmock.h>

#include <memory>
#include <vector>

#include "plot/axes/chart_axis.h"
#include "tests/plot/series/series_fixture.h"

namespace {

using plot::TBarSeries;

// A bottom axis exactly 300 pixels long: a 320-pixel chart without axes
// keeps 3 % (10 px) free at each side.
class BarGeometryTest : public SeriesTest {
 protected:
  void SetUp() override {
    SeriesTest::SetUp();
    chart.SetBounds(0, 0, 320, 300);
    chart.SetAxisVisible(false);
  }
  // `count` bar series of `points` points each, side by side.
  std::vector<std::unique_ptr<TBarSeries>> Bars(int count, int points) {
    std::vector<std::unique_ptr<TBarSeries>> bars;
    for (int s = 0; s < count; ++s) {
      bars.push_back(std::make_unique<TBarSeries>());
      Add(*bars.back());
      bars.back()->Marks().SetVisible(false);
      for (int i = 0; i < points; ++i) bars.back()->AddPointY(i + 1);
    }
    return bars;
  }
  void PaintChecked() {
    Paint();
    ASSERT_EQ(chart.BottomAxis().PixelLength(), 300);
  }
  // Where a bar starts relative to its X value's pixel.
  int Offset(TBarSeries& bars, int index) {
    return bars.CalcXPos(index) - chart.BottomAxis().ValueToPixel(bars.XValues().ValueAt(index));
  }
};

TEST_F(BarGeometryTest, SlotIsCutDownThenTheShareRoundsToNearestEvenThenSplitsAndTurnsEven) {
  const struct {
    int series, percent, points, width;
    const char* separates;
  } cases[] = {
      // 300 / 8 = 37 (37.5 if rounded would be 38): 70 % is 25.9 -> 26.
      {1, 70, 7, 26, "slot rounded instead of cut down (28)"},
      // 26 / 2 = 13, odd -> 14.
      {2, 70, 7, 14, "share truncated (25 / 2 = 12), odd width kept (13) or made smaller (12)"},
      // 26 / 3 = 8.
      {3, 70, 7, 8, "divided before rounding (25.9 / 3 -> 9 -> 10), slot rounded (27 / 3 -> 10)"},
      // 300 / 12 = 25: 50 % is exactly 12.5 -> 12.
      {1, 50, 11, 12, "halves rounded away from zero (13 -> 14)"},
  };
  for (const auto& c : cases) {
    auto bars = Bars(c.series, c.points);
    for (auto& b : bars) b->SetBarWidthPercent(c.percent);
    PaintChecked();
    for (auto& b : bars) EXPECT_EQ(b->BarWidth(), c.width) << c.series << " series: " << c.separates;
  }
}

TEST_F(BarGeometryTest, SideBySideBarsOfAnOddWidthSitAtRoundedHalfWidths) {
  // Three series of 15-pixel bars: the p-th starts (p - 1.5 - 1) x 15 from
  // the value's pixel: -22.5 -> -22, -7.5 -> -8, 7.5 -> 8 (halves to even).
  // Truncating gives -22, -7, 7; rounding away -23, -8, 8; flooring -23,
  // -8, 7; an integer k / 2 gives -15, 0, 15.
  auto bars = Bars(3, 4);
  TBarSeries inactive;  // counts neither for the slot's share nor the order
  Add(inactive);
  inactive.AddPointY(1);
  inactive.SetActive(false);
  for (auto& b : bars) b->SetCustomBarWidth(15);
  PaintChecked();
  const int expected[] = {-22, -8, 8};
  for (int p = 0; p < 3; ++p) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Offset(*bars[static_cast<std::size_t>(p)], i), expected[p]) << p << "," << i;
  }
  // A bar spans its start to start + width.
  const auto rects = SeriesCalls("Rectangle");
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects[0].args[2] - rects[0].args[0], 15);
}

TEST_F(BarGeometryTest, ASingleBarOfOddWidthIsCentredByTheRuleOfItsMode) {
  auto bars = Bars(1, 3);
  TBarSeries& b = *bars[0];
  b.SetCustomBarWidth(15);
  // Side by side, alone: (1 - 0.5 - 1) x 15 = -7.5 -> -8.
  PaintChecked();
  EXPECT_EQ(Offset(b, 1), -8);
  // Any other mode: minus 15 / 2 in integers, -7 (rounding would give -8).
  b.SetMultiBar(plot::mbNone);
  PaintChecked();
  EXPECT_EQ(Offset(b, 1), -7);
  // The offset is a rounded share of the width: 50 % of 15 = 7.5 -> 8
  // (truncating: 7); 30 % = 4.5 -> 4 (away from zero: 5); -50 % -> -8.
  const struct {
    int percent, offset;
  } cases[] = {{50, -7 + 8}, {30, -7 + 4}, {-50, -7 - 8}};
  for (const auto& c : cases) {
    b.SetOffsetPercent(c.percent);
    PaintChecked();
    EXPECT_EQ(Offset(b, 1), c.offset) << c.percent << " %";
  }
}

TEST_F(BarGeometryTest, MarginsHoldWholeBarsOrHalfTheSlotsBarsInIntegers) {
  auto bars = Bars(3, 4);
  for (auto& b : bars) b->SetCustomBarWidth(15);
  PaintChecked();
  int left = 0, right = 0;
  // With side margins each end keeps a whole slot: 3 x 15.
  bars[0]->HorizMargins(left, right);
  EXPECT_EQ(left, 45);
  EXPECT_EQ(right, 45);
  // Without: 3 x 15 / 2 = 22 (3 x (15 / 2) would be 21, 22.5 rounded away 23).
  bars[0]->SetSideMargins(false);
  PaintChecked();
  bars[2]->HorizMargins(left, right);
  EXPECT_EQ(left, 22);
  EXPECT_EQ(right, 22);
}

}  // namespace
