#include "app/chart_template.h"

#include "app/data_files.h"

#include <cmath>
#include <functional>

#include "plot/chart/chart.h"
#include "plot/series/bar_series.h"
#include "plot/series/custom_series.h"
#include "plot/series/series_marks.h"
#include "runtime/json.h"
#include "runtime/message_text.h"

namespace logger {

TemplateError::~TemplateError() = default;

namespace {

using runtime::JsonValue;

constexpr std::size_t kMaxTemplateBytes = 1 << 20;
constexpr int kMaxLineWidth = 100;

// Reads one object's members, refusing what it does not know. Every message
// names the source and the line of the value at fault.
class Reader {
 public:
  Reader(const std::string& source, const std::string& where) : source_(source), where_(where) {}

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw TemplateError(source_ + ", line " + std::to_string(line) + ": " + what);
  }

  std::string Where() const { return where_.empty() ? "" : " in \"" + where_ + "\""; }

  // Calls `take` for each member; a name not in `known` is refused.
  void Members(const JsonValue& object, std::initializer_list<const char*> known,
               const std::function<void(const std::string&, const JsonValue&)>& take) const {
    if (!object.IsObject()) Fail(object.Line(), "expected an object" + Where());
    for (const auto& member : object.AsObject()) {
      bool isKnown = false;
      for (const char* k : known) isKnown |= member.name == k;
      if (!isKnown) {
        Fail(member.value.Line(), "unknown key \"" + runtime::EscapeForMessage(member.name) + "\"" + Where());
      }
      take(member.name, member.value);
    }
  }

  bool Bool(const std::string& name, const JsonValue& v) const {
    if (!v.IsBool()) Fail(v.Line(), Named(name) + " must be true or false");
    return v.AsBool();
  }
  double Number(const std::string& name, const JsonValue& v) const {
    if (!v.IsNumber()) Fail(v.Line(), Named(name) + " must be a number");
    return v.AsNumber();
  }
  std::string String(const std::string& name, const JsonValue& v) const {
    if (!v.IsString()) Fail(v.Line(), Named(name) + " must be a text in double quotes");
    return v.AsString();
  }
  std::string Named(const std::string& name) const { return "\"" + name + "\"" + Where(); }

 private:
  const std::string& source_;
  std::string where_;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB" as written on the web; the chart keeps red in the low byte.
std::optional<plot::Color> ParseColor(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  plot::Color rgb = 0;
  for (std::size_t i = 1; i < 7; ++i) {
    int d = HexDigit(text[i]);
    if (d < 0) return std::nullopt;
    rgb = rgb * 16 + static_cast<plot::Color>(d);
  }
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

std::string ColorText(plot::Color color) {
  static const char kHex[] = "0123456789ABCDEF";
  const unsigned channels[] = {color & 0xFFu, (color >> 8) & 0xFFu, (color >> 16) & 0xFFu};
  std::string text = "#";
  for (unsigned c : channels) {
    text += kHex[c >> 4];
    text += kHex[c & 0xF];
  }
  return text;
}

ChartTemplate::Axis ReadAxis(const JsonValue& value, const std::string& source, const std::string& name) {
  Reader r(source, name);
  ChartTemplate::Axis axis;
  r.Members(value, {"automatic", "minimum", "maximum", "increment", "title", "grid"},
            [&](const std::string& key, const JsonValue& v) {
              if (key == "automatic") axis.automatic = r.Bool(key, v);
              if (key == "minimum") axis.minimum = r.Number(key, v);
              if (key == "maximum") axis.maximum = r.Number(key, v);
              if (key == "increment") {
                axis.increment = r.Number(key, v);
                if (*axis.increment < 0) r.Fail(v.Line(), "Axis increment must be >= 0");
              }
              if (key == "title") axis.title = r.String(key, v);
              if (key == "grid") axis.grid = r.Bool(key, v);
            });
  if (axis.minimum && axis.maximum && *axis.minimum > *axis.maximum) {
    r.Fail(value.Line(), "Axis Minimum Value must be <= Maximum" + r.Where());
  }
  return axis;
}

ChartTemplate::Series ReadSeries(const JsonValue& value, const std::string& source) {
  Reader r(source, "series");
  ChartTemplate::Series series;
  r.Members(value, {"color", "lineWidth", "marks", "pointer"}, [&](const std::string& key, const JsonValue& v) {
    if (key == "color") {
      series.color = ParseColor(r.String(key, v));
      if (!series.color) r.Fail(v.Line(), "\"color\" must be written #RRGGBB, such as \"#0000FF\" for blue");
    }
    if (key == "lineWidth") {
      double w = r.Number(key, v);
      if (w != std::floor(w) || w < 0 || w > kMaxLineWidth) {
        r.Fail(v.Line(), "\"lineWidth\" must be a whole number from 0 to " + std::to_string(kMaxLineWidth));
      }
      series.lineWidth = static_cast<int>(w);
    }
    if (key == "marks") series.marks = r.Bool(key, v);
    if (key == "pointer") series.pointer = r.Bool(key, v);
  });
  return series;
}

JsonValue AxisJson(const ChartTemplate::Axis& axis) {
  JsonValue::Object o;
  if (axis.automatic) o.push_back({"automatic", *axis.automatic});
  if (axis.minimum) o.push_back({"minimum", *axis.minimum});
  if (axis.maximum) o.push_back({"maximum", *axis.maximum});
  if (axis.increment) o.push_back({"increment", *axis.increment});
  if (axis.title) o.push_back({"title", *axis.title});
  if (axis.grid) o.push_back({"grid", *axis.grid});
  return JsonValue(std::move(o));
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

ChartTemplate::Axis CaptureAxis(plot::TCustomChartAxis& axis) {
  ChartTemplate::Axis a;
  if (axis.Automatic()) {
    a.automatic = true;
  } else {
    if (!axis.AutomaticMinimum() && !axis.AutomaticMaximum()) a.automatic = false;
    if (!axis.AutomaticMinimum()) a.minimum = axis.Minimum();
    if (!axis.AutomaticMaximum()) a.maximum = axis.Maximum();
  }
  a.increment = axis.Increment();
  a.title = axis.Title().Caption();
  a.grid = axis.Grid().Visible();
  return a;
}

void ApplyAxis(const ChartTemplate::Axis& t, plot::TCustomChartAxis& axis) {
  // The new ends are stored first, the wider one first, so the axis never
  // holds minimum > maximum on the way.
  const double lo = t.minimum.value_or(axis.Minimum());
  const double hi = t.maximum.value_or(axis.Maximum());
  if (lo > axis.Maximum()) {
    axis.SetMaximum(hi);
    axis.SetMinimum(lo);
  } else {
    axis.SetMinimum(lo);
    axis.SetMaximum(hi);
  }
  if (t.automatic) {
    axis.SetAutomatic(*t.automatic);
  } else {
    if (t.minimum) axis.SetAutomaticMinimum(false);
    if (t.maximum) axis.SetAutomaticMaximum(false);
  }
  if (t.increment) axis.SetIncrement(*t.increment);
  if (t.title) axis.Title().SetCaption(*t.title);
  if (t.grid) axis.Grid().SetVisible(*t.grid);
}

// The pen a series draws its line or outline with, if it has one.
plot::TChartPen* SeriesPen(plot::TChartSeries& series) {
  if (auto* s = dynamic_cast<plot::TCustomSeries*>(&series)) return &s->LinePen();
  if (auto* b = dynamic_cast<plot::TCustomBarSeries*>(&series)) return &b->BarPen();
  return nullptr;
}

std::vector<plot::TChartSeries*> ActiveSeries(plot::TCustomChart& chart) {
  std::vector<plot::TChartSeries*> active;
  for (int i = 0; i < chart.SeriesCount(); ++i) {
    if (chart.Series(i)->Active()) active.push_back(chart.Series(i));
  }
  return active;
}

}  // namespace

const char* ChartKindName(ChartKind kind) { return kind == ChartKind::Histogram ? "histogram" : "temperature"; }

ChartTemplate ParseChartTemplate(const std::string& text, const std::string& source) {
  const std::string shown = runtime::EscapeForMessage(source);
  JsonValue root;
  try {
    root = runtime::ParseJson(text);
  } catch (const runtime::JsonError& e) {
    throw TemplateError(shown + ", " + e.Message());
  }
  if (root.Line() == 0) root.SetLine(1);
  Reader r(shown, "");
  ChartTemplate look;
  r.Members(root, {"chart", "title", "view3D", "legend", "leftAxis", "bottomAxis", "series"},
            [&](const std::string& key, const JsonValue& v) {
              if (key == "chart") {
                std::string kind = r.String(key, v);
                if (kind == "temperature") look.chart = ChartKind::Temperature;
                else if (kind == "histogram") look.chart = ChartKind::Histogram;
                else r.Fail(v.Line(), "\"chart\" must be \"temperature\" or \"histogram\"");
              }
              if (key == "title") look.title = r.String(key, v);
              if (key == "view3D") look.view3D = r.Bool(key, v);
              if (key == "legend") {
                Reader legend(shown, "legend");
                legend.Members(v, {"visible"}, [&](const std::string& k, const JsonValue& lv) {
                  look.legendVisible = legend.Bool(k, lv);
                });
              }
              if (key == "leftAxis") look.leftAxis = ReadAxis(v, shown, key);
              if (key == "bottomAxis") look.bottomAxis = ReadAxis(v, shown, key);
              if (key == "series") {
                if (!v.IsArray()) r.Fail(v.Line(), "\"series\" must be a list [...] of objects");
                for (const JsonValue& item : v.AsArray()) look.series.push_back(ReadSeries(item, shown));
              }
            });
  return look;
}

std::string ChartTemplateText(const ChartTemplate& look) {
  JsonValue::Object o;
  if (look.chart) o.push_back({"chart", ChartKindName(*look.chart)});
  if (look.title) o.push_back({"title", *look.title});
  if (look.view3D) o.push_back({"view3D", *look.view3D});
  if (look.legendVisible) o.push_back({"legend", JsonValue(JsonValue::Object{{"visible", *look.legendVisible}})});
  o.push_back({"leftAxis", AxisJson(look.leftAxis)});
  o.push_back({"bottomAxis", AxisJson(look.bottomAxis)});
  JsonValue::Array series;
  for (const auto& s : look.series) {
    JsonValue::Object so;
    if (s.color) so.push_back({"color", ColorText(*s.color)});
    if (s.lineWidth) so.push_back({"lineWidth", *s.lineWidth});
    if (s.marks) so.push_back({"marks", *s.marks});
    if (s.pointer) so.push_back({"pointer", *s.pointer});
    series.emplace_back(std::move(so));
  }
  o.push_back({"series", JsonValue(std::move(series))});
  return runtime::WriteJson(JsonValue(std::move(o)));
}

ChartTemplate ReadChartTemplateFile(platform::FileSystem& files, const std::string& path) {
  std::string bytes;
  platform::IoError result = files.ReadFilePrefix(path, kMaxTemplateBytes + 1, bytes);
  if (!result.Ok()) {
    throw TemplateError(FileErrorMessage(path, result, files.Examine(path)));
  }
  if (bytes.size() > kMaxTemplateBytes) {
    throw TemplateError(runtime::EscapeForMessage(path) + ": larger than 1 MiB, not a chart template");
  }
  return ParseChartTemplate(bytes, path);
}

void WriteChartTemplateFile(platform::FileSystem& files, const std::string& path, const ChartTemplate& look) {
  platform::IoError result = files.WriteFileAtomically(path, ChartTemplateText(look));
  if (!result.Ok()) throw TemplateError(FileErrorMessage(path, result, files.Examine(path)));
}

ChartTemplate CaptureChartTemplate(plot::TCustomChart& chart, std::optional<ChartKind> kind) {
  ChartTemplate look;
  look.chart = kind;
  look.title = JoinLines(chart.Title().Text().Lines());
  look.view3D = chart.View3D();
  look.legendVisible = chart.Legend().Visible();
  look.leftAxis = CaptureAxis(chart.LeftAxis());
  look.bottomAxis = CaptureAxis(chart.BottomAxis());
  for (plot::TChartSeries* s : ActiveSeries(chart)) {
    ChartTemplate::Series st;
    st.color = s->SeriesColor();
    if (plot::TChartPen* pen = SeriesPen(*s)) st.lineWidth = pen->Width();
    st.marks = s->Marks().Visible();
    if (auto* cs = dynamic_cast<plot::TCustomSeries*>(s)) st.pointer = cs->Pointer().Visible();
    look.series.push_back(st);
  }
  return look;
}

void ApplyChartTemplate(const ChartTemplate& look, plot::TCustomChart& chart) {
  if (look.title) chart.Title().SetText(SplitLines(*look.title));
  if (look.view3D) chart.SetView3D(*look.view3D);
  if (look.legendVisible) chart.Legend().SetVisible(*look.legendVisible);
  ApplyAxis(look.leftAxis, chart.LeftAxis());
  ApplyAxis(look.bottomAxis, chart.BottomAxis());
  std::vector<plot::TChartSeries*> active = ActiveSeries(chart);
  for (std::size_t i = 0; i < active.size() && i < look.series.size(); ++i) {
    const ChartTemplate::Series& t = look.series[i];
    plot::TChartSeries& s = *active[i];
    if (t.color) s.SetSeriesColor(*t.color);
    if (t.lineWidth) {
      if (plot::TChartPen* pen = SeriesPen(s)) pen->SetWidth(*t.lineWidth);
    }
    if (t.marks) s.Marks().SetVisible(*t.marks);
    if (t.pointer) {
      if (auto* cs = dynamic_cast<plot::TCustomSeries*>(&s)) cs->Pointer().SetVisible(*t.pointer);
    }
  }
}

}  // namespace logger
