#pragma once

#include <string>
#include <vector>

namespace platform {

// A serial device present on the system, with what the kernel tells about the
// USB adapter behind it.
struct SerialDeviceInfo {
  std::string path;     // as the user opens it: "/dev/serial/by-id/usb-FTDI_...", "/dev/ttyUSB0"
  std::string target;   // the device a by-id link points at ("/dev/ttyUSB0"); empty otherwise
  std::string vendor;   // the USB manufacturer's name, else its vendor id; empty without USB
  std::string product;  // the USB product's name, else its product id
  std::string serial;   // the USB serial number
};

// The serial devices under `root` (normally "/"; tests give a folder that
// holds a fake dev/ and sys/ tree): the stable /dev/serial/by-id links first,
// then /dev/ttyUSB*, /dev/ttyACM*, and the /dev/ttyS* ports that have a real
// UART behind them. Paths are shown as seen from `root`. Never opens a device.
std::vector<SerialDeviceInfo> ListSerialDevices(const std::string& root = "/");

// One device a line for the console: path, target, vendor, product and
// serial number, separated by tabs.
std::string SerialDeviceLine(const SerialDeviceInfo& device);

}  // namespace platform
