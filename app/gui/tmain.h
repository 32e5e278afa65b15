#pragma once

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>

#include "app/answer_timeout.h"
#include "app/gui/chart_template_dialogs.h"
#include "app/gui/export_dialogs.h"
#include "app/app_settings.h"
#include "app/chart_display.h"
#include "app/logger_chart.h"
#include "app/data_files.h"
#include "app/download_archive.h"
#include "app/download_workflows.h"
#include "app/logger_app.h"
#include "app/logger_configuration.h"
#include "app/logger_reports.h"
#include "platform/posix/system_time_zone.h"
#include "platform/qt_widgets/qt_event_pump.h"
#include "platform/qt_widgets/qt_user_messages.h"

class QAction;
class QActionGroup;
class QMenu;

namespace platform {
class Clock;
class Printer;
class TChartPreviewer;
class TChartEditor;
}

namespace gui {

class MemoPane;
class StatusPanel;
class TAboutBox;
class TChooseDevice;
class TRecentDownloads;
class TNVram;
class TSettings;

// The main window: menu bar, the chart on the left and the report pane on
// the right. It owns the program-wide state (through LoggerApp) and hands
// every menu command to the workflow that does the work.
class TMain final : public QMainWindow {
  Q_OBJECT

 public:
  struct Options {
    logger::PortPaths ports;
    // Tests inject their own message boxes and serial port; null means the
    // real ones.
    platform::UserMessages* messages = nullptr;
    std::unique_ptr<platform::SerialPort> port;
    platform::Clock* clock = nullptr;
    logger::FileDialogView* fileDialogs = nullptr;
    ExportDialogView* exportDialogs = nullptr;
    TemplateDialogView* templateDialogs = nullptr;
    platform::Printer* printer = nullptr;
    // Where device choices are remembered; null remembers nothing.
    logger::SettingsStore* settings = nullptr;
    // Where Choose Device reads /dev and /sys ("/"; tests give a fake tree).
    std::string deviceRoot = "/";
    // How long a command waits for each answer; negative waits until Exit
    // or Cancel.
    int answerTimeoutMs = logger::kDefaultAnswerTimeoutMs;
    // Where completed downloads are kept (empty: the user's data folder,
    // $XDG_DATA_HOME/quorvel/downloads), and whether they are kept at all
    // this run (--no-archive; else the remembered setting).
    std::string archiveFolder;
    std::optional<bool> archiveDownloads;
  };

  explicit TMain(Options options);
  ~TMain() override;

  logger::LoggerApp& App() { return *app_; }
  MemoPane& Memo1() { return *memo1_; }
  QWidget& Chart1() { return *chart1_; }
  TAboutBox& AboutBox() { return *aboutBox_; }
  TSettings& Settings() { return *settings_; }
  TNVram& NVram() { return *nvram_; }
  TChooseDevice& ChooseDevice() { return *chooseDevice_; }
  TRecentDownloads& RecentDownloads() { return *recentDownloads_; }
  logger::DownloadArchive& Archive() { return *archive_; }
  StatusPanel& Panel2() { return *panel2_; }
  platform::TChartPreviewer& ChartPreviewer1() { return *chartPreviewer1_; }
  logger::LoggerChart& ChartData() { return chartData_; }
  platform::TChartEditor& ChartEditor() { return *chartEditor_; }
  QAction* Action(const char* name) const;

  // Menu handlers, named after their items.
  void PrintSetup1Click();
  void p1Click();
  void Print1Click();
  void Open1Click();
  void Save1Click();
  void ExportLogAsCsv1Click();
  void ExportChart1Click();
  // File, Edit Chart... (or a double-click on the chart): the chart editor
  // on Chart1; OK keeps the look as the shown display's template.
  void EditChart1Click();
  // File, Reset Chart Look: both templates forgotten, the configured look.
  void ResetChartLook1Click();
  void Celsius1Click();
  void Fahrenheit1Click();
  void ReadAll1Click();
  void ReadJustPage01Click();
  void Setup1Click();
  void SettoPCTime1Click();
  void SetNVram1Click();
  void Page01Click();
  void Page11Click();
  void SerialNumber1Click();
  void Alarm1Click();
  void Histogram1Click();
  void Temperature1Click();
  void Exit1Click();
  void CancelClick();
  void mnuComm1Click();
  void mnuComm2Click();
  void ChooseDevice1Click();
  void OpenRecentDownload1Click();
  void ArchiveDownloads1Click();
  void About1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  // File, Open Recent Download... and Archive Downloads.
  void BuildArchiveItems(QMenu* file);
  void AddExportItems(QMenu* file);
  void AddChartLookItems(QMenu* file);
  void SaveChartTemplate();
  void LoadChartTemplate();
  void BuildViewMenu();
  // Shows temperatures in `unit` from now on: the radio item, the reports
  // drawn again, the choice remembered.
  void ChooseUnit(logger::TemperatureUnit unit);
  void BuildLayout();
  void SetDeviceCommandsEnabled(bool enabled);
  // Whether the store may be printed or exported now: not while a command
  // waits, and after an incomplete download only when the user says so.
  bool MayWriteOut(const char* title, const char* question);
  // The Comm items show their devices: "Comm1 (/dev/ttyUSB0)".
  void UpdatePortCaptions();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption, void (TMain::*handler)());

  platform::QtEventPump pump_;
  platform::QtBusyCursor cursor_;
  platform::QtUserMessages qtMessages_;
  std::unique_ptr<platform::Clock> ownedClock_;
  std::unique_ptr<logger::MemorySettingsStore> ownedSettingsStore_;
  std::unique_ptr<logger::AppSettings> appSettings_;
  std::unique_ptr<logger::LoggerApp> app_;
  logger::LoggerChart chartData_;
  std::unique_ptr<logger::LoggerReports> reports_;
  std::unique_ptr<logger::DownloadWorkflows> downloads_;
  std::unique_ptr<logger::LoggerConfiguration> configuration_;
  std::unique_ptr<logger::FileDialogView> ownedFileDialogs_;
  std::unique_ptr<platform::FileSystem> fileSystem_;
  std::unique_ptr<logger::LoggerFiles> files_;
  std::unique_ptr<logger::DownloadArchive> archive_;
  std::unique_ptr<ExportDialogView> ownedExportDialogs_;
  ExportDialogView* exportDialogs_ = nullptr;
  platform::SystemTimeZone timeZone_;
  std::unique_ptr<platform::Printer> ownedPrinter_;
  platform::Printer* printer_ = nullptr;
  std::unique_ptr<platform::TChartPreviewer> chartPreviewer1_;
  platform::TChartEditor* chartEditor_ = nullptr;
  std::unique_ptr<TemplateDialogView> ownedTemplateDialogs_;
  TemplateDialogView* templateDialogs_ = nullptr;
  TSettings* settings_ = nullptr;
  TNVram* nvram_ = nullptr;
  MemoPane* memo1_ = nullptr;
  QWidget* chart1_ = nullptr;  // hosts chartData_.Chart1()
  TAboutBox* aboutBox_ = nullptr;
  TChooseDevice* chooseDevice_ = nullptr;
  TRecentDownloads* recentDownloads_ = nullptr;
  StatusPanel* panel2_ = nullptr;
  QActionGroup* portGroup_ = nullptr;
  // Closing was asked for while a command waited: close once it unwinds.
  bool closePending_ = false;
};

}  // namespace gui
