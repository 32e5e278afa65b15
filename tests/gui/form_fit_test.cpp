// Every form laid out at the font resolution this run was started with
// (QT_FONT_DPI, with Qt's own scaling off so the text grows and the forms
// must make room): no label, button or field narrower or lower than its
// text needs, none overlapping a sibling or reaching outside its parent.
// Screenshots land in <build>/test-output/forms/ to be looked at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>
#include <cstdlib>

#include "app/gui/export_dialogs.h"
#include "app/gui/tabout_box.h"
#include "app/gui/tchoose_device.h"
#include "app/gui/tnvram.h"
#include "app/gui/trecent_downloads.h"
#include "app/gui/tsettings.h"
#include "app/gui/window_font.h"
#include "platform/qt_widgets/chart_editor.h"
#include "platform/qt_widgets/chart_export_dialog.h"
#include "platform/qt_widgets/chart_pen_dialogs.h"
#include "platform/qt_widgets/chart_preview.h"
#include "platform/qt_widgets/series_gallery.h"
#include "plot/chart/chart.h"
#include "plot/series/extended_series_kinds.h"
#include "plot/series/standard_series_kinds.h"
#include "plot/series/bar_series.h"
#include "plot/series/line_series.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/support_fake_device_tree.h"
#include "tests/support/support_fake_printer.h"

namespace {

int Dpi() {
  const char* dpi = std::getenv("QT_FONT_DPI");
  return dpi != nullptr ? std::atoi(dpi) : 96;
}

std::string Describe(const QWidget* w) {
  return (w->metaObject()->className() + std::string(" '") + w->objectName().toStdString() + "'");
}

// The width a line edit needs to show `text` whole.
int EditTextWidth(const QLineEdit* edit) {
  int frame = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
  QMargins margins = edit->textMargins();
  return edit->fontMetrics().horizontalAdvance(edit->text()) + frame + margins.left() + margins.right() + 4;
}

// Widgets whose children are their own business (a spin box's editor, a
// list's viewport).
bool IsComposite(const QWidget* w) {
  return qobject_cast<const QAbstractSpinBox*>(w) != nullptr || qobject_cast<const QComboBox*>(w) != nullptr ||
         qobject_cast<const QAbstractScrollArea*>(w) != nullptr || qobject_cast<const QTabWidget*>(w) != nullptr;
}

void CheckSizes(const QWidget* w, std::vector<std::string>& faults) {
  auto fault = [&](const std::string& what, int have, int need) {
    faults.push_back(Describe(w) + ": " + what + " " + std::to_string(have) + " < " + std::to_string(need));
  };
  QSize size = w->size();
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    if (label->pixmap().isNull() && !label->text().isEmpty()) {
      if (label->wordWrap()) {
        if (size.height() < label->heightForWidth(size.width())) {
          fault("height", size.height(), label->heightForWidth(size.width()));
        }
      } else {
        if (size.width() < label->sizeHint().width()) fault("width", size.width(), label->sizeHint().width());
        if (size.height() < label->sizeHint().height()) fault("height", size.height(), label->sizeHint().height());
      }
    }
  } else if (qobject_cast<const QAbstractButton*>(w) != nullptr || qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
             qobject_cast<const QComboBox*>(w) != nullptr) {
    if (size.width() < w->sizeHint().width()) fault("width", size.width(), w->sizeHint().width());
    if (size.height() < w->sizeHint().height()) fault("height", size.height(), w->sizeHint().height());
  } else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
    if (size.width() < EditTextWidth(edit)) fault("width", size.width(), EditTextWidth(edit));
    if (size.height() < edit->minimumSizeHint().height()) fault("height", size.height(), edit->minimumSizeHint().height());
  } else if (qobject_cast<const QGroupBox*>(w) != nullptr) {
    // Its title and its contents.
    if (size.width() < w->minimumSizeHint().width()) fault("width", size.width(), w->minimumSizeHint().width());
    if (size.height() < w->minimumSizeHint().height()) fault("height", size.height(), w->minimumSizeHint().height());
  }
}

// Walks the form: each visible control against its text, inside its parent
// and clear of its siblings.
void CheckContainer(const QWidget* parent, std::vector<std::string>& faults, int& controls) {
  std::vector<const QWidget*> children;
  for (QObject* o : parent->children()) {
    auto* w = qobject_cast<const QWidget*>(o);
    if (w != nullptr && !w->isWindow() && w->isVisible()) children.push_back(w);
  }
  for (std::size_t i = 0; i < children.size(); ++i) {
    const QWidget* w = children[i];
    ++controls;
    CheckSizes(w, faults);
    if (!parent->rect().contains(w->geometry())) {
      faults.push_back(Describe(w) + " reaches outside " + Describe(parent));
    }
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      if (w->geometry().intersects(children[j]->geometry())) {
        faults.push_back(Describe(w) + " overlaps " + Describe(children[j]));
      }
    }
    if (!IsComposite(w)) CheckContainer(w, faults, controls);
    // A tab widget's frame and bar overlap by design: its shown page is
    // what holds controls.
    if (auto* tabs = qobject_cast<const QTabWidget*>(w); tabs != nullptr && tabs->currentWidget() != nullptr) {
      CheckContainer(tabs->currentWidget(), faults, controls);
    }
  }
}

void CheckAndShoot(QWidget& form, const std::string& name) {
  QCoreApplication::processEvents();
  std::vector<std::string> faults;
  int controls = 0;
  CheckContainer(&form, faults, controls);
  EXPECT_GE(controls, 3) << name << ": nothing was checked";
  for (const std::string& f : faults) ADD_FAILURE() << name << " at " << Dpi() << " dpi: " << f;
  QDir().mkpath(QUORVEL_TEST_OUTPUT_DIR "/forms");
  QString file = QString(QUORVEL_TEST_OUTPUT_DIR "/forms/%1_%2dpi.png").arg(QString::fromStdString(name)).arg(Dpi());
  EXPECT_TRUE(form.grab().save(file)) << file.toStdString();
}

class FormFit : public ::testing::Test {
 protected:
  void SetUp() override { QApplication::setFont(gui::WindowFont()); }
  testsupport::RecordingMessages messages;
};

TEST_F(FormFit, TheFontFollowsTheResolution) {
  // Without this the other checks would prove nothing at 120 and 144 dpi.
  int pixels = QFontInfo(gui::WindowFont()).pixelSize();
  EXPECT_NEAR(pixels, 11.0 * Dpi() / 96.0, 0.6) << "QT_FONT_DPI had no effect";
  EXPECT_EQ(QFontInfo(gui::WindowFont()).family().toStdString(), "Liberation Sans");
}

TEST_F(FormFit, Setup) {
  gui::TSettings form(messages);
  form.LowAlarm()->setText("-40.0");
  form.HighAlarm()->setText(" 84.0");
  form.StartDelay()->setText("65535");
  form.NVramEdit()->setText("COLD ROOM 3 - FREEZER UNIT NORTH");
  form.show();
  CheckAndShoot(form, "setup");
  // The designed size is the least it gets, grown with the font.
  EXPECT_GE(form.width(), 287 * Dpi() / 96);
}

TEST_F(FormFit, SetNVram) {
  gui::TNVram form(messages);
  form.NVramEdit()->setText("COLD ROOM 3 - FREEZER UNIT NORTH");  // 32 characters, in capitals
  form.show();
  CheckAndShoot(form, "nvram");
}

TEST_F(FormFit, About) {
  gui::TAboutBox form;
  form.ProgramPath = [] { return std::string(QUORVEL_BIN_DIR) + "/quorvel"; };
  form.show();
  ASSERT_EQ(form.Label1()->text().toStdString(), "1.0.0.15");
  CheckAndShoot(form, "about");
}

TEST_F(FormFit, ExportDialogs) {
  gui::TExportCsv csv(messages);
  csv.FileEdit()->setText("/home/someone/cold rooms/north freezer 2026.csv");
  csv.show();
  CheckAndShoot(csv, "export_csv");
  gui::TExportChart chart(messages);
  chart.FileEdit()->setText("/home/someone/cold rooms/north freezer 2026.png");
  bool shown = false;
  QTimer::singleShot(0, &chart, [&] {
    shown = true;
    CheckAndShoot(chart, "export_chart");
    chart.reject();
  });
  chart.Execute(10000, 10000);  // the widest size text it can show
  EXPECT_TRUE(shown);
}

TEST_F(FormFit, ChartEditorAndItsDialogs) {
  plot::RegisterStandardSeriesKinds();
  plot::RegisterExtendedSeriesKinds();
  plot::TChart chart;
  plot::TLineSeries line;
  line.SetParentChart(&chart);
  line.SetTitle("Cold room 3 - freezer unit north");
  platform::TChartEditor editor;
  editor.OnSaveTemplate = [] {};
  editor.OnLoadTemplate = [] {};
  editor.Edit(chart);
  editor.show();
  const char* pages[] = {"series", "chart", "axes", "legend", "walls"};
  for (int i = 0; i < editor.Pages()->count(); ++i) {
    editor.Pages()->setCurrentIndex(i);
    CheckAndShoot(editor, std::string("editor_") + pages[i]);
  }
  // The longest message beside a field.
  editor.Pages()->setCurrentIndex(2);
  editor.AxisLabelsAngle()->setText("361");
  emit editor.AxisLabelsAngle()->editingFinished();
  CheckAndShoot(editor, "editor_axes_error");
  editor.reject();
  editor.Gallery().Populate();
  editor.Gallery().show();
  CheckAndShoot(editor.Gallery(), "gallery");
  editor.PenDialog().show();
  CheckAndShoot(editor.PenDialog(), "pen");
  editor.BrushDialog().show();
  CheckAndShoot(editor.BrushDialog(), "brush");
  editor.ExportDialog().show();
  CheckAndShoot(editor.ExportDialog(), "export_picture");
  editor.ExportDialog().Pages()->setCurrentIndex(1);
  CheckAndShoot(editor.ExportDialog(), "export_data");
  line.SetParentChart(nullptr);
}

TEST_F(FormFit, ChooseDevice) {
  testsupport::FakeDeviceTree tree;
  testsupport::FakeDeviceTree::Usb ftdi;
  ftdi.kernelName = "ttyUSB0";
  ftdi.byId = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  ftdi.manufacturer = "FTDI";
  ftdi.product = "FT232R USB UART";
  ftdi.serial = "A50285BI";
  tree.AddUsb(ftdi);
  tree.AddUart("ttyS0", 4);
  gui::TChooseDevice form(tree.Root().string());
  bool shown = false;
  QTimer::singleShot(0, &form, [&] {
    shown = true;
    CheckAndShoot(form, "choose_device");
    form.reject();
  });
  form.Execute("Comm1", "/dev/ttyUSB0");
  EXPECT_TRUE(shown);
}

TEST_F(FormFit, RecentDownloads) {
  std::vector<logger::ArchivedDownload> downloads(2);
  downloads[0] = {"/home/u/.local/share/quorvel/downloads/00A1B2C3D4E5F607-20260305-090704-2.dat", "",
                  "00A1B2C3D4E5F607", "2026-03-05 09:07:04", 2, "04/03/26 14:30", 2048, ""};
  downloads[1] = {"/home/u/.local/share/quorvel/downloads/00A1B2C3D4E5F607-20260305-090704.dat", "",
                  "00A1B2C3D4E5F607", "2026-03-05 09:07:04", 1, "", -1, "line 12: 'x' is not a valid integer value"};
  gui::TRecentDownloads form;
  bool shown = false;
  QTimer::singleShot(0, &form, [&] {
    shown = true;
    EXPECT_EQ(form.List()->topLevelItem(0)->text(3).toStdString(), "2048");
    EXPECT_EQ(form.List()->topLevelItem(1)->text(2).toStdString(), "(cannot be read)");
    CheckAndShoot(form, "recent_downloads");
    form.reject();
  });
  EXPECT_EQ(form.Execute(downloads, "/home/u/.local/share/quorvel/downloads", ""), std::nullopt);
  EXPECT_TRUE(shown);
}

TEST_F(FormFit, PrintPreview) {
  testsupport::FakePrinter printer;
  gui::TMain::Options options;
  options.ports.comm1 = "/nonexistent/quorvel-fit-1";
  options.ports.comm2 = "/nonexistent/quorvel-fit-2";
  options.messages = &messages;
  options.printer = &printer;
  gui::TMain window(std::move(options));
  window.show();
  bool shown = false;
  window.ChartPreviewer1().OnShow = [&](platform::TChartPreview& form) {
    QTimer::singleShot(0, &form, [&] {
      shown = true;
      CheckAndShoot(form, "print_preview");
      form.BClose()->click();
    });
  };
  window.p1Click();
  EXPECT_TRUE(shown);
  // The main window too, for the eye: its status line and menus.
  CheckAndShoot(window, "main_window");
}

}  // namespace
