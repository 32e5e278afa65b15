#include "app/logger_chart.h"

#include "plot/series/series_marks.h"

namespace logger {

namespace {
constexpr plot::Color kRed = 0x0000FF;  // red in the low byte
constexpr plot::Color kWhite = 0xFFFFFF;
}  // namespace

LoggerChart::LoggerChart() {
  plot::TChart& c = chart1_;
  c.SetName("Chart1");
  c.SetBounds(0, 0, 352, 334);
  c.SetAnimatedZoom(true);
  c.SetAnimatedZoomSteps(3);
  c.SetBackColor(kWhite);
  c.BackWall().SetColor(kWhite);
  c.BackWall().Brush().SetColor(kWhite);
  c.BackWall().Brush().SetStyle(platform::BrushStyle::Clear);
  c.Title().SetText({"Temperature Counts"});
  c.BottomAxis().SetDateTimeFormat("dd/MM/yy hh:mm");
  c.BottomAxis().SetLabelsAngle(90);
  c.Legend().SetVisible(false);
  c.SetView3D(false);
  c.SetBevelOuter(plot::bvNone);

  series1_.SetName("Series1");
  series1_.SetSeriesColor(kRed);
  series1_.Marks().SetVisible(false);
  series1_.Marks().SetArrowLength(8);
  series1_.Pointer().SetVisible(false);
  series1_.Pointer().SetStyle(plot::psRectangle);
  series1_.Pointer().SetInflateMargins(true);
  series1_.XValues().SetDateTime(true);
  series1_.XValues().SetName("X");
  series1_.XValues().SetOrder(plot::loAscending);
  series1_.YValues().SetDateTime(false);
  series1_.YValues().SetName("Y");
  series1_.YValues().SetOrder(plot::loNone);
  series1_.XValues().SetMultiplier(1.0);
  series1_.YValues().SetMultiplier(1.0);

  series2_.SetName("Series2");
  series2_.SetSeriesColor(kRed);
  series2_.Marks().SetVisible(false);
  series2_.Marks().SetArrowLength(20);
  series2_.XValues().SetDateTime(false);
  series2_.XValues().SetName("X");
  series2_.XValues().SetOrder(plot::loAscending);
  series2_.YValues().SetName("Bar");
  series2_.YValues().SetOrder(plot::loNone);
  series2_.XValues().SetMultiplier(1.0);
  series2_.YValues().SetMultiplier(1.0);

  series1_.SetParentChart(&chart1_);
  series2_.SetParentChart(&chart1_);
  configured_ = plot::TChartLook::Capture(chart1_);
  // What a template may change, as configured; the title is the display's.
  configuredKeys_ = CaptureChartTemplate(chart1_, std::nullopt);
  configuredKeys_.title.reset();
}

LoggerChart::~LoggerChart() { chart1_.RemoveAllSeries(); }

void LoggerChart::Shown(ChartKind kind) {
  current_ = kind;
  // The configuration first, so one display's template never stays on the
  // other; then this display's template.
  ApplyChartTemplate(configuredKeys_, chart1_);
  ShowTitle(kind == ChartKind::Histogram ? "Temperature Counts" : "Temperature and Time");
  if (const auto& look = templates_[static_cast<int>(kind)]) ApplyChartTemplate(*look, chart1_);
}

void LoggerChart::SetTemplate(ChartKind kind, std::optional<ChartTemplate> look) {
  templates_[static_cast<int>(kind)] = std::move(look);
}

const std::optional<ChartTemplate>& LoggerChart::Template(ChartKind kind) const {
  return templates_[static_cast<int>(kind)];
}

void LoggerChart::ApplyCurrentTemplate() {
  if (current_) Shown(*current_);
}

void LoggerChart::KeepSeries(std::unique_ptr<plot::TChartSeries> series) { added_.push_back(std::move(series)); }

bool LoggerChart::MayDeleteSeries(const plot::TChartSeries& series) const {
  return &series != &series1_ && &series != &series2_;
}

void LoggerChart::DeleteSeries(plot::TChartSeries& series) {
  for (auto it = added_.begin(); it != added_.end(); ++it) {
    if (it->get() == &series) {
      series.SetParentChart(nullptr);
      added_.erase(it);
      return;
    }
  }
}

void LoggerChart::ResetLook() {
  templates_[0].reset();
  templates_[1].reset();
  // The series list as configured; which series shows is the display's.
  configured_.Restore(chart1_, true);
  added_.clear();
  series1_.SetActive(current_ != ChartKind::Histogram);
  series2_.SetActive(current_ != ChartKind::Temperature);
  if (current_) ShowTitle(*current_ == ChartKind::Histogram ? "Temperature Counts" : "Temperature and Time");
}

void LoggerChart::ShowTitle(const char* title) {
  chart1_.Title().Text().Clear();
  chart1_.Title().SetText({title});
}

void LoggerChart::BeginHistogram() {
  series1_.SetActive(false);
  series2_.SetActive(true);
  series2_.ClearPoints();
  ShowTitle("Temperature Counts");
}

void LoggerChart::AddHistogramBar(double count, const std::string& label) {
  series2_.AddPointY(count, label, plot::clAutoColor);
}

void LoggerChart::BeginTemperature() {
  series2_.SetActive(false);
  series1_.SetActive(true);
  series1_.ClearPoints();
  ShowTitle("Temperature and Time");
}

void LoggerChart::AddTemperaturePoint(double celsius, const std::string& label) {
  series1_.AddPointY(celsius, label, plot::clAutoColor);
}

void LoggerChart::ResetZoom() {
  chart1_.ResetZoom();
  // The display is complete: its template, if any, goes over the
  // configured look.
  if (series2_.Active() && !series1_.Active()) Shown(ChartKind::Histogram);
  if (series1_.Active() && !series2_.Active()) Shown(ChartKind::Temperature);
}

std::size_t LoggerChart::TemperaturePointCount() const { return static_cast<std::size_t>(series1_.Count()); }

double LoggerChart::TemperatureY(std::size_t index) const {
  return series1_.YValues()[static_cast<int>(index)];
}

}  // namespace logger
