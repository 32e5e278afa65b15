#include "app/download_workflows.h"

#include "app/logger_commands.h"

namespace logger {

bool DownloadWorkflows::ReadAll1Click() {
  bool ran = app_.RunDeviceCommand("Read All", commands::kReadAllBlocks, [this] {
    LoggerProtocol& protocol = app_.Protocol();
    platform::EventPump& pump = app_.Ui().pump;
    protocol.ReadPage0();
    if (protocol.Stopped()) return;
    reports_.ShowPage0();
    pump.ProcessPendingEvents();
    // Each stage replaces the previous report, so the user watches the
    // download progress. A stage whose wait ended without an answer ends the
    // command: its report would only repeat stale entries.
    protocol.ReadPage2();
    if (protocol.Stopped()) return;
    reports_.ShowPage2();
    app_.UpdateCaption();
    pump.ProcessPendingEvents();
    protocol.ReadSerialNumber();
    if (protocol.Stopped()) return;
    reports_.ShowSerialNumber();
    pump.ProcessPendingEvents();
    protocol.ReadAlarmRecords();
    if (protocol.Stopped()) return;
    reports_.ShowAlarms();
    pump.ProcessPendingEvents();
    protocol.ReadHistogram();
    if (protocol.Stopped()) return;
    reports_.ShowHistogram();
    pump.ProcessPendingEvents();
    protocol.ReadTemperatureLog();
    if (protocol.Stopped()) return;
    reports_.ShowTemperature();
  });
  if (ran) ArchiveCompletedDownload();
  return ran;
}

void DownloadWorkflows::ArchiveCompletedDownload() {
  lastArchived_.clear();
  // Only a whole download is kept: one that stopped mixes two recordings.
  if (archive_ == nullptr || !archive_->Enabled() || !app_.LastCommand().completed) return;
  std::string path, problem;
  if (archive_->Keep(app_.State(), path, problem)) {
    lastArchived_ = path;
    // Short, so it shows whole beside the log's statistics; File, Open
    // Recent Download... names the files.
    app_.Status().SetNotice("Download kept in the archive");
    return;
  }
  // The download itself succeeded; only keeping a copy did not.
  app_.Status().SetNotice(problem);
  if (OnArchiveProblem) OnArchiveProblem(problem);
}

bool DownloadWorkflows::ReadJustPage01Click() {
  return app_.RunDeviceCommand("Read Just Page 0", 2, [this] {
    LoggerProtocol& protocol = app_.Protocol();
    protocol.ReadPage2();
    protocol.ReadPage0();
    if (protocol.Stopped()) return;
    reports_.ShowPage0();
    app_.UpdateCaption();
  });
}

void DownloadWorkflows::Page01Click() { app_.RunCommand([this] { reports_.ShowPage0(); }); }
void DownloadWorkflows::Page11Click() { app_.RunCommand([this] { reports_.ShowPage2(); }); }
void DownloadWorkflows::SerialNumber1Click() { app_.RunCommand([this] { reports_.ShowSerialNumber(); }); }
void DownloadWorkflows::Alarm1Click() { app_.RunCommand([this] { reports_.ShowAlarms(); }); }
void DownloadWorkflows::Histogram1Click() { app_.RunCommand([this] { reports_.ShowHistogram(); }); }
void DownloadWorkflows::Temperature1Click() { app_.RunCommand([this] { reports_.ShowTemperature(); }); }

}  // namespace logger
