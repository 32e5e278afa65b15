#include <gmock/gmock.h>

#include <map>

#include "plot/surface/chart_pen.h"
#include "tests/plot/surface/surface_fixture.h"

namespace {

using ::testing::ElementsAre;
using plot::Color;
using plot::Rect;

TEST_F(SurfaceTest, BevelFramesInwardsLeavingLastPoints) {
  Prepare(false);
  surface.DrawBevel({0, 0, 10, 8}, 0xFFFFFF, 0x808080, 2);
  EXPECT_THAT(device.Log(), ElementsAre("Polyline(0,7 0,0 9,0)", "Polyline(9,0 9,7 -1,7)", "Polyline(1,6 1,1 8,1)",
                                        "Polyline(8,1 8,6 0,6)"));
  const auto calls = device.Calls("Polyline");
  EXPECT_EQ(calls[0].pen.color, 0xFFFFFFu);
  EXPECT_EQ(calls[1].pen.color, 0x808080u);
  EXPECT_EQ(calls[0].pen.width, 1);
}

TEST_F(SurfaceTest, BevelOfWidthZeroDrawsNothing) {
  Prepare(false);
  surface.DrawBevel({0, 0, 10, 8}, 0xFFFFFF, 0x808080, 0);
  EXPECT_TRUE(device.calls.empty());
}

// Collects the colour each pixel of a rectangle was filled with, and how
// often, from the recorded pattern fills.
struct Coverage {
  std::map<std::pair<int, int>, std::vector<Color>> pixels;
  explicit Coverage(const testsupport::RecordingCanvas& device) {
    for (const auto& call : device.Calls("PatternFill")) {
      for (int y = call.args[1]; y < call.args[3]; ++y) {
        for (int x = call.args[0]; x < call.args[2]; ++x) pixels[{x, y}].push_back(call.brush.color);
      }
    }
  }
  bool EachOnceWithin(const Rect& r) const {
    if (pixels.size() != static_cast<std::size_t>(r.Width() * r.Height())) return false;
    for (const auto& [p, colors] : pixels) {
      if (colors.size() != 1 || !r.Contains({p.first, p.second})) return false;
    }
    return true;
  }
  Color At(int x, int y) const { return pixels.at({x, y}).front(); }
};

TEST_F(SurfaceTest, VerticalGradientPutsTheFirstColourAtTheBottom) {
  Prepare(false);
  surface.Brush().color = 0x123456;
  surface.FillGradient({0, 0, 4, 3}, 0x000000, plot::gdTopBottom, 0xFFFFFF);
  // One strip per row; 255 / 2 rounds half away from zero.
  EXPECT_THAT(device.Log(), ElementsAre("PatternFill(0,2,4,3)", "PatternFill(0,1,4,2)", "PatternFill(0,0,4,1)"));
  const auto fills = device.Calls("PatternFill");
  EXPECT_EQ(fills[0].brush.color, 0x000000u);
  EXPECT_EQ(fills[1].brush.color, 0x808080u);
  EXPECT_EQ(fills[2].brush.color, 0xFFFFFFu);
  EXPECT_EQ(fills[0].brush.style, platform::BrushStyle::Solid);
  EXPECT_EQ(surface.Brush().color, 0x123456u);  // the caller's brush is back
}

TEST_F(SurfaceTest, TallGradientUsesAtMost256StripsCoveringEveryRow) {
  Prepare(false);
  surface.FillGradient({10, 300, 30, 0}, 0x0000FF, plot::gdBottomTop, 0xFF0000);  // reversed: normalised
  EXPECT_EQ(device.Count("PatternFill"), 256);
  const Coverage coverage(device);
  EXPECT_TRUE(coverage.EachOnceWithin({10, 0, 30, 300}));
  EXPECT_EQ(coverage.At(10, 299), 0x0000FFu);
  EXPECT_EQ(coverage.At(29, 0), 0xFF0000u);
}

TEST_F(SurfaceTest, HorizontalGradientRunsFromTheRightEdge) {
  Prepare(false);
  surface.FillGradient({0, 0, 3, 2}, 0x000000, plot::gdLeftRight, 0x0000FE);
  EXPECT_THAT(device.Log(), ElementsAre("PatternFill(2,0,3,2)", "PatternFill(1,0,2,2)", "PatternFill(0,0,1,2)"));
  EXPECT_EQ(device.Calls("PatternFill")[1].brush.color, 0x00007Fu);
}

TEST_F(SurfaceTest, SingleStepGradientIsTheFirstColour) {
  Prepare(false);
  surface.FillGradient({0, 0, 5, 1}, 0x00FF00, plot::gdTopBottom, 0xFFFFFF);
  ASSERT_EQ(device.Count("PatternFill"), 1);
  EXPECT_EQ(device.calls[0].brush.color, 0x00FF00u);
  device.Clear();
  surface.FillGradient({0, 0, 0, 10}, 0x00FF00, plot::gdFromCenter, 0xFFFFFF);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(SurfaceTest, CentreGradientPaintsRingsOnceFromTheEdge) {
  Prepare(false);
  surface.FillGradient({0, 0, 11, 8}, 0x000000, plot::gdFromCenter, 0x0000FF);
  const Coverage coverage(device);
  EXPECT_TRUE(coverage.EachOnceWithin({0, 0, 11, 8}));
  EXPECT_EQ(coverage.At(0, 0), 0x000000u);
  EXPECT_EQ(coverage.At(10, 7), 0x000000u);
  // Second ring (inset 2): index 4 of 5 + 4 = 9 steps.
  EXPECT_EQ(coverage.At(2, 2), static_cast<Color>(platform::MulDiv(255, 4, 9)));
  // Rings get no darker inwards.
  EXPECT_LE(coverage.At(1, 4), coverage.At(5, 4));
}

TEST_F(SurfaceTest, CornerGradientsSweepLShapesFromTheirCorner) {
  for (const auto direction : {plot::gdFromTopLeft, plot::gdFromBottomLeft}) {
    Prepare(false);
    surface.FillGradient({0, 0, 6, 4}, 0x000000, direction, 0x0000FF);
    const Coverage coverage(device);
    EXPECT_TRUE(coverage.EachOnceWithin({0, 0, 6, 4}));
    const int cornerY = direction == plot::gdFromTopLeft ? 0 : 3;
    EXPECT_EQ(coverage.At(0, cornerY), 0x000000u);
    // The diagonal is round(sqrt(52)) = 7 long; sweep i has colour i / 7.
    const int farY = direction == plot::gdFromTopLeft ? 3 : 0;
    EXPECT_EQ(coverage.At(3, farY), static_cast<Color>(platform::MulDiv(255, 3, 7)));
    EXPECT_EQ(coverage.At(1, farY), coverage.At(3, farY));
    EXPECT_EQ(coverage.At(5, cornerY), static_cast<Color>(platform::MulDiv(255, 5, 7)));
  }
}

TEST_F(SurfaceTest, ArrowHeadGeometry) {
  Prepare(false);
  surface.DrawArrowShape(false, {0, 0}, {100, 0}, 20, 30, 0);
  EXPECT_THAT(device.Log(), ElementsAre("MoveTo(0,0)", "LineTo(100,0)", "MoveTo(100,0)", "LineTo(70,10)",
                                        "MoveTo(100,0)", "LineTo(70,-10)"));
  device.Clear();
  surface.DrawArrowShape(true, {0, 0}, {100, 0}, 20, 30, 0);
  EXPECT_THAT(device.Log(), ElementsAre("Polygon(0,5 70,5 70,10 100,0 70,-10 70,-5 0,-5)"));
  device.Clear();
  // Diagonal 3-4-5 arrow: base 10 back along (0.6, 0.8), corners 5 across.
  surface.DrawArrowShape(false, {0, 0}, {30, 40}, 10, 10, 0);
  EXPECT_THAT(device.Log("LineTo"), ElementsAre("LineTo(30,40)", "LineTo(20,35)", "LineTo(28,29)"));
}

TEST_F(SurfaceTest, ArrowHeadNeverLongerThanTheArrowAndZeroLengthDrawsNothing) {
  Prepare(false);
  surface.DrawArrowShape(false, {0, 0}, {10, 0}, 8, 30, 0);
  EXPECT_THAT(device.Log("LineTo"), ElementsAre("LineTo(10,0)", "LineTo(0,4)", "LineTo(0,-4)"));
  device.Clear();
  surface.DrawArrowShape(true, {5, 5}, {5, 5}, 8, 30, 0);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(SurfaceTest, ArrowIsProjectedAtItsDepth) {
  Prepare(true);
  surface.DrawArrowShape(false, {0, 0}, {100, 0}, 20, 30, 5);
  EXPECT_THAT(device.Log("LineTo"), ElementsAre("LineTo(105,-5)", "LineTo(75,5)", "LineTo(75,-15)"));
}

TEST_F(SurfaceTest, ChartPenSelection) {
  Prepare(false);
  plot::TChartPen pen;
  pen.SetColor(0x0000FF);
  pen.SetWidth(3);
  pen.SetStyle(platform::PenStyle::Dash);
  surface.ApplyChartPen(pen);
  EXPECT_EQ(surface.Pen(), (platform::Pen{0x0000FF, platform::PenStyle::Dash, 3, platform::PenMode::Copy, false}));

  // Small dots only at width 1, and only where the device has the pen.
  pen.SetSmallDots(true);
  surface.ApplyChartPen(pen);
  EXPECT_FALSE(surface.Pen().alternate);
  pen.SetWidth(1);
  surface.ApplyChartPen(pen);
  EXPECT_TRUE(surface.Pen().alternate);
  device.alternatePens = false;
  surface.ApplyChartPen(pen);
  EXPECT_FALSE(surface.Pen().alternate);
  EXPECT_EQ(surface.Pen().style, platform::PenStyle::Dash);
}

TEST_F(SurfaceTest, InvisiblePenDrawsNoOutlineEvenWhereTheBrushFills) {
  Prepare(false);
  plot::TChartHiddenPen hidden;
  surface.Brush().style = platform::BrushStyle::Solid;
  surface.ApplyChartPen(hidden);
  surface.DrawRectangle(1, 2, 30, 40);
  surface.DrawLine(0, 0, 5, 5);
  for (const auto& call : device.calls) EXPECT_EQ(call.pen.style, platform::PenStyle::Clear) << call.ToString();
  EXPECT_EQ(device.Count("Rectangle"), 1);
}

TEST_F(SurfaceTest, PresetPensAndChangeNotifications) {
  EXPECT_FALSE(plot::TChartHiddenPen().Visible());
  EXPECT_EQ(plot::TDottedGrayPen().Style(), platform::PenStyle::Dot);
  EXPECT_EQ(plot::TDottedGrayPen().Color(), 0x808080u);
  EXPECT_EQ(plot::TDarkGrayPen().Color(), 0x808080u);
  EXPECT_EQ(plot::TChartArrowPen().Color(), 0xFFFFFFu);
  EXPECT_EQ(plot::TChartAxisPen().Width(), 2);

  plot::TChartPen pen;
  int changes = 0;
  pen.OnChange = [&] { ++changes; };
  pen.SetVisible(true);
  pen.SetSmallDots(false);
  pen.SetColor(plot::clBlack);
  EXPECT_EQ(changes, 0);
  pen.SetVisible(false);
  pen.SetSmallDots(true);
  EXPECT_EQ(changes, 2);
  plot::TDottedGrayPen dotted;
  pen.Assign(dotted);
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(pen.Visible());
  EXPECT_EQ(pen.Style(), platform::PenStyle::Dot);
}

TEST_F(SurfaceTest, ResetDrawingStateAndDarken) {
  Prepare(false);
  surface.Pen() = {0x00FF00, platform::PenStyle::Dot, 4, platform::PenMode::NotXor, true};
  surface.Brush().style = platform::BrushStyle::Cross;
  surface.Font().SetSize(20);
  surface.SetBackgroundMode(platform::BackgroundMode::Opaque);
  surface.SetBackgroundColor(0x112233);
  surface.ResetDrawingState();
  EXPECT_EQ(surface.Pen().color, 0u);
  EXPECT_EQ(surface.Pen().width, 1);
  EXPECT_EQ(surface.Pen().style, platform::PenStyle::Solid);
  EXPECT_FALSE(surface.Pen().alternate);
  EXPECT_EQ(surface.Brush(), (platform::Brush{0xFFFFFF, platform::BrushStyle::Solid, nullptr}));
  EXPECT_EQ(surface.Font().Size(), 10);
  EXPECT_EQ(surface.GetBackgroundColor(), 0xFFFFFFu);
  EXPECT_EQ(surface.GetBackgroundMode(), platform::BackgroundMode::Transparent);

  EXPECT_EQ(plot::Darken(0x808080, 128), 0u);  // not greater: 0
  EXPECT_EQ(plot::Darken(0x90A0B0, 0x10), 0x8090A0u);
  EXPECT_EQ(plot::Darken(plot::clBtnFace, 64), 0x808080u);  // silver resolved first
}

TEST_F(SurfaceTest, ClipToBoxInFlatAndOrthogonalViews) {
  Prepare(false);
  surface.ClipToBox({10, 20, 110, 220}, 0, 40);
  EXPECT_THAT(device.Log(), ElementsAre("SetClipRect(11,21,110,219)"));
  Prepare(true);
  surface.ClipToBox({10, 20, 110, 220}, 0, 40);
  // The outline of the box pushed 40 right and up: a hexagon.
  EXPECT_THAT(device.Log(), ElementsAre("SetClipPolygon(10,20 50,-20 150,-20 150,180 110,220 10,220)"));
}

TEST_F(SurfaceTest, OrthogonalBoxDrawsFrontSideAndTopWithDarkSides) {
  Prepare(true);
  surface.Brush().color = 0x8080FF;
  surface.DrawBox({10, 20, 50, 60}, 0, 10, true);
  EXPECT_THAT(device.Log(), ElementsAre("Polygon(10,20 50,20 50,60 10,60)", "Polygon(50,20 60,10 60,50 50,60)",
                                        "Polygon(10,20 50,20 60,10 20,10)"));
  const auto faces = device.Calls("Polygon");
  EXPECT_EQ(faces[0].brush.color, 0x8080FFu);
  EXPECT_EQ(faces[1].brush.color, 0x00007Fu);
  EXPECT_EQ(faces[2].brush.color, 0x4040BFu);
  EXPECT_EQ(surface.Brush().color, 0x8080FFu);
}

TEST_F(SurfaceTest, HatchedDarkSidesDarkenTheBackgroundInstead) {
  Prepare(true);
  surface.Brush() = {0x8080FF, platform::BrushStyle::Cross, nullptr};
  surface.SetBackgroundColor(0xC0C0C0);
  surface.DrawBox({10, 20, 50, 60}, 0, 10, true);
  const auto faces = device.Calls("Polygon");
  EXPECT_EQ(faces[1].brush.color, 0x8080FFu);
  EXPECT_EQ(faces[1].bkColor, 0x404040u);
  EXPECT_EQ(surface.GetBackgroundColor(), 0xC0C0C0u);
}

TEST_F(SurfaceTest, DepthPrimitivesAndPolygonCount) {
  Prepare(true);
  surface.DrawDepthPlane({0, 0}, {10, 0}, 0, 5);
  surface.DrawEllipseAtDepth({0, 0, 10, 10}, 5);
  const plot::Point points[] = {{0, 0}, {5, 0}, {5, 5}, {0, 5}};
  surface.DrawPolygon(points, 2);
  surface.Pen().width = 1;
  surface.PutPixelAtDepth(1, 2, 3, 0x0000FF);
  surface.Pen().width = 3;
  surface.PutPixelAtDepth(1, 2, 3, 0x00FF00);
  EXPECT_THAT(device.Log(), ElementsAre("Polygon(5,-5 15,-5 10,0 0,0)", "Ellipse(5,-5,15,5)",
                                        "Polygon(0,0 5,0 5,5)", "SetPixel(4,-1,0x0000FF)", "MoveTo(4,-1)",
                                        "LineTo(4,-1)"));
  EXPECT_EQ(device.calls.back().pen.color, 0x00FF00u);
}

TEST_F(SurfaceTest, RotatedShapesDrawWholeFaces) {
  options.SetOrthogonal(false);
  Prepare(true);
  surface.DrawCylinderShape(true, {100, 60, 140, 200}, 0, 40, true);
  EXPECT_EQ(device.Count("Polygon"), 17);  // 16 sides and the visible cap
  device.Clear();
  surface.DrawPyramidShape(false, {100, 60, 140, 200}, 0, 40, false);
  EXPECT_EQ(device.Count("Polygon"), 4);
  device.Clear();
  surface.DrawSolidPieSlice(200, 150, 50, 30, 0, 1.5, 0, 10, true);
  // 33 rim and side quads, then the face: the centre and 32 arc points.
  ASSERT_EQ(device.Count("Polygon"), 34);
  EXPECT_EQ(device.calls.back().args.size(), 66u);
  device.Clear();
  surface.DrawEllipseAtDepth({100, 60, 140, 100}, 10);
  ASSERT_EQ(device.Count("Polygon"), 1);
  EXPECT_EQ(device.calls[0].args.size(), 128u);
}

}  // namespace
