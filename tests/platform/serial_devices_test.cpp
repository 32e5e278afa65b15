// The serial device list over a fake /dev and /sys tree, and how the POSIX
// port reports a device it cannot open.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/posix_serial_port.h"
#include "platform/posix/serial_device_list.h"
#include "tests/support/support_fake_device_tree.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FakeDeviceTree;

std::vector<std::string> Lines(const std::string& root) {
  std::vector<std::string> lines;
  for (const platform::SerialDeviceInfo& d : platform::ListSerialDevices(root)) {
    lines.push_back(platform::SerialDeviceLine(d));
  }
  return lines;
}

// Two FTDI adapters (one with a by-id name), an ACM modem without strings,
// a bare node, two UARTs of which one has no hardware, and nodes that are no
// serial devices at all.
void FillTypicalTree(FakeDeviceTree& tree) {
  FakeDeviceTree::Usb ftdi;
  ftdi.kernelName = "ttyUSB0";
  ftdi.byId = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  ftdi.manufacturer = "FTDI";
  ftdi.product = "FT232R USB UART";
  ftdi.serial = "A50285BI";
  ftdi.port = 2;
  tree.AddUsb(ftdi);
  FakeDeviceTree::Usb second = ftdi;
  second.kernelName = "ttyUSB10";
  second.byId = "";
  second.serial = "B7";
  second.port = 4;
  tree.AddUsb(second);
  FakeDeviceTree::Usb acm;
  acm.kernelName = "ttyACM0";
  acm.byId = "usb-2341_0043-if00";
  acm.idVendor = "2341";
  acm.idProduct = "0043";
  acm.port = 3;
  tree.AddUsb(acm);
  tree.AddNode("ttyUSB2");  // in /dev, nothing in sysfs
  tree.AddUart("ttyS0", 4);
  tree.AddUart("ttyS1", 0);  // a placeholder without a UART
  tree.AddNode("ttyS2");      // no sysfs entry: no UART reported
  tree.AddNode("tty0");
  tree.AddNode("ttyprintk");
  tree.AddNode("ttyUSB");
}

TEST(SerialDeviceList, ByIdFirstThenUsbAcmAndRealUartsWithUsbDetails) {
  FakeDeviceTree tree;
  FillTypicalTree(tree);
  std::vector<std::string> expected = {
      "/dev/serial/by-id/usb-2341_0043-if00\t/dev/ttyACM0\t2341\t0043\t",
      "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\t/dev/ttyUSB0\tFTDI\tFT232R USB UART\tA50285BI",
      "/dev/ttyUSB0\t\tFTDI\tFT232R USB UART\tA50285BI",
      "/dev/ttyUSB2\t\t\t\t",
      "/dev/ttyUSB10\t\tFTDI\tFT232R USB UART\tB7",
      "/dev/ttyACM0\t\t2341\t0043\t",
      "/dev/ttyS0\t\t\t\t",
  };
  EXPECT_EQ(Lines(tree.Root().string()), expected);
}

TEST(SerialDeviceList, ReadAgainAfterUnplugAndPlugAndWithAbsoluteLinks) {
  FakeDeviceTree tree;
  FillTypicalTree(tree);
  tree.Remove("ttyUSB0", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  std::vector<std::string> lines = Lines(tree.Root().string());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].substr(0, lines[0].find('\t')), "/dev/serial/by-id/usb-2341_0043-if00");
  EXPECT_EQ(lines[1].substr(0, lines[1].find('\t')), "/dev/ttyUSB2");

  // A link written with an absolute target is read inside the tree.
  FakeDeviceTree::Usb usb;
  usb.kernelName = "ttyUSB1";
  usb.manufacturer = "Prolific";
  usb.product = "USB-Serial Controller";
  usb.port = 5;
  tree.AddUsb(usb);
  fs::create_symlink("/dev/ttyUSB1", tree.Root() / "dev/serial/by-id/usb-Prolific-if00-port0");
  lines = Lines(tree.Root().string());
  EXPECT_EQ(lines[1], "/dev/serial/by-id/usb-Prolific-if00-port0\t/dev/ttyUSB1\tProlific\tUSB-Serial Controller\t");
}

TEST(SerialDeviceList, NoTreeGivesNoDevicesAndFieldsKeepTheirColumns) {
  EXPECT_TRUE(platform::ListSerialDevices("/nonexistent/quorvel-root").empty());
  FakeDeviceTree empty;
  EXPECT_TRUE(platform::ListSerialDevices(empty.Root().string()).empty());
  platform::SerialDeviceInfo odd{"/dev/ttyUSB0", "", "Acme\tInc", "Cable\nPro", "1"};
  EXPECT_EQ(platform::SerialDeviceLine(odd), "/dev/ttyUSB0\t\tAcme Inc\tCable Pro\t1");
}

// --- Opening a device that cannot be opened

struct Pty {
  Pty() {
    char name[256];
    if (::openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
  }
  ~Pty() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
  }
  int master = -1, slave = -1;
  std::string path;
};

TEST(PosixPortOpen, MissingBusyAndReleasedDevices) {
  platform::PosixSerialPort port;
  platform::IoError missing = port.Open("/nonexistent/quorvel-no-such-port");
  EXPECT_EQ(missing.status, platform::IoStatus::NotFound);
  EXPECT_FALSE(port.IsOpen());

  Pty pty;
  ASSERT_FALSE(pty.path.empty());
  // Another program holds the device's lock (as terminal programs do).
  int other = ::open(pty.path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  platform::IoError busy = port.Open(pty.path);
  EXPECT_EQ(busy.status, platform::IoStatus::Busy);
  EXPECT_EQ(busy.Describe(), "Device or resource busy");
  EXPECT_FALSE(port.IsOpen());
  ::close(other);
  EXPECT_TRUE(port.Open(pty.path).Ok());

  // While we hold it, the next program is told it is busy; reopening our
  // own port (close first) works.
  platform::PosixSerialPort second;
  EXPECT_EQ(second.Open(pty.path).status, platform::IoStatus::Busy);
  EXPECT_TRUE(port.Open(pty.path).Ok());
}

TEST(PosixPortOpen, DescribesWhoMayOpenTheDevice) {
  // A stand-in node owned like a real serial device: root:dialout 0660.
  group* dialout = ::getgrnam("dialout");
  if (dialout == nullptr || ::geteuid() != 0) GTEST_SKIP() << "needs root and a dialout group";
  fs::path node = fs::path(::testing::TempDir()) / ("quorvel-access-" + std::to_string(::getpid()));
  { std::ofstream(node.string()) << ""; }
  ASSERT_EQ(::chown(node.c_str(), 0, dialout->gr_gid), 0);
  ASSERT_EQ(::chmod(node.c_str(), 0660), 0);
  platform::PosixSerialPort port;
  platform::DeviceAccess access = port.DescribeAccess(node.string());
  EXPECT_TRUE(access.known);
  EXPECT_EQ(access.owner, "root");
  EXPECT_EQ(access.group, "dialout");
  EXPECT_TRUE(access.groupMayReadWrite);
  EXPECT_EQ(access.userName, "root");
  ASSERT_EQ(::chmod(node.c_str(), 0600), 0);
  EXPECT_FALSE(port.DescribeAccess(node.string()).groupMayReadWrite);
  fs::remove(node);
  EXPECT_FALSE(port.DescribeAccess(node.string()).known);
}

}  // namespace
