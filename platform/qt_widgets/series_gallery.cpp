#include "platform/qt_widgets/series_gallery.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

#include "platform/qt_widgets/chart_host_widget.h"
#include "plot/chart/chart.h"
#include "plot/chart/chart_palette.h"
#include "plot/chart/chart_series.h"
#include "plot/chart/series_registry.h"

namespace platform {

namespace {

constexpr int kSampleWidth = 112, kSampleHeight = 84, kColumns = 4;

}  // namespace

TSeriesGallery::TSeriesGallery(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Series Gallery");
  setObjectName("SeriesGallery");
  pages_ = new QTabWidget(this);
  pages_->setObjectName("GalleryPages");
  view3D_ = new QCheckBox("&3D", this);
  view3D_->setObjectName("Gallery3D");
  view3D_->setChecked(true);
  connect(view3D_, &QCheckBox::toggled, this, &TSeriesGallery::Set3D);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (selected_) Choose(*selected_);
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addWidget(view3D_);
  row->addStretch(1);
  row->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addLayout(row);
}

TSeriesGallery::~TSeriesGallery() { Clear(); }

void TSeriesGallery::Clear() {
  // The sample charts go first: they refer to their series.
  for (plot::TChart* chart : charts_) chart->RemoveAllSeries();
  while (pages_->count() > 0) {
    QWidget* page = pages_->widget(0);
    pages_->removeTab(0);
    delete page;
  }
  series_.clear();
  samples_.clear();
  charts_.clear();
  kinds_.clear();
  selected_.reset();
}

void TSeriesGallery::Populate() {
  Clear();
  chosen_.reset();
  const auto& kinds = plot::RegisteredSeriesTypes();
  std::map<std::string, QGridLayout*> grids;
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    const plot::TSeriesTypeEntry& kind = kinds[k];
    QGridLayout*& grid = grids[kind.galleryPage];
    if (grid == nullptr) {
      auto* page = new QWidget;
      grid = new QGridLayout(page);
      grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
      pages_->addTab(page, QString::fromStdString(kind.galleryPage));
    }
    auto chart = std::make_unique<plot::TChart>();
    plot::TChart* c = chart.get();
    c->SetView3D(view3D_->isChecked());
    c->SetClipPoints(true);
    c->Legend().SetVisible(false);
    c->SetAxisVisible(false);
    c->SetBevelOuter(plot::bvNone);
    c->SetMarginLeft(6);
    c->SetMarginRight(6);
    // The sample series of the kind, each in its own colour so series side
    // by side tell apart; the kind readies its sample points itself.
    for (int i = 0; i < std::max(1, kind.numGallerySeries); ++i) {
      std::unique_ptr<plot::TChartSeries> s = kind.createSeries();
      if (!s) continue;
      s->SetParentChart(c);
      s->SetSeriesColor(plot::GetDefaultColor(i));
      s->PrepareForGallery(true);
      series_.push_back(std::move(s));
    }
    auto* host = new ChartHostWidget(std::move(chart));
    host->setObjectName(QString::fromStdString("Gallery" + kind.description));
    host->setFixedSize(kSampleWidth, kSampleHeight);
    host->setToolTip(QString::fromStdString(kind.description));
    host->installEventFilter(this);
    auto* caption = new QLabel(QString::fromStdString(kind.description));
    caption->setAlignment(Qt::AlignHCenter);
    const int n = grid->count() / 2;
    grid->addWidget(host, (n / kColumns) * 2, n % kColumns);
    grid->addWidget(caption, (n / kColumns) * 2 + 1, n % kColumns);
    samples_.push_back(host);
    charts_.push_back(c);
    kinds_.push_back(k);
  }
  if (!samples_.empty()) Select(0);
}

std::optional<std::size_t> TSeriesGallery::Execute() {
  Populate();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return chosen_;
}

void TSeriesGallery::Select(std::size_t sample) {
  selected_ = sample;
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    samples_[i]->setStyleSheet(i == sample ? "border: 2px solid palette(highlight);" : "");
    charts_[i]->SetBevelOuter(i == sample ? plot::bvLowered : plot::bvNone);
  }
}

void TSeriesGallery::Choose(std::size_t sample) {
  if (sample >= samples_.size()) return;
  Select(sample);
  chosen_ = kinds_[sample];
  accept();
}

void TSeriesGallery::Set3D(bool on) {
  for (plot::TChart* chart : charts_) chart->SetView3D(on);
}

bool TSeriesGallery::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    for (std::size_t i = 0; i < samples_.size(); ++i) {
      if (watched != samples_[i]) continue;
      if (event->type() == QEvent::MouseButtonDblClick) {
        Choose(i);
      } else {
        Select(i);
      }
      // The sample is a picture: no zooming or scrolling it.
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace platform
