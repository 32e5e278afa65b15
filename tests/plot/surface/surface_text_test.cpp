#include <gmock/gmock.h>

#include "tests/plot/surface/surface_fixture.h"

namespace {

using ::testing::ElementsAre;

TEST_F(SurfaceTest, RotatedTextAnglesAboveAFullTurnLoseOneTurn) {
  Prepare(false);
  for (const auto& [angle, escapement] : {std::pair{90, 900}, {450, 900}, {360, 3600}, {720, 3600}, {0, 0}}) {
    device.Clear();
    surface.WriteRotatedText(10, 20, angle, "Up");
    ASSERT_EQ(device.Count("TextOut"), 1) << angle;
    EXPECT_EQ(device.calls[0].font.escapement, escapement) << angle;
    EXPECT_EQ(device.calls[0].font.orientation, escapement) << angle;
    EXPECT_EQ(device.calls[0].ToString(), "TextOut(10,20,\"Up\")");
  }
  // The turned font was temporary; the brush stays clear.
  EXPECT_EQ(surface.Font().escapement, 0);
  EXPECT_EQ(surface.Brush().style, platform::BrushStyle::Clear);
}

TEST_F(SurfaceTest, TextIsScaledWithTheZoomOnlyIn3D) {
  options.SetZoom(50);
  for (const auto& [size, zoomedSize] : {std::pair{10, 5}, {1, 1}, {9, 4}, {11, 6}}) {
    Prepare(true);
    surface.Font().SetSize(size);
    surface.WriteRotatedText(0, 0, 90, "a");
    surface.WriteTextAtDepth(0, 0, 0, "b");
    const auto texts = device.Calls("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].font.Size(), zoomedSize) << size;
    EXPECT_EQ(texts[0].font.height, -platform::MulDiv(zoomedSize, 96, 72)) << size;
    EXPECT_EQ(texts[1].font.height, -platform::MulDiv(zoomedSize, 96, 72)) << size;
    EXPECT_EQ(surface.Font().Size(), size);  // restored
  }
  // 2D: no zoom at all, whatever the options say.
  Prepare(false);
  surface.Font().SetSize(10);
  surface.WriteRotatedText(0, 0, 90, "a");
  surface.WriteTextAtDepth(0, 0, 0, "b");
  for (const auto& call : device.Calls("TextOut")) EXPECT_EQ(call.font.height, -13);
  // 3D with ZoomText off: not scaled either.
  options.SetZoomText(false);
  Prepare(true);
  surface.WriteTextAtDepth(0, 0, 0, "b");
  EXPECT_EQ(device.Calls("TextOut")[0].font.height, -13);
}

TEST_F(SurfaceTest, TextAtDepthIsWrittenAtTheProjectedPoint) {
  Prepare(true);
  surface.WriteTextAtDepth(10, 20, 5, "x");
  surface.WriteRotatedTextAtDepth(10, 20, 7, 90, "y");
  EXPECT_THAT(device.Log("TextOut"), ElementsAre("TextOut(15,15,\"x\")", "TextOut(17,13,\"y\")"));
}

TEST_F(SurfaceTest, ClearBrushWritesSeeThroughTextWhateverTheBackgroundMode) {
  Prepare(false);
  surface.SetBackgroundMode(platform::BackgroundMode::Opaque);
  surface.Brush().style = platform::BrushStyle::Clear;
  surface.WriteText(1, 2, "t");
  EXPECT_EQ(device.Calls("TextOut")[0].bkMode, platform::BackgroundMode::Transparent);
  EXPECT_EQ(surface.GetBackgroundMode(), platform::BackgroundMode::Opaque);
  surface.Brush().style = platform::BrushStyle::Solid;
  surface.WriteText(1, 2, "t");
  EXPECT_EQ(device.Calls("TextOut")[1].bkMode, platform::BackgroundMode::Opaque);
}

TEST_F(SurfaceTest, MeasurementsUseTheSurfaceFontAndFailToZero) {
  Prepare(false);
  EXPECT_EQ(surface.MeasureTextWidth("Hello"), 30);  // 8 points: 6 pixels a character
  EXPECT_EQ(surface.MeasureFontHeight(), 13);
  surface.Font().SetSize(10);
  EXPECT_EQ(surface.MeasureTextWidth("Hello"), 35);
  device.failMeasurements = true;
  EXPECT_EQ(surface.MeasureTextWidth("Hello"), 0);
  EXPECT_EQ(surface.MeasureTextHeight("Hello"), 0);
  // With no device bound nothing can be measured or drawn.
  plot::TPlotCanvas3D unbound;
  EXPECT_EQ(unbound.MeasureTextWidth("Hello"), 0);
  unbound.DrawLine(0, 0, 5, 5);
}

TEST_F(SurfaceTest, TextAlignmentAndBackgroundReachTheDevice) {
  Prepare(false);
  surface.SetTextAlignment(platform::text_align::kCenter | platform::text_align::kBottom);
  surface.SetBackgroundColor(plot::clBtnFace);
  EXPECT_EQ(surface.GetTextAlignment(), 14u);
  EXPECT_EQ(device.BkColor(), 0xC0C0C0u);  // system colours resolved
}

}  // namespace
