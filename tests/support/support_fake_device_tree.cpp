#include "tests/support/support_fake_device_tree.h"

#include <unistd.h>

#include <fstream>

namespace testsupport {

namespace fs = std::filesystem;

FakeDeviceTree::FakeDeviceTree() {
  std::string pattern = (fs::temp_directory_path() / "quorvel-devices-XXXXXX").string();
  root_ = ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
  fs::create_directories(root_ / "dev");
  fs::create_directories(root_ / "sys/class/tty");
}

FakeDeviceTree::~FakeDeviceTree() {
  std::error_code ec;
  if (!root_.empty()) fs::remove_all(root_, ec);
}

void FakeDeviceTree::Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text << "\n";
}

void FakeDeviceTree::AddNode(const std::string& name) { Write(root_ / "dev" / name, ""); }

void FakeDeviceTree::AddUsb(const Usb& usb) {
  AddNode(usb.kernelName);
  // As the kernel lays it out: the USB device, its interface, the tty below.
  std::string busPort = "1-" + std::to_string(usb.port);
  fs::path device = fs::path("devices/pci0000:00/0000:00:14.0/usb1") / busPort;
  fs::path interface = device / (busPort + ":1.0");
  bool acm = usb.kernelName.rfind("ttyACM", 0) == 0;
  // usb-serial puts a ttyUSBn device between the interface and its tty; the
  // ACM driver hangs the tty on the interface itself.
  fs::path parent = acm ? interface : interface / usb.kernelName;
  fs::path tty = parent / "tty" / usb.kernelName;
  fs::path sys = root_ / "sys";
  Write(sys / device / "idVendor", usb.idVendor);
  Write(sys / device / "idProduct", usb.idProduct);
  if (!usb.manufacturer.empty()) Write(sys / device / "manufacturer", usb.manufacturer);
  if (!usb.product.empty()) Write(sys / device / "product", usb.product);
  if (!usb.serial.empty()) Write(sys / device / "serial", usb.serial);
  fs::create_directories(sys / tty);
  fs::create_directory_symlink(fs::path("../..") / tty, sys / "class/tty" / usb.kernelName);
  fs::create_directory_symlink(acm ? fs::path("../../..") / (busPort + ":1.0") : fs::path("../../..") / usb.kernelName,
                               sys / tty / "device");
  if (!usb.byId.empty()) {
    fs::create_directories(root_ / "dev/serial/by-id");
    fs::create_symlink(fs::path("../..") / usb.kernelName, root_ / "dev/serial/by-id" / usb.byId);
  }
}

void FakeDeviceTree::AddUart(const std::string& kernelName, int type) {
  AddNode(kernelName);
  fs::path tty = fs::path("devices/platform/serial8250/tty") / kernelName;
  Write(root_ / "sys" / tty / "type", std::to_string(type));
  fs::create_directory_symlink(fs::path("../..") / tty, root_ / "sys/class/tty" / kernelName);
}

void FakeDeviceTree::Remove(const std::string& kernelName, const std::string& byId) {
  std::error_code ec;
  fs::remove(root_ / "dev" / kernelName, ec);
  fs::remove(root_ / "sys/class/tty" / kernelName, ec);
  if (!byId.empty()) fs::remove(root_ / "dev/serial/by-id" / byId, ec);
}

}  // namespace testsupport
