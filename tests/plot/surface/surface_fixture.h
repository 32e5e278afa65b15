#pragma once

#include <gtest/gtest.h>

#include "plot/surface/plot_canvas_3d.h"
#include "plot/surface/view3d_options.h"
#include "tests/support/support_recording_canvas.h"

// A surface drawing straight onto a recording canvas (no back buffer), with
// a chart rectangle of (100, 50) - (300, 250) and total depth 40.
class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { surface.SetBuffered(false); }

  // Starts a paint in 2D or 3D with the current options.
  void Prepare(bool is3D, int depth = 40) {
    surface.PrepareSurface(device, &options, {0, 0, 400, 300}, is3D, 0xFFFFFF);
    surface.SetViewCenter(depth, {0, 0, 400, 300}, chartRect);
    device.Clear();
  }

  plot::Rect chartRect{100, 50, 300, 250};
  testsupport::RecordingCanvas device;
  plot::TView3DOptions options;
  plot::TPlotCanvas3D surface;
};
