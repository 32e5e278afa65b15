// How long the temperature report takes to fill the real window's pane with
// its 2048 lines, and how many times the pane repaints for it.
//
//   bench_reports [--runs N]
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/gui/memo_pane.h"
#include "app/gui/tmain.h"

namespace {

class PaintCounter final : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int runs = 20;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  QApplication application(argc, argv);
  gui::TMain::Options options;
  // No device: the pane is filled from the store alone.
  options.ports.comm1 = "/nonexistent/bench-port";
  options.ports.comm2 = "/nonexistent/bench-port";
  struct Quiet final : platform::UserMessages {
    void ShowMessage(platform::MessageKind, const std::string&, const std::string&) override {}
  } quiet;
  options.messages = &quiet;
  gui::TMain window(std::move(options));
  window.show();
  QApplication::processEvents();
  for (int n = 0; n < 2048; ++n) window.App().State().LoggerData.Set(297 + n, 60 + n % 40);

  PaintCounter counter;
  window.Memo1().viewport()->installEventFilter(&counter);
  std::vector<double> fill, total;
  std::vector<int> paints;
  for (int r = 0; r < runs + 2; ++r) {
    counter.paints = 0;
    QElapsedTimer timer;
    timer.start();
    window.Temperature1Click();
    double filled = timer.nsecsElapsed() / 1e6;
    // The pane shows the report once the event loop has run.
    QApplication::processEvents();
    QApplication::processEvents();
    double shown = timer.nsecsElapsed() / 1e6;
    if (r < 2) continue;  // warm-up
    fill.push_back(filled);
    total.push_back(shown);
    paints.push_back(counter.paints);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("ShowTemperature into the window's pane, %d runs, %zu lines\n", runs,
              window.Memo1().Lines().size());
  std::printf("  fill (command returns)      median %.2f ms  min %.2f ms\n", median(fill),
              *std::min_element(fill.begin(), fill.end()));
  std::printf("  fill + pane shown (events)  median %.2f ms  min %.2f ms\n", median(total),
              *std::min_element(total.begin(), total.end()));
  std::printf("  pane repaints per report    max %d\n", *std::max_element(paints.begin(), paints.end()));
  std::printf("  goal: under 30 ms with one repaint\n");
  return 0;
}
