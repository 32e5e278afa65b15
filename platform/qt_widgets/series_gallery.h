#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <typeindex>
#include <vector>

class QCheckBox;
class QTabWidget;

namespace plot {
class TChart;
class TChartSeries;
}

namespace platform {

class ChartHostWidget;

/// The series gallery: every kind in the series-type registry as a small
/// live chart of sample points, one tab per gallery page, with a 3D switch.
/// A double-click on a sample (or OK on the selected one) chooses its kind.
class TSeriesGallery final : public QDialog {
  Q_OBJECT

 public:
  explicit TSeriesGallery(QWidget* parent = nullptr);
  ~TSeriesGallery() override;

  /// Builds the samples from the registry as it is now and shows the form
  /// modally; the chosen kind's registry index, or nullopt on Cancel.
  std::optional<std::size_t> Execute();
  /// Builds the samples without showing the form (Execute does it first).
  void Populate();

  QTabWidget* Pages() const { return pages_; }
  QCheckBox* View3D() const { return view3D_; }
  /// The samples, in registry order, and the registry index of each.
  const std::vector<ChartHostWidget*>& Samples() const { return samples_; }
  std::size_t SampleKind(std::size_t sample) const { return kinds_[sample]; }
  /// Chooses a sample as a double-click does.
  void Choose(std::size_t sample);
  std::optional<std::size_t> Chosen() const { return chosen_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Clear();
  void Select(std::size_t sample);
  void Set3D(bool on);

  QTabWidget* pages_;
  QCheckBox* view3D_;
  std::vector<ChartHostWidget*> samples_;
  std::vector<plot::TChart*> charts_;
  std::vector<std::size_t> kinds_;
  std::vector<std::unique_ptr<plot::TChartSeries>> series_;
  std::optional<std::size_t> selected_, chosen_;
};

}  // namespace platform
