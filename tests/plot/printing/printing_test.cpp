// Printing a chart panel on one page: margins, the logical mapping and the
// job's begin, end and abort.
#include <gtest/gtest.h>

#include <stdexcept>

#include "plot/chart/chart_exceptions.h"
#include "plot/chart/plot_panel_extended.h"
#include "plot/chart/print_switches.h"
#include "plot/printing/chart_printing.h"
#include "tests/support/support_fake_printer.h"
#include "tests/support/support_recording_canvas.h"

namespace {

using plot::Rect;

// A chart that is only its background; it remembers how it was drawn.
class TestPanel final : public plot::TCustomPlotPanelExtended {
 public:
  void InternalDraw(const Rect& bounds) override {
    ++draws;
    drawnBounds = bounds;
    printingWhileDrawing = PrintingNow();
    bufferedWhileDrawing = Canvas().GetBuffered();
    if (failDrawing) throw std::runtime_error("paper jam");
    DrawPanel(bounds);
  }
  int draws = 0;
  Rect drawnBounds;
  bool printingWhileDrawing = false;
  bool bufferedWhileDrawing = true;
  bool failDrawing = false;
};

using testsupport::FakePrinter;

class PrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel.SetControlCanvas(&screen);
    panel.SetBounds(0, 0, 352, 334);
    panel.SetName("Chart1");
  }
  testsupport::RecordingCanvas screen;
  TestPanel panel;
  FakePrinter printer;
};

TEST_F(PrintingTest, AWideChartKeepsFifteenPercentLeftAndRight) {
  Rect page = plot::CalcPageRect(panel, printer);
  // top/bottom = nearest(100 * (6600 - 0.6 * 4800 * 334/352)) / 6600) div 2
  EXPECT_EQ(panel.PageMargins(), (Rect{15, 29, 15, 29}));
  EXPECT_EQ(page, (Rect{720, 1914, 4080, 4686}));
}

TEST_F(PrintingTest, ATallChartKeepsFifteenPercentTopAndBottom) {
  panel.SetBounds(0, 0, 200, 400);
  printer.orientation = platform::PrinterOrientation::Landscape;
  plot::CalcPageRect(panel, printer);
  // left/right = nearest(100 * (6600 - 0.6 * 4800 * 0.5) / 6600) div 2 = 78 div 2
  EXPECT_EQ(panel.PageMargins(), (Rect{39, 15, 39, 15}));
  // Different resolutions across and down scale the chart's width.
  printer.ppi = {300, 600};
  plot::CalcPageRect(panel, printer);
  EXPECT_EQ(panel.PageMargins(), (Rect{44, 15, 44, 15}));
}

TEST_F(PrintingTest, FixedMarginsWhenNotProportional) {
  panel.SetPrintProportional(false);
  panel.SetPageMargins({10, 20, 5, 25});
  EXPECT_EQ(plot::CalcPageRect(panel, printer), (Rect{480, 1320, 4560, 4950}));
  EXPECT_EQ(panel.PageMargins(), (Rect{10, 20, 5, 25}));
}

TEST_F(PrintingTest, PrintDetailSetsTheLogicalLayoutSize) {
  const struct {
    int detail;
    platform::Size size;
  } cases[] = {{0, {352, 334}}, {-50, {528, 501}}, {-100, {704, 668}}};
  for (const auto& c : cases) {
    panel.SetPrintDetail(c.detail);
    EXPECT_EQ(plot::PrintLogicalSize(panel).cx, c.size.cx) << c.detail;
    EXPECT_EQ(plot::PrintLogicalSize(panel).cy, c.size.cy) << c.detail;
    printer.canvas.Clear();
    plot::PaintOnCanvas(panel, printer.canvas, {0, 0, 3520, 3340});
    auto mappings = printer.canvas.Calls("SetMapping");
    ASSERT_GE(mappings.size(), 2u);
    // Window extent = logical size, viewport extent = the target; then back.
    EXPECT_EQ(mappings[0].args, (std::vector<int>{1, 0, 0, c.size.cx, c.size.cy, 0, 0, 3520, 3340})) << c.detail;
    EXPECT_EQ(panel.drawnBounds, (Rect{0, 0, c.size.cx, c.size.cy}));
  }
}

TEST_F(PrintingTest, AReversedRectanglePrintsLikeTheNormalisedOne) {
  plot::PaintOnCanvas(panel, printer.canvas, {100, 200, 3620, 3540});
  auto normal = printer.canvas.Log();
  Rect normalBounds = panel.drawnBounds;
  printer.canvas.Clear();
  plot::PaintOnCanvas(panel, printer.canvas, {3620, 3540, 100, 200});
  EXPECT_EQ(printer.canvas.Log(), normal);
  EXPECT_EQ(panel.drawnBounds, normalBounds);
}

TEST_F(PrintingTest, PrintingStateDuringTheDrawAndRestoredAfter) {
  plot::PrintPage(panel, printer);
  EXPECT_EQ(printer.events, (std::vector<std::string>{"begin", "end"}));
  EXPECT_EQ(printer.title, "Chart1");
  EXPECT_TRUE(panel.printingWhileDrawing);
  EXPECT_FALSE(panel.bufferedWhileDrawing);
  EXPECT_FALSE(panel.PrintingNow());
  EXPECT_TRUE(panel.Canvas().GetBuffered());
  EXPECT_FALSE(panel.Canvas().Metafiling());
  EXPECT_FALSE(printer.canvas.Calls("SetClipRect").empty());
  // With ClipPrinted off nothing is clipped.
  plot::SetClipPrinted(false);
  printer.canvas.Clear();
  plot::PrintPage(panel, printer);
  EXPECT_TRUE(printer.canvas.Calls("SetClipRect").empty());
  plot::SetClipPrinted(true);
}

TEST_F(PrintingTest, ADottedPenOfWidthOneBecomesTheThinnestWhilePrinting) {
  platform::Pen dotted;
  dotted.style = platform::PenStyle::Dot;
  dotted.width = 1;
  platform::Pen solid;
  solid.width = 1;
  panel.SetPrintingNow(true);
  panel.CheckPenWidth(dotted);
  panel.CheckPenWidth(solid);
  panel.SetPrintingNow(false);
  EXPECT_EQ(dotted.width, 0);
  EXPECT_EQ(solid.width, 1);
}

TEST_F(PrintingTest, NoPanelBackgroundOnPaperUnlessAskedFor) {
  panel.SetColor(0x00FF00);
  auto greenFills = [&] {
    int n = 0;
    for (const auto& call : printer.canvas.calls) {
      if ((call.op == "Rectangle" || call.op == "PatternFill") && call.brush.color == 0x00FF00 &&
          call.brush.style == platform::BrushStyle::Solid) {
        ++n;
      }
    }
    return n;
  };
  plot::PrintPage(panel, printer);
  EXPECT_EQ(greenFills(), 0);
  plot::SetPrintPanelBackground(true);
  printer.canvas.Clear();
  plot::PrintPage(panel, printer);
  plot::SetPrintPanelBackground(false);
  EXPECT_GT(greenFills(), 0);
}

TEST_F(PrintingTest, ErrorsAbortTheJobAndReachTheCaller) {
  panel.failDrawing = true;
  EXPECT_THROW(plot::PrintPage(panel, printer), std::runtime_error);
  EXPECT_EQ(printer.events, (std::vector<std::string>{"begin", "abort"}));
  EXPECT_FALSE(panel.PrintingNow());
  EXPECT_TRUE(panel.Canvas().GetBuffered());

  printer.refuse = true;
  try {
    plot::PrintPage(panel, printer);
    FAIL() << "a refused job must not pass as printed";
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "printer offline");
  }
}

}  // namespace
