// Chart files from quorvel-cli compared as pictures: PNG, SVG (rasterised
// by rsvg-convert) and PDF (by pdftoppm) of one chart lay it out alike;
// scaled and smooth exports; the chart of an all-zero store. The pictures
// are kept under <build>/test-output.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/cli/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using namespace clitest;

bool Inky(QRgb c) { return qGray(c) < 128; }
bool Red(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }

// Bands of consecutive inked lines (rows, or columns when `columns`) inside
// a strip: where the labels beside an axis are, told apart without reading.
std::vector<double> InkBands(const QImage& image, const QRect& strip, bool columns) {
  std::vector<double> centres;
  const int n = columns ? strip.width() : strip.height();
  int start = -1;
  for (int i = 0; i <= n; ++i) {
    bool ink = false;
    if (i < n) {
      for (int j = 0; j < (columns ? strip.height() : strip.width()) && !ink; ++j) {
        const QPoint p = columns ? QPoint(strip.left() + i, strip.top() + j) : QPoint(strip.left() + j, strip.top() + i);
        ink = Inky(image.pixel(p));
      }
    }
    if (ink && start < 0) start = i;
    if (!ink && start >= 0) {
      centres.push_back((columns ? strip.left() : strip.top()) + (start + i - 1) / 2.0);
      start = -1;
    }
  }
  return centres;
}

// The bottom axis line: the row of the lower half with the most black
// pixels (the frame's top edge is as long).
int AxisRow(const QImage& image) {
  int best = 0, row = 0;
  for (int y = image.height() / 2; y < image.height(); ++y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 40;
    if (n > best) best = n, row = y;
  }
  return row;
}

// The left axis line: the column of the left half with the most black
// pixels.
int AxisColumn(const QImage& image) {
  int best = 0, column = 0;
  for (int x = 0; x < image.width() / 2; ++x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += qGray(image.pixel(x, y)) < 40;
    if (n > best) best = n, column = x;
  }
  return column;
}

class CliExport : public ::testing::Test {
 protected:
  void SetUp() override {
    out = fs::path(QUORVEL_TEST_OUTPUT_DIR);
    fs::create_directories(out);
    dir = fs::path(::testing::TempDir()) / ("quorvel-export-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // A plausible recording: a few full histogram bins among many empty
    // ones and a wandering log, downloaded and saved once.
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    sim::RecorderMemory memory;
    memory.Raw() = sim::RecorderMemory::Plausible(1796000000).Raw();
    sim::PtyRecorder recorder(memory, sim::Faults{});
    std::string error;
    ASSERT_TRUE(recorder.Start(&error)) << error;
    ASSERT_EQ(RunCli({"--port", Port(recorder), "read-all", "--save", (dir / "Data1.log").string()}).status, 0);
  }
  void TearDown() override { fs::remove_all(dir); }

  QImage Export(const std::string& chart, const std::string& format, const std::string& name,
                const std::vector<std::string>& more = {}) {
    const std::string file = (out / name).string();
    std::vector<std::string> args = {"open", (dir / "Data1.dat").string(), "export", "--chart", chart,
                                     "--" + format, file};
    args.insert(args.end(), more.begin(), more.end());
    CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 0) << run.err;
    std::string png = file;
    if (format == "svg") {
      png = file + ".png";
      EXPECT_EQ(std::system(("rsvg-convert '" + file + "' -o '" + png + "'").c_str()), 0);
    } else if (format == "pdf") {
      EXPECT_EQ(std::system(("pdftoppm -r 96 -png -singlefile '" + file + "' '" + file + "'").c_str()), 0);
      png = file + ".png";
    }
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
  }

  fs::path out;
  fs::path dir;
};

TEST_F(CliExport, PngSvgAndPdfOfOneChartLayItOutAlike) {
  for (const std::string chart : {"histogram", "temperature"}) {
    const QImage png = Export(chart, "png", "export_" + chart + ".png", {"--size", "900x600"});
    const QImage svg = Export(chart, "svg", "export_" + chart + ".svg", {"--size", "900x600"});
    const QImage pdf = Export(chart, "pdf", "export_" + chart + ".pdf", {"--size", "900x600"});
    ASSERT_EQ(png.size(), QSize(900, 600));
    ASSERT_EQ(svg.size(), png.size()) << "the SVG claims its size in pixels";
    ASSERT_EQ(pdf.size(), png.size());
    const int axisRow = AxisRow(png), axisColumn = AxisColumn(png);
    EXPECT_EQ(AxisRow(svg), axisRow);
    EXPECT_EQ(AxisRow(pdf), axisRow);
    // Left labels: bands of rows left of the axis; bottom labels: bands of
    // columns below it. Same count, same places within a pixel.
    const QRect left(0, 40, axisColumn - 6, axisRow - 30);
    const QRect below(axisColumn + 2, axisRow + 8, png.width() - axisColumn - 4, png.height() - axisRow - 10);
    for (bool columns : {false, true}) {
      const QRect& strip = columns ? below : left;
      const std::vector<double> expected = InkBands(png, strip, columns);
      ASSERT_GE(expected.size(), 5u) << chart;
      for (const QImage* other : {&svg, &pdf}) {
        const std::vector<double> got = InkBands(*other, strip, columns);
        ASSERT_EQ(got.size(), expected.size()) << chart << (other == &svg ? " svg" : " pdf") << " columns " << columns;
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], 1.0) << chart << " band " << i;
      }
    }
    // Clipping: no bar or line pixel on the axis line or below it (an empty
    // bar, unclipped, is a red dash along the axis).
    for (const QImage* image : {&png, &svg, &pdf}) {
      int red = 0;
      for (int y = axisRow; y < axisRow + 6; ++y) {
        for (int x = 0; x < image->width(); ++x) red += Red(image->pixel(x, y));
      }
      EXPECT_EQ(red, 0) << chart;
    }
  }
}

TEST_F(CliExport, ScaledAndSmoothExportsKeepTheLayout) {
  const QImage one = Export("temperature", "png", "export_1x.png", {"--size", "640x480"});
  const QImage two = Export("temperature", "png", "export_2x.png", {"--size", "1280x960", "--scale", "2"});
  const QImage smooth = Export("temperature", "png", "export_antialiased.png", {"--size", "640x480", "--antialias"});
  ASSERT_EQ(two.size(), QSize(1280, 960));
  // The same layout at twice the pixels: halved, it matches the 1x picture
  // where the 1x picture has its labels.
  const QImage half = two.scaled(640, 480, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_EQ(AxisRow(half), AxisRow(one));
  const int axisRow = AxisRow(one), axisColumn = AxisColumn(one);
  const QRect left(0, 30, axisColumn - 6, axisRow - 20);
  EXPECT_EQ(InkBands(half, left, false).size(), InkBands(one, left, false).size());
  // Text 11 px high at 1x is 22 px high at 2x: the first label band.
  const std::vector<double> bands2 = InkBands(two, QRect(0, 60, 2 * axisColumn - 12, 2 * axisRow - 40), false);
  ASSERT_FALSE(bands2.empty());
  // Smooth lines: the plotting area gets colours between the line's red
  // and the background; without smoothing it has none.
  auto blended = [&](const QImage& image) {
    int n = 0;
    for (int y = 60; y < axisRow - 10; ++y) {
      for (int x = axisColumn + 10; x < image.width() - 40; ++x) {
        const QColor c = image.pixelColor(x, y);
        n += c.red() > c.green() + 40 && c.red() < 235 && c.green() > 40;
      }
    }
    return n;
  };
  EXPECT_EQ(blended(one), 0);
  EXPECT_GT(blended(smooth), 200);
  EXPECT_EQ(AxisRow(smooth), axisRow);

  for (std::vector<std::string> bad : {std::vector<std::string>{"--scale", "0"},
                                       {"--scale", "9"},
                                       {"--scale", "two"},
                                       {"--scale", "1,5"},
                                       {"--scale"},
                                       {"--size", "40x40", "--scale", "4"}}) {
    std::vector<std::string> args = {"open", (dir / "Data1.dat").string(), "export", "--chart", "temperature",
                                     "--png", (dir / "x.png").string()};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunCli(args).status, 2) << bad[0];
    EXPECT_FALSE(fs::exists(dir / "x.png"));
  }
}

TEST_F(CliExport, AnAllZeroStoreStillLabelsItsTemperatureAxis) {
  {
    std::ofstream data(dir / "Data1.dat", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 3000; ++i) data << "0\r\n";
  }
  const QImage image = Export("temperature", "png", "all_zero.png", {"--size", "800x600"});
  const int axisRow = AxisRow(image), axisColumn = AxisColumn(image);
  // One label ("-40") half way up the left axis, where the flat line lies.
  const std::vector<double> bands = InkBands(image, QRect(0, 40, axisColumn - 6, axisRow - 50), false);
  ASSERT_EQ(bands.size(), 1u);
  int lineRow = -1;
  for (int y = 40; y < axisRow; ++y) {
    if (Red(image.pixel(image.width() / 2, y))) lineRow = y;
  }
  EXPECT_NEAR(bands[0], lineRow, 3);
}

}  // namespace

namespace {

// A template changes the exported picture where it says and nowhere else:
// the title band and the line's colour; a refused one writes nothing.
TEST_F(CliExport, ATemplateChangesOnlyWhatItSays) {
  const std::string look = (dir / "look.json").string();
  {
    std::ofstream file(look);
    file << R"({"chart": "temperature", "title": "Cold room 4", "series": [{"color": "#0000FF"}]})";
  }
  const QImage plain = Export("temperature", "png", "export_plain.png", {"--size", "640x480"});
  const QImage styled = Export("temperature", "png", "export_template.png", {"--size", "640x480", "--template", look});
  ASSERT_EQ(plain.size(), styled.size());
  const int axisRow = AxisRow(plain);
  int titleChanges = 0, recoloured = 0, elsewhere = 0, blue = 0;
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb a = plain.pixel(x, y), b = styled.pixel(x, y);
      blue += qBlue(b) > 180 && qRed(b) < 90 && qGreen(b) < 90;
      if (a == b) continue;
      if (y < 34) ++titleChanges;  // the title band, above the plotting area
      else if (Red(a) && qBlue(b) > 180 && qRed(b) < 90) ++recoloured;
      else ++elsewhere;
    }
  }
  EXPECT_GT(titleChanges, 20);
  EXPECT_GT(recoloured, 300);
  EXPECT_EQ(elsewhere, 0);
  EXPECT_GT(blue, 300);
  EXPECT_EQ(AxisRow(styled), axisRow);

  // Refused templates: exit 2, the reason names the file and what is wrong,
  // and no picture is written.
  struct Bad {
    const char* text;
    const char* words;
  };
  for (const Bad& bad : {Bad{R"({"title": "x", "colour": "red"})", "look.json, line 1: unknown key \"colour\""},
                         Bad{R"({"chart": "histogram"})", "a template of the histogram chart"},
                         Bad{"{\"title\": ", "look.json, line 1, column"}}) {
    {
      std::ofstream file(look, std::ios::trunc);
      file << bad.text;
    }
    const fs::path png = dir / "refused.png";
    CliRun run = RunCli({"open", (dir / "Data1.dat").string(), "export", "--chart", "temperature", "--png",
                         png.string(), "--template", look});
    EXPECT_EQ(run.status, 2) << bad.text;
    EXPECT_NE(run.err.find(bad.words), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(png));
  }
  CliRun twice = RunCli({"open", (dir / "Data1.dat").string(), "export", "--chart", "temperature", "--png",
                         (dir / "twice.png").string(), "--template", look, "--template", look});
  EXPECT_EQ(twice.status, 2);
  EXPECT_NE(twice.err.find("--template is given twice"), std::string::npos) << twice.err;
  CliRun missing = RunCli({"open", (dir / "Data1.dat").string(), "print", "--pdf", (dir / "p.pdf").string(),
                           "--template", (dir / "none.json").string()});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("none.json: File not found"), std::string::npos) << missing.err;
  EXPECT_FALSE(fs::exists(dir / "p.pdf"));
}

// Print takes the template too: the page's line comes out blue.
TEST_F(CliExport, PrintAppliesTheTemplate) {
  const std::string look = (dir / "look.json").string();
  {
    std::ofstream file(look);
    file << R"({"series": [{"color": "#0000FF", "lineWidth": 3}]})";
  }
  const fs::path pdf = out / "print_template.pdf";
  CliRun run = RunCli({"open", (dir / "Data1.dat").string(), "print", "--template", look, "--pdf", pdf.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(std::system(("pdftoppm -r 50 -png -singlefile '" + pdf.string() + "' '" + pdf.string() + "'").c_str()), 0);
  const QImage page = QImage(QString::fromStdString(pdf.string() + ".png")).convertToFormat(QImage::Format_RGB32);
  int blue = 0, red = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QRgb c = page.pixel(x, y);
      blue += qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90;
      red += Red(c);
    }
  }
  EXPECT_GT(blue, 50);
  EXPECT_EQ(red, 0);
}

}  // namespace
