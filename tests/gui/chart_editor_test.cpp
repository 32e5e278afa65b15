// The chart editor, its pen and brush dialogs and the series gallery driven
// offscreen over the window's own chart, and the window's Edit Chart...,
// templates and Reset Chart Look. Pictures of every page and dialog at 96
// and 144 dpi land in <build>/test-output/editor/.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/chart_template.h"
#include "platform/qt_widgets/chart_editor.h"
#include "platform/qt_widgets/chart_export_dialog.h"
#include "platform/qt_widgets/chart_host_widget.h"
#include "platform/qt_widgets/chart_pen_dialogs.h"
#include "platform/qt_widgets/series_gallery.h"
#include "platform/posix/posix_file_system.h"
#include "plot/chart/series_registry.h"
#include "plot/series/pie_series.h"
#include "plot/series/series_marks.h"
#include "tests/gui/gui_test_support.h"

namespace {

namespace fs = std::filesystem;

// Types into a field and leaves it, as a user does.
void Type(QLineEdit* field, const QString& text) {
  field->setText(text);
  emit field->editingFinished();
}

// Runs `answer` on the next modal dialog once it shows (not at all when none
// shows within 3 s: the test then fails on what the answer would have done).
void WhenModal(const std::function<void(QWidget*)>& answer) {
  QTimer::singleShot(0, [answer] {
    guitest::PumpUntil([] { return QApplication::activeModalWidget() != nullptr; }, 3000);
    if (QWidget* modal = QApplication::activeModalWidget()) answer(modal);
  });
}

class TemplateAnswers final : public gui::TemplateDialogView {
 public:
  std::optional<std::string> SaveTemplateName(const std::string& suggested) override {
    suggestedName = suggested;
    return save;
  }
  std::optional<std::string> OpenTemplateName() override { return open; }
  std::optional<std::string> save, open;
  std::string suggestedName;
};

// The window with the temperature line showing a short log.
class ChartEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / std::string("quorvel-editor-").append(std::to_string(::getpid()));
    fs::create_directories(dir);
    gui::TMain::Options options;
    options.ports.comm1 = testsupport::RequireExplicitPort((dir / "none1").string());
    options.ports.comm2 = testsupport::RequireExplicitPort((dir / "none2").string());
    options.messages = &messages;
    options.templateDialogs = &templates;
    window = std::make_unique<gui::TMain>(std::move(options));
    window->show();
    ShowTemperature();
  }
  void TearDown() override {
    window.reset();
    fs::remove_all(dir);
  }
  void ShowTemperature() {
    logger::LoggerChart& data = window->ChartData();
    data.BeginTemperature();
    for (int i = 0; i < 40; ++i) data.AddTemperaturePoint(3.0 + (i % 7) * 0.5, std::string("t").append(std::to_string(i)));
    data.ResetZoom();
  }
  void ShowHistogram() {
    logger::LoggerChart& data = window->ChartData();
    data.BeginHistogram();
    for (int i = 0; i < 64; ++i) data.AddHistogramBar(i % 5, std::string("b").append(std::to_string(i)));
    data.ResetZoom();
  }
  plot::TChart& Chart() { return window->ChartData().Chart1(); }
  platform::TChartEditor& Editor() { return window->ChartEditor(); }
  // Paints the chart as the window shows it.
  QImage Shown() { return window->Chart1().grab().toImage(); }

  fs::path dir;
  guitest::RecordingMessages messages;
  TemplateAnswers templates;
  std::unique_ptr<gui::TMain> window;
};

TEST_F(ChartEditorTest, AxesPageFixesARangeRefusesBadValuesAndCancelRestores) {
  platform::TChartEditor& e = Editor();
  e.Edit(Chart());
  e.show();
  e.Pages()->setCurrentIndex(2);
  plot::TChartAxis& left = Chart().LeftAxis();
  ASSERT_TRUE(left.Automatic());
  Shown();
  const double autoLow = left.LowValue(), autoHigh = left.HighValue();

  // A fixed range typed in shows on the axis at the next paint.
  e.AxisChoice()->setCurrentIndex(0);
  Type(e.AxisMinimum(), "-10");
  Type(e.AxisMaximum(), "50");
  Type(e.AxisIncrement(), "5");
  EXPECT_FALSE(left.Automatic());
  EXPECT_FALSE(e.AxisAutomatic()->isChecked());
  Shown();
  EXPECT_EQ(left.LowValue(), -10);
  EXPECT_EQ(left.HighValue(), 50);
  EXPECT_EQ(left.Increment(), 5);

  // Invalid values: the chart's own text beside the field, nothing applied.
  Type(e.AxisMinimum(), "60");
  EXPECT_EQ(e.AxisMinimumError()->text(), "Axis Minimum Value must be <= Maximum");
  Type(e.AxisMaximum(), "-20");
  EXPECT_EQ(e.AxisMaximumError()->text(), "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(left.Minimum(), -10);
  EXPECT_EQ(left.Maximum(), 50);
  Type(e.AxisMinimum(), "-10");
  Type(e.AxisMaximum(), "50");
  EXPECT_TRUE(e.AxisMinimumError()->text().isEmpty());
  Type(e.AxisIncrement(), "-1");
  EXPECT_EQ(e.AxisIncrementError()->text(), "Axis increment must be >= 0");
  EXPECT_EQ(left.Increment(), 5);
  Type(e.AxisMinimum(), "abc");
  EXPECT_FALSE(e.AxisMinimumError()->text().isEmpty());
  EXPECT_EQ(left.Minimum(), -10);
  e.AxisChoice()->setCurrentIndex(3);  // bottom
  Type(e.AxisLabelsAngle(), "361");
  EXPECT_EQ(e.AxisLabelsAngleError()->text(), "Axis Labels Angle must be between 0 and 359 degrees");
  EXPECT_EQ(Chart().BottomAxis().LabelsAngle(), 90);
  Type(e.AxisLabelsAngle(), "45");
  EXPECT_EQ(Chart().BottomAxis().LabelsAngle(), 45);
  Type(e.AxisTitle(), "Sample");
  e.AxisGridVisible()->setChecked(false);
  EXPECT_FALSE(Chart().BottomAxis().Grid().Visible());
  // The depth axis (the series' rows in 3D) is edited the same way.
  e.AxisChoice()->setCurrentIndex(4);
  EXPECT_EQ(e.AxisChoice()->currentText(), "Depth");
  const bool depthShown = Chart().DepthAxis().Visible();
  e.AxisVisible()->setChecked(!depthShown);
  EXPECT_EQ(Chart().DepthAxis().Visible(), !depthShown);
  Type(e.AxisTitle(), "Rows");
  EXPECT_EQ(Chart().DepthAxis().Title().Caption(), "Rows");
  EXPECT_EQ(Chart().BottomAxis().Title().Caption(), "Sample");

  // Cancel: everything as it was when the editor opened.
  e.reject();
  EXPECT_TRUE(left.Automatic());
  EXPECT_EQ(left.Increment(), 0);
  EXPECT_EQ(Chart().BottomAxis().LabelsAngle(), 90);
  EXPECT_EQ(Chart().BottomAxis().Title().Caption(), "");
  EXPECT_TRUE(Chart().BottomAxis().Grid().Visible());
  EXPECT_EQ(Chart().DepthAxis().Visible(), depthShown);
  EXPECT_EQ(Chart().DepthAxis().Title().Caption(), "");
  Shown();
  EXPECT_EQ(left.LowValue(), autoLow);
  EXPECT_EQ(left.HighValue(), autoHigh);
}

TEST_F(ChartEditorTest, ChartLegendAndWallPagesChangeTheChartAtOnce) {
  platform::TChartEditor& e = Editor();
  e.Edit(Chart());
  e.show();
  EXPECT_EQ(e.TitleText()->toPlainText(), "Temperature and Time");
  const QImage before = Shown();
  e.TitleText()->setPlainText("Cold room 4\nNorth");
  EXPECT_EQ(Chart().Title().Text().Lines(), (std::vector<std::string>{"Cold room 4", "North"}));
  e.GradientVisible()->setChecked(true);
  e.GradientStart()->SetValue(0x0000FF, true);
  EXPECT_TRUE(Chart().Gradient().Visible());
  EXPECT_EQ(Chart().Gradient().StartColor(), 0x0000FFu);
  e.View3D()->setChecked(true);
  EXPECT_TRUE(Chart().View3D());
  Type(e.Chart3DPercent(), "0");
  EXPECT_EQ(e.Chart3DPercentError()->text(), "3D effect percent must be between 1 and 100");
  EXPECT_EQ(Chart().Chart3DPercent(), 15);
  Type(e.Chart3DPercent(), "30");
  EXPECT_EQ(Chart().Chart3DPercent(), 30);
  EXPECT_TRUE(e.Chart3DPercentError()->text().isEmpty());
  e.Margin(0)->setValue(10);
  EXPECT_EQ(Chart().MarginLeft(), 10);
  e.BevelOuter()->setCurrentIndex(2);
  EXPECT_EQ(Chart().BevelOuter(), plot::bvRaised);

  e.LegendVisible()->setChecked(true);
  e.LegendAlignment()->setCurrentIndex(3);
  EXPECT_TRUE(Chart().Legend().Visible());
  EXPECT_EQ(Chart().Legend().Alignment(), plot::laBottom);
  Type(e.LegendColorWidth(), "101");
  EXPECT_EQ(e.LegendColorWidthError()->text(), "Legend Color Width must be between 0 and 100 %");
  e.WallChoice()->setCurrentIndex(0);
  e.WallColor()->SetValue(0x00FFFF, true);
  EXPECT_EQ(Chart().BackWall().Color(), 0x00FFFFu);
  EXPECT_NE(Shown(), before);

  e.reject();
  EXPECT_EQ(Chart().Title().Text().Lines(), (std::vector<std::string>{"Temperature and Time"}));
  EXPECT_FALSE(Chart().Gradient().Visible());
  EXPECT_FALSE(Chart().View3D());
  EXPECT_EQ(Chart().Chart3DPercent(), 15);
  EXPECT_EQ(Chart().MarginLeft(), 3);
  EXPECT_EQ(Chart().BevelOuter(), plot::bvNone);
  EXPECT_FALSE(Chart().Legend().Visible());
  EXPECT_EQ(Chart().BackWall().Color(), 0xFFFFFFu);
  EXPECT_EQ(Shown(), before);
}

TEST_F(ChartEditorTest, SeriesPagePenAndBrushDialogsGalleryAndOrder) {
  platform::TChartEditor& e = Editor();
  e.Edit(Chart());
  e.show();
  ASSERT_EQ(e.SeriesList()->count(), 2);
  e.SeriesList()->setCurrentRow(0);
  EXPECT_EQ(e.SelectedSeries(), &window->ChartData().Series1());
  // The logger's own series stay: no delete for them.
  EXPECT_FALSE(e.DeleteSeriesButton()->isEnabled());

  // The pen dialog's choice reaches the series' line.
  WhenModal([](QWidget* modal) {
    auto* pen = qobject_cast<platform::TPenDialog*>(modal);
    ASSERT_NE(pen, nullptr);
    pen->WidthBox()->setValue(4);
    pen->StyleBox()->setCurrentIndex(1);  // dash
    pen->ColorBox()->SetValue(0x008000, true);
    pen->accept();
  });
  e.SeriesPenButton()->click();
  EXPECT_EQ(window->ChartData().Series1().LinePen().Width(), 4);
  EXPECT_EQ(window->ChartData().Series1().LinePen().Style(), platform::PenStyle::Dash);
  EXPECT_EQ(window->ChartData().Series1().LinePen().Color(), 0x008000u);
  // A cancelled pen dialog changes nothing.
  WhenModal([](QWidget* modal) {
    qobject_cast<platform::TPenDialog*>(modal)->WidthBox()->setValue(9);
    modal->close();
  });
  e.SeriesPenButton()->click();
  EXPECT_EQ(window->ChartData().Series1().LinePen().Width(), 4);
  e.SeriesList()->setCurrentRow(1);
  WhenModal([](QWidget* modal) {
    auto* brush = qobject_cast<platform::TBrushDialog*>(modal);
    ASSERT_NE(brush, nullptr);
    brush->StyleBox()->setCurrentIndex(6);  // cross hatch
    brush->accept();
  });
  e.SeriesBrushButton()->click();
  EXPECT_EQ(window->ChartData().Series2().BarBrush().Style(), platform::BrushStyle::Cross);
  e.SeriesList()->setCurrentRow(0);
  e.MarksVisible()->setChecked(true);
  EXPECT_TRUE(window->ChartData().Series1().Marks().Visible());
  e.SeriesColor()->SetValue(0xFF0000, true);
  EXPECT_EQ(window->ChartData().Series1().SeriesColor(), 0xFF0000u);

  // A series from the gallery: a bar sample double-clicked.
  WhenModal([](QWidget* modal) {
    auto* gallery = qobject_cast<platform::TSeriesGallery*>(modal);
    ASSERT_NE(gallery, nullptr);
    for (std::size_t i = 0; i < gallery->Samples().size(); ++i) {
      if (plot::RegisteredSeriesTypes()[gallery->SampleKind(i)].description == "Bar") gallery->Choose(i);
    }
  });
  e.AddSeriesButton()->click();
  ASSERT_EQ(Chart().SeriesCount(), 3);
  plot::TChartSeries* added = Chart().Series(2);
  EXPECT_NE(dynamic_cast<plot::TBarSeries*>(added), nullptr);
  EXPECT_EQ(added->Name(), "Series3");
  EXPECT_EQ(e.SeriesList()->currentRow(), 2);
  EXPECT_TRUE(e.DeleteSeriesButton()->isEnabled());
  // Order: up one, then the list and the chart agree.
  e.SeriesUpButton()->click();
  EXPECT_EQ(Chart().Series(1), added);
  EXPECT_EQ(e.SeriesList()->currentRow(), 1);
  // Hidden through its check box.
  e.SeriesList()->item(0)->setCheckState(Qt::Unchecked);
  EXPECT_FALSE(window->ChartData().Series1().Active());

  // Cancel: the added series gone, order, visibility and pens as they were.
  e.reject();
  EXPECT_EQ(Chart().SeriesCount(), 2);
  EXPECT_EQ(Chart().Series(1), &window->ChartData().Series2());
  EXPECT_TRUE(window->ChartData().Series1().Active());
  EXPECT_EQ(window->ChartData().Series1().LinePen().Width(), 1);
  EXPECT_EQ(window->ChartData().Series1().SeriesColor(), 0x0000FFu);
  EXPECT_FALSE(window->ChartData().Series1().Marks().Visible());
  EXPECT_EQ(window->ChartData().Series2().BarBrush().Style(), platform::BrushStyle::Solid);

  // Added and kept with OK; deleted again in a later session.
  e.Edit(Chart());
  WhenModal([](QWidget* modal) {
    auto* gallery = qobject_cast<platform::TSeriesGallery*>(modal);
    gallery->Choose(0);
  });
  e.AddSeriesButton()->click();
  ASSERT_EQ(Chart().SeriesCount(), 3);
  e.accept();
  ASSERT_EQ(Chart().SeriesCount(), 3);
  e.Edit(Chart());
  e.SeriesList()->setCurrentRow(2);
  ASSERT_TRUE(e.DeleteSeriesButton()->isEnabled());
  e.DeleteSeriesButton()->click();
  EXPECT_EQ(Chart().SeriesCount(), 2);
  e.reject();  // deleting undone
  EXPECT_EQ(Chart().SeriesCount(), 3);
  window->ResetChartLook1Click();  // added series are part of the look
  EXPECT_EQ(Chart().SeriesCount(), 2);
}

// A pie from the gallery: a pie series in the chart, with the sample slices
// of its kind, painted at once; Cancel takes it out again.
TEST_F(ChartEditorTest, AddingAPieFromTheGallery) {
  platform::TChartEditor& e = Editor();
  e.Edit(Chart());
  e.show();
  const QImage before = Shown();
  bool offered = false;
  WhenModal([&offered](QWidget* modal) {
    auto* gallery = qobject_cast<platform::TSeriesGallery*>(modal);
    ASSERT_NE(gallery, nullptr);
    for (std::size_t i = 0; i < gallery->Samples().size(); ++i) {
      if (plot::RegisteredSeriesTypes()[gallery->SampleKind(i)].description != "Pie") continue;
      offered = true;
      // Its sample is a pie too, in many colours.
      auto& sample = static_cast<plot::TChart&>(gallery->Samples()[i]->Panel());
      EXPECT_NE(dynamic_cast<plot::TPieSeries*>(sample.Series(0)), nullptr);
      EXPECT_TRUE(sample.Series(0)->ColorEachPoint());
      QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(20, 20), QPointF(20, 20), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(gallery->Samples()[i], &click);
      return;
    }
    modal->close();
  });
  e.AddSeriesButton()->click();
  ASSERT_TRUE(offered);
  ASSERT_EQ(Chart().SeriesCount(), 3);
  auto* pie = dynamic_cast<plot::TPieSeries*>(Chart().Series(2));
  ASSERT_NE(pie, nullptr);
  EXPECT_GT(pie->Count(), 0);
  EXPECT_EQ(e.SeriesList()->item(2)->text().toStdString(), "Series3  (Pie)");
  // The pie alone, as a user would look at it.
  e.SeriesList()->item(0)->setCheckState(Qt::Unchecked);
  const QImage withPie = Shown();
  EXPECT_NE(withPie, before);
  QDir().mkpath(QString(QUORVEL_TEST_OUTPUT_DIR) + "/editor");
  withPie.save(QString(QUORVEL_TEST_OUTPUT_DIR) + "/editor/chart_with_pie.png");
  e.reject();
  EXPECT_EQ(Chart().SeriesCount(), 2);
  EXPECT_EQ(Shown(), before);
}

TEST_F(ChartEditorTest, GalleryShowsEveryRegisteredKindByPageWithA3DSwitch) {
  platform::TSeriesGallery& gallery = Editor().Gallery();
  gallery.Populate();
  const auto& kinds = plot::RegisteredSeriesTypes();
  ASSERT_GE(kinds.size(), 3u);
  ASSERT_EQ(gallery.Samples().size(), kinds.size());
  std::set<std::string> pages;
  for (const auto& k : kinds) pages.insert(k.galleryPage);
  EXPECT_EQ(static_cast<std::size_t>(gallery.Pages()->count()), pages.size());
  for (std::size_t i = 0; i < gallery.Samples().size(); ++i) {
    auto& chart = static_cast<plot::TChart&>(gallery.Samples()[i]->Panel());
    EXPECT_TRUE(chart.View3D());
    EXPECT_GT(chart.SeriesCount(), 0);
    EXPECT_GT(chart.Series(0)->Count(), 0);
    EXPECT_FALSE(chart.Series(0)->Marks().Visible());
  }
  gallery.View3D()->setChecked(false);
  for (auto* sample : gallery.Samples()) EXPECT_FALSE(static_cast<plot::TChart&>(sample->Panel()).View3D());
  gallery.View3D()->setChecked(true);
}

TEST_F(ChartEditorTest, WindowKeepsEachDisplaysTemplateAndResetForgetsBoth) {
  ASSERT_NE(window->Action("EditChart1"), nullptr);
  ASSERT_NE(window->Action("ResetChartLook1"), nullptr);
  // A double-click on the chart opens the editor on it.
  QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(100, 100), QPointF(100, 100), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&window->Chart1(), &twice);
  platform::TChartEditor* opened = nullptr;
  WhenModal([&opened](QWidget* modal) {
    opened = qobject_cast<platform::TChartEditor*>(modal);
    modal->close();
  });
  ASSERT_TRUE(guitest::PumpUntil([&] { return opened != nullptr; }));
  EXPECT_EQ(opened->Chart(), &Chart());

  // Edit Chart... on the temperature display: OK keeps the look for it.
  WhenModal([](QWidget* modal) {
    auto* e = qobject_cast<platform::TChartEditor*>(modal);
    ASSERT_NE(e, nullptr);
    e->TitleText()->setPlainText("Cold room 4");
    e->Pages()->setCurrentIndex(2);
    Type(e->AxisMinimum(), "-10");
    Type(e->AxisMaximum(), "50");
    e->accept();
  });
  window->Action("EditChart1")->trigger();
  EXPECT_EQ(Chart().Title().Text().Lines().at(0), "Cold room 4");

  // The histogram gets the configured look, the temperature its own again.
  ShowHistogram();
  EXPECT_EQ(Chart().Title().Text().Lines().at(0), "Temperature Counts");
  EXPECT_TRUE(Chart().LeftAxis().Automatic());
  ShowTemperature();
  EXPECT_EQ(Chart().Title().Text().Lines().at(0), "Cold room 4");
  EXPECT_EQ(Chart().LeftAxis().Minimum(), -10);
  EXPECT_FALSE(Chart().LeftAxis().Automatic());

  // Save Template... writes the look with its display's name; Reset Chart
  // Look brings back the configured look; Load Template... the saved one.
  const std::string file = (dir / "look.json").string();
  templates.save = file;
  window->ChartEditor().OnSaveTemplate();
  EXPECT_EQ(templates.suggestedName, "temperature.json");
  platform::PosixFileSystem files;
  logger::ChartTemplate saved = logger::ReadChartTemplateFile(files, file);
  EXPECT_EQ(saved.chart, logger::ChartKind::Temperature);
  EXPECT_EQ(saved.title, "Cold room 4");

  window->ResetChartLook1Click();
  EXPECT_EQ(Chart().Title().Text().Lines().at(0), "Temperature and Time");
  EXPECT_TRUE(Chart().LeftAxis().Automatic());
  EXPECT_FALSE(window->ChartData().Template(logger::ChartKind::Temperature).has_value());
  ShowHistogram();
  ShowTemperature();
  EXPECT_EQ(Chart().Title().Text().Lines().at(0), "Temperature and Time");

  templates.open = file;
  window->ChartEditor().OnLoadTemplate();
  EXPECT_EQ(Chart().Title().Text().Lines().at(0), "Cold room 4");
  EXPECT_EQ(Chart().LeftAxis().Maximum(), 50);

  // A bad file: a message naming it and the line, the chart as it was.
  {
    std::ofstream bad(dir / "bad.json");
    bad << "{\n  \"title\": \"x\",\n  \"colour\": 1\n}";
  }
  templates.open = (dir / "bad.json").string();
  window->ChartEditor().OnLoadTemplate();
  ASSERT_FALSE(messages.messages.empty());
  EXPECT_NE(messages.messages.back().text.find("bad.json, line 3: unknown key \"colour\""), std::string::npos)
      << messages.messages.back().text;
  EXPECT_EQ(Chart().Title().Text().Lines().at(0), "Cold room 4");
}

// The export dialog: the data of every series with each list under its
// name, quoted where needed, as a file and on the clipboard; the picture at
// its size; refusals in the status line, nothing written.
TEST_F(ChartEditorTest, ExportDialogWritesDataAndPictures) {
  window->ChartData().Series1().SetPointLabel(1, "a,\"b\"");
  const std::string csv = platform::ChartDataText(Chart(), ',', true);
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = csv.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(csv.substr(at, end - at));
  }
  // The line's 40 points; the bars' list is named "Bar", so it has a column.
  ASSERT_EQ(lines.size(), 1u + 40u);
  EXPECT_EQ(lines[0], "Series,Index,Label,X,Y,Bar");
  EXPECT_EQ(lines[1], "Series1,0,t0,0,3,");
  EXPECT_EQ(lines[2], "Series1,1,\"a,\"\"b\"\"\",1,3.5,");
  ShowHistogram();
  const std::string both = platform::ChartDataText(Chart(), ';', false);
  EXPECT_NE(both.find("Series2;63;b63;63;;3\n"), std::string::npos) << both.substr(both.size() - 80);

  platform::TChartExportDialog& d = Editor().ExportDialog();
  d.SetChart(Chart());
  d.DataFile()->setText(QString::fromStdString((dir / "points.csv").string()));
  ASSERT_TRUE(d.SaveData());
  std::ifstream in(dir / "points.csv");
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "Series,Index,Label,X,Y,Bar");
  d.CopyData();
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Series\tIndex\tLabel\tX\tY\tBar\n"));
  d.DataFile()->setText(QString::fromStdString((dir / "missing" / "points.csv").string()));
  EXPECT_FALSE(d.SaveData());
  EXPECT_TRUE(d.Status()->text().contains("missing/points.csv"));

  d.PictureFormat()->setCurrentIndex(0);
  d.PictureWidth()->setValue(320);
  d.PictureHeight()->setValue(200);
  d.PictureFile()->setText(QString::fromStdString((dir / "chart.svg").string()));
  d.PictureFormat()->setCurrentIndex(0);  // the name follows the format
  EXPECT_TRUE(d.PictureFile()->text().endsWith("chart.svg"));
  d.PictureFormat()->setCurrentIndex(1);
  d.PictureFormat()->setCurrentIndex(0);
  ASSERT_TRUE(d.PictureFile()->text().endsWith("chart.png"));
  ASSERT_TRUE(d.SavePicture()) << d.Status()->text().toStdString();
  EXPECT_EQ(QImage(d.PictureFile()->text()).size(), QSize(320, 200));
  d.PictureFile()->setText(QString::fromStdString((dir / "chart.gif").string()));
  EXPECT_FALSE(d.SavePicture());
  EXPECT_FALSE(fs::exists(dir / "chart.gif"));
}

// Bar settings for bar series, stairs for line series; each reaches the
// series at once and Cancel puts it back.
TEST_F(ChartEditorTest, BarAndStairsSettingsReachTheSeriesAndCancelRestores) {
  platform::TChartEditor& e = Editor();
  plot::TBarSeries& bars = window->ChartData().Series2();
  plot::TLineSeries& line = window->ChartData().Series1();
  const int width = bars.BarWidthPercent();
  const plot::TMultiBar multi = bars.MultiBar();
  e.Edit(Chart());
  e.show();
  e.SeriesList()->setCurrentRow(1);
  ASSERT_EQ(e.SelectedSeries(), &bars);
  EXPECT_TRUE(e.BarStyle()->isEnabled());
  EXPECT_FALSE(e.Stairs()->isEnabled());
  EXPECT_EQ(e.BarWidthPercent()->value(), width);
  e.BarStyle()->setCurrentIndex(6);
  EXPECT_EQ(bars.BarStyle(), plot::bsRectGradient);
  e.MultiBar()->setCurrentIndex(2);
  EXPECT_EQ(bars.MultiBar(), plot::mbStacked);
  e.BarWidthPercent()->setValue(40);
  EXPECT_EQ(bars.BarWidthPercent(), 40);
  e.SeriesList()->setCurrentRow(0);
  EXPECT_FALSE(e.BarStyle()->isEnabled());
  ASSERT_TRUE(e.Stairs()->isEnabled());
  e.Stairs()->setChecked(true);
  EXPECT_TRUE(line.Stairs());
  // Back to the bars: the page shows what they have now.
  e.SeriesList()->setCurrentRow(1);
  EXPECT_EQ(e.BarStyle()->currentIndex(), 6);
  EXPECT_EQ(e.BarWidthPercent()->value(), 40);

  e.reject();
  EXPECT_EQ(bars.BarStyle(), plot::bsRectangle);
  EXPECT_EQ(bars.MultiBar(), multi);
  EXPECT_EQ(bars.BarWidthPercent(), width);
  EXPECT_FALSE(line.Stairs());
}

// A calculated series is a line series with a function: the list names the
// function, the logger's own line stays "Line".
TEST_F(ChartEditorTest, ACalculatedSeriesIsListedByItsFunction) {
  platform::TChartEditor& e = Editor();
  e.Edit(Chart());
  e.show();
  WhenModal([](QWidget* modal) {
    auto* gallery = qobject_cast<platform::TSeriesGallery*>(modal);
    ASSERT_NE(gallery, nullptr);
    for (std::size_t i = 0; i < gallery->Samples().size(); ++i) {
      if (plot::RegisteredSeriesTypes()[gallery->SampleKind(i)].description == "Average") gallery->Choose(i);
    }
  });
  e.AddSeriesButton()->click();
  ASSERT_EQ(e.SeriesList()->count(), 3);
  ASSERT_NE(Chart().Series(2)->Function(), nullptr);
  EXPECT_TRUE(e.SeriesList()->item(2)->text().endsWith("(Average)")) << e.SeriesList()->item(2)->text().toStdString();
  EXPECT_TRUE(e.SeriesList()->item(0)->text().endsWith("(Line)")) << e.SeriesList()->item(0)->text().toStdString();
  e.reject();
}

// The samples draw what was chosen: the pen's line in its colour (none
// when the pen is hidden or clear), the brush's hatch in its colour.
TEST_F(ChartEditorTest, PenAndBrushSamplesShowTheChoice) {
  auto count = [](QWidget* sample, QRgb colour) {
    sample->resize(sample->minimumSize());
    QImage image(sample->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    sample->render(&image);
    int n = 0, white = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        n += image.pixel(x, y) == colour ? 1 : 0;
        white += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
      }
    }
    return std::pair{n, white == image.width() * image.height()};
  };
  platform::TPenDialog pen;
  pen.Load({0x0000FF, platform::PenStyle::Solid, 3, true});
  EXPECT_GT(count(pen.Preview(), qRgb(255, 0, 0)).first, 200);
  pen.Load({0x0000FF, platform::PenStyle::Solid, 3, false});
  EXPECT_TRUE(count(pen.Preview(), qRgb(255, 0, 0)).second);
  pen.Load({0x0000FF, platform::PenStyle::Clear, 3, true});
  EXPECT_TRUE(count(pen.Preview(), qRgb(255, 0, 0)).second);
  platform::TBrushDialog brush;
  brush.Load({0x008000, platform::BrushStyle::Solid});
  EXPECT_GT(count(brush.Preview(), qRgb(0, 128, 0)).first, 3000);
  brush.Load({0x008000, platform::BrushStyle::DiagCross});
  const auto [hatched, blank] = count(brush.Preview(), qRgb(0, 128, 0));
  EXPECT_GT(hatched, 100);
  EXPECT_LT(hatched, 3000);
  EXPECT_FALSE(blank);
}

// Every page of the editor, the gallery and both dialogs as pictures at 96
// and 144 dpi (a device pixel ratio of 1.5), for a person to look at.
TEST_F(ChartEditorTest, PicturesOfEveryPageAndDialog) {
  const QString out = QString(QUORVEL_TEST_OUTPUT_DIR) + "/editor";
  QDir().mkpath(out);
  auto save = [&](QWidget* w, const QString& name) {
    w->adjustSize();
    for (double ratio : {1.0, 1.5}) {
      QPixmap picture(w->size() * ratio);
      picture.setDevicePixelRatio(ratio);
      picture.fill(Qt::white);
      w->render(&picture);
      const QString file = out + "/" + name + (ratio == 1.0 ? "_96dpi.png" : "_144dpi.png");
      EXPECT_TRUE(picture.save(file)) << file.toStdString();
    }
  };
  platform::TChartEditor& e = Editor();
  Shown();  // the automatic axes' range is the last paint's
  e.Edit(Chart());
  e.show();
  const char* names[] = {"series", "chart", "axes", "legend", "walls"};
  for (int i = 0; i < e.Pages()->count(); ++i) {
    e.Pages()->setCurrentIndex(i);
    save(&e, QString("editor_") + names[i]);
  }
  e.reject();
  e.Gallery().Populate();
  e.Gallery().show();
  for (int page = 0; page < e.Gallery().Pages()->count(); ++page) {
    e.Gallery().Pages()->setCurrentIndex(page);
    save(&e.Gallery(), "gallery_" + e.Gallery().Pages()->tabText(page).toLower());
  }
  e.Gallery().hide();
  e.PenDialog().Load({0x0000FF, platform::PenStyle::Dash, 1, true});
  e.PenDialog().show();
  save(&e.PenDialog(), "pen_dialog");
  e.PenDialog().hide();
  e.BrushDialog().Load({0x800000, platform::BrushStyle::DiagCross});
  e.BrushDialog().show();
  save(&e.BrushDialog(), "brush_dialog");
  e.BrushDialog().hide();
  e.ExportDialog().SetChart(Chart());
  e.ExportDialog().show();
  save(&e.ExportDialog(), "export_picture");
  e.ExportDialog().Pages()->setCurrentIndex(1);
  save(&e.ExportDialog(), "export_data");
  e.ExportDialog().hide();
}

}  // namespace
