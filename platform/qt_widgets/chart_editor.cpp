// The chart editor's frame, its Series page and the rules every page
// shares: changes go to the chart at once, refusals show beside their field,
// Cancel gives the opening look back. The other pages are in
// chart_editor_pages.cpp.
#include "platform/qt_widgets/chart_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

#include "platform/qt_widgets/chart_export_dialog.h"
#include "platform/qt_widgets/chart_pen_dialogs.h"
#include "platform/qt_widgets/series_gallery.h"
#include "plot/chart/chart.h"
#include "plot/chart/series_registry.h"
#include "plot/series/bar_series.h"
#include "plot/series/custom_series.h"
#include "plot/series/series_marks.h"
#include "plot/series/series_pointer.h"
#include "runtime/convert_error.h"

namespace platform {

TChartEditor::TChartEditor(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Editing Chart");
  setObjectName("ChartEditor");
  penDialog_ = new TPenDialog(this);
  brushDialog_ = new TBrushDialog(this);
  gallery_ = new TSeriesGallery(this);
  exportDialog_ = new TChartExportDialog(this);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("EditorPages");
  pages_->addTab(BuildSeriesPage(), "Series");
  pages_->addTab(BuildChartPage(), "Chart");
  pages_->addTab(BuildAxesPage(), "Axes");
  pages_->addTab(BuildLegendPage(), "Legend");
  pages_->addTab(BuildWallsPage(), "Walls");

  saveTemplate_ = new QPushButton("&Save Template...", this);
  saveTemplate_->setObjectName("SaveTemplate");
  loadTemplate_ = new QPushButton("&Load Template...", this);
  loadTemplate_->setObjectName("LoadTemplate");
  connect(saveTemplate_, &QPushButton::clicked, this, [this] {
    if (OnSaveTemplate) OnSaveTemplate();
  });
  connect(loadTemplate_, &QPushButton::clicked, this, [this] {
    if (OnLoadTemplate) OnLoadTemplate();
    Reload();
  });
  export_ = new QPushButton("E&xport...", this);
  export_->setObjectName("ExportChart");
  connect(export_, &QPushButton::clicked, this, [this] {
    if (chart_ != nullptr) exportDialog_->Execute(*chart_);
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addWidget(saveTemplate_);
  row->addWidget(loadTemplate_);
  row->addWidget(export_);
  row->addStretch(1);
  row->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addLayout(row);
}

TChartEditor::~TChartEditor() {
  for (auto& s : created_) s->SetParentChart(nullptr);
  for (auto& s : kept_) s->SetParentChart(nullptr);
}

void TChartEditor::Edit(plot::TCustomChart& chart) {
  chart_ = &chart;
  opened_ = plot::TChartLook::Capture(chart);
  created_.clear();
  deleted_.clear();
  Reload();
}

int TChartEditor::Execute(plot::TCustomChart& chart) {
  Edit(chart);
  return exec();
}

void TChartEditor::showEvent(QShowEvent* event) {
  saveTemplate_->setVisible(static_cast<bool>(OnSaveTemplate));
  loadTemplate_->setVisible(static_cast<bool>(OnLoadTemplate));
  QDialog::showEvent(event);
}

void TChartEditor::Reload() {
  if (chart_ == nullptr) return;
  for (QLabel* error : findChildren<QLabel*>(QRegularExpression("Error$"))) error->clear();
  LoadSeriesList();
  LoadChart();
  LoadAxis();
  LoadLegend();
  LoadWall();
}

void TChartEditor::done(int result) {
  if (chart_ != nullptr) {
    if (result == QDialog::Accepted) {
      for (plot::TChartSeries* s : deleted_) {
        if (OnSeriesDeleted) OnSeriesDeleted(*s);
      }
      for (auto& s : created_) {
        if (OnSeriesAdded) {
          OnSeriesAdded(std::move(s));
        } else {
          kept_.push_back(std::move(s));
        }
      }
    } else if (opened_) {
      // Series added since leave the chart, deleted ones come back.
      opened_->Restore(*chart_, true);
    }
    created_.clear();
    deleted_.clear();
  }
  QDialog::done(result);
}

bool TChartEditor::Apply(QLabel* error, const std::function<void()>& change) {
  try {
    change();
    if (error != nullptr) error->clear();
    return true;
  } catch (const runtime::TextError& e) {
    if (error != nullptr) error->setText(QString::fromStdString(e.Message()));
  } catch (const std::exception& e) {
    if (error != nullptr) error->setText(QString::fromStdString(e.what()));
  }
  return false;
}

void TChartEditor::ChooseFont(plot::TFont& font) {
  QFont initial(QString::fromStdString(font.Name()), font.Size());
  initial.setBold((font.Style() & fsBold) != 0);
  initial.setItalic((font.Style() & fsItalic) != 0);
  bool ok = false;
  QFont chosen = QFontDialog::getFont(&ok, initial, this, "Font");
  if (!ok) return;
  font.SetName(chosen.family().toStdString());
  font.SetSize(chosen.pointSize() > 0 ? chosen.pointSize() : font.Size());
  font.SetStyle((chosen.bold() ? fsBold : 0u) | (chosen.italic() ? fsItalic : 0u) |
                (chosen.underline() ? fsUnderline : 0u) | (chosen.strikeOut() ? fsStrikeOut : 0u));
}

// ---- the Series page

namespace {

// The kind's name from the registry: a calculated series by its function
// ("Average"), else by its class; "Series" for a kind nobody registered.
std::string KindOf(const plot::TChartSeries& series) {
  const plot::TSeriesFunction* function = series.Function();
  const std::type_index functionClass = function != nullptr ? std::type_index(typeid(*function)) : typeid(void);
  const std::type_index seriesClass = typeid(series);
  std::string byClass = "Series";
  for (const auto& kind : plot::RegisteredSeriesTypes()) {
    if (kind.seriesClass != seriesClass) continue;
    if (kind.functionClass == functionClass) return kind.description;
    if (kind.functionClass == typeid(void)) byClass = kind.description;
  }
  return byClass;
}

QIcon Swatch(plot::Color color) {
  QPixmap pixmap(16, 12);
  pixmap.fill((color & 0x80000000u) != 0 ? QColor(Qt::lightGray) : ToQColor(color));
  QPainter frame(&pixmap);
  frame.drawRect(0, 0, 15, 11);
  return QIcon(pixmap);
}

}  // namespace

QWidget* TChartEditor::BuildSeriesPage() {
  auto* page = new QWidget;
  seriesList_ = new QListWidget(page);
  seriesList_->setObjectName("SeriesList");
  addSeries_ = new QPushButton("&Add...", page);
  addSeries_->setObjectName("AddSeries");
  deleteSeries_ = new QPushButton("&Delete", page);
  deleteSeries_->setObjectName("DeleteSeries");
  seriesUp_ = new QPushButton("&Up", page);
  seriesUp_->setObjectName("SeriesUp");
  seriesDown_ = new QPushButton("Do&wn", page);
  seriesDown_->setObjectName("SeriesDown");
  auto* listButtons = new QVBoxLayout;
  for (QPushButton* b : {addSeries_, deleteSeries_, seriesUp_, seriesDown_}) listButtons->addWidget(b);
  listButtons->addStretch(1);

  seriesTitle_ = new QLineEdit(page);
  seriesTitle_->setObjectName("SeriesTitle");
  seriesColor_ = new ColorButton(page);
  seriesColor_->setObjectName("SeriesColor");
  seriesPen_ = new QPushButton("&Pen...", page);
  seriesPen_->setObjectName("SeriesPen");
  seriesBrush_ = new QPushButton("&Brush...", page);
  seriesBrush_->setObjectName("SeriesBrush");
  pointerVisible_ = new QCheckBox("Visible", page);
  pointerVisible_->setObjectName("PointerVisible");
  pointerStyle_ = new QComboBox(page);
  pointerStyle_->setObjectName("PointerStyle");
  pointerStyle_->addItems({"Rectangle", "Circle", "Triangle", "Down Triangle", "Cross", "Diagonal Cross", "Star",
                           "Diamond", "Small Dot"});
  marksVisible_ = new QCheckBox("Visible", page);
  marksVisible_->setObjectName("MarksVisible");
  marksStyle_ = new QComboBox(page);
  marksStyle_->setObjectName("MarksStyle");
  marksStyle_->addItems({"Value", "Percent", "Label", "Label and Percent", "Label and Value", "Legend",
                         "Percent Total", "Label and Percent Total", "X Value"});
  stairs_ = new QCheckBox("Stairs", page);
  stairs_->setObjectName("Stairs");
  // In the order of the chart's bar styles and multi-bar modes.
  barStyle_ = new QComboBox(page);
  barStyle_->setObjectName("BarStyle");
  barStyle_->addItems({"Rectangle", "Pyramid", "Inverted Pyramid", "Cylinder", "Ellipse", "Arrow", "Gradient"});
  multiBar_ = new QComboBox(page);
  multiBar_->setObjectName("MultiBar");
  multiBar_->addItems({"None", "Side by Side", "Stacked", "Stacked 100%"});
  barWidthPercent_ = new QSpinBox(page);
  barWidthPercent_->setObjectName("BarWidthPercent");
  barWidthPercent_->setRange(1, 100);
  barWidthPercent_->setSuffix(" %");
  barWidthPercent_->setValue(70);  // a new bar series' width, until a bar series is chosen
  auto* pens = new QHBoxLayout;
  pens->addWidget(seriesPen_);
  pens->addWidget(seriesBrush_);
  auto* pointer = new QHBoxLayout;
  pointer->addWidget(pointerVisible_);
  pointer->addWidget(pointerStyle_, 1);
  pointer->addWidget(stairs_);
  auto* bars = new QHBoxLayout;
  bars->addWidget(barStyle_, 1);
  bars->addWidget(multiBar_, 1);
  bars->addWidget(barWidthPercent_);
  auto* marks = new QHBoxLayout;
  marks->addWidget(marksVisible_);
  marks->addWidget(marksStyle_, 1);
  auto* form = new QFormLayout;
  form->addRow("Title:", seriesTitle_);
  form->addRow("Color:", seriesColor_);
  form->addRow("Lines and fill:", pens);
  form->addRow("Pointer:", pointer);
  form->addRow("Marks:", marks);
  form->addRow("Bars:", bars);

  auto* top = new QHBoxLayout;
  top->addWidget(seriesList_, 1);
  top->addLayout(listButtons);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top, 1);
  layout->addLayout(form);

  connect(seriesList_, &QListWidget::currentRowChanged, this, [this] { LoadSeries(); });
  connect(seriesList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (loading_ || chart_ == nullptr) return;
    const int row = seriesList_->row(item);
    if (row >= 0 && row < chart_->SeriesCount()) chart_->Series(row)->SetActive(item->checkState() == Qt::Checked);
  });
  connect(addSeries_, &QPushButton::clicked, this, &TChartEditor::AddSeries);
  connect(deleteSeries_, &QPushButton::clicked, this, &TChartEditor::DeleteSelectedSeries);
  connect(seriesUp_, &QPushButton::clicked, this, [this] { MoveSelectedSeries(-1); });
  connect(seriesDown_, &QPushButton::clicked, this, [this] { MoveSelectedSeries(1); });
  connect(seriesTitle_, &QLineEdit::editingFinished, this, [this] {
    if (plot::TChartSeries* s = SelectedSeries()) {
      s->SetTitle(seriesTitle_->text().toStdString());
      LoadSeriesList();
    }
  });
  connect(seriesColor_, &ColorButton::ColorChosen, this, [this](plot::Color color) {
    if (plot::TChartSeries* s = SelectedSeries()) {
      s->SetSeriesColor(color);
      LoadSeriesList();
    }
  });
  connect(seriesPen_, &QPushButton::clicked, this, [this] {
    plot::TChartSeries* s = SelectedSeries();
    plot::TChartPen* pen = s != nullptr ? plot::SeriesMainPen(*s) : nullptr;
    if (pen != nullptr) penDialog_->Execute(*pen);
  });
  connect(seriesBrush_, &QPushButton::clicked, this, [this] {
    plot::TChartSeries* s = SelectedSeries();
    plot::TChartBrush* brush = s != nullptr ? plot::SeriesMainBrush(*s) : nullptr;
    if (brush != nullptr) brushDialog_->Execute(*brush);
  });
  auto pointerOf = [this]() -> plot::TSeriesPointer* {
    auto* s = dynamic_cast<plot::TCustomSeries*>(SelectedSeries());
    return s != nullptr ? &s->Pointer() : nullptr;
  };
  connect(pointerVisible_, &QCheckBox::toggled, this, [this, pointerOf](bool on) {
    if (auto* p = pointerOf(); p != nullptr && !loading_) p->SetVisible(on);
  });
  connect(pointerStyle_, &QComboBox::currentIndexChanged, this, [this, pointerOf](int index) {
    if (auto* p = pointerOf(); p != nullptr && !loading_) p->SetStyle(static_cast<plot::TSeriesPointerStyle>(index));
  });
  connect(stairs_, &QCheckBox::toggled, this, [this](bool on) {
    auto* s = dynamic_cast<plot::TCustomSeries*>(SelectedSeries());
    if (s != nullptr && !loading_) s->SetStairs(on);
  });
  auto barsOf = [this] { return dynamic_cast<plot::TCustomBarSeries*>(SelectedSeries()); };
  connect(barStyle_, &QComboBox::currentIndexChanged, this, [this, barsOf](int index) {
    if (auto* b = barsOf(); b != nullptr && !loading_) b->SetBarStyle(static_cast<plot::TBarStyle>(index));
  });
  connect(multiBar_, &QComboBox::currentIndexChanged, this, [this, barsOf](int index) {
    if (auto* b = barsOf(); b != nullptr && !loading_) b->SetMultiBar(static_cast<plot::TMultiBar>(index));
  });
  connect(barWidthPercent_, &QSpinBox::valueChanged, this, [this, barsOf](int percent) {
    if (auto* b = barsOf(); b != nullptr && !loading_) b->SetBarWidthPercent(percent);
  });
  connect(marksVisible_, &QCheckBox::toggled, this, [this](bool on) {
    if (plot::TChartSeries* s = SelectedSeries(); s != nullptr && !loading_) s->Marks().SetVisible(on);
  });
  connect(marksStyle_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (plot::TChartSeries* s = SelectedSeries(); s != nullptr && !loading_) {
      s->Marks().SetStyle(static_cast<plot::TSeriesMarksStyle>(index));
    }
  });
  return page;
}

plot::TChartSeries* TChartEditor::SelectedSeries() const {
  const int row = seriesList_->currentRow();
  if (chart_ == nullptr || row < 0 || row >= chart_->SeriesCount()) return nullptr;
  return chart_->Series(row);
}

void TChartEditor::LoadSeriesList() {
  loading_ = true;
  const int row = seriesList_->currentRow();
  seriesList_->clear();
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    plot::TChartSeries& s = *chart_->Series(i);
    auto* item = new QListWidgetItem(Swatch(s.SeriesColor()),
                                     QString::fromStdString(chart_->SeriesTitleLegend(i) + "  (" + KindOf(s) + ")"));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(s.Active() ? Qt::Checked : Qt::Unchecked);
    seriesList_->addItem(item);
  }
  loading_ = false;
  seriesList_->setCurrentRow(std::clamp(row, chart_->SeriesCount() > 0 ? 0 : -1, chart_->SeriesCount() - 1));
  LoadSeries();
}

bool TChartEditor::Owns(const plot::TChartSeries& series) const {
  return std::any_of(created_.begin(), created_.end(), [&](const auto& s) { return s.get() == &series; });
}

void TChartEditor::LoadSeries() {
  loading_ = true;
  plot::TChartSeries* s = SelectedSeries();
  auto* custom = dynamic_cast<plot::TCustomSeries*>(s);
  const int row = seriesList_->currentRow();
  deleteSeries_->setEnabled(s != nullptr && (Owns(*s) || (MayDeleteSeries && MayDeleteSeries(*s))));
  seriesUp_->setEnabled(s != nullptr && row > 0);
  seriesDown_->setEnabled(s != nullptr && row + 1 < chart_->SeriesCount());
  for (QWidget* w : std::initializer_list<QWidget*>{seriesTitle_, seriesColor_, marksVisible_, marksStyle_}) {
    w->setEnabled(s != nullptr);
  }
  seriesPen_->setEnabled(s != nullptr && plot::SeriesMainPen(*s) != nullptr);
  seriesBrush_->setEnabled(s != nullptr && plot::SeriesMainBrush(*s) != nullptr);
  auto* bars = dynamic_cast<plot::TCustomBarSeries*>(s);
  pointerVisible_->setEnabled(custom != nullptr);
  pointerStyle_->setEnabled(custom != nullptr);
  stairs_->setEnabled(custom != nullptr);
  for (QWidget* w : std::initializer_list<QWidget*>{barStyle_, multiBar_, barWidthPercent_}) w->setEnabled(bars != nullptr);
  if (s != nullptr) {
    seriesTitle_->setText(QString::fromStdString(s->Title()));
    seriesColor_->SetValue(s->SeriesColor());
    marksVisible_->setChecked(s->Marks().Visible());
    marksStyle_->setCurrentIndex(s->Marks().Style());
  }
  if (custom != nullptr) {
    pointerVisible_->setChecked(custom->Pointer().Visible());
    pointerStyle_->setCurrentIndex(custom->Pointer().Style());
    stairs_->setChecked(custom->Stairs());
  }
  if (bars != nullptr) {
    barStyle_->setCurrentIndex(bars->BarStyle());
    multiBar_->setCurrentIndex(bars->MultiBar());
    barWidthPercent_->setValue(bars->BarWidthPercent());
  }
  loading_ = false;
}

void TChartEditor::AddSeries() {
  if (chart_ == nullptr) return;
  std::optional<std::size_t> kind = gallery_->Execute();
  if (!kind) return;
  const plot::TSeriesTypeEntry& entry = plot::RegisteredSeriesTypes().at(*kind);
  std::unique_ptr<plot::TChartSeries> series = plot::CreateNewSeries(chart_, entry.seriesClass, entry.functionClass);
  if (!series) return;
  // A new series shows its kind with sample points until it gets data.
  series->SetSeriesColor(chart_->PickFreeSeriesColor(false));
  series->FillSampleValues(series->NumSampleValues());
  created_.push_back(std::move(series));
  LoadSeriesList();
  seriesList_->setCurrentRow(chart_->SeriesCount() - 1);
}

void TChartEditor::DeleteSelectedSeries() {
  plot::TChartSeries* s = SelectedSeries();
  if (s == nullptr) return;
  if (Owns(*s)) {
    s->SetParentChart(nullptr);
    created_.erase(std::find_if(created_.begin(), created_.end(), [&](const auto& p) { return p.get() == s; }));
  } else if (MayDeleteSeries && MayDeleteSeries(*s)) {
    // Freed by its owner at OK; put back by Cancel.
    s->SetParentChart(nullptr);
    deleted_.push_back(s);
  }
  LoadSeriesList();
}

void TChartEditor::MoveSelectedSeries(int step) {
  const int row = seriesList_->currentRow();
  const int to = row + step;
  if (chart_ == nullptr || row < 0 || to < 0 || to >= chart_->SeriesCount()) return;
  chart_->ExchangeSeries(row, to);
  LoadSeriesList();
  seriesList_->setCurrentRow(to);
}

}  // namespace platform
