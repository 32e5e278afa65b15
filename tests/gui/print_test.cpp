// File, Print and the preview's Print through a real CUPS queue (cups-pdf),
// or to a PDF file where no CUPS is available; the printed page is turned
// into an image and checked: the chart is on it, inside the margins.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QTransform>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "app/gui/tmain.h"
#include "platform/qt_widgets/chart_preview.h"
#include "platform/qt_widgets/qt_printer.h"
#include "tests/gui/gui_test_support.h"

namespace {

namespace fs = std::filesystem;
const char* const kQueue = "QuorvelTestPDF";

// Starts cupsd and adds a cups-pdf queue when this machine can; the folder
// its PDFs land in, or "" when printing must go to a file.
std::string StartCupsQueue() {
  if (::getuid() != 0 || !fs::exists("/usr/sbin/cupsd") || !fs::exists("/usr/lib/cups/backend/cups-pdf")) return "";
  std::system("pgrep -x cupsd >/dev/null || /usr/sbin/cupsd");
  std::string add = std::string("lpadmin -p ") + kQueue +
                    " -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >/dev/null 2>&1";
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (std::system(add.c_str()) == 0) {
      const char* home = std::getenv("HOME");
      return std::string(home ? home : "/root") + "/PDF";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return "";
}

std::set<std::string> PdfsIn(const std::string& folder) {
  std::set<std::string> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    if (e.path().extension() == ".pdf") files.insert(e.path().string());
  }
  return files;
}

// Waits for a PDF that was not there before (cups-pdf writes it a moment
// after the job is sent).
std::string NewPdf(const std::string& folder, const std::set<std::string>& before) {
  for (int i = 0; i < 150; ++i) {
    for (const std::string& f : PdfsIn(folder)) {
      if (!before.count(f) && fs::file_size(f) > 1000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // finished writing
        return f;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "";
}

// The first page as an image, saved for a person to look at.
QImage PageImage(const std::string& pdf, const std::string& name) {
  const std::string dir = std::string(QUORVEL_TEST_OUTPUT_DIR);
  QDir().mkpath(QString::fromStdString(dir));
  const std::string stem = dir + "/" + name;
  std::string command = "pdftoppm -r 50 -png -singlefile '" + pdf + "' '" + stem + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return QImage(QString::fromStdString(stem + ".png"));
}

// Everything drawn lies inside the page's margins, and the red line is there.
void ExpectChartInsideMargins(const QImage& page) {
  ASSERT_FALSE(page.isNull());
  int left = page.width(), right = -1, top = page.height(), bottom = -1, red = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      QRgb p = page.pixel(x, y);
      if (qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245) continue;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80) ++red;
    }
  }
  ASSERT_GE(right, 0) << "the page is blank";
  EXPECT_GT(red, 50) << "no red temperature line on the page";
  // 15 % left and right at least (less a pixel of rounding); top and bottom
  // are computed from the chart's shape and stay inside the page.
  EXPECT_GE(left, page.width() * 14 / 100);
  EXPECT_LE(right, page.width() * 86 / 100);
  EXPECT_GT(top, 0);
  EXPECT_LT(bottom, page.height() - 1);
}

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cupsFolder = StartCupsQueue();
    if (!cupsFolder.empty()) {
      auto names = printer.PrinterNames();
      auto at = std::find(names.begin(), names.end(), kQueue);
      if (at == names.end()) cupsFolder.clear();  // Qt sees no CUPS here
      else printer.SetPrinterIndex(static_cast<int>(at - names.begin()));
    }
    if (cupsFolder.empty()) {
      cupsFolder = ::testing::TempDir() + "/quorvel-print-" + std::to_string(::getpid());
      fs::create_directories(cupsFolder);
      printer.SetPrinterIndex(-1);
    }
    recorder = guitest::StartRecorder();
    ASSERT_TRUE(recorder);
    gui::TMain::Options options;
    options.ports.comm1 = testsupport::RequireExplicitPort(recorder->DevicePath());
    options.ports.comm2 = options.ports.comm1;
    options.messages = &messages;
    options.printer = &printer;
    window = std::make_unique<gui::TMain>(std::move(options));
    window->show();
    window->ReadAll1Click();
    ASSERT_TRUE(messages.messages.empty());
  }
  // Where the next job goes when printing to files.
  void NameOutput(const std::string& name) {
    if (printer.PrinterIndex() < 0) printer.SetOutputFile(cupsFolder + "/" + name + ".pdf");
  }

  std::string cupsFolder;
  platform::QtPrinter printer;
  std::unique_ptr<sim::PtyRecorder> recorder;
  guitest::RecordingMessages messages;
  std::unique_ptr<gui::TMain> window;
};

TEST_F(PrintTest, FilePrintPutsTheChartOnThePageInsideTheMargins) {
  auto before = PdfsIn(cupsFolder);
  NameOutput("main_print");
  window->Action("Print1")->trigger();
  ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;
  EXPECT_EQ(window->ChartData().Chart1().PrintDetail(), -50);
  std::string pdf = NewPdf(cupsFolder, before);
  ASSERT_FALSE(pdf.empty()) << "no PDF appeared in " << cupsFolder;
  ExpectChartInsideMargins(PageImage(pdf, "printed_page_file_print"));
}

TEST_F(PrintTest, ThePreviewsPrintButtonPrintsTheSamePage) {
  auto before = PdfsIn(cupsFolder);
  NameOutput("preview_print");
  window->ChartPreviewer1().OnShow = [](platform::TChartPreview& form) {
    QTimer::singleShot(0, &form, [&form] {
      QDir().mkpath(QUORVEL_TEST_OUTPUT_DIR);
      form.grab().save(QUORVEL_TEST_OUTPUT_DIR "/print_preview_window.png");
      form.BPrint()->click();
      form.BClose()->click();
    });
  };
  window->Action("p1")->trigger();
  ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;
  EXPECT_TRUE(window->ChartData().Chart1().CancelMouse());
  std::string pdf = NewPdf(cupsFolder, before);
  ASSERT_FALSE(pdf.empty()) << "no PDF appeared in " << cupsFolder;
  // The preview prints in landscape: a landscape page, or (as CUPS hands
  // it on) the landscape picture turned onto a portrait sheet.
  EXPECT_EQ(printer.Orientation(), platform::PrinterOrientation::Landscape);
  QImage page = PageImage(pdf, "printed_page_preview");
  if (page.height() > page.width()) page = page.transformed(QTransform().rotate(90));
  ExpectChartInsideMargins(page);
}

}  // namespace
