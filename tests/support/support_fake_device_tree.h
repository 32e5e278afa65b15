#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A folder laid out like the parts of /dev and /sys the device list reads:
// device nodes (plain files), /dev/serial/by-id links, and sysfs class
// links leading to USB devices with their ids and strings, or to UARTs with
// their type. Removed with the object.
class FakeDeviceTree {
 public:
  FakeDeviceTree();
  ~FakeDeviceTree();
  FakeDeviceTree(const FakeDeviceTree&) = delete;
  FakeDeviceTree& operator=(const FakeDeviceTree&) = delete;

  struct Usb {
    std::string kernelName;    // "ttyUSB0" or "ttyACM0"
    std::string byId;          // link name under /dev/serial/by-id; empty for none
    std::string idVendor = "0403";
    std::string idProduct = "6001";
    std::string manufacturer;  // empty: the file is absent
    std::string product;
    std::string serial;
    int port = 2;              // the USB port, for a distinct sysfs path
  };
  void AddUsb(const Usb& usb);
  // A ttyS port with the kernel's UART type (0: no hardware behind it).
  void AddUart(const std::string& kernelName, int type);
  // A device node alone, with nothing in sysfs.
  void AddNode(const std::string& name);
  // Unplugging: the node, its by-id link and its sysfs entry go.
  void Remove(const std::string& kernelName, const std::string& byId = {});

  const std::filesystem::path& Root() const { return root_; }

 private:
  void Write(const std::filesystem::path& file, const std::string& text);
  std::filesystem::path root_;
};

}  // namespace testsupport
