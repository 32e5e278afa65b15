#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "plot/chart/chart_look.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace plot {
class TCustomChart;
class TChartSeries;
class TCustomChartAxis;
class TFont;
}

namespace platform {

class ColorButton;
class TPenDialog;
class TBrushDialog;
class TSeriesGallery;
class TChartExportDialog;

/// The chart editor: one form with the pages Series, Chart, Axes, Legend
/// and Walls over a chart's own properties. Every change goes to the chart
/// at once (the chart repaints); a value the chart refuses shows the
/// chart's message next to its field and is not applied. Cancel gives back
/// the look the chart had when the editor opened, series list included.
class TChartEditor final : public QDialog {
  Q_OBJECT

 public:
  explicit TChartEditor(QWidget* parent = nullptr);
  ~TChartEditor() override;

  /// Loads the pages from `chart` and remembers its look for Cancel; the
  /// caller then shows the form (Execute does both, modally).
  void Edit(plot::TCustomChart& chart);
  int Execute(plot::TCustomChart& chart);
  /// Fills every page from the chart again (after a template was loaded).
  void Reload();
  plot::TCustomChart* Chart() const { return chart_; }

  /// Series added from the gallery are handed over at OK; without a taker
  /// the editor keeps them for as long as it lives.
  std::function<void(std::unique_ptr<plot::TChartSeries>)> OnSeriesAdded;
  /// Whether a series the editor did not create may be deleted, and who
  /// frees it at OK. Without them only the editor's own series are.
  std::function<bool(const plot::TChartSeries&)> MayDeleteSeries;
  std::function<void(plot::TChartSeries&)> OnSeriesDeleted;
  /// "Save Template..." and "Load Template..." show when these are set.
  std::function<void()> OnSaveTemplate;
  std::function<void()> OnLoadTemplate;

  // ---- the pages' controls, for tests and scripting
  QTabWidget* Pages() const { return pages_; }
  QListWidget* SeriesList() const { return seriesList_; }
  QPushButton* AddSeriesButton() const { return addSeries_; }
  QPushButton* DeleteSeriesButton() const { return deleteSeries_; }
  QPushButton* SeriesUpButton() const { return seriesUp_; }
  QPushButton* SeriesDownButton() const { return seriesDown_; }
  QLineEdit* SeriesTitle() const { return seriesTitle_; }
  ColorButton* SeriesColor() const { return seriesColor_; }
  QPushButton* SeriesPenButton() const { return seriesPen_; }
  QPushButton* SeriesBrushButton() const { return seriesBrush_; }
  QCheckBox* PointerVisible() const { return pointerVisible_; }
  QComboBox* PointerStyle() const { return pointerStyle_; }
  QCheckBox* MarksVisible() const { return marksVisible_; }
  QComboBox* MarksStyle() const { return marksStyle_; }
  QCheckBox* Stairs() const { return stairs_; }
  QComboBox* BarStyle() const { return barStyle_; }
  QComboBox* MultiBar() const { return multiBar_; }
  QSpinBox* BarWidthPercent() const { return barWidthPercent_; }
  QPlainTextEdit* TitleText() const { return titleText_; }
  QPlainTextEdit* FootText() const { return footText_; }
  ColorButton* PanelColor() const { return panelColor_; }
  QCheckBox* GradientVisible() const { return gradientVisible_; }
  ColorButton* GradientStart() const { return gradientStart_; }
  ColorButton* GradientEnd() const { return gradientEnd_; }
  QComboBox* GradientDirection() const { return gradientDirection_; }
  QComboBox* BevelOuter() const { return bevelOuter_; }
  QComboBox* BevelInner() const { return bevelInner_; }
  QSpinBox* BevelWidth() const { return bevelWidth_; }
  QSpinBox* Margin(int side) const { return margins_[side]; }  // left, top, right, bottom
  QCheckBox* View3D() const { return view3D_; }
  QLineEdit* Chart3DPercent() const { return chart3DPercent_; }
  QLabel* Chart3DPercentError() const { return chart3DPercentError_; }
  QSpinBox* Elevation() const { return elevation_; }
  QSpinBox* Rotation() const { return rotation_; }
  QSpinBox* Perspective() const { return perspective_; }
  QCheckBox* Orthogonal() const { return orthogonal_; }
  QComboBox* AxisChoice() const { return axisChoice_; }  // Left, Right, Top, Bottom
  QCheckBox* AxisVisible() const { return axisVisible_; }
  QCheckBox* AxisAutomatic() const { return axisAutomatic_; }
  QLineEdit* AxisMinimum() const { return axisMinimum_; }
  QLabel* AxisMinimumError() const { return axisMinimumError_; }
  QLineEdit* AxisMaximum() const { return axisMaximum_; }
  QLabel* AxisMaximumError() const { return axisMaximumError_; }
  QLineEdit* AxisIncrement() const { return axisIncrement_; }
  QLabel* AxisIncrementError() const { return axisIncrementError_; }
  QCheckBox* AxisLogarithmic() const { return axisLogarithmic_; }
  QLabel* AxisLogarithmicError() const { return axisLogarithmicError_; }
  QCheckBox* AxisInverted() const { return axisInverted_; }
  QLineEdit* AxisTitle() const { return axisTitle_; }
  QLineEdit* AxisFormat() const { return axisFormat_; }
  QLineEdit* AxisDateTimeFormat() const { return axisDateTimeFormat_; }
  QLineEdit* AxisLabelsAngle() const { return axisLabelsAngle_; }
  QLabel* AxisLabelsAngleError() const { return axisLabelsAngleError_; }
  QCheckBox* AxisGridVisible() const { return axisGridVisible_; }
  QPushButton* AxisGridPen() const { return axisGridPen_; }
  QPushButton* AxisTicksPen() const { return axisTicksPen_; }
  QSpinBox* AxisTickLength() const { return axisTickLength_; }
  QCheckBox* LegendVisible() const { return legendVisible_; }
  QComboBox* LegendAlignment() const { return legendAlignment_; }
  QComboBox* LegendStyle() const { return legendStyle_; }
  QComboBox* LegendTextStyle() const { return legendTextStyle_; }
  QLineEdit* LegendColorWidth() const { return legendColorWidth_; }
  QLabel* LegendColorWidthError() const { return legendColorWidthError_; }
  QComboBox* WallChoice() const { return wallChoice_; }  // Back, Left, Bottom
  ColorButton* WallColor() const { return wallColor_; }
  QPushButton* WallPen() const { return wallPen_; }
  QPushButton* WallBrush() const { return wallBrush_; }
  QSpinBox* WallSize() const { return wallSize_; }
  QPushButton* SaveTemplateButton() const { return saveTemplate_; }
  QPushButton* LoadTemplateButton() const { return loadTemplate_; }
  TPenDialog& PenDialog() { return *penDialog_; }
  TBrushDialog& BrushDialog() { return *brushDialog_; }
  TSeriesGallery& Gallery() { return *gallery_; }
  TChartExportDialog& ExportDialog() { return *exportDialog_; }
  QPushButton* ExportButton() const { return export_; }

  /// The series selected on the Series page, or null.
  plot::TChartSeries* SelectedSeries() const;

 protected:
  void done(int result) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildSeriesPage();
  QWidget* BuildChartPage();
  QWidget* BuildAxesPage();
  QWidget* BuildLegendPage();
  QWidget* BuildWallsPage();
  void LoadSeriesList();
  void LoadSeries();
  void LoadChart();
  void LoadAxis();
  void LoadLegend();
  void LoadWall();
  void AddSeries();
  void DeleteSelectedSeries();
  void MoveSelectedSeries(int step);
  void ApplyAxisRange();
  plot::TCustomChartAxis& SelectedAxis() const;
  bool Owns(const plot::TChartSeries& series) const;
  void ChooseFont(plot::TFont& font);
  // Runs a change; a refusal of the chart shows in `error` and the field
  // loads again from the chart. True when the chart took it.
  bool Apply(QLabel* error, const std::function<void()>& change);

  plot::TCustomChart* chart_ = nullptr;
  std::optional<plot::TChartLook> opened_;
  std::vector<std::unique_ptr<plot::TChartSeries>> created_;  // this session's
  std::vector<std::unique_ptr<plot::TChartSeries>> kept_;     // handed to nobody
  std::vector<plot::TChartSeries*> deleted_;                  // others', detached
  bool loading_ = false;

  QTabWidget* pages_ = nullptr;
  QListWidget* seriesList_ = nullptr;
  QPushButton *addSeries_ = nullptr, *deleteSeries_ = nullptr, *seriesUp_ = nullptr, *seriesDown_ = nullptr;
  QLineEdit* seriesTitle_ = nullptr;
  ColorButton* seriesColor_ = nullptr;
  QPushButton *seriesPen_ = nullptr, *seriesBrush_ = nullptr;
  QCheckBox* pointerVisible_ = nullptr;
  QComboBox* pointerStyle_ = nullptr;
  QCheckBox* marksVisible_ = nullptr;
  QComboBox* marksStyle_ = nullptr;
  QCheckBox* stairs_ = nullptr;
  QComboBox *barStyle_ = nullptr, *multiBar_ = nullptr;
  QSpinBox* barWidthPercent_ = nullptr;
  QPlainTextEdit *titleText_ = nullptr, *footText_ = nullptr;
  QPushButton *titleFont_ = nullptr, *footFont_ = nullptr;
  ColorButton *panelColor_ = nullptr, *gradientStart_ = nullptr, *gradientEnd_ = nullptr;
  QCheckBox* gradientVisible_ = nullptr;
  QComboBox *gradientDirection_ = nullptr, *bevelOuter_ = nullptr, *bevelInner_ = nullptr;
  QSpinBox* bevelWidth_ = nullptr;
  QSpinBox* margins_[4] = {};
  QCheckBox* view3D_ = nullptr;
  QLineEdit* chart3DPercent_ = nullptr;
  QLabel* chart3DPercentError_ = nullptr;
  QSpinBox *elevation_ = nullptr, *rotation_ = nullptr, *perspective_ = nullptr;
  QCheckBox* orthogonal_ = nullptr;
  QComboBox* axisChoice_ = nullptr;
  QCheckBox *axisVisible_ = nullptr, *axisAutomatic_ = nullptr, *axisLogarithmic_ = nullptr, *axisInverted_ = nullptr;
  QLineEdit *axisMinimum_ = nullptr, *axisMaximum_ = nullptr, *axisIncrement_ = nullptr;
  QLabel *axisMinimumError_ = nullptr, *axisMaximumError_ = nullptr, *axisIncrementError_ = nullptr;
  QLabel* axisLogarithmicError_ = nullptr;
  QLineEdit *axisTitle_ = nullptr, *axisFormat_ = nullptr, *axisDateTimeFormat_ = nullptr, *axisLabelsAngle_ = nullptr;
  QLabel* axisLabelsAngleError_ = nullptr;
  QCheckBox* axisGridVisible_ = nullptr;
  QPushButton *axisGridPen_ = nullptr, *axisTicksPen_ = nullptr, *axisTitleFont_ = nullptr;
  QSpinBox* axisTickLength_ = nullptr;
  QCheckBox* legendVisible_ = nullptr;
  QComboBox *legendAlignment_ = nullptr, *legendStyle_ = nullptr, *legendTextStyle_ = nullptr;
  QLineEdit* legendColorWidth_ = nullptr;
  QLabel* legendColorWidthError_ = nullptr;
  QPushButton* legendFont_ = nullptr;
  QComboBox* wallChoice_ = nullptr;
  ColorButton* wallColor_ = nullptr;
  QPushButton *wallPen_ = nullptr, *wallBrush_ = nullptr;
  QSpinBox* wallSize_ = nullptr;
  QPushButton *saveTemplate_ = nullptr, *loadTemplate_ = nullptr, *export_ = nullptr;
  TChartExportDialog* exportDialog_ = nullptr;
  TPenDialog* penDialog_ = nullptr;
  TBrushDialog* brushDialog_ = nullptr;
  TSeriesGallery* gallery_ = nullptr;
};

}  // namespace platform
