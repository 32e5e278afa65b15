#include <gmock/gmock.h>

#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_font.h"
#include "plot/chart/plot_panel_extended.h"
#include "plot/chart/print_switches.h"
#include "tests/support/support_recording_canvas.h"

namespace {

using ::testing::ElementsAre;
using plot::Rect;

// A panel whose chart is its background only; it counts its draws and
// remembers what the surface looked like while drawing.
class TestPanel final : public plot::TCustomPlotPanelExtended {
 public:
  void InternalDraw(const Rect& bounds) override {
    ++draws;
    metafilingDuringDraw = Canvas().Metafiling();
    DrawPanel(bounds);
  }
  int draws = 0;
  bool metafilingDuringDraw = false;
};

class CountingHost final : public plot::TControlHost {
 public:
  void InvalidateControl() override { ++invalidates; }
  void RepaintControl() override { ++repaints; }
  void CursorChanged(plot::TCursor cursor) override { cursors.push_back(cursor); }
  platform::PictureClipboard* Clipboard() override { return nullptr; }
  int invalidates = 0;
  int repaints = 0;
  std::vector<plot::TCursor> cursors;
};

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel.SetHost(&host);
    panel.SetControlCanvas(&screen);
  }
  // The recording canvas of the back buffer, after a buffered paint.
  testsupport::RecordingCanvas& Buffer() {
    auto* bitmap = const_cast<platform::Bitmap*>(panel.Canvas().Buffer());
    return static_cast<testsupport::RecordingBitmap*>(bitmap)->Recorder();
  }

  testsupport::RecordingCanvas screen;
  CountingHost host;
  TestPanel panel;
};

TEST_F(PanelTest, DefaultMarginsGiveThePlottingRectangle) {
  panel.Paint();
  EXPECT_EQ(panel.ChartBounds(), (Rect{0, 0, 400, 250}));
  EXPECT_EQ(panel.ChartRect(), (Rect{12, 10, 388, 240}));
  EXPECT_EQ(panel.ChartWidth(), 376);
  EXPECT_EQ(panel.ChartHeight(), 230);
  EXPECT_EQ(panel.ChartXCenter(), 200);
  EXPECT_EQ(panel.ChartYCenter(), 125);
}

TEST_F(PanelTest, BorderAndMarginsRoundHalvesAwayFromZero) {
  panel.SetBorderWidth(2);
  panel.SetBounds(0, 0, 250, 150);  // 3 % of 250 = 7.5 -> 8; 4 % of 150 = 6
  panel.Paint();
  EXPECT_EQ(panel.ChartRect(), (Rect{10, 8, 240, 142}));
}

TEST_F(PanelTest, DegeneratePlottingRectanglesAreReopened) {
  panel.SetMarginLeft(60);
  panel.SetMarginRight(60);  // right < left: one pixel wide
  panel.SetMarginTop(50);
  panel.SetMarginBottom(50);  // bottom = top: the control's height tall
  panel.Paint();
  EXPECT_EQ(panel.ChartRect(), (Rect{240, 125, 241, 375}));
  EXPECT_EQ(panel.ChartWidth(), 1);
  EXPECT_EQ(panel.ChartHeight(), 250);
  EXPECT_EQ(panel.ChartXCenter(), 240);
}

TEST_F(PanelTest, ZeroSizedControlStillGetsAPixelWideRectangle) {
  panel.SetBounds(0, 0, 0, 0);
  panel.Paint();
  EXPECT_GE(panel.ChartWidth(), 1);
  EXPECT_GE(panel.ChartHeight(), 1);
}

TEST_F(PanelTest, UnchangedValuesCauseNoRepaint) {
  panel.SetMarginLeft(3);
  panel.SetMarginBottom(4);
  panel.SetView3D(true);
  panel.SetChart3DPercent(15);
  panel.SetColor(plot::clBtnFace);
  panel.SetBevelOuter(plot::bvRaised);
  panel.SetBounds(0, 0, 400, 250);
  panel.SetPrintProportional(true);
  panel.SetPageMargins({15, 15, 15, 15});
  panel.SetMonochrome(false);
  panel.SetBackImageMode(plot::pbmStretch);
  panel.View3DOptions().SetElevation(345);
  panel.View3DOptions().SetZoom(100);
  panel.Gradient().SetVisible(false);
  panel.Gradient().SetEndColor(plot::clYellow);
  EXPECT_EQ(host.invalidates, 0);

  panel.SetMarginLeft(5);
  panel.View3DOptions().SetTilt(10);
  panel.Gradient().SetStartColor(plot::clRed);
  panel.SetMonochrome(true);
  EXPECT_EQ(host.invalidates, 4);
}

TEST_F(PanelTest, InvalidationMarksTheBufferStaleAndIsIgnoredWhileDisabled) {
  panel.Paint();
  EXPECT_FALSE(panel.Canvas().BufferDirty());
  panel.SetAutoRepaint(false);
  panel.Invalidate();
  EXPECT_FALSE(panel.Canvas().BufferDirty());
  EXPECT_EQ(host.invalidates, 0);
  panel.SetAutoRepaint(true);
  panel.Invalidate();
  EXPECT_TRUE(panel.Canvas().BufferDirty());
  EXPECT_EQ(host.invalidates, 1);
}

TEST_F(PanelTest, Chart3DPercentOutsideItsRangeIsRefused) {
  for (int bad : {0, -5, 101}) {
    try {
      panel.SetChart3DPercent(bad);
      ADD_FAILURE() << bad << " accepted";
    } catch (const plot::ChartException& e) {
      EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
    }
    EXPECT_EQ(panel.Chart3DPercent(), 15);
  }
  panel.SetChart3DPercent(100);
  panel.SetChart3DPercent(1);
  EXPECT_EQ(panel.Chart3DPercent(), 1);
}

TEST_F(PanelTest, PaintWhilePrintingDrawsNothingOnScreen) {
  panel.SetPrintingNow(true);
  panel.Paint();
  EXPECT_TRUE(screen.calls.empty());
  EXPECT_EQ(panel.draws, 0);
}

TEST_F(PanelTest, ResizingReallocatesTheBufferAndUnchangedRepaintsOnlyCopy) {
  panel.Paint();
  EXPECT_THAT(screen.Log(), ElementsAre("CreateBitmap(400,250,0)", "DrawBitmap(0,0,400,250)"));
  screen.Clear();
  panel.Paint();
  EXPECT_THAT(screen.Log(), ElementsAre("DrawBitmap(0,0,400,250)"));
  EXPECT_EQ(panel.draws, 1);

  panel.SetBounds(0, 0, 300, 200);
  screen.Clear();
  panel.Paint();
  EXPECT_THAT(screen.Log(), ElementsAre("CreateBitmap(300,200,0)", "DrawBitmap(0,0,300,200)"));
  EXPECT_EQ(panel.draws, 2);
  EXPECT_EQ(panel.ChartRect(), (Rect{9, 8, 291, 192}));
}

TEST_F(PanelTest, ProgramsChartHasNoFrame) {
  panel.SetBevelOuter(plot::bvNone);
  panel.Paint();
  EXPECT_EQ(Buffer().Count("Polyline"), 0);
  EXPECT_THAT(Buffer().Log("PatternFill"), ElementsAre("PatternFill(0,0,400,250)"));
  EXPECT_EQ(Buffer().Calls("PatternFill")[0].brush.color, plot::clBtnFace);
}

TEST_F(PanelTest, BevelsBorderAndInnerBevelInsetEachOther) {
  panel.SetBevelInner(plot::bvLowered);
  panel.SetBorderWidth(2);
  panel.Paint();
  // Outer raised: light then dark; border in the panel colour (2 frames);
  // inner lowered: dark then light, inset by 3.
  const auto lines = Buffer().Calls("Polyline");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].ToString(), "Polyline(0,249 0,0 399,0)");
  constexpr plot::Color kHighlight = 0xFFFFFF, kShadow = 0x808080, kFace = 0xC0C0C0;
  EXPECT_EQ(lines[0].pen.color, kHighlight);
  EXPECT_EQ(lines[1].pen.color, kShadow);
  EXPECT_EQ(lines[2].ToString(), "Polyline(1,248 1,1 398,1)");
  EXPECT_EQ(lines[2].pen.color, kFace);
  EXPECT_EQ(lines[5].pen.color, kFace);
  EXPECT_EQ(lines[6].ToString(), "Polyline(3,246 3,3 396,3)");
  EXPECT_EQ(lines[6].pen.color, kShadow);
  EXPECT_EQ(lines[7].pen.color, kHighlight);
  EXPECT_EQ(lines[0].pen.mode, platform::PenMode::Copy);
}

TEST_F(PanelTest, GradientColoursFollowTheDirection) {
  panel.Gradient().SetVisible(true);
  panel.Gradient().SetStartColor(0x0000FF);
  panel.Gradient().SetEndColor(0xFF0000);
  for (const auto& [direction, bottomColour] :
       {std::pair{plot::gdTopBottom, 0x0000FFu}, {plot::gdBottomTop, 0xFF0000u}}) {
    panel.Gradient().SetDirection(direction);
    panel.Paint();
    const auto fills = Buffer().Calls("PatternFill");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().ToString(), "PatternFill(0,249,400,250)");
    EXPECT_EQ(fills.front().brush.color, bottomColour) << direction;
    Buffer().Clear();
  }
}

TEST_F(PanelTest, PrintedChartHasNoBackgroundOrBevelsUnlessAsked) {
  panel.SetPrintingNow(true);
  testsupport::RecordingCanvas printer;
  panel.Canvas().SetBuffered(false);
  panel.Draw(printer, {0, 0, 400, 250});
  EXPECT_TRUE(printer.calls.empty());

  plot::SetPrintPanelBackground(true);
  panel.Draw(printer, {0, 0, 400, 250});
  plot::SetPrintPanelBackground(false);
  EXPECT_EQ(printer.Count("PatternFill"), 1);
  EXPECT_EQ(printer.Count("Polyline"), 2);

  printer.Clear();
  panel.Gradient().SetVisible(true);
  panel.Draw(printer, {0, 0, 400, 250});
  EXPECT_EQ(printer.Count("PatternFill"), 250);  // the gradient is still drawn
  EXPECT_EQ(printer.Count("Polyline"), 0);
}

TEST_F(PanelTest, MultiLineTextMeasurement) {
  int lines = 0;
  EXPECT_EQ(panel.MultiLineTextWidth("ab\rcdef", lines), 24);  // 4 characters of 6 pixels
  EXPECT_EQ(lines, 2);
  EXPECT_EQ(panel.MultiLineTextWidth("ab\r", lines), 12);
  EXPECT_EQ(lines, 1);
  EXPECT_EQ(panel.MultiLineTextWidth("abc", lines), 18);
  EXPECT_EQ(lines, 1);
  EXPECT_EQ(panel.MultiLineTextWidth("a\r\rbcd\rx", lines), 18);
  EXPECT_EQ(lines, 4);
}

TEST_F(PanelTest, HatchBrushRule) {
  panel.SetBrushCanvas(0xFFFFFF, platform::BrushStyle::Cross, 0xFFFFFF);
  EXPECT_EQ(panel.Canvas().Brush().color, plot::clBlack);
  EXPECT_EQ(panel.Canvas().GetBackgroundMode(), platform::BackgroundMode::Opaque);
  EXPECT_EQ(panel.Canvas().GetBackgroundColor(), 0xFFFFFFu);

  panel.SetBrushCanvas(0x000000, platform::BrushStyle::FDiagonal, 0x000000);
  EXPECT_EQ(panel.Canvas().Brush().color, plot::clWhite);

  panel.SetBrushCanvas(plot::clBtnFace, platform::BrushStyle::Cross, plot::clRed);
  EXPECT_EQ(panel.Canvas().Brush().color, plot::clBtnFace);
  EXPECT_EQ(panel.Canvas().GetBackgroundColor(), 0x0000FFu);

  panel.SetBrushCanvas(0x00FF00, platform::BrushStyle::Solid, 0x00FF00);
  EXPECT_EQ(panel.Canvas().Brush().color, 0x00FF00u);  // solid keeps its colour
  EXPECT_EQ(panel.Canvas().GetBackgroundMode(), platform::BackgroundMode::Transparent);
}

TEST_F(PanelTest, ClippingAndPrinterPens) {
  EXPECT_TRUE(panel.CanClip());
  panel.SetPrintingNow(true);
  EXPECT_TRUE(panel.CanClip());
  plot::SetClipPrinted(false);
  EXPECT_FALSE(panel.CanClip());
  plot::SetClipPrinted(true);
  panel.SetPrintingNow(false);
  panel.Canvas().SetMetafiling(true);
  plot::SetClipMetafiles(false);
  EXPECT_FALSE(panel.CanClip());
  plot::SetClipMetafiles(true);
  EXPECT_TRUE(panel.CanClip());
  panel.Canvas().SetMetafiling(false);

  platform::Pen dotted{0, platform::PenStyle::Dot, 1};
  platform::Pen solid{0, platform::PenStyle::Solid, 1};
  platform::Pen wide{0, platform::PenStyle::Dash, 2};
  panel.CheckPenWidth(dotted);
  EXPECT_EQ(dotted.width, 1);  // not printing
  panel.SetPrintingNow(true);
  panel.CheckPenWidth(dotted);
  panel.CheckPenWidth(solid);
  panel.CheckPenWidth(wide);
  EXPECT_EQ(dotted.width, 0);
  EXPECT_EQ(solid.width, 1);
  EXPECT_EQ(wide.width, 2);
}

TEST_F(PanelTest, BackImageModes) {
  auto image = std::make_shared<testsupport::RecordingBitmap>(30, 20, false);
  panel.BackImage().SetGraphic(image);
  EXPECT_EQ(host.invalidates, 1);
  panel.Canvas().SetBuffered(false);
  panel.Canvas().PrepareSurface(screen, &panel.View3DOptions(), {0, 0, 400, 250}, false, 0);
  screen.Clear();

  panel.DrawBackImage({10, 10, 110, 60});
  EXPECT_THAT(screen.Log(), ElementsAre("StretchBitmap(10,10,110,60,30,20)"));

  screen.Clear();
  panel.SetBackImageMode(plot::pbmTile);
  panel.DrawBackImage({10, 10, 110, 60});
  EXPECT_EQ(screen.Count("DrawBitmap"), 12);  // 4 across, 3 down
  EXPECT_EQ(screen.calls.front().ToString(), "SetClipRect(10,10,110,60)");
  EXPECT_EQ(screen.calls[1].ToString(), "DrawBitmap(10,10,30,20)");
  EXPECT_EQ(screen.calls[12].ToString(), "DrawBitmap(100,50,30,20)");
  EXPECT_EQ(screen.calls.back().ToString(), "RemoveClip()");

  screen.Clear();
  panel.SetBackImageMode(plot::pbmCenter);
  panel.DrawBackImage({10, 10, 110, 60});
  EXPECT_THAT(screen.Log(), ElementsAre("SetClipRect(10,10,110,60)", "PatternFill(10,10,110,60)",
                                        "DrawBitmap(45,25,30,20)", "RemoveClip()"));

  // A picture on a rotated wall is not drawn.
  screen.Clear();
  panel.View3DOptions().SetOrthogonal(false);
  panel.DrawBackImageAt({10, 10, 110, 60}, 20);
  EXPECT_TRUE(screen.calls.empty());
}

TEST_F(PanelTest, BitmapCopyIsDrawnUnbufferedOnAFilledBitmap) {
  auto bitmap = panel.CreateChartBitmap(plot::clRed, panel.ClientRect());
  ASSERT_NE(bitmap, nullptr);
  auto& recorder = static_cast<testsupport::RecordingBitmap&>(*bitmap).Recorder();
  ASSERT_GE(recorder.calls.size(), 2u);
  EXPECT_EQ(recorder.calls[0].ToString(), "PatternFill(0,0,400,250)");
  EXPECT_EQ(recorder.calls[0].brush.color, 0x0000FFu);
  EXPECT_EQ(recorder.calls[1].brush.color, plot::clBtnFace);  // then the chart
  EXPECT_EQ(panel.draws, 1);
  EXPECT_TRUE(panel.Canvas().GetBuffered());
  EXPECT_EQ(panel.Canvas().Buffer(), nullptr);

  // White needs no filling first.
  auto white = panel.CreateChartBitmap(plot::clWhite, panel.ClientRect());
  EXPECT_EQ(static_cast<testsupport::RecordingBitmap&>(*white).Recorder().calls[0].brush.color, plot::clBtnFace);
}

TEST_F(PanelTest, MetafileCopyIsOnePixelSmallerAndDrawnAsMetafile) {
  auto metafile = panel.CreateChartMetafile(true, panel.ClientRect());
  ASSERT_NE(metafile, nullptr);
  EXPECT_EQ(metafile->Width(), 399);
  EXPECT_EQ(metafile->Height(), 249);
  EXPECT_TRUE(panel.metafilingDuringDraw);
  EXPECT_FALSE(panel.Canvas().Metafiling());
  panel.SetBounds(0, 0, 1, 1);
  EXPECT_EQ(panel.CreateChartMetafile(false, panel.ClientRect())->Width(), 1);
}

TEST_F(PanelTest, AssignFontKeepsThePointSizeOnTheDevice) {
  plot::TFont font;
  font.SetSize(8);
  font.SetStyle(platform::fsBold);
  panel.Canvas().Font().pixelsPerInch = 120;
  panel.AssignFont(font);
  EXPECT_EQ(panel.Canvas().Font().height, -13);  // 8 points at 120 pixels per inch
  EXPECT_EQ(panel.Canvas().Font().style, platform::fsBold);
  EXPECT_EQ(font.Height(), -11);  // the source is left alone
}

TEST_F(PanelTest, FontObjectsRepaintTheirChart) {
  plot::TChartFontObject title(&panel);
  EXPECT_FALSE(title.IsFontStored());
  title.Font().SetSize(8);
  EXPECT_EQ(host.invalidates, 0);
  title.Font().SetColor(plot::clRed);
  EXPECT_EQ(host.invalidates, 1);
  EXPECT_TRUE(title.IsFontStored());
}

TEST_F(PanelTest, AssignCopiesSettings) {
  TestPanel source;
  source.SetMarginLeft(9);
  source.SetView3D(false);
  source.SetChart3DPercent(40);
  source.SetColor(plot::clWhite);
  source.SetPrintDetail(-50);
  source.View3DOptions().SetRotation(10);
  source.Gradient().SetVisible(true);
  source.SetAnimatedZoomSteps(3);
  source.Canvas().SetBuffered(false);
  panel.Assign(source);
  EXPECT_EQ(panel.MarginLeft(), 9);
  EXPECT_FALSE(panel.View3D());
  EXPECT_EQ(panel.Chart3DPercent(), 40);
  EXPECT_EQ(panel.Color(), plot::clWhite);
  EXPECT_EQ(panel.PrintDetail(), -50);
  EXPECT_EQ(panel.View3DOptions().Rotation(), 10);
  EXPECT_TRUE(panel.Gradient().Visible());
  EXPECT_EQ(panel.AnimatedZoomSteps(), 3);
  EXPECT_FALSE(panel.Canvas().GetBuffered());
}

TEST_F(PanelTest, ViewOptionNotifications) {
  plot::TView3DOptions& options = panel.View3DOptions();
  std::vector<std::string> seen;
  options.OnZoomed = [&](int zoom) { seen.push_back("zoom " + std::to_string(zoom) + " was " + std::to_string(options.Zoom())); };
  options.OnScrolled = [&](bool horizontal) { seen.push_back(horizontal ? "horizontal" : "vertical"); };
  options.SetZoom(150);
  options.SetHorizOffset(5);
  options.SetVertOffset(-5);
  options.SetVertOffset(-5);
  EXPECT_THAT(seen, ElementsAre("zoom 150 was 100", "horizontal", "vertical"));
  EXPECT_EQ(host.invalidates, 3);

  plot::TView3DOptions copy;
  copy.Assign(options);  // silently
  EXPECT_EQ(copy.Zoom(), 150);
  EXPECT_EQ(copy.VertOffset(), -5);
  EXPECT_EQ(seen.size(), 3u);
}

TEST_F(PanelTest, MouseLeaveRestoresTheCursorAndEndsPanning) {
  panel.PanningRecord().Activate(5, 6);
  panel.ZoomRecord().Activate(5, 6);
  panel.SetCursor(plot::crHandPoint);
  panel.MouseLeave();
  EXPECT_EQ(panel.Cursor(), plot::crDefault);
  EXPECT_FALSE(panel.PanningRecord().Active);
  EXPECT_TRUE(panel.ZoomRecord().Active);
  EXPECT_THAT(host.cursors, ElementsAre(plot::crHandPoint, plot::crDefault));

  plot::TZoomPanningRecord record;
  record.Activate(50, 40);
  record.X1 = 10;
  record.Y1 = 90;
  record.Check();
  EXPECT_EQ((std::array{record.X0, record.Y0, record.X1, record.Y1}), (std::array{10, 40, 50, 90}));
}

TEST_F(PanelTest, UndoZoomWithNothingSavedFiresAndRepaints) {
  int undos = 0;
  panel.OnUndoZoom = [&](plot::TCustomPanel& sender) {
    EXPECT_EQ(&sender, &panel);
    ++undos;
  };
  panel.SetZoomed(true);
  panel.ResetZoom();
  EXPECT_EQ(undos, 1);
  EXPECT_EQ(host.invalidates, 1);
  EXPECT_FALSE(panel.Zoomed());
}

}  // namespace
