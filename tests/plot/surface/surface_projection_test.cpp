#include <cmath>
#include <numbers>

#include "tests/plot/surface/surface_fixture.h"

namespace {

using plot::Point;

TEST_F(SurfaceTest, FlatViewIgnoresDepthAndZoom) {
  options.SetZoom(50);
  options.SetHorizOffset(7);
  Prepare(false);
  EXPECT_FALSE(surface.Is3D());
  EXPECT_DOUBLE_EQ(surface.ZoomFactor(), 1.0);
  for (const auto& [x, y, z] : {std::array{0, 0, 0}, {123, -45, 77}, {-300, 900, -12}}) {
    EXPECT_EQ(surface.ProjectPoint(x, y, z), (Point{x, y})) << x << "," << y << "," << z;
    int ux = x, uy = y;
    surface.UnprojectPoint(ux, uy, z);
    EXPECT_EQ(ux, x);
    EXPECT_EQ(uy, y);
  }
  // The depth twins draw their flat shapes.
  surface.DrawLineAtDepth(1, 2, 30, 40, 99);
  surface.DrawEllipseAtDepth({10, 20, 30, 40}, 99);
  EXPECT_EQ(device.Log(), (std::vector<std::string>{"MoveTo(1,2)", "LineTo(30,40)", "Ellipse(10,20,31,41)"}));
}

TEST_F(SurfaceTest, OrthogonalMovesDepthRightAndUp) {
  Prepare(true);
  ASSERT_TRUE(surface.IsOrthogonal());
  for (const auto& [x, y, z] : {std::array{0, 0, 0}, {150, 60, 10}, {-20, 500, 40}, {7, 7, -3}}) {
    EXPECT_EQ(surface.ProjectPoint(x, y, z), (Point{x + z, y - z})) << x << "," << y << "," << z;
    int ux = x + z, uy = y - z;
    surface.UnprojectPoint(ux, uy, z);
    EXPECT_EQ((Point{ux, uy}), (Point{x, y}));
  }
}

TEST_F(SurfaceTest, OrthogonalZoomAndOffsetsRoundHalvesToEven) {
  options.SetZoom(50);
  options.SetHorizOffset(10);
  options.SetVertOffset(-5);
  Prepare(true);
  // Centre (200, 150), origin (210, 145).
  EXPECT_EQ(surface.ProjectPoint(300, 150, 20), (Point{270, 135}));
  EXPECT_EQ(surface.ProjectPoint(205, 150, 0), (Point{212, 145}));  // 2.5 -> 2
  EXPECT_EQ(surface.ProjectPoint(207, 150, 0), (Point{214, 145}));  // 3.5 -> 4
  EXPECT_EQ(surface.ProjectPoint(200, 147, 0), (Point{210, 143}));  // -1.5 -> -2
}

TEST_F(SurfaceTest, ViewCentreTruncatesTowardZero) {
  chartRect = {-7, -4, 0, 1};
  Prepare(true, -5);
  EXPECT_EQ(surface.CenterX(), -3);
  EXPECT_EQ(surface.CenterY(), -1);
  EXPECT_EQ(surface.CenterZ(), -2);
}

TEST_F(SurfaceTest, RotationCoefficientsOfTheDefaultView) {
  options.SetOrthogonal(false);
  Prepare(true);
  const double s = std::sin(345 * std::numbers::pi / 180), c = std::cos(345 * std::numbers::pi / 180);
  EXPECT_NEAR(surface.Kxx(), c, 1e-12);
  EXPECT_NEAR(surface.Kxy(), 0, 1e-12);
  EXPECT_NEAR(surface.Kxz(), -s, 1e-12);
  EXPECT_NEAR(surface.Kyx(), s * s, 1e-12);
  EXPECT_NEAR(surface.Kyy(), c, 1e-12);
  EXPECT_NEAR(surface.Kyz(), c * s, 1e-12);
  EXPECT_NEAR(surface.PerspectiveFactor(), 15 / 35000.0, 1e-15);
}

TEST_F(SurfaceTest, DivisorCoefficientsAreKeptOffZeroAndNegatives) {
  options.SetOrthogonal(false);
  options.SetRotation(90);    // cos 90 = 0
  options.SetElevation(180);  // cos 180 = -1
  Prepare(true);
  EXPECT_DOUBLE_EQ(surface.Kxx(), 0.00001);
  EXPECT_DOUBLE_EQ(surface.Kyy(), 0.00001);
}

TEST_F(SurfaceTest, RotatedViewProjectsTheCentreOntoTheOrigin) {
  options.SetOrthogonal(false);
  options.SetHorizOffset(-30);
  options.SetVertOffset(12);
  Prepare(true);
  EXPECT_EQ(surface.ProjectPoint(200, 150, 20), (Point{170, 162}));
}

TEST_F(SurfaceTest, PerspectiveDrawsFarPointsCloserToTheCentre) {
  options.SetOrthogonal(false);
  options.SetRotation(0);
  options.SetElevation(0);
  options.SetPerspective(0);
  Prepare(true, 0);
  const Point flat = surface.ProjectPoint(300, 150, 100);
  EXPECT_EQ(flat, (Point{300, 150}));  // no rotation, no perspective
  options.SetPerspective(350);        // factor 0.01
  Prepare(true, 0);
  // scale = 1 - 0.01 * (dz * Pz) = 1 - 0.01 * 100 = 0: the point collapses
  // onto the origin; half the depth halves its distance.
  EXPECT_EQ(surface.ProjectPoint(300, 150, 100), (Point{200, 150}));
  EXPECT_EQ(surface.ProjectPoint(300, 150, 50), (Point{250, 150}));
}

TEST_F(SurfaceTest, RotatedRoundTripsStayWithinAPixel) {
  options.SetOrthogonal(false);
  options.SetPerspective(0);
  int points = 0, exact = 0;
  for (int elevation : {345, 0, 330}) {
    for (int rotation : {345, 20, 0}) {
     for (int tilt : {0, 15}) {
      options.SetElevation(elevation);
      options.SetRotation(rotation);
      options.SetTilt(tilt);
      Prepare(true);
      for (int x = 100; x <= 300; x += 25) {
        for (int y = 50; y <= 250; y += 25) {
          for (int z : {0, 20, 40}) {
            Point p = surface.ProjectPoint(x, y, z);
            surface.UnprojectPoint(p.x, p.y, z);
            ++points;
            if (p == Point{x, y}) ++exact;
            // Without any rotation the inverse is exact; otherwise the
            // rounding of the projected point may cost a pixel, never more.
            const int tolerance = elevation == 0 && rotation == 0 && tilt == 0 ? 0 : 1;
            EXPECT_NEAR(p.x, x, tolerance) << elevation << "/" << rotation << " at " << x << "," << y << "," << z;
            EXPECT_NEAR(p.y, y, tolerance) << elevation << "/" << rotation << " at " << x << "," << y << "," << z;
          }
        }
      }
     }
    }
  }
  EXPECT_GT(exact, points * 8 / 10);
}

TEST_F(SurfaceTest, UnprojectLeavesInputsAloneAtZeroZoom) {
  options.SetZoom(0);
  Prepare(true);
  int x = 123, y = 45;
  surface.UnprojectPoint(x, y, 10);
  EXPECT_EQ((Point{x, y}), (Point{123, 45}));
}

TEST_F(SurfaceTest, FlatDrawingSuspendsTheRotatedProjection) {
  options.SetOrthogonal(false);
  Prepare(true);
  const Point rotated = surface.ProjectPoint(120, 60, 30);
  surface.BeginFlatDrawing();
  EXPECT_EQ(surface.ProjectPoint(120, 60, 30), (Point{120, 60}));
  surface.EndFlatDrawing();
  EXPECT_EQ(surface.ProjectPoint(120, 60, 30), rotated);
  EXPECT_TRUE(surface.Is3D());
}

}  // namespace
