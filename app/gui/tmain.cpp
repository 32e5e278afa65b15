#include "app/gui/tmain.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdlib>
#include <iostream>

#include "app/gui/file_dialogs.h"
#include "app/gui/memo_pane.h"
#include "app/gui/status_panel.h"
#include "app/gui/tabout_box.h"
#include "app/gui/tchoose_device.h"
#include "app/gui/trecent_downloads.h"
#include "app/gui/window_font.h"
#include "app/gui/tnvram.h"
#include "app/gui/tsettings.h"
#include "app/chart_template.h"
#include "platform/qt_widgets/chart_editor.h"
#include "plot/series/extended_series_kinds.h"
#include "plot/series/standard_series_kinds.h"
#include "platform/qt_widgets/chart_host_widget.h"
#include "platform/qt_widgets/chart_preview.h"
#include "platform/qt_widgets/qt_printer.h"
#include "plot/printing/chart_printing.h"

#include <QFileDialog>
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_serial_port.h"
#include "platform/posix/system_clock.h"

namespace gui {

namespace {
constexpr int kMemoWidth = 164;
constexpr int kChartWidth = 352;   // the chart's size at the window's design size
constexpr int kChartHeight = 334;

// The items that talk to the recorder, replace the store or write it out;
// refused while a command waits, because two commands' bytes on one line
// corrupt both, and a store half downloaded is no recording to save or
// print. The report items stay: they only show the store as it is.
constexpr const char* kDeviceItems[] = {
    "ReadAll1", "ReadJustPage01", "Setup1",          "SettoPCTime1", "SetNVram1", "Open1",    "Save1",
    "OpenRecentDownload1",        "ExportLogAsCsv1", "ExportChart1", "Print1",    "p1",       "mnuComm1",
    "mnuComm2", "mnuChooseDevice"};

// A device path as menu text: a "&" in it is a character, not a mark.
QString MenuText(const std::string& text) { return QString::fromStdString(text).replace("&", "&&"); }
}  // namespace

TMain::TMain(Options options) {
  setObjectName("Main");
  setWindowTitle(logger::LoggerApp::kCaption);
  // The designed "MS Sans Serif" does not exist here and has no metric
  // clone; Liberation Sans at the same pixel height, by name.
  setFont(WindowFont());

  platform::UserMessages* messages = options.messages;
  if (messages == nullptr) {
    qtMessages_.SetParent(this);
    messages = &qtMessages_;
  }
  platform::Clock* clock = options.clock;
  if (clock == nullptr) {
    ownedClock_ = std::make_unique<platform::SystemClock>();
    clock = ownedClock_.get();
  }
  std::unique_ptr<platform::SerialPort> port =
      options.port ? std::move(options.port) : platform::CreateSystemSerialPort();
  app_ = std::make_unique<logger::LoggerApp>(std::move(port), options.ports,
                                             logger::LoggerApp::Services{pump_, *clock, *messages, cursor_});
  logger::SettingsStore* store = options.settings;
  if (store == nullptr) {
    ownedSettingsStore_ = std::make_unique<logger::MemorySettingsStore>();
    store = ownedSettingsStore_.get();
  }
  appSettings_ = std::make_unique<logger::AppSettings>(*store);
  app_->SetSettings(appSettings_.get());
  app_->SetAnswerTimeoutMs(options.answerTimeoutMs);
  app_->ChooseDeviceHint = "choose another device with Port, Choose Device...";

  BuildLayout();
  BuildMenus();
  reports_ = std::make_unique<logger::LoggerReports>(app_->State(), *memo1_, chartData_, *clock);
  downloads_ = std::make_unique<logger::DownloadWorkflows>(*app_, *reports_);

  app_->OnCaptionChanged = [this](const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); };
  app_->OnCommandRunningChanged = [this](bool running) {
    SetDeviceCommandsEnabled(!running);
    if (!running && closePending_) {
      // Close from the event loop, after the command has fully unwound.
      QTimer::singleShot(0, this, &QWidget::close);
    }
  };

  app_->FormCreate();
  // The dialogs are made once, after the window, and reused.
  settings_ = new TSettings(*messages, this);
  aboutBox_ = new TAboutBox(this);
  nvram_ = new TNVram(*messages, this);
  chooseDevice_ = new TChooseDevice(options.deviceRoot, this);
  configuration_ = std::make_unique<logger::LoggerConfiguration>(*app_, *reports_, *settings_, *nvram_);
  logger::FileDialogView* fileDialogs = options.fileDialogs;
  if (fileDialogs == nullptr) {
    ownedFileDialogs_ = std::make_unique<GuiFileDialogs>(this);
    fileDialogs = ownedFileDialogs_.get();
  }
  fileSystem_ = std::make_unique<platform::PosixFileSystem>();
  files_ = std::make_unique<logger::LoggerFiles>(*app_, *reports_, chartData_, *fileSystem_, *fileDialogs);
  exportDialogs_ = options.exportDialogs;
  if (exportDialogs_ == nullptr) {
    ownedExportDialogs_ = std::make_unique<GuiExportDialogs>(*messages, this);
    exportDialogs_ = ownedExportDialogs_.get();
  }
  // The log's statistics show while the temperature line does; the unit is
  // the one chosen last time.
  reports_->OnSummary = [this](const std::string& summary) { app_->Status().SetSummary(summary); };
  reports_->SetUnit(appSettings_->Unit());
  Action(reports_->Unit() == logger::TemperatureUnit::Fahrenheit ? "Fahrenheit1" : "Celsius1")->setChecked(true);
    std::string archiveFolder = options.archiveFolder;
  if (archiveFolder.empty()) {
    archiveFolder = logger::DownloadArchive::DefaultFolder([](const char* name) { return std::getenv(name); });
  }
  archive_ = std::make_unique<logger::DownloadArchive>(*fileSystem_, *clock, archiveFolder);
  archive_->SetEnabled(options.archiveDownloads.value_or(appSettings_->ArchiveDownloads()));
  Action("ArchiveDownloads1")->setChecked(archive_->Enabled());
  downloads_->SetArchive(archive_.get());
  downloads_->OnArchiveProblem = [](const std::string& problem) { std::cerr << "quorvel: " << problem << std::endl; };
  recentDownloads_ = new TRecentDownloads(this);
  printer_ = options.printer;
  if (printer_ == nullptr) {
    ownedPrinter_ = std::make_unique<platform::QtPrinter>(this);
    printer_ = ownedPrinter_.get();
  }
  chartPreviewer1_ = std::make_unique<platform::TChartPreviewer>(*printer_);
  chartPreviewer1_->SetChart(&chartData_.Chart1());
  chartPreviewer1_->CancelMouseAction = [this] { chartData_.Chart1().SetCancelMouse(true); };
  chartPreviewer1_->OnPrintError = [this](const std::string& message) {
    app_->Ui().messages.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle, message);
  };

  templateDialogs_ = options.templateDialogs;
  if (templateDialogs_ == nullptr) {
    ownedTemplateDialogs_ = std::make_unique<GuiTemplateDialogs>(this);
    templateDialogs_ = ownedTemplateDialogs_.get();
  }
  // The kinds the chart editor's gallery offers.
  plot::RegisterStandardSeriesKinds();
  plot::RegisterExtendedSeriesKinds();
  chartEditor_ = new platform::TChartEditor(this);
  chartEditor_->OnSeriesAdded = [this](std::unique_ptr<plot::TChartSeries> s) { chartData_.KeepSeries(std::move(s)); };
  chartEditor_->MayDeleteSeries = [this](const plot::TChartSeries& s) { return chartData_.MayDeleteSeries(s); };
  chartEditor_->OnSeriesDeleted = [this](plot::TChartSeries& s) { chartData_.DeleteSeries(s); };
  chartEditor_->OnSaveTemplate = [this] { SaveChartTemplate(); };
  chartEditor_->OnLoadTemplate = [this] { LoadChartTemplate(); };
  chart1_->installEventFilter(this);

  // 516 x 354 client: the chart at its design size beside the pane.
  resize(kChartWidth + kMemoWidth, panel2_->height() + kChartHeight + menuBar()->sizeHint().height());
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

TMain::~TMain() {
  // The chart's host is a child widget, which QWidget deletes only after
  // these members; it detaches itself from the chart, so it goes first.
  delete chart1_;
}

QAction* TMain::AddItem(QMenu* menu, const char* name, const QString& caption, void (TMain::*handler)()) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  if (handler != nullptr) connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  menu->addAction(action);
  return action;
}

void TMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  AddItem(file, "Open1", "&Open...", &TMain::Open1Click)->setShortcut(QKeySequence::Open);
  AddItem(file, "Save1", "&Save...", &TMain::Save1Click)->setShortcut(QKeySequence::Save);
  BuildArchiveItems(file);
  AddExportItems(file);
  AddChartLookItems(file);
  file->addSeparator()->setObjectName("N4");
  AddItem(file, "PrintSetup1", "Print Se&tup...", &TMain::PrintSetup1Click);
  AddItem(file, "p1", "Print Pre&view", &TMain::p1Click);
  AddItem(file, "Print1", "&Print", &TMain::Print1Click);
  file->addSeparator()->setObjectName("N1");
  AddItem(file, "Exit1", "E&xit", &TMain::Exit1Click);

  BuildViewMenu();

  QMenu* loggerMenu = menuBar()->addMenu("&Logger");
  loggerMenu->setObjectName("Logger1");
  AddItem(loggerMenu, "ReadAll1", "&Read All", &TMain::ReadAll1Click)->setShortcut(QKeySequence("Ctrl+A"));
  AddItem(loggerMenu, "ReadJustPage01", "Read Just Page &0", &TMain::ReadJustPage01Click)
      ->setShortcut(QKeySequence("Ctrl+R"));
  loggerMenu->addSeparator()->setObjectName("N3");
  AddItem(loggerMenu, "Setup1", "&Setup", &TMain::Setup1Click);
  AddItem(loggerMenu, "SettoPCTime1", "S&et to PC Time", &TMain::SettoPCTime1Click);
  AddItem(loggerMenu, "SetNVram1", "Set &NV ram", &TMain::SetNVram1Click);
  loggerMenu->addSeparator()->setObjectName("N2");
  AddItem(loggerMenu, "Page01", "&Page 0", &TMain::Page01Click);
  AddItem(loggerMenu, "Page11", "P&age 2", &TMain::Page11Click);
  AddItem(loggerMenu, "SerialNumber1", "Se&rial Number", &TMain::SerialNumber1Click);
  AddItem(loggerMenu, "Alarm1", "&Alarm", &TMain::Alarm1Click);
  AddItem(loggerMenu, "Histogram1", "&Histogram", &TMain::Histogram1Click);
  AddItem(loggerMenu, "Temperature1", "&Temperature", &TMain::Temperature1Click);
  // A silent or absent recorder must never trap the user in a wait.
  loggerMenu->addSeparator()->setObjectName("N5");
  QAction* cancel = AddItem(loggerMenu, "Cancel1", "Cancel", &TMain::CancelClick);
  cancel->setShortcut(QKeySequence(Qt::Key_Escape));
  cancel->setEnabled(false);

  QMenu* portMenu = menuBar()->addMenu("&Port");
  portMenu->setObjectName("Port1");
  portGroup_ = new QActionGroup(this);
  portGroup_->setExclusive(true);
  QAction* comm1 = AddItem(portMenu, "mnuComm1", "Comm&1", &TMain::mnuComm1Click);
  QAction* comm2 = AddItem(portMenu, "mnuComm2", "Comm&2", &TMain::mnuComm2Click);
  for (QAction* a : {comm1, comm2}) {
    a->setCheckable(true);
    portGroup_->addAction(a);
  }
  comm1->setChecked(true);
  portMenu->addSeparator()->setObjectName("N6");
  AddItem(portMenu, "mnuChooseDevice", "&Choose Device...", &TMain::ChooseDevice1Click);
  UpdatePortCaptions();

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("Help1");
  AddItem(help, "About1", "&About", &TMain::About1Click);

}

void TMain::BuildArchiveItems(QMenu* file) {
  AddItem(file, "OpenRecentDownload1", "Open Recent &Download...", &TMain::OpenRecentDownload1Click);
  QAction* keep = AddItem(file, "ArchiveDownloads1", "&Archive Downloads", &TMain::ArchiveDownloads1Click);
  keep->setCheckable(true);
  keep->setToolTip("Keep a copy of every download that completes, to open again later");
}

void TMain::AddExportItems(QMenu* file) {
  AddItem(file, "ExportLogAsCsv1", "Export &Log as CSV...", &TMain::ExportLogAsCsv1Click);
  AddItem(file, "ExportChart1", "Export &Chart...", &TMain::ExportChart1Click);
}

void TMain::AddChartLookItems(QMenu* file) {
  file->addSeparator()->setObjectName("N7");
  AddItem(file, "EditChart1", "&Edit Chart...", &TMain::EditChart1Click);
  AddItem(file, "ResetChartLook1", "Reset Chart &Look", &TMain::ResetChartLook1Click);
}

void TMain::BuildViewMenu() {
  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("View1");
  auto* units = new QActionGroup(this);
  units->setExclusive(true);
  QAction* celsius = AddItem(view, "Celsius1", "&Celsius", &TMain::Celsius1Click);
  QAction* fahrenheit = AddItem(view, "Fahrenheit1", "&Fahrenheit", &TMain::Fahrenheit1Click);
  for (QAction* a : {celsius, fahrenheit}) {
    a->setCheckable(true);
    units->addAction(a);
  }
  celsius->setChecked(true);
}

void TMain::BuildLayout() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  // The top strip is the status line: port, activity or notice, summary.
  panel2_ = new StatusPanel(app_->Status(), central);
  column->addWidget(panel2_);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  chart1_ = new platform::ChartHostWidget(chartData_.Chart1(), central);
  chart1_->setObjectName("Chart1");
  chart1_->setMinimumSize(100, 100);
  chart1_->setToolTip(logger::LoggerChart::kHint);
  row->addWidget(chart1_, 1);

  memo1_ = new MemoPane(central);
  memo1_->setFixedWidth(kMemoWidth);
  memo1_->installEventFilter(this);
  row->addWidget(memo1_);
  column->addLayout(row, 1);
  setCentralWidget(central);
}

QAction* TMain::Action(const char* name) const { return findChild<QAction*>(name); }

void TMain::UpdatePortCaptions() {
  const logger::PortPaths& paths = app_->Paths();
  Action("mnuComm1")->setText("Comm&1 (" + MenuText(paths.comm1) + ")");
  Action("mnuComm2")->setText("Comm&2 (" + MenuText(paths.comm2) + ")");
}

void TMain::SetDeviceCommandsEnabled(bool enabled) {
  for (const char* name : kDeviceItems) Action(name)->setEnabled(enabled);
  Action("Cancel1")->setEnabled(!enabled);
}

void TMain::PrintSetup1Click() { printer_->ExecuteSetupDialog(); }

void TMain::p1Click() {
  if (app_->CommandRunning()) return;
  chartPreviewer1_->Execute(this);
}

bool TMain::MayWriteOut(const char* title, const char* question) {
  if (app_->CommandRunning()) return false;
  // A download that stopped part-way left two recordings mixed in the store.
  std::string incomplete = app_->IncompleteStoreText();
  return incomplete.empty() || app_->Ui().messages.AskYesNo(title, incomplete + "\n\n" + question);
}

void TMain::Print1Click() {
  if (!MayWriteOut("Print", "Print it anyway?")) return;
  // Without an installed printer the page goes to a PDF file.
  if (printer_->PrinterIndex() < 0 && printer_->OutputFile().empty()) {
    QString pdf = QFileDialog::getSaveFileName(this, "Print to a PDF File", "Chart1.pdf", "PDF files (*.pdf)");
    if (pdf.isEmpty()) return;
    printer_->SetOutputFile(pdf.toStdString());
  }
  app_->RunCommand([this] {
    chartData_.Chart1().SetPrintDetail(-50);
    plot::PrintPage(chartData_.Chart1(), *printer_);
  });
}

void TMain::Open1Click() { files_->Open1Click(); }

void TMain::Save1Click() { files_->Save1Click(); }

void TMain::ExportLogAsCsv1Click() {
  if (!MayWriteOut("Export Log as CSV", "Export it anyway?")) return;
  std::optional<CsvExportChoice> choice = exportDialogs_->ExecuteCsvExport();
  if (!choice) return;
  choice->options.unit = reports_->Unit();
  app_->RunCommand([&] {
    logger::ExportTemperatureLogCsv(app_->State(), app_->Ui().clock.Now().year, choice->options, timeZone_,
                                    *fileSystem_, choice->path);
    app_->Status().SetNotice("Exported the log to " + choice->path);
  });
}

void TMain::ExportChart1Click() {
  if (!MayWriteOut("Export Chart", "Export it anyway?")) return;
  std::optional<ChartExportChoice> choice = exportDialogs_->ExecuteChartExport(chart1_->width(), chart1_->height());
  if (!choice) return;
  app_->RunCommand([&] {
    // The chart as shown, at its zoom, through quorvel-cli's renderer.
    std::optional<platform::ChartFileFormat> format = platform::ChartFileFormatOf(choice->path);
    if (!format) throw logger::FileError("Cannot write " + choice->path + ": name it .png, .svg or .pdf");
    std::string error;
    if (!platform::ExportChart(chartData_.Chart1(), *format, choice->path, choice->options, error)) {
      throw logger::FileError(error);
    }
    app_->Status().SetNotice("Exported the chart to " + choice->path);
  });
}

void TMain::EditChart1Click() {
  // Cancel gives back the templates too, one may have been loaded meanwhile.
  const std::optional<logger::ChartTemplate> kept[2] = {chartData_.Template(logger::ChartKind::Temperature),
                                                        chartData_.Template(logger::ChartKind::Histogram)};
  if (chartEditor_->Execute(chartData_.Chart1()) == QDialog::Accepted) {
    if (std::optional<logger::ChartKind> shown = chartData_.CurrentDisplay()) {
      chartData_.SetTemplate(*shown, logger::CaptureChartTemplate(chartData_.Chart1(), shown));
    }
    return;
  }
  chartData_.SetTemplate(logger::ChartKind::Temperature, kept[0]);
  chartData_.SetTemplate(logger::ChartKind::Histogram, kept[1]);
}

void TMain::ResetChartLook1Click() {
  chartData_.ResetLook();
  app_->Status().SetNotice("The chart has its first look again");
}

void TMain::SaveChartTemplate() {
  const std::optional<logger::ChartKind> shown = chartData_.CurrentDisplay();
  auto name = templateDialogs_->SaveTemplateName(std::string(shown ? logger::ChartKindName(*shown) : "chart") + ".json");
  if (!name) return;
  try {
    logger::WriteChartTemplateFile(*fileSystem_, *name, logger::CaptureChartTemplate(chartData_.Chart1(), shown));
    app_->Status().SetNotice("Saved the chart template " + *name);
  } catch (const logger::TemplateError& e) {
    app_->Ui().messages.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle, e.Message());
  }
}

void TMain::LoadChartTemplate() {
  auto name = templateDialogs_->OpenTemplateName();
  if (!name) return;
  try {
    logger::ChartTemplate look = logger::ReadChartTemplateFile(*fileSystem_, *name);
    const std::optional<logger::ChartKind> shown = chartData_.CurrentDisplay();
    // A template names its display; one without a name is for the shown one.
    const logger::ChartKind kind = look.chart.value_or(shown.value_or(logger::ChartKind::Temperature));
    chartData_.SetTemplate(kind, std::move(look));
    if (shown == kind) {
      chartData_.ApplyCurrentTemplate();
    } else {
      app_->Status().SetNotice(std::string("The template applies when the ") + logger::ChartKindName(kind) +
                               " chart is shown");
    }
  } catch (const logger::TemplateError& e) {
    app_->Ui().messages.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle, e.Message());
  }
}

void TMain::Celsius1Click() { ChooseUnit(logger::TemperatureUnit::Celsius); }

void TMain::Fahrenheit1Click() { ChooseUnit(logger::TemperatureUnit::Fahrenheit); }

void TMain::ChooseUnit(logger::TemperatureUnit unit) {
  Action(unit == logger::TemperatureUnit::Fahrenheit ? "Fahrenheit1" : "Celsius1")->setChecked(true);
  if (reports_->Unit() == unit) return;
  reports_->SetUnit(unit);
  std::string error;
  if (!appSettings_->RememberUnit(unit, error)) {
    app_->Status().SetNotice("The unit choice was not remembered: " + error);
  }
  app_->RunCommand([this] { reports_->ShowAgain(); });
}

void TMain::ReadAll1Click() { downloads_->ReadAll1Click(); }

void TMain::ReadJustPage01Click() { downloads_->ReadJustPage01Click(); }

void TMain::Exit1Click() {
  app_->RequestAbort();
  close();
}

void TMain::CancelClick() { app_->CancelCommand(); }

void TMain::mnuComm1Click() {
  if (app_->CommandRunning()) return;
  Action("mnuComm1")->setChecked(true);
  app_->ChoosePort(logger::PortChoice::Comm1);
}

void TMain::mnuComm2Click() {
  if (app_->CommandRunning()) return;
  Action("mnuComm2")->setChecked(true);
  app_->ChoosePort(logger::PortChoice::Comm2);
}

void TMain::ChooseDevice1Click() {
  if (app_->CommandRunning()) return;
  logger::PortChoice item = app_->CheckedPort();
  auto chosen = chooseDevice_->Execute(logger::PortItemName(item), app_->PortPath());
  if (!chosen || chosen->empty()) return;
  app_->ChooseDevice(*chosen);
  UpdatePortCaptions();
}

void TMain::OpenRecentDownload1Click() {
  if (app_->CommandRunning()) return;
  std::string problem;
  std::vector<logger::ArchivedDownload> downloads = archive_->List(problem);
  auto chosen = recentDownloads_->Execute(downloads, archive_->Folder(), problem);
  if (!chosen) return;
  files_->OpenDataFile(*chosen);
}

void TMain::ArchiveDownloads1Click() {
  bool on = Action("ArchiveDownloads1")->isChecked();
  archive_->SetEnabled(on);
  std::string error;
  if (!appSettings_->SetArchiveDownloads(on, error)) {
    app_->Status().SetNotice("The archive setting was not remembered: " + error);
  }
}

void TMain::About1Click() { aboutBox_->exec(); }

void TMain::Setup1Click() { configuration_->Setup1Click(); }
void TMain::SettoPCTime1Click() { configuration_->SettoPCTime1Click(); }
void TMain::SetNVram1Click() { configuration_->SetNVram1Click(); }
void TMain::Page01Click() { downloads_->Page01Click(); }
void TMain::Page11Click() { downloads_->Page11Click(); }
void TMain::SerialNumber1Click() { downloads_->SerialNumber1Click(); }
void TMain::Alarm1Click() { downloads_->Alarm1Click(); }
void TMain::Histogram1Click() { downloads_->Histogram1Click(); }
void TMain::Temperature1Click() { downloads_->Temperature1Click(); }

void TMain::closeEvent(QCloseEvent* event) {
  if (app_->CommandRunning()) {
    // Never close from inside a wait: end it like Exit and close once the
    // command has unwound.
    app_->RequestAbort();
    closePending_ = true;
    event->ignore();
    return;
  }
  app_->FormClose();
  event->accept();
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == chart1_ && event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    // After the event returns: the editor is modal.
    QTimer::singleShot(0, this, &TMain::EditChart1Click);
    return true;
  }
  // The pane would take Ctrl+A as "select all"; the menu's shortcuts win
  // anywhere in the window.
  if (watched == memo1_ && event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_A || key->key() == Qt::Key_R)) {
      event->ignore();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace gui
