// The chart editor's Chart, Axes, Legend and Walls pages: each control
// loads from the chart and writes its change straight back.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <sstream>
#include <type_traits>

#include "platform/qt_widgets/chart_editor.h"
#include "platform/qt_widgets/chart_pen_dialogs.h"
#include "plot/chart/chart.h"
#include "runtime/conversions.h"
#include "runtime/format_settings.h"

namespace platform {

namespace {

// Whether a change can be called with these arguments.
template <typename Change, typename... Args>
constexpr bool Takes = std::is_invocable_v<const Change&, Args...>;

// Calls a change with what the signal passed, or without it when the
// change takes nothing (a button's clicked flag).
template <typename Change, typename... Values>
void CallChange(const Change& change, const Values&... values) {
  if constexpr (Takes<Change, Values...>) {
    change(values...);
  } else {
    change();
  }
}

// The same for a change of one part of the chart.
template <typename Change, typename Part, typename... Values>
void CallChangeOn(const Change& change, Part& part, const Values&... values) {
  if constexpr (Takes<Change, Part&, Values...>) {
    change(part, values...);
  } else {
    change(part);
  }
}

QLabel* ErrorLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setStyleSheet("color: #B00000;");
  label->setWordWrap(true);
  // A line kept for it, so a message coming or going moves nothing.
  label->setMinimumHeight(label->fontMetrics().height());
  return label;
}

// A field with its message under it.
QWidget* WithError(QWidget* field, QLabel* error) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(field);
  layout->addWidget(error);
  return box;
}

QSpinBox* Spin(const char* name, int low, int high, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(low, high);
  return spin;
}

QComboBox* Combo(const char* name, const QStringList& items, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->addItems(items);
  return combo;
}

// A number as the user typed it last: shortest form, the system's decimal
// separator.
QString NumberText(double value) {
  std::ostringstream out;
  out.precision(15);
  out << value;
  std::string text = out.str();
  const char separator = runtime::CurrentFormatSettings().DecimalSeparator;
  for (char& c : text) {
    if (c == '.') c = separator;
  }
  return QString::fromStdString(text);
}

double NumberOf(const QLineEdit* field) { return runtime::StrToFloat(field->text().trimmed().toStdString()); }

int IntegerOf(const QLineEdit* field) { return runtime::StrToInt(field->text().trimmed().toStdString()); }

std::vector<std::string> LinesOf(const QPlainTextEdit* text) {
  std::vector<std::string> lines;
  const QString all = text->toPlainText();
  if (all.isEmpty()) return lines;
  for (const QString& line : all.split('\n')) lines.push_back(line.toStdString());
  return lines;
}

QString TextOf(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& line : lines) out << QString::fromStdString(line);
  return out.join('\n');
}

}  // namespace

// ---- Chart page

QWidget* TChartEditor::BuildChartPage() {
  auto* page = new QWidget;
  titleText_ = new QPlainTextEdit(page);
  titleText_->setObjectName("TitleText");
  titleText_->setFixedHeight(48);
  footText_ = new QPlainTextEdit(page);
  footText_->setObjectName("FootText");
  footText_->setFixedHeight(48);
  titleFont_ = new QPushButton("Font...", page);
  titleFont_->setObjectName("TitleFont");
  footFont_ = new QPushButton("Font...", page);
  footFont_->setObjectName("FootFont");
  panelColor_ = new ColorButton(page);
  panelColor_->setObjectName("PanelColor");
  gradientVisible_ = new QCheckBox("Gradient", page);
  gradientVisible_->setObjectName("GradientVisible");
  gradientStart_ = new ColorButton(page);
  gradientStart_->setObjectName("GradientStart");
  gradientEnd_ = new ColorButton(page);
  gradientEnd_->setObjectName("GradientEnd");
  gradientDirection_ = Combo("GradientDirection", {"Top to bottom", "Bottom to top", "Left to right", "Right to left",
                                                   "From centre", "From top left", "From bottom left"},
                             page);
  const QStringList bevels = {"None", "Lowered", "Raised", "Space"};
  bevelOuter_ = Combo("BevelOuter", bevels, page);
  bevelInner_ = Combo("BevelInner", bevels, page);
  bevelWidth_ = Spin("BevelWidth", 1, 20, page);
  const char* marginNames[4] = {"MarginLeft", "MarginTop", "MarginRight", "MarginBottom"};
  for (int i = 0; i < 4; ++i) margins_[i] = Spin(marginNames[i], 0, 49, page);
  view3D_ = new QCheckBox("3D", page);
  view3D_->setObjectName("View3D");
  chart3DPercent_ = new QLineEdit(page);
  chart3DPercent_->setObjectName("Chart3DPercent");
  chart3DPercentError_ = ErrorLabel("Chart3DPercentError", page);
  elevation_ = Spin("Elevation", 0, 360, page);
  rotation_ = Spin("Rotation", 0, 360, page);
  perspective_ = Spin("Perspective", 0, 100, page);
  orthogonal_ = new QCheckBox("Orthogonal", page);
  orthogonal_->setObjectName("Orthogonal");

  auto* titles = new QGroupBox("Titles", page);
  auto* titleForm = new QGridLayout(titles);
  titleForm->addWidget(new QLabel("Title:"), 0, 0);
  titleForm->addWidget(titleText_, 0, 1);
  titleForm->addWidget(titleFont_, 0, 2, Qt::AlignTop);
  titleForm->addWidget(new QLabel("Foot:"), 1, 0);
  titleForm->addWidget(footText_, 1, 1);
  titleForm->addWidget(footFont_, 1, 2, Qt::AlignTop);

  auto* panel = new QGroupBox("Panel", page);
  auto* panelForm = new QFormLayout(panel);
  auto* gradient = new QHBoxLayout;
  gradient->addWidget(gradientVisible_);
  gradient->addWidget(gradientStart_);
  gradient->addWidget(gradientEnd_);
  gradient->addWidget(gradientDirection_, 1);
  auto* bevel = new QHBoxLayout;
  bevel->addWidget(new QLabel("Outer"));
  bevel->addWidget(bevelOuter_);
  bevel->addWidget(new QLabel("Inner"));
  bevel->addWidget(bevelInner_);
  bevel->addWidget(new QLabel("Width"));
  bevel->addWidget(bevelWidth_);
  auto* margins = new QHBoxLayout;
  const char* sides[4] = {"Left", "Top", "Right", "Bottom"};
  for (int i = 0; i < 4; ++i) {
    margins->addWidget(new QLabel(sides[i]));
    margins->addWidget(margins_[i]);
  }
  panelForm->addRow("Color:", panelColor_);
  panelForm->addRow("Fill:", gradient);
  panelForm->addRow("Bevels:", bevel);
  panelForm->addRow("Margins %:", margins);

  auto* view = new QGroupBox("3D view", page);
  auto* viewForm = new QGridLayout(view);
  viewForm->addWidget(view3D_, 0, 0);
  viewForm->addWidget(new QLabel("Depth %:"), 0, 1);
  viewForm->addWidget(WithError(chart3DPercent_, chart3DPercentError_), 0, 2);
  viewForm->addWidget(orthogonal_, 0, 3);
  viewForm->addWidget(new QLabel("Elevation:"), 1, 0);
  viewForm->addWidget(elevation_, 1, 1);
  viewForm->addWidget(new QLabel("Rotation:"), 1, 2);
  viewForm->addWidget(rotation_, 1, 3);
  viewForm->addWidget(new QLabel("Perspective:"), 2, 0);
  viewForm->addWidget(perspective_, 2, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(titles);
  layout->addWidget(panel);
  layout->addWidget(view);
  layout->addStretch(1);

  // Signals may pass more than the change takes (clicked's flag); the
  // return type lets Qt's probe for the argument count fail cleanly.
  auto chartChange = [this]<typename Change>(Change change) {
    return [this, change](auto... value)
               -> std::enable_if_t<Takes<Change, decltype(value)...> || Takes<Change>> {
      if (loading_ || chart_ == nullptr) return;
      CallChange(change, value...);
    };
  };
  connect(titleText_, &QPlainTextEdit::textChanged, this,
          chartChange([this] { chart_->Title().SetText(LinesOf(titleText_)); }));
  connect(footText_, &QPlainTextEdit::textChanged, this,
          chartChange([this] { chart_->Foot().SetText(LinesOf(footText_)); }));
  connect(titleFont_, &QPushButton::clicked, this, chartChange([this] { ChooseFont(chart_->Title().Font()); }));
  connect(footFont_, &QPushButton::clicked, this, chartChange([this] { ChooseFont(chart_->Foot().Font()); }));
  connect(panelColor_, &ColorButton::ColorChosen, this, chartChange([this](plot::Color c) { chart_->SetColor(c); }));
  connect(gradientVisible_, &QCheckBox::toggled, this,
          chartChange([this](bool on) { chart_->Gradient().SetVisible(on); }));
  connect(gradientStart_, &ColorButton::ColorChosen, this,
          chartChange([this](plot::Color c) { chart_->Gradient().SetStartColor(c); }));
  connect(gradientEnd_, &ColorButton::ColorChosen, this,
          chartChange([this](plot::Color c) { chart_->Gradient().SetEndColor(c); }));
  connect(gradientDirection_, &QComboBox::currentIndexChanged, this, chartChange([this](int i) {
            chart_->Gradient().SetDirection(static_cast<plot::TGradientDirection>(i));
          }));
  connect(bevelOuter_, &QComboBox::currentIndexChanged, this,
          chartChange([this](int i) { chart_->SetBevelOuter(static_cast<plot::TPanelBevel>(i)); }));
  connect(bevelInner_, &QComboBox::currentIndexChanged, this,
          chartChange([this](int i) { chart_->SetBevelInner(static_cast<plot::TPanelBevel>(i)); }));
  connect(bevelWidth_, &QSpinBox::valueChanged, this, chartChange([this](int w) { chart_->SetBevelWidth(w); }));
  connect(margins_[0], &QSpinBox::valueChanged, this, chartChange([this](int m) { chart_->SetMarginLeft(m); }));
  connect(margins_[1], &QSpinBox::valueChanged, this, chartChange([this](int m) { chart_->SetMarginTop(m); }));
  connect(margins_[2], &QSpinBox::valueChanged, this, chartChange([this](int m) { chart_->SetMarginRight(m); }));
  connect(margins_[3], &QSpinBox::valueChanged, this, chartChange([this](int m) { chart_->SetMarginBottom(m); }));
  connect(view3D_, &QCheckBox::toggled, this, chartChange([this](bool on) { chart_->SetView3D(on); }));
  connect(chart3DPercent_, &QLineEdit::editingFinished, this, chartChange([this] {
            Apply(chart3DPercentError_, [this] { chart_->SetChart3DPercent(IntegerOf(chart3DPercent_)); });
          }));
  connect(elevation_, &QSpinBox::valueChanged, this,
          chartChange([this](int v) { chart_->View3DOptions().SetElevation(v); }));
  connect(rotation_, &QSpinBox::valueChanged, this,
          chartChange([this](int v) { chart_->View3DOptions().SetRotation(v); }));
  connect(perspective_, &QSpinBox::valueChanged, this,
          chartChange([this](int v) { chart_->View3DOptions().SetPerspective(v); }));
  connect(orthogonal_, &QCheckBox::toggled, this,
          chartChange([this](bool on) { chart_->View3DOptions().SetOrthogonal(on); }));
  return page;
}

void TChartEditor::LoadChart() {
  loading_ = true;
  plot::TCustomChart& c = *chart_;
  titleText_->setPlainText(TextOf(c.Title().Text().Lines()));
  footText_->setPlainText(TextOf(c.Foot().Text().Lines()));
  panelColor_->SetValue(c.Color());
  gradientVisible_->setChecked(c.Gradient().Visible());
  gradientStart_->SetValue(c.Gradient().StartColor());
  gradientEnd_->SetValue(c.Gradient().EndColor());
  gradientDirection_->setCurrentIndex(c.Gradient().Direction());
  bevelOuter_->setCurrentIndex(c.BevelOuter());
  bevelInner_->setCurrentIndex(c.BevelInner());
  bevelWidth_->setValue(c.BevelWidth());
  margins_[0]->setValue(c.MarginLeft());
  margins_[1]->setValue(c.MarginTop());
  margins_[2]->setValue(c.MarginRight());
  margins_[3]->setValue(c.MarginBottom());
  view3D_->setChecked(c.View3D());
  chart3DPercent_->setText(QString::number(c.Chart3DPercent()));
  elevation_->setValue(c.View3DOptions().Elevation());
  rotation_->setValue(c.View3DOptions().Rotation());
  perspective_->setValue(c.View3DOptions().Perspective());
  orthogonal_->setChecked(c.View3DOptions().Orthogonal());
  loading_ = false;
}

// ---- Axes page

QWidget* TChartEditor::BuildAxesPage() {
  auto* page = new QWidget;
  axisChoice_ = Combo("AxisChoice", {"Left", "Right", "Top", "Bottom", "Depth"}, page);
  axisVisible_ = new QCheckBox("Visible", page);
  axisVisible_->setObjectName("AxisVisible");
  axisAutomatic_ = new QCheckBox("Automatic", page);
  axisAutomatic_->setObjectName("AxisAutomatic");
  axisMinimum_ = new QLineEdit(page);
  axisMinimum_->setObjectName("AxisMinimum");
  axisMinimumError_ = ErrorLabel("AxisMinimumError", page);
  axisMaximum_ = new QLineEdit(page);
  axisMaximum_->setObjectName("AxisMaximum");
  axisMaximumError_ = ErrorLabel("AxisMaximumError", page);
  axisIncrement_ = new QLineEdit(page);
  axisIncrement_->setObjectName("AxisIncrement");
  axisIncrementError_ = ErrorLabel("AxisIncrementError", page);
  axisLogarithmic_ = new QCheckBox("Logarithmic", page);
  axisLogarithmic_->setObjectName("AxisLogarithmic");
  axisLogarithmicError_ = ErrorLabel("AxisLogarithmicError", page);
  axisInverted_ = new QCheckBox("Inverted", page);
  axisInverted_->setObjectName("AxisInverted");
  axisTitle_ = new QLineEdit(page);
  axisTitle_->setObjectName("AxisTitle");
  axisTitleFont_ = new QPushButton("Font...", page);
  axisTitleFont_->setObjectName("AxisTitleFont");
  axisFormat_ = new QLineEdit(page);
  axisFormat_->setObjectName("AxisFormat");
  axisDateTimeFormat_ = new QLineEdit(page);
  axisDateTimeFormat_->setObjectName("AxisDateTimeFormat");
  axisLabelsAngle_ = new QLineEdit(page);
  axisLabelsAngle_->setObjectName("AxisLabelsAngle");
  axisLabelsAngleError_ = ErrorLabel("AxisLabelsAngleError", page);
  axisGridVisible_ = new QCheckBox("Grid", page);
  axisGridVisible_->setObjectName("AxisGridVisible");
  axisGridPen_ = new QPushButton("Grid Pen...", page);
  axisGridPen_->setObjectName("AxisGridPen");
  axisTicksPen_ = new QPushButton("Ticks Pen...", page);
  axisTicksPen_->setObjectName("AxisTicksPen");
  axisTickLength_ = Spin("AxisTickLength", 0, 100, page);

  auto* scales = new QGroupBox("Scales", page);
  auto* scaleForm = new QFormLayout(scales);
  auto* flags = new QHBoxLayout;
  flags->addWidget(axisAutomatic_);
  flags->addWidget(axisLogarithmic_);
  flags->addWidget(axisInverted_);
  scaleForm->addRow(QString(), flags);
  scaleForm->addRow(QString(), axisLogarithmicError_);
  scaleForm->addRow("Minimum:", WithError(axisMinimum_, axisMinimumError_));
  scaleForm->addRow("Maximum:", WithError(axisMaximum_, axisMaximumError_));
  scaleForm->addRow("Increment:", WithError(axisIncrement_, axisIncrementError_));

  auto* labels = new QGroupBox("Title and labels", page);
  auto* labelForm = new QFormLayout(labels);
  auto* title = new QHBoxLayout;
  title->addWidget(axisTitle_, 1);
  title->addWidget(axisTitleFont_);
  labelForm->addRow("Title:", title);
  labelForm->addRow("Value format:", axisFormat_);
  labelForm->addRow("Date format:", axisDateTimeFormat_);
  labelForm->addRow("Angle:", WithError(axisLabelsAngle_, axisLabelsAngleError_));

  auto* lines = new QGroupBox("Grid and ticks", page);
  auto* lineRow = new QHBoxLayout(lines);
  lineRow->addWidget(axisGridVisible_);
  lineRow->addWidget(axisGridPen_);
  lineRow->addWidget(axisTicksPen_);
  lineRow->addWidget(new QLabel("Tick length:"));
  lineRow->addWidget(axisTickLength_);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Axis:"));
  top->addWidget(axisChoice_);
  top->addWidget(axisVisible_);
  top->addStretch(1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(scales);
  layout->addWidget(labels);
  layout->addWidget(lines);
  layout->addStretch(1);

  auto axisChange = [this]<typename Change>(Change change) {
    using Axis = plot::TCustomChartAxis&;
    return [this, change](auto... value)
               -> std::enable_if_t<Takes<Change, Axis, decltype(value)...> || Takes<Change, Axis>> {
      if (loading_ || chart_ == nullptr) return;
      CallChangeOn(change, SelectedAxis(), value...);
    };
  };
  connect(axisChoice_, &QComboBox::currentIndexChanged, this, [this] {
    if (chart_ == nullptr) return;
    for (QLabel* e : {axisMinimumError_, axisMaximumError_, axisIncrementError_, axisLabelsAngleError_,
                      axisLogarithmicError_}) {
      e->clear();
    }
    LoadAxis();
  });
  connect(axisVisible_, &QCheckBox::toggled, this,
          axisChange([](plot::TCustomChartAxis& a, bool on) { a.SetVisible(on); }));
  connect(axisAutomatic_, &QCheckBox::toggled, this, axisChange([this](plot::TCustomChartAxis& a, bool on) {
            if (on) {
              a.SetAutomatic(true);
              LoadAxis();
            } else {
              ApplyAxisRange();  // the range the fields show becomes fixed
            }
          }));
  connect(axisMinimum_, &QLineEdit::editingFinished, this, axisChange([this](plot::TCustomChartAxis&) {
            ApplyAxisRange();
          }));
  connect(axisMaximum_, &QLineEdit::editingFinished, this, axisChange([this](plot::TCustomChartAxis&) {
            ApplyAxisRange();
          }));
  connect(axisIncrement_, &QLineEdit::editingFinished, this, axisChange([this](plot::TCustomChartAxis& a) {
            Apply(axisIncrementError_, [&] { a.SetIncrement(NumberOf(axisIncrement_)); });
          }));
  connect(axisLogarithmic_, &QCheckBox::toggled, this, axisChange([this](plot::TCustomChartAxis& a, bool on) {
            if (!Apply(axisLogarithmicError_, [&] { a.SetLogarithmic(on); })) {
              loading_ = true;
              axisLogarithmic_->setChecked(a.Logarithmic());
              loading_ = false;
            }
          }));
  connect(axisInverted_, &QCheckBox::toggled, this,
          axisChange([](plot::TCustomChartAxis& a, bool on) { a.SetInverted(on); }));
  connect(axisTitle_, &QLineEdit::editingFinished, this, axisChange([this](plot::TCustomChartAxis& a) {
            a.Title().SetCaption(axisTitle_->text().toStdString());
          }));
  connect(axisTitleFont_, &QPushButton::clicked, this,
          axisChange([this](plot::TCustomChartAxis& a) { ChooseFont(a.Title().Font()); }));
  connect(axisFormat_, &QLineEdit::editingFinished, this, axisChange([this](plot::TCustomChartAxis& a) {
            a.SetAxisValuesFormat(axisFormat_->text().toStdString());
          }));
  connect(axisDateTimeFormat_, &QLineEdit::editingFinished, this, axisChange([this](plot::TCustomChartAxis& a) {
            a.SetDateTimeFormat(axisDateTimeFormat_->text().toStdString());
          }));
  connect(axisLabelsAngle_, &QLineEdit::editingFinished, this, axisChange([this](plot::TCustomChartAxis& a) {
            Apply(axisLabelsAngleError_, [&] { a.SetLabelsAngle(IntegerOf(axisLabelsAngle_)); });
          }));
  connect(axisGridVisible_, &QCheckBox::toggled, this,
          axisChange([](plot::TCustomChartAxis& a, bool on) { a.Grid().SetVisible(on); }));
  connect(axisGridPen_, &QPushButton::clicked, this, axisChange([this](plot::TCustomChartAxis& a) {
            penDialog_->Execute(a.Grid());
            LoadAxis();
          }));
  connect(axisTicksPen_, &QPushButton::clicked, this,
          axisChange([this](plot::TCustomChartAxis& a) { penDialog_->Execute(a.Ticks()); }));
  connect(axisTickLength_, &QSpinBox::valueChanged, this,
          axisChange([](plot::TCustomChartAxis& a, int length) { a.SetTickLength(length); }));
  return page;
}

plot::TCustomChartAxis& TChartEditor::SelectedAxis() const {
  switch (axisChoice_->currentIndex()) {
    case 1: return chart_->RightAxis();
    case 2: return chart_->TopAxis();
    case 3: return chart_->BottomAxis();
    case 4: return chart_->DepthAxis();
    default: return chart_->LeftAxis();
  }
}

void TChartEditor::ApplyAxisRange() {
  plot::TCustomChartAxis& a = SelectedAxis();
  axisMinimumError_->clear();
  axisMaximumError_->clear();
  double low = 0, high = 0;
  if (!Apply(axisMinimumError_, [&] { low = NumberOf(axisMinimum_); }) ||
      !Apply(axisMaximumError_, [&] { high = NumberOf(axisMaximum_); })) {
    return;
  }
  // The two fields are checked against each other before the axis sees
  // either, so a range typed end by end never trips over the old one.
  if (low > high) {
    QLabel* at = sender() == axisMaximum_ ? axisMaximumError_ : axisMinimumError_;
    at->setText(sender() == axisMaximum_ ? "Axis Maximum Value must be >= Minimum"
                                         : "Axis Minimum Value must be <= Maximum");
    return;
  }
  Apply(axisMinimumError_, [&] {
    if (low > a.Maximum()) {
      a.SetMaximum(high);
      a.SetMinimum(low);
    } else {
      a.SetMinimum(low);
      a.SetMaximum(high);
    }
    a.SetAutomatic(false);
  });
  loading_ = true;
  axisAutomatic_->setChecked(a.Automatic());
  loading_ = false;
}

void TChartEditor::LoadAxis() {
  loading_ = true;
  plot::TCustomChartAxis& a = SelectedAxis();
  axisVisible_->setChecked(a.Visible());
  axisAutomatic_->setChecked(a.Automatic());
  // An automatic axis shows the range of its last paint.
  axisMinimum_->setText(NumberText(a.Automatic() ? a.LowValue() : a.Minimum()));
  axisMaximum_->setText(NumberText(a.Automatic() ? a.HighValue() : a.Maximum()));
  axisIncrement_->setText(NumberText(a.Increment()));
  axisLogarithmic_->setChecked(a.Logarithmic());
  axisInverted_->setChecked(a.Inverted());
  axisTitle_->setText(QString::fromStdString(a.Title().Caption()));
  axisFormat_->setText(QString::fromStdString(a.AxisValuesFormat()));
  axisDateTimeFormat_->setText(QString::fromStdString(a.DateTimeFormat()));
  axisLabelsAngle_->setText(QString::number(a.LabelsAngle()));
  axisGridVisible_->setChecked(a.Grid().Visible());
  axisTickLength_->setValue(a.TickLength());
  loading_ = false;
}

// ---- Legend page

QWidget* TChartEditor::BuildLegendPage() {
  auto* page = new QWidget;
  legendVisible_ = new QCheckBox("Visible", page);
  legendVisible_->setObjectName("LegendVisible");
  legendAlignment_ = Combo("LegendAlignment", {"Left", "Right", "Top", "Bottom"}, page);
  legendStyle_ = Combo("LegendStyle", {"Automatic", "Series names", "Values", "Last values"}, page);
  legendTextStyle_ = Combo("LegendTextStyle", {"Plain", "Left value", "Right value", "Left percent",
                                               "Right percent", "X value"},
                           page);
  legendColorWidth_ = new QLineEdit(page);
  legendColorWidth_->setObjectName("LegendColorWidth");
  legendColorWidthError_ = ErrorLabel("LegendColorWidthError", page);
  legendFont_ = new QPushButton("Font...", page);
  legendFont_->setObjectName("LegendFont");
  auto* form = new QFormLayout(page);
  form->addRow(QString(), legendVisible_);
  form->addRow("Position:", legendAlignment_);
  form->addRow("Style:", legendStyle_);
  form->addRow("Text style:", legendTextStyle_);
  form->addRow("Symbol width %:", WithError(legendColorWidth_, legendColorWidthError_));
  form->addRow("Font:", legendFont_);

  auto legendChange = [this]<typename Change>(Change change) {
    using Legend = plot::TChartLegend&;
    return [this, change](auto... value)
               -> std::enable_if_t<Takes<Change, Legend, decltype(value)...> || Takes<Change, Legend>> {
      if (loading_ || chart_ == nullptr) return;
      CallChangeOn(change, chart_->Legend(), value...);
    };
  };
  connect(legendVisible_, &QCheckBox::toggled, this,
          legendChange([](plot::TChartLegend& l, bool on) { l.SetVisible(on); }));
  connect(legendAlignment_, &QComboBox::currentIndexChanged, this, legendChange([](plot::TChartLegend& l, int i) {
            l.SetAlignment(static_cast<plot::TLegendAlignment>(i));
          }));
  connect(legendStyle_, &QComboBox::currentIndexChanged, this, legendChange([](plot::TChartLegend& l, int i) {
            l.SetLegendStyle(static_cast<plot::TLegendStyle>(i));
          }));
  connect(legendTextStyle_, &QComboBox::currentIndexChanged, this, legendChange([](plot::TChartLegend& l, int i) {
            l.SetTextStyle(static_cast<plot::TLegendTextStyle>(i));
          }));
  connect(legendColorWidth_, &QLineEdit::editingFinished, this, legendChange([this](plot::TChartLegend& l) {
            Apply(legendColorWidthError_, [&] { l.SetColorWidth(IntegerOf(legendColorWidth_)); });
          }));
  connect(legendFont_, &QPushButton::clicked, this,
          legendChange([this](plot::TChartLegend& l) { ChooseFont(l.Font()); }));
  return page;
}

void TChartEditor::LoadLegend() {
  loading_ = true;
  plot::TChartLegend& l = chart_->Legend();
  legendVisible_->setChecked(l.Visible());
  legendAlignment_->setCurrentIndex(l.Alignment());
  legendStyle_->setCurrentIndex(l.LegendStyle());
  legendTextStyle_->setCurrentIndex(l.TextStyle());
  legendColorWidth_->setText(QString::number(l.ColorWidth()));
  loading_ = false;
}

// ---- Walls page

QWidget* TChartEditor::BuildWallsPage() {
  auto* page = new QWidget;
  wallChoice_ = Combo("WallChoice", {"Back", "Left", "Bottom"}, page);
  wallColor_ = new ColorButton(page);
  wallColor_->setObjectName("WallColor");
  wallPen_ = new QPushButton("Border...", page);
  wallPen_->setObjectName("WallPen");
  wallBrush_ = new QPushButton("Pattern...", page);
  wallBrush_->setObjectName("WallBrush");
  wallSize_ = Spin("WallSize", 0, 100, page);
  auto* form = new QFormLayout(page);
  form->addRow("Wall:", wallChoice_);
  form->addRow("Color:", wallColor_);
  form->addRow("Border:", wallPen_);
  form->addRow("Pattern:", wallBrush_);
  form->addRow("Size (3D):", wallSize_);
  auto wall = [this]() -> plot::TChartWall& {
    switch (wallChoice_->currentIndex()) {
      case 1: return chart_->LeftWall();
      case 2: return chart_->BottomWall();
      default: return chart_->BackWall();
    }
  };
  connect(wallChoice_, &QComboBox::currentIndexChanged, this, [this] {
    if (chart_ != nullptr) LoadWall();
  });
  connect(wallColor_, &ColorButton::ColorChosen, this, [this, wall](plot::Color c) {
    if (!loading_ && chart_ != nullptr) wall().SetColor(c);
  });
  connect(wallPen_, &QPushButton::clicked, this, [this, wall] {
    if (chart_ != nullptr) penDialog_->Execute(wall().Pen());
  });
  connect(wallBrush_, &QPushButton::clicked, this, [this, wall] {
    if (chart_ != nullptr) brushDialog_->Execute(wall().Brush());
  });
  connect(wallSize_, &QSpinBox::valueChanged, this, [this, wall](int size) {
    if (!loading_ && chart_ != nullptr) wall().SetSize(size);
  });
  return page;
}

void TChartEditor::LoadWall() {
  loading_ = true;
  plot::TChartWall& w = wallChoice_->currentIndex() == 1   ? chart_->LeftWall()
                        : wallChoice_->currentIndex() == 2 ? chart_->BottomWall()
                                                           : chart_->BackWall();
  wallColor_->SetValue(w.Color());
  wallSize_->setValue(w.Size());
  loading_ = false;
}

}  // namespace platform
