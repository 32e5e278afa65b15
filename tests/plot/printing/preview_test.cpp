// The print preview: the page's layout and drag codes on a recording canvas,
// and the form driven offscreen with synthetic mouse input.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "plot/chart/plot_panel_extended.h"
#include "plot/chart/print_switches.h"
#include "platform/qt_widgets/chart_host_widget.h"
#include "platform/qt_widgets/chart_preview.h"
#include "plot/printing/plot_preview_page.h"
#include "tests/support/support_fake_printer.h"
#include "tests/support/support_recording_canvas.h"

namespace {

using plot::Rect;
using testsupport::FakePrinter;

class TestChart final : public plot::TCustomPlotPanelExtended {
 public:
  void InternalDraw(const Rect& bounds) override {
    drawnBounds = bounds;
    DrawPanel(bounds);
  }
  Rect drawnBounds;
};

class PreviewPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.SetControlCanvas(&chartScreen);
    chart.SetBounds(0, 0, 352, 334);
    page.SetControlCanvas(&screen);
    page.SetBounds(0, 0, 500, 400);
    page.SetImage(&chart);
  }
  testsupport::RecordingCanvas chartScreen, screen;
  TestChart chart;
  FakePrinter printer;
  plot::TPlotPreviewPage page{printer};
};

TEST_F(PreviewPageTest, PaperInThePrintersProportionsAndTheChartInsideTheMargins) {
  chart.SetPageMargins({10, 20, 10, 20});
  page.CalcRects();  // portrait 4800 x 6600
  EXPECT_EQ(page.PaperRect(), (Rect{119, 20, 381, 380}));
  EXPECT_EQ(page.ChartRect(), (Rect{145, 92, 355, 308}));
  printer.orientation = platform::PrinterOrientation::Landscape;
  page.CalcRects();
  EXPECT_EQ(page.PaperRect(), (Rect{25, 36, 475, 363}));
  // A printer without a page size gives a paper that fills the control.
  printer.shortSide = 0;
  page.CalcRects();
  EXPECT_EQ(page.PaperRect().Height(), 400);
  printer.orientation = platform::PrinterOrientation::Portrait;
  page.CalcRects();
  EXPECT_EQ(page.PaperRect().Width(), 500);
}

TEST_F(PreviewPageTest, DragCodesWithTheirToleranceAndPrecedence) {
  chart.SetPageMargins({10, 20, 10, 20});
  page.CalcRects();
  const Rect c = page.ChartRect();  // 145, 92, 355, 308
  const int midX = (c.left + c.right) / 2, midY = (c.top + c.bottom) / 2;
  EXPECT_EQ(page.DragCodeAt(c.left + 4, midY), 1);
  EXPECT_EQ(page.DragCodeAt(c.left - 4, midY), 1);
  EXPECT_EQ(page.DragCodeAt(c.left + 5, midY), 5);
  EXPECT_EQ(page.DragCodeAt(c.left - 5, midY), 0);
  EXPECT_EQ(page.DragCodeAt(midX, c.top), 2);
  EXPECT_EQ(page.DragCodeAt(c.right, midY), 3);
  EXPECT_EQ(page.DragCodeAt(midX, c.bottom + 3), 4);
  EXPECT_EQ(page.DragCodeAt(c.left + 2, c.top - 2), 6);
  EXPECT_EQ(page.DragCodeAt(c.right, c.top), 7);
  EXPECT_EQ(page.DragCodeAt(c.left, c.bottom), 8);
  EXPECT_EQ(page.DragCodeAt(c.right + 4, c.bottom + 4), 9);
  EXPECT_EQ(plot::TPlotPreviewPage::CursorOfCode(5), plot::crPreviewHand);
  EXPECT_EQ(plot::TPlotPreviewPage::CursorOfCode(7), plot::crSizeNESW);
  page.SetAllowResize(false);
  EXPECT_EQ(page.DragCodeAt(c.left, midY), 0);
  EXPECT_EQ(page.DragCodeAt(c.right, c.bottom), 0);
  EXPECT_EQ(page.DragCodeAt(midX, midY), 5);
  page.SetAllowMove(false);
  EXPECT_EQ(page.DragCodeAt(midX, midY), 0);
}

TEST_F(PreviewPageTest, DraggingAnEdgeRecomputesTheMarginsAndStaysOnThePaper) {
  chart.SetPageMargins({10, 20, 10, 20});
  page.CalcRects();
  const Rect c = page.ChartRect();
  bool dragged = false;
  page.OnChangeMargins = [&](plot::TPlotPreviewPage&, bool d, const Rect&) { dragged = d; };
  page.MouseDown(plot::mbLeft, 0, c.left, (c.top + c.bottom) / 2);
  page.MouseMove(0, c.left + 52, (c.top + c.bottom) / 2);
  EXPECT_TRUE(dragged);
  // left = MulDiv(197 - 119, 100, 262) = 30
  EXPECT_EQ(chart.PageMargins(), (Rect{30, 20, 10, 20}));
  // Past the right edge the chart would have no width: refused.
  page.MouseMove(0, c.right + 2, (c.top + c.bottom) / 2);
  EXPECT_EQ(chart.PageMargins().left, 30);
  page.MouseUp(plot::mbLeft, 0, c.right + 2, (c.top + c.bottom) / 2);
  EXPECT_EQ(page.DragCode(), 0);

  // Moving keeps the size and both corners on the paper.
  page.CalcRects();
  const Rect before = page.ChartRect();
  page.MouseDown(plot::mbLeft, 0, (before.left + before.right) / 2, (before.top + before.bottom) / 2);
  page.MouseMove(0, (before.left + before.right) / 2 + 10, (before.top + before.bottom) / 2 - 500);
  EXPECT_EQ(page.ChartRect(), before);  // off the paper: nothing
  page.MouseMove(0, (before.left + before.right) / 2 + 10, (before.top + before.bottom) / 2 + 10);
  EXPECT_EQ(page.ChartRect().Width(), before.Width());
  EXPECT_EQ(page.ChartRect().left, before.left + 10);
}

TEST_F(PreviewPageTest, MarginLinesAreDottedNotXorAndWhiteOnGreyPaper) {
  page.CalcRects();
  screen.Clear();
  page.DrawMarginLines(screen);
  auto lines = screen.Calls("LineTo");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].pen.mode, platform::PenMode::NotXor);
  EXPECT_EQ(lines[0].pen.style, platform::PenStyle::Dot);
  EXPECT_EQ(lines[0].pen.color, 0xC0C0C0u);
  for (plot::Color grey : {0x808080u, 0xC0C0C0u}) {
    page.SetPaperColor(grey);
    screen.Clear();
    page.DrawMarginLines(screen);
    EXPECT_EQ(screen.Calls("LineTo")[0].pen.color, 0xFFFFFFu);
  }
}

// The form, shown modally; `steps` run once it is up, then it closes.
void RunPreview(platform::TChartPreviewer& previewer, const std::function<void(platform::TChartPreview&)>& steps) {
  previewer.OnShow = [steps](platform::TChartPreview& form) {
    QTimer::singleShot(0, &form, [&form, steps] {
      steps(form);
      form.BClose()->click();
    });
  };
  previewer.Execute();
}

class PreviewFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.SetBounds(0, 0, 352, 334);
    chart.SetName("Chart1");
    host = std::make_unique<platform::ChartHostWidget>(chart);
    host->resize(352, 334);
    previewer.SetChart(&chart);
  }
  TestChart chart;
  std::unique_ptr<platform::ChartHostWidget> host;
  FakePrinter printer;
  platform::TChartPreviewer previewer{printer};
};

TEST_F(PreviewFormTest, OpeningSwitchesToLandscapeWithProportionalMargins) {
  bool ran = false;
  RunPreview(previewer, [&](platform::TChartPreview& form) {
    ran = true;
    EXPECT_EQ(form.windowTitle().toStdString(), "Plotvane Print Preview");
    EXPECT_TRUE(printer.Landscape());
    EXPECT_TRUE(form.Landscape()->isChecked());
    // 15 left and right; top and bottom from the 6600 x 4800 landscape page.
    EXPECT_EQ(chart.PageMargins(), (Rect{15, 11, 15, 11}));
    EXPECT_EQ(form.UDLeftMa()->value(), 15);
    EXPECT_EQ(form.UDTopMa()->value(), 11);
    EXPECT_FALSE(form.BReset()->isEnabled());
    EXPECT_TRUE(form.CBProp()->isChecked());
  });
  EXPECT_TRUE(ran);
}

TEST_F(PreviewFormTest, DraggingAMarginClearsProportionalAndResetRestoresIt) {
  RunPreview(previewer, [&](platform::TChartPreview& form) {
    form.Page().CalcRects();
    const Rect c = form.Page().ChartRect();
    QWidget& page = form.PageWidget();
    const int midY = (c.top + c.bottom) / 2;
    QTest::mousePress(&page, Qt::LeftButton, Qt::NoModifier, QPoint(c.left, midY));
    QTest::mouseMove(&page, QPoint(c.left + 30, midY));
    QTest::mouseRelease(&page, Qt::LeftButton, Qt::NoModifier, QPoint(c.left + 30, midY));
    EXPECT_FALSE(form.CBProp()->isChecked());
    EXPECT_FALSE(chart.PrintProportional());
    EXPECT_GT(chart.PageMargins().left, 15);
    EXPECT_EQ(form.UDLeftMa()->value(), chart.PageMargins().left);
    EXPECT_TRUE(form.BReset()->isEnabled());
    form.BReset()->click();
    EXPECT_EQ(chart.PageMargins(), (Rect{15, 11, 15, 11}));
    EXPECT_FALSE(form.BReset()->isEnabled());
  });
}

TEST_F(PreviewFormTest, AMarginPairOfAHundredIsRefused) {
  RunPreview(previewer, [&](platform::TChartPreview& form) {
    form.UDRightMa()->setValue(40);
    EXPECT_EQ(chart.PageMargins().right, 40);
    EXPECT_TRUE(form.BReset()->isEnabled());
    form.UDLeftMa()->setValue(60);
    EXPECT_EQ(form.UDLeftMa()->value(), 15);
    EXPECT_EQ(chart.PageMargins().left, 15);
  });
}

TEST_F(PreviewFormTest, MoreDetailLaysTheChartOutOnTwiceItsSize) {
  RunPreview(previewer, [&](platform::TChartPreview& form) {
    form.Resolution()->setValue(-100);
    EXPECT_EQ(chart.PrintDetail(), -100);
    QDir().mkpath(QUORVEL_TEST_OUTPUT_DIR);
    EXPECT_TRUE(form.grab().save(QUORVEL_TEST_OUTPUT_DIR "/print_preview_detail_-100.png"));
    EXPECT_EQ(chart.drawnBounds, (Rect{0, 0, 704, 668}));
    form.Resolution()->setValue(0);
    form.PageWidget().grab();
    EXPECT_EQ(chart.drawnBounds, (Rect{0, 0, 352, 334}));
  });
}

TEST_F(PreviewFormTest, PrintGoesToThePrinterAndOptionsDisableControls) {
  previewer.SetOptions(platform::PreviewOption(platform::cpoChangePrinter));
  RunPreview(previewer, [&](platform::TChartPreview& form) {
    EXPECT_FALSE(form.BSetupPrinter()->isEnabled());
    EXPECT_FALSE(form.GBMargins()->isEnabled());
    EXPECT_FALSE(form.ChangeDetailGroup()->isEnabled());
    EXPECT_TRUE(form.Printers()->isEnabled());
    form.BPrint()->click();
  });
  EXPECT_EQ(printer.events, (std::vector<std::string>{"begin", "end"}));
  EXPECT_EQ(printer.title, "Chart1");
  EXPECT_FALSE(chart.PrintProportional());  // cpoProportional not given
}

TEST_F(PreviewFormTest, PrintPanelBackgroundIsRestoredAndTheMouseActionCancelled) {
  bool cancelled = false;
  previewer.CancelMouseAction = [&] { cancelled = true; };
  previewer.SetOptions(255 | platform::PreviewOption(platform::cpoPrintPanel));
  bool during = false;
  RunPreview(previewer, [&](platform::TChartPreview&) { during = plot::PrintPanelBackground(); });
  EXPECT_TRUE(during);
  EXPECT_FALSE(plot::PrintPanelBackground());
  EXPECT_TRUE(cancelled);
}

}  // namespace
