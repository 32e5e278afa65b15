#pragma once

#include "plot/axes/chart_axis.h"
#include "tests/plot/series/series_fixture.h"

// A 320 x 300 chart without axes drawn: the plotting rectangle runs from
// (10, 12) to (310, 288), so the bottom axis is 300 pixels long and the
// left one 276. Fixed ranges 0 .. 10 and 0 .. 92 make a non-square plot:
// x = 10 + 30 X and y = 288 - 3 Y.
class ExtendedSeriesTest : public SeriesTest {
 protected:
  void SetUp() override {
    SeriesTest::SetUp();
    chart.SetBounds(0, 0, 320, 300);
    chart.SetAxisVisible(false);
    chart.BottomAxis().SetRange(0, 10);
    chart.LeftAxis().SetRange(0, 92);
  }
  void PaintChecked() {
    Paint();
    ASSERT_EQ(chart.BottomAxis().PixelLength(), 300);
    ASSERT_EQ(chart.LeftAxis().EndPixel() - chart.LeftAxis().StartPixel(), 276);
  }
  std::vector<std::string> Lines() const { return SeriesLog({"MoveTo", "LineTo"}); }
};
