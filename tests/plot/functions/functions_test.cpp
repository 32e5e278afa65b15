#include <gmock/gmock.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plot/chart/chart.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/functions/basic_functions.h"
#include "plot/series/bubble_series.h"
#include "plot/series/line_series.h"

namespace {

using plot::TChartFunction;
using plot::TLineSeries;

// A point of a calculated series: X and its value, or no value (null).
struct Result {
  double x;
  std::optional<double> y;
  bool operator==(const Result&) const = default;
};

std::vector<Result> ResultsOf(const plot::TChartSeries& s) {
  std::vector<Result> out;
  for (int i = 0; i < s.Count(); ++i) {
    const double y = s.YValueAt(i);
    EXPECT_TRUE(std::isfinite(y)) << "point " << i;
    out.push_back({s.XValueAt(i), s.PointColor(i) == plot::clNone ? std::nullopt : std::optional<double>(y)});
  }
  return out;
}

void PrintTo(const Result& r, std::ostream* os) {
  *os << "(" << r.x << ", " << (r.y ? std::to_string(*r.y) : std::string("null")) << ")";
}

class FunctionsTest : public ::testing::Test {
 protected:
  // `result` computes `function` of the sources, in order.
  TChartFunction& Calculate(std::unique_ptr<TChartFunction> function, std::vector<plot::TChartSeries*> sources) {
    TChartFunction& f = *function;
    result.SetParentChart(&chart);
    result.SetFunction(std::move(function));
    result.SetDataSource(sources.front());
    for (std::size_t i = 1; i < sources.size(); ++i) result.AddDataSource(sources[i]);
    return f;
  }
  void SetUp() override {
    for (auto* s : {&a, &b}) s->SetParentChart(&chart);
    // A: 2, 4, 6 at X 1, 2, 3; B: 1, 0, 3, 5 at X 1 .. 4.
    for (int x = 1; x <= 3; ++x) a.AddPointXY(x, 2 * x);
    for (double y : {1.0, 0.0, 3.0, 5.0}) b.AddPointXY(b.Count() + 1, y);
  }
  plot::TChart chart;
  TLineSeries a, b, result;
};

TEST_F(FunctionsTest, PointByPointAtTheSameXEachFunctionByHand) {
  const std::nullopt_t none = std::nullopt;
  struct Case {
    const char* name;
    std::unique_ptr<TChartFunction> (*make)();
    std::vector<Result> expected;
  };
  // X 4 exists in B only: arithmetic needs both, high/low/average take B.
  // 4 / 0 at X 2 is no value.
  const Case cases[] = {
      {"add", []() -> std::unique_ptr<TChartFunction> { return std::make_unique<plot::TAddFunction>(); },
       {{1, 3}, {2, 4}, {3, 9}, {4, none}}},
      {"subtract", []() -> std::unique_ptr<TChartFunction> { return std::make_unique<plot::TSubtractFunction>(); },
       {{1, 1}, {2, 4}, {3, 3}, {4, none}}},
      {"multiply", []() -> std::unique_ptr<TChartFunction> { return std::make_unique<plot::TMultiplyFunction>(); },
       {{1, 2}, {2, 0}, {3, 18}, {4, none}}},
      {"divide", []() -> std::unique_ptr<TChartFunction> { return std::make_unique<plot::TDivideFunction>(); },
       {{1, 2}, {2, none}, {3, 2}, {4, none}}},
      {"high", []() -> std::unique_ptr<TChartFunction> { return std::make_unique<plot::THighFunction>(); },
       {{1, 2}, {2, 4}, {3, 6}, {4, 5}}},
      {"low", []() -> std::unique_ptr<TChartFunction> { return std::make_unique<plot::TLowFunction>(); },
       {{1, 1}, {2, 0}, {3, 3}, {4, 5}}},
      {"average", []() -> std::unique_ptr<TChartFunction> { return std::make_unique<plot::TAverageFunction>(); },
       {{1, 1.5}, {2, 2}, {3, 4.5}, {4, 5}}},
  };
  for (const Case& c : cases) {
    Calculate(c.make(), {&a, &b});
    EXPECT_THAT(ResultsOf(result), ::testing::ElementsAreArray(c.expected)) << c.name;
  }
}

TEST_F(FunctionsTest, OverAPeriodTheRemainderMakesALastShorterGroup) {
  TLineSeries seven;
  seven.SetParentChart(&chart);
  for (int i = 0; i < 7; ++i) seven.AddPointXY(i, i + 1);
  TChartFunction& average = Calculate(std::make_unique<plot::TAverageFunction>(), {&seven});
  // The whole series: one point at its mean X.
  EXPECT_THAT(ResultsOf(result), ::testing::ElementsAre(Result{3, 4}));
  // Groups 1 2 3 | 4 5 6 | 7 at the middle of their X.
  average.SetPeriod(3);
  EXPECT_THAT(ResultsOf(result), ::testing::ElementsAre(Result{1, 2}, Result{4, 5}, Result{6, 7}));
  EXPECT_THROW(average.SetPeriod(-1), plot::ChartException);
  EXPECT_EQ(average.Period(), 3);

  Calculate(std::make_unique<plot::THighFunction>(), {&seven}).SetPeriod(3);
  EXPECT_THAT(ResultsOf(result), ::testing::ElementsAre(Result{1, 3}, Result{4, 6}, Result{6, 7}));
  Calculate(std::make_unique<plot::TSubtractFunction>(), {&seven}).SetPeriod(2);
  EXPECT_THAT(ResultsOf(result),
              ::testing::ElementsAre(Result{0.5, -1}, Result{2.5, -1}, Result{4.5, -1}, Result{6, 7}));
}

TEST_F(FunctionsTest, RecalculatesWhenASourcePointIsAddedDeletedOrCleared) {
  Calculate(std::make_unique<plot::TAddFunction>(), {&a, &b});
  a.AddPointXY(4, 10);
  EXPECT_EQ(ResultsOf(result).back(), (Result{4, 15}));
  b.DeletePoint(0);
  EXPECT_EQ(ResultsOf(result).front(), (Result{1, std::nullopt}));
  // A chain follows too: the average of the sum.
  TLineSeries mean;
  mean.SetParentChart(&chart);
  mean.SetFunction(std::make_unique<plot::TAverageFunction>());
  mean.SetDataSource(&result);
  a.AddPointXY(5, 1);  // B has no X 5: a null point, no value
  EXPECT_THAT(ResultsOf(mean), ::testing::ElementsAre(Result{3, (4.0 + 9 + 15) / 3}));
  b.ClearPoints();
  EXPECT_TRUE(ResultsOf(mean).front().y == std::nullopt);
  a.ClearPoints();
  EXPECT_EQ(result.Count(), 0);
  EXPECT_EQ(mean.Count(), 0);

  // Without the insert option an added point changes nothing.
  result.SetRecalcOptions(plot::rOnDelete | plot::rOnModify | plot::rOnClear);
  a.AddPointXY(1, 1);
  EXPECT_EQ(result.Count(), 0);
}

TEST_F(FunctionsTest, NoInfinityOrNaNReachesTheChart) {
  TLineSeries huge[2];
  for (TLineSeries& s : huge) {
    s.SetParentChart(&chart);
    s.AddPointXY(1, 1e300);
    s.AddPointXY(2, 1);
    s.AddNullPointXY(3, 7);
  }
  Calculate(std::make_unique<plot::TMultiplyFunction>(), {&huge[0], &huge[1]});
  // 1e600 overflows; a null source point is no value.
  EXPECT_THAT(ResultsOf(result),
              ::testing::ElementsAre(Result{1, std::nullopt}, Result{2, 1}, Result{3, std::nullopt}));
  Calculate(std::make_unique<plot::TDivideFunction>(), {&a, &b});
  EXPECT_EQ(result.PointColor(1), plot::clNone);
  EXPECT_LE(result.YValues().HighestValue(), 2);
}

TEST_F(FunctionsTest, CyclesAreRefusedAndTheSourcesStay) {
  Calculate(std::make_unique<plot::TAddFunction>(), {&a, &b});
  EXPECT_THROW(
      {
        try {
          a.SetDataSource(&result);
        } catch (const plot::ChartException& e) {
          EXPECT_STREQ(e.what(), "Circular Series dependences are not allowed");
          throw;
        }
      },
      plot::ChartException);
  TLineSeries mean;
  mean.SetParentChart(&chart);
  mean.SetFunction(std::make_unique<plot::TAverageFunction>());
  mean.SetDataSource(&result);
  EXPECT_THROW(b.AddDataSource(&mean), plot::ChartException);
  EXPECT_THROW(result.SetDataSource(&result), plot::ChartException);
  EXPECT_TRUE(a.DataSources().empty());
  EXPECT_EQ(result.DataSources().size(), 2u);
  EXPECT_EQ(result.Count(), 4);
}

TEST_F(FunctionsTest, ANamedValueSourceReadsThatListOfTheSource) {
  plot::TBubbleSeries bubbles;
  bubbles.SetParentChart(&chart);
  bubbles.AddBubble(1, 100, 2);
  bubbles.AddBubble(2, 200, 6);
  result.YValues().SetValueSource("Radius");
  Calculate(std::make_unique<plot::TAverageFunction>(), {&bubbles});
  EXPECT_THAT(ResultsOf(result), ::testing::ElementsAre(Result{1.5, 4}));
}

}  // namespace
