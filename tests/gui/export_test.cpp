// Getting the data out of the window: File, Export Chart... gives the very
// pixels quorvel-cli exports for the same file, chart and size; File, Export
// Log as CSV... writes the window's unit; View, Celsius / Fahrenheit redraws
// what is shown and is remembered; the status line's statistics; the two
// export dialogs and their refusals. Pictures land in <build>/test-output.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/gui/memo_pane.h"
#include "app/gui/status_panel.h"
#include "plot/axes/chart_axis.h"
#include "tests/gui/gui_test_support.h"

namespace {

namespace fs = std::filesystem;
using guitest::RecordingMessages;

const char* const kNoDevice = "/nonexistent/quorvel-test-port";

class OpenAnswers final : public logger::FileDialogView {
 public:
  std::optional<std::string> SaveDialog1Execute() override { return std::nullopt; }
  std::optional<std::string> OpenDialog1Execute(const std::string&) override { return open; }
  std::optional<std::string> open;
};

class ExportAnswers final : public gui::ExportDialogView {
 public:
  std::optional<gui::CsvExportChoice> ExecuteCsvExport() override { return csv; }
  std::optional<gui::ChartExportChoice> ExecuteChartExport(int width, int height) override {
    screen = QSize(width, height);
    return chart;
  }
  std::optional<gui::CsvExportChoice> csv;
  std::optional<gui::ChartExportChoice> chart;
  QSize screen;
};

std::string ReadBytes(const fs::path& path) {
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

// Pixels that differ between two pictures of the same size.
int Differences(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height() + 1;
  QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) n += p[col] != q[col];
  }
  return n;
}

class WindowExport : public ::testing::Test {
 protected:
  void SetUp() override {
    out = fs::path(QUORVEL_TEST_OUTPUT_DIR) / "window-export";
    fs::create_directories(out);
    dir = fs::path(::testing::TempDir()) / ("quorvel-window-export-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    ::setenv("TZ", "UTC", 1);
    // Started 25/12/00 14:30, every 15 minutes, 700 samples recorded, alarms
    // at 2.0 and 8.0; a wandering log and a few full histogram bins.
    int store[3001] = {};
    const int page0[32] = {0x07, 0x59, 0x23, 0x07, 0x31, 0x12, 0x05, 0, 0, 0, 0, 84, 96, 15, 0, 0,
                           0,    88,   0,    0,    0x24, 0x30, 0x14, 0x25, 0x12, 0x00, 0xBC, 0x02, 0, 0, 8, 0};
    for (int i = 0; i < 32; ++i) store[1 + i] = page0[i];
    for (int bin : {20, 21, 22, 24, 30}) store[169 + 2 * bin] = 40 + bin * 3;
    for (int n = 0; n < 2048; ++n) store[297 + n] = 84 + (n / 7) % 19 + (n % 5 == 0);
    std::ofstream data(Data(), std::ios::binary);
    for (int k = 1; k <= 3000; ++k) data << store[k] << "\r\n";
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Data() const { return (dir / "log.dat").string(); }

  std::unique_ptr<gui::TMain> Window() {
    gui::TMain::Options options;
    options.ports.comm1 = kNoDevice;
    options.ports.comm2 = kNoDevice;
    options.messages = &messages;
    options.fileDialogs = &opens;
    options.exportDialogs = &exports;
    options.settings = &settings;
    auto window = std::make_unique<gui::TMain>(std::move(options));
    messages.messages.clear();  // the port warning
    window->show();
    opens.open = Data();
    window->Open1Click();
    QCoreApplication::processEvents();
    return window;
  }

  // The window's export of the chart it shows.
  QImage WindowPng(gui::TMain& window, const std::string& name, platform::ChartExportOptions options) {
    exports.chart = gui::ChartExportChoice{(out / name).string(), options};
    window.ExportChart1Click();
    EXPECT_TRUE(messages.messages.empty()) << messages.messages.front().text;
    return QImage(QString::fromStdString((out / name).string()));
  }

  QImage CliPng(const std::string& chart, const std::string& name, const QStringList& more = {}) {
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    cli.setProcessEnvironment(env);
    const QString file = QString::fromStdString((out / name).string());
    cli.start(QUORVEL_BIN_DIR "/quorvel-cli", QStringList{"open", QString::fromStdString(Data()), "export",
                                                         "--chart", QString::fromStdString(chart), "--png", file} +
                                                 more);
    EXPECT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    return QImage(file);
  }

  RecordingMessages messages;
  OpenAnswers opens;
  ExportAnswers exports;
  logger::MemorySettingsStore settings;
  fs::path out;
  fs::path dir;
};

TEST_F(WindowExport, TheWindowAndTheCommandLineGiveTheSamePixels) {
  auto window = Window();
  const QImage temperature = WindowPng(*window, "window_temperature.png", {1024, 768, 1.0, false});
  ASSERT_EQ(temperature.size(), QSize(1024, 768));
  EXPECT_EQ(Differences(temperature, CliPng("temperature", "cli_temperature.png", {"--size", "1024x768"})), 0);

  // Twice as sharp and smooth, from the same chart.
  const QImage sharp = WindowPng(*window, "window_temperature_2x.png", {1024, 768, 2.0, true});
  EXPECT_EQ(Differences(sharp, CliPng("temperature", "cli_temperature_2x.png",
                                      {"--size", "1024x768", "--scale", "2", "--antialias"})),
            0);
  EXPECT_GT(Differences(sharp, temperature), 1000);

  window->Action("Histogram1")->trigger();
  const QImage histogram = WindowPng(*window, "window_histogram.png", {800, 600, 1.0, false});
  EXPECT_EQ(Differences(histogram, CliPng("histogram", "cli_histogram.png", {"--size", "800x600"})), 0);

  // In Fahrenheit the window's chart is the one quorvel-cli draws with --fahrenheit.
  window->Action("Fahrenheit1")->trigger();
  window->Action("Temperature1")->trigger();
  const QImage fahrenheit = WindowPng(*window, "window_fahrenheit.png", {1024, 768, 1.0, false});
  EXPECT_GT(Differences(fahrenheit, temperature), 100);  // the left axis' labels
  EXPECT_EQ(Differences(fahrenheit, CliPng("temperature", "cli_fahrenheit.png",
                                           {"--size", "1024x768", "--fahrenheit"})),
            0);
}

TEST_F(WindowExport, TheChartAsShownAtItsZoomAndItsSizeOnScreen) {
  auto window = Window();
  plot::TChart& chart = window->ChartData().Chart1();
  const QRect onScreen = window->Chart1().geometry();
  // The size on screen is offered; the export is made at it.
  exports.chart = gui::ChartExportChoice{(out / "screen.png").string(), {}};
  exports.chart->options.width = window->Chart1().width();
  exports.chart->options.height = window->Chart1().height();
  window->ExportChart1Click();
  EXPECT_EQ(exports.screen, window->Chart1().size());
  const QImage whole(QString::fromStdString((out / "screen.png").string()));
  EXPECT_EQ(whole.size(), window->Chart1().size());
  EXPECT_EQ(window->App().Status().Notice(), "Exported the chart to " + (out / "screen.png").string());

  chart.SetAnimatedZoom(false);
  plot::TChart::AxisRanges ranges;
  ranges[0] = {chart.LeftAxis().Minimum(), chart.LeftAxis().Maximum()};
  ranges[1] = {chart.RightAxis().Minimum(), chart.RightAxis().Maximum()};
  ranges[2] = {chart.TopAxis().Minimum(), chart.TopAxis().Maximum()};
  ranges[3] = {100, 300};
  chart.ZoomToValues(ranges);
  const QImage zoomed = WindowPng(*window, "zoomed.png", {640, 480, 1.0, false});
  const QImage unzoomedCli = CliPng("temperature", "unzoomed.png", {"--size", "640x480"});
  EXPECT_GT(Differences(zoomed, unzoomedCli), 1000);
  // The window keeps its zoom and its place.
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Minimum(), 100);
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Maximum(), 300);
  EXPECT_EQ(QRect(chart.Left(), chart.Top(), chart.Width(), chart.Height()), onScreen);

  // A name the renderer cannot write is refused with the name.
  exports.chart = gui::ChartExportChoice{(dir / "no-such-folder" / "x.png").string(), {}};
  window->ExportChart1Click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].text.find("no-such-folder/x.png"), std::string::npos) << messages.messages[0].text;
}

TEST_F(WindowExport, UnitChoiceRedrawsWhatIsShownAndIsRemembered) {
  auto window = Window();
  const gui::StatusPanel& status = window->Panel2();
  // Open ends on the listing, with the recorded samples' figures beside it.
  EXPECT_EQ(window->Memo1().Lines()[1], "Date and Time\t  \u00B0C");
  EXPECT_EQ(status.SummaryText().toStdString(), "2.0 to 11.5 \u00B0C, mean 6.4, above 2 06:15, below 0 00:00");
  window->Action("Page01")->trigger();
  EXPECT_EQ(window->Memo1().Lines()[6], "High temp alarm   8.0");

  window->Action("Fahrenheit1")->trigger();
  EXPECT_TRUE(window->Action("Fahrenheit1")->isChecked());
  EXPECT_FALSE(window->Action("Celsius1")->isChecked());
  EXPECT_EQ(window->Memo1().Lines()[6], "High temp alarm  46.4");  // the pane's report, redrawn
  EXPECT_DOUBLE_EQ(window->ChartData().TemperatureY(0), 36.5);    // and the chart's line (2.5)
  EXPECT_EQ(status.SummaryText().toStdString(), "35.6 to 52.7 \u00B0F, mean 43.6, above 2 06:15, below 0 00:00");
  EXPECT_EQ(settings.values["view/unit"], "fahrenheit");

  // A CSV file in the window's unit.
  exports.csv = gui::CsvExportChoice{(dir / "log.csv").string(), {}};
  exports.csv->options.recordedOnly = true;
  window->ExportLogAsCsv1Click();
  ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;
  const std::string csv = ReadBytes(dir / "log.csv");
  EXPECT_EQ(csv.rfind("index,time,temperature_F\n0,2000-12-25T14:30:00+00:00,36.5\n", 0), 0u) << csv.substr(0, 80);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 701);

  // The histogram shows no log figures; the line shows them again.
  window->Action("Histogram1")->trigger();
  EXPECT_EQ(status.SummaryText().toStdString(), "");
  EXPECT_EQ(window->Memo1().Lines()[2], "\" -40 to -37.3\"\t0");
  window.reset();

  // The next start shows Fahrenheit from the first report.
  auto again = Window();
  EXPECT_TRUE(again->Action("Fahrenheit1")->isChecked());
  EXPECT_EQ(again->Memo1().Lines()[1], "Date and Time\t  \u00B0F");
  again->Action("Celsius1")->trigger();
  EXPECT_EQ(again->Memo1().Lines()[1], "Date and Time\t  \u00B0C");
  EXPECT_EQ(settings.values["view/unit"], "celsius");

  // A choice that cannot be kept still applies, and says so.
  settings.failWith = "cannot write /ro/quorvel.conf";
  again->Action("Fahrenheit1")->trigger();
  EXPECT_EQ(again->Memo1().Lines()[1], "Date and Time\t  \u00B0F");
  EXPECT_EQ(again->App().Status().Notice(), "The unit choice was not remembered: cannot write /ro/quorvel.conf");
}

// ---------------------------------------------------------------------------
// The dialogs themselves

void WhenShown(QDialog& dialog, std::function<void()> steps, int triesLeft = 500) {
  QTimer::singleShot(triesLeft == 500 ? 0 : 10, &dialog, [&dialog, steps, triesLeft] {
    if (!dialog.isVisible() && triesLeft > 0) {
      WhenShown(dialog, steps, triesLeft - 1);
      return;
    }
    ASSERT_TRUE(dialog.isVisible());
    steps();
  });
}

TEST(ExportDialogs, ChartDialogRefusesUnknownFormatsAndTooSmallLayouts) {
  RecordingMessages messages;
  gui::TExportChart dialog(messages);
  const fs::path dir = fs::path(::testing::TempDir());
  WhenShown(dialog, [&] {
    EXPECT_EQ(dialog.ScreenSize()->text().toStdString(), "Size on &screen (352 x 334)");
    EXPECT_TRUE(dialog.ScreenSize()->isChecked());
    dialog.FileEdit()->setText(QString::fromStdString((dir / "chart.jpg").string()));
    dialog.OKButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.FileEdit()->setText(QString::fromStdString((dir / "new-chart.SVG").string()));
    dialog.WidthBox()->setValue(40);  // typing a size chooses it
    dialog.ScaleBox()->setValue(4);
    dialog.OKButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.ScaleBox()->setValue(2);
    dialog.Antialias()->setChecked(true);
    dialog.OKButton()->click();
  });
  std::optional<gui::ChartExportChoice> choice = dialog.Execute(352, 334);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, (dir / "new-chart.SVG").string());
  EXPECT_EQ(choice->options.width, 40);
  EXPECT_EQ(choice->options.height, 768);
  EXPECT_DOUBLE_EQ(choice->options.scale, 2.0);
  EXPECT_TRUE(choice->options.antialias);
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_NE(messages.messages[0].text.find(".png, .svg or .pdf"), std::string::npos);
  EXPECT_NE(messages.messages[1].text.find("16 pixels"), std::string::npos);

  // The size on screen again, chosen back.
  WhenShown(dialog, [&] {
    dialog.ScreenSize()->setChecked(true);
    dialog.OKButton()->click();
  });
  choice = dialog.Execute(500, 300);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->options.width, 500);
  EXPECT_EQ(choice->options.height, 300);
}

TEST(ExportDialogs, CsvDialogNeedsANameAndTakesItsChoices) {
  RecordingMessages messages;
  gui::TExportCsv dialog(messages);
  const std::string path = (fs::path(::testing::TempDir()) / "quorvel-dialog-new.csv").string();
  WhenShown(dialog, [&] {
    EXPECT_EQ(dialog.FileEdit()->text().toStdString(), "Data1.csv");
    dialog.FileEdit()->setText("  ");
    dialog.OKButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.FileEdit()->setText(QString::fromStdString(path));
    dialog.RecordedOnly()->setChecked(true);
    dialog.Excel()->setChecked(true);
    dialog.OKButton()->click();
  });
  std::optional<gui::CsvExportChoice> choice = dialog.Execute();
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, path);
  EXPECT_TRUE(choice->options.recordedOnly);
  EXPECT_TRUE(choice->options.excel);
  EXPECT_FALSE(choice->options.utc);
  EXPECT_EQ(messages.messages.size(), 1u);
  WhenShown(dialog, [&] { dialog.reject(); });
  EXPECT_FALSE(dialog.Execute());
}

}  // namespace
