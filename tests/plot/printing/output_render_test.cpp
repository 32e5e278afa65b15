// Charts off screen as real pictures: the print preview's page against the
// same chart drawn straight at the page's rectangle, for a recording and
// for a bitmap, at two page sizes; and a printed PDF page whose dotted
// grid still alternates ink and paper at 600 dpi. Pictures are kept under
// <build>/test-output.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>
#include <string>

#include "plot/chart/chart.h"
#include "plot/chart/print_switches.h"
#include "plot/printing/chart_printing.h"
#include "plot/printing/plot_preview_page.h"
#include "plot/series/bar_series.h"
#include "platform/qt_gui/qt_device_canvas.h"
#include "platform/qt_gui/qt_pictures.h"
#include "tests/support/support_fake_printer.h"

namespace {

const QString kOut = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR);

// A histogram as the program shows it: 64 bars up to 1,500, dense labels
// and a dotted grid every 50.
class OutputRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath(kOut);
    chart.SetBounds(0, 0, 700, 480);
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    chart.SetControlCanvas(&screen.Canvas());
    chart.Title().SetText({"Temperature Counts"});
    bars.SetParentChart(&chart);
    for (int i = 0; i < 64; ++i) {
      const double count = i == 20 ? 1500 : i == 19 ? 400 : i == 21 ? 120 : (i * 7) % 5;
      bars.AddPointY(count, std::to_string(i * 2 - 40) + " to " + std::to_string(i * 2 - 38) + ".5");
    }
  }

  platform::QtBitmap screen{1, 1, false};
  plot::TChart chart;
  plot::TBarSeries bars;
};

QImage Crop(const QImage& image, const plot::Rect& r) { return image.copy(r.left, r.top, r.Width(), r.Height()); }

double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  }
  return sum / (a.width() * a.height());
}

// Rows of the reference that carry a horizontal grid line: many grey
// pixels across the plot, none of them black.
std::vector<int> GridRows(const QImage& image) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    int grey = 0;
    for (int x = image.width() / 3; x < image.width() * 9 / 10; ++x) {
      const int g = qGray(image.pixel(x, y));
      grey += g > 90 && g < 230;
    }
    if (grey > image.width() / 6) rows.push_back(y);
  }
  return rows;
}

// How much darker than the paper a row is across the plot's right part,
// taking the darker of the row and its neighbours pixel by pixel.
int DarkColumns(const QImage& image, int y) {
  int n = 0;
  for (int x = image.width() / 3; x < image.width() * 9 / 10; ++x) {
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy) {
      if (y + dy >= 0 && y + dy < image.height()) darkest = std::min(darkest, qGray(image.pixel(x, y + dy)));
    }
    n += darkest < 248;
  }
  return n;
}

TEST_F(OutputRenderTest, ThePreviewPageShowsTheChartAsDrawnStraightAtItsSize) {
  testsupport::FakePrinter printer;
  printer.orientation = platform::PrinterOrientation::Landscape;
  chart.SetPrintDetail(-50);
  for (const QSize size : {QSize(520, 400), QSize(1000, 760)}) {
    plot::TPlotPreviewPage page(printer);
    page.SetBounds(0, 0, size.width(), size.height());
    page.SetImage(&chart);
    page.CalcRects();
    const plot::Rect r = page.ChartRect();
    // The same chart straight at the page's chart rectangle, as printed.
    platform::QtBitmap direct(r.Width(), r.Height(), false);
    plot::PaintOnCanvas(chart, direct.Canvas(), {0, 0, r.Width(), r.Height()});
    const QImage reference = direct.Image();
    reference.save(QString("%1/preview_reference_%2x%3.png").arg(kOut).arg(size.width()).arg(size.height()));
    const std::vector<int> grid = GridRows(reference);
    ASSERT_GE(grid.size(), 15u) << "the reference shows its grid";

    for (const bool asBitmap : {false, true}) {
      page.SetAsBitmap(asBitmap);
      platform::QtBitmap pageImage(size.width(), size.height(), false);
      page.SetControlCanvas(&pageImage.Canvas());
      page.Paint();
      const QString name = QString("%1/preview_page_%2x%3_%4.png")
                               .arg(kOut)
                               .arg(size.width())
                               .arg(size.height())
                               .arg(asBitmap ? "bitmap" : "metafile");
      pageImage.Image().save(name);
      const QImage shown = Crop(pageImage.Image(), r);
      const double difference = MeanDifference(shown, reference);
      // A recording replays as the straight drawing does; a bitmap, laid
      // out the same and scaled smoothly, stays close to it.
      EXPECT_LT(difference, asBitmap ? 12.0 : 1.0) << name.toStdString();
      for (int y : grid) {
        EXPECT_GE(DarkColumns(shown, y), DarkColumns(reference, y) / 2) << name.toStdString() << " grid row " << y;
      }
    }
    page.SetControlCanvas(nullptr);
  }
}

TEST_F(OutputRenderTest, APrintedDottedGridAlternatesInkAndPaperAt600Dpi) {
  const QString pdf = kOut + "/printed_grid_600dpi.pdf";
  plot::Rect rect{};
  {
    QPdfWriter writer(pdf);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    // As the printer does: fonts sized for the screen layout.
    platform::QtDeviceCanvas canvas(nullptr, &writer);
    canvas.SetPixelsPerInch({96, 96});
    canvas.Begin(&painter);
    chart.SetPrintDetail(-50);
    const int w = writer.width(), h = writer.height();
    rect = {w / 10, h / 10, w * 9 / 10, h * 9 / 10};
    plot::PaintOnCanvas(chart, canvas, rect);
    canvas.End();
  }
  const std::string png = (kOut + "/printed_grid_600dpi").toStdString();
  ASSERT_EQ(std::system(("pdftoppm -r 150 -png -singlefile '" + pdf.toStdString() + "' '" + png + "'").c_str()), 0);
  const QImage page(QString::fromStdString(png + ".png"));
  ASSERT_FALSE(page.isNull());
  // Where the grid lines of 100, 200, ... 1,400 lie: logical pixels through
  // the page's mapping, then 600 dpi to 150.
  const platform::Size logical = plot::PrintLogicalSize(chart);
  for (int v = 100; v <= 1400; v += 100) {
    const double device = chart.LeftAxis().ValueToPixel(v) * (rect.Height() / static_cast<double>(logical.cy));
    const int row = static_cast<int>(device * 150 / 600);
    // The most inked of the rows around it, across the plot's right part.
    int bestInk = -1, changes = 0, longest = 0;
    for (int y = row - 2; y <= row + 2; ++y) {
      int ink = 0, flips = 0, run = 0, longRun = 0;
      bool previous = false;
      for (int x = page.width() * 55 / 100; x < page.width() * 85 / 100; ++x) {
        const bool inked = qGray(page.pixel(x, y)) < 225;
        ink += inked;
        flips += inked != previous;
        run = inked == previous ? run + 1 : 1;
        if (inked) longRun = std::max(longRun, run);
        previous = inked;
      }
      if (ink > bestInk) bestInk = ink, changes = flips, longest = longRun;
    }
    // Dots as on screen (3 logical pixels, some 5 pixels here): short inked
    // runs with paper between them, never one long line.
    EXPECT_GT(bestInk, page.width() / 20) << v;
    EXPECT_GT(changes, 40) << v;
    EXPECT_LT(longest, 12) << v;
  }
}

}  // namespace
