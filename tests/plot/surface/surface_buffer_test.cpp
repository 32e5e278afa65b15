#include <gmock/gmock.h>

#include "tests/plot/surface/surface_fixture.h"

namespace {

using ::testing::ElementsAre;

// A buffered surface: paints go to a bitmap made by the destination, then
// one block copy puts it on screen.
class BufferTest : public SurfaceTest {
 protected:
  void SetUp() override { surface.SetBuffered(true); }

  plot::Rect Paint(const plot::Rect& bounds) {
    const plot::Rect r = surface.PrepareSurface(device, &options, bounds, false, 0);
    surface.DrawLine(0, 0, 5, 5);
    surface.FinishSurface(device, &panel, bounds);
    return r;
  }

  testsupport::RecordingCanvas panel;
};

TEST_F(BufferTest, DrawsInBufferCoordinatesAndCopiesOnceAtTheBounds) {
  EXPECT_EQ(Paint({10, 20, 110, 70}), (plot::Rect{0, 0, 100, 50}));
  EXPECT_THAT(device.Log(), ElementsAre("CreateBitmap(100,50,0)", "DrawBitmap(10,20,100,50)"));
  ASSERT_NE(surface.Buffer(), nullptr);
  auto* buffer = const_cast<platform::Bitmap*>(surface.Buffer());
  auto& recorder = static_cast<testsupport::RecordingBitmap*>(buffer)->Recorder();
  EXPECT_THAT(recorder.Log(), ElementsAre("MoveTo(0,0)", "LineTo(5,5)"));
  EXPECT_FALSE(surface.BufferDirty());
  EXPECT_EQ(surface.GetDeviceHandle(), &panel);
}

TEST_F(BufferTest, UnchangedRepaintOnlyCopiesAndResizingReallocates) {
  Paint({0, 0, 100, 50});
  EXPECT_TRUE(surface.RepaintFromBuffer());
  EXPECT_THAT(panel.Log(), ElementsAre("DrawBitmap(0,0,100,50)"));

  surface.MarkBufferDirty();
  EXPECT_FALSE(surface.RepaintFromBuffer());

  device.Clear();
  Paint({0, 0, 100, 50});
  EXPECT_EQ(device.Count("CreateBitmap"), 0);  // same size: reused
  Paint({0, 0, 120, 50});
  EXPECT_EQ(device.Count("CreateBitmap"), 1);
  EXPECT_EQ(surface.Buffer()->Width(), 120);
}

TEST_F(BufferTest, UnbufferedSurfaceDrawsOnTheDestination) {
  Paint({0, 0, 100, 50});
  surface.SetBuffered(false);
  EXPECT_EQ(surface.Buffer(), nullptr);
  EXPECT_TRUE(surface.BufferDirty());
  device.Clear();
  EXPECT_EQ(Paint({10, 20, 110, 70}), (plot::Rect{10, 20, 110, 70}));
  EXPECT_THAT(device.Log(), ElementsAre("MoveTo(0,0)", "LineTo(5,5)"));
  EXPECT_FALSE(surface.RepaintFromBuffer());
}

TEST_F(BufferTest, MonochromeSwitchDropsTheBufferAndAsksForOneRepaint) {
  int repaints = 0;
  surface.PanelRepaint = [&] { ++repaints; };
  Paint({0, 0, 100, 50});
  surface.SetMonochromeBuffer(false);
  EXPECT_EQ(repaints, 0);
  surface.SetMonochromeBuffer(true);
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(surface.Buffer(), nullptr);
  EXPECT_TRUE(surface.BufferDirty());
  device.Clear();
  Paint({0, 0, 100, 50});
  EXPECT_THAT(device.Log("CreateBitmap"), ElementsAre("CreateBitmap(100,50,1)"));

  plot::TPlotCanvas3D other;
  other.CopyMonochromeSetting(surface);
  EXPECT_TRUE(other.GetMonochromeBuffer());
}

TEST_F(BufferTest, EmptyBoundsStillGetABufferPixel) {
  Paint({5, 5, 5, 5});
  EXPECT_THAT(device.Log("CreateBitmap"), ElementsAre("CreateBitmap(1,1,0)"));
}

}  // namespace
