#include "app/download_workflows.h"

namespace logger {

bool DownloadWorkflows::ReadAll1Click() {
  return app_.RunDeviceCommand([this] {
    LoggerProtocol& protocol = app_.Protocol();
    platform::EventPump& pump = app_.Ui().pump;
    protocol.ReadPage0();
    if (protocol.Stopped()) return;
    pump.ProcessPendingEvents();
    protocol.ReadPage2();
    app_.UpdateCaption();
    pump.ProcessPendingEvents();
    protocol.ReadSerialNumber();
    pump.ProcessPendingEvents();
    protocol.ReadAlarmRecords();
    pump.ProcessPendingEvents();
    protocol.ReadHistogram();
    pump.ProcessPendingEvents();
    protocol.ReadTemperatureLog();
  });
}

bool DownloadWorkflows::ReadJustPage01Click() {
  return app_.RunDeviceCommand([this] {
    LoggerProtocol& protocol = app_.Protocol();
    protocol.ReadPage2();
    protocol.ReadPage0();
    app_.UpdateCaption();
  });
}

}  // namespace logger
