#include "platform/posix/serial_device_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>

namespace platform {

namespace fs = std::filesystem;

namespace {

// First line of a sysfs attribute, without surrounding blanks; empty when absent.
std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  while (!line.empty() && blank(static_cast<unsigned char>(line.back()))) line.pop_back();
  std::size_t start = 0;
  while (start < line.size() && blank(static_cast<unsigned char>(line[start]))) ++start;
  return line.substr(start);
}

// `p` as seen from inside `root`: "/dev/ttyUSB0".
std::string Shown(const fs::path& root, const fs::path& p) {
  fs::path relative = p.lexically_normal().lexically_relative(root.lexically_normal());
  if (relative.empty() || *relative.begin() == "..") return p.lexically_normal().string();
  std::string shown = "/";
  return shown += relative.string();
}

// Kernel names order by their number: ttyUSB2 before ttyUSB10.
bool NaturalLess(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    std::size_t digits = s.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(s[digits - 1]))) --digits;
    long number = digits < s.size() ? std::stol(s.substr(digits, 9)) : -1;
    return std::make_pair(s.substr(0, digits), number);
  };
  return split(a) < split(b);
}

// Vendor, product and serial number of the USB device above a tty, read
// from the first ancestor in sysfs that carries USB ids.
void ReadUsbDetails(const fs::path& root, const std::string& kernelName, SerialDeviceInfo& info) {
  std::error_code ec;
  fs::path sys = fs::canonical(root / "sys", ec);
  if (ec) return;
  fs::path device = fs::canonical(root / "sys/class/tty" / kernelName / "device", ec);
  if (ec) return;
  // The interface sits one level below the USB device, the tty at most a
  // few more; stop at the top of sysfs.
  for (int level = 0; level < 6; ++level, device = device.parent_path()) {
    if (device == sys || device.string().rfind(sys.string() + "/", 0) != 0) return;
    if (!fs::exists(device / "idVendor", ec)) continue;
    std::string manufacturer = ReadAttribute(device / "manufacturer");
    std::string product = ReadAttribute(device / "product");
    info.vendor = !manufacturer.empty() ? manufacturer : ReadAttribute(device / "idVendor");
    info.product = !product.empty() ? product : ReadAttribute(device / "idProduct");
    info.serial = ReadAttribute(device / "serial");
    return;
  }
}

// A ttyS port is listed only when the kernel found a UART behind it; the
// others (type 0, "unknown") are placeholders that fail every transfer.
bool HasUart(const fs::path& root, const std::string& kernelName) {
  std::string type = ReadAttribute(root / "sys/class/tty" / kernelName / "type");
  return !type.empty() && type.find_first_not_of('0') != std::string::npos &&
         std::all_of(type.begin(), type.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::vector<fs::path> Entries(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end(),
            [](const fs::path& a, const fs::path& b) { return NaturalLess(a.filename().string(), b.filename().string()); });
  return entries;
}

}  // namespace

std::vector<SerialDeviceInfo> ListSerialDevices(const std::string& rootText) {
  const fs::path root = rootText.empty() ? fs::path("/") : fs::path(rootText);
  std::vector<SerialDeviceInfo> devices;
  std::error_code ec;

  // Stable names first: they stay the same whichever order adapters are
  // plugged in.
  for (const fs::path& link : Entries(root / "dev/serial/by-id")) {
    if (!fs::is_symlink(link, ec)) continue;
    fs::path target = fs::read_symlink(link, ec);
    if (ec) continue;
    fs::path onDisk = target.is_absolute() ? root / target.relative_path() : link.parent_path() / target;
    SerialDeviceInfo info;
    info.path = Shown(root, link);
    info.target = Shown(root, onDisk);
    ReadUsbDetails(root, onDisk.filename().string(), info);
    devices.push_back(std::move(info));
  }

  static const std::regex kUsb("ttyUSB[0-9]+"), kAcm("ttyACM[0-9]+"), kUart("ttyS[0-9]+");
  const std::vector<fs::path> dev = Entries(root / "dev");
  for (const std::regex* pattern : {&kUsb, &kAcm, &kUart}) {
    for (const fs::path& node : dev) {
      std::string name = node.filename().string();
      if (!std::regex_match(name, *pattern)) continue;
      if (pattern == &kUart && !HasUart(root, name)) continue;
      SerialDeviceInfo info;
      info.path = Shown(root, node);
      ReadUsbDetails(root, name, info);
      devices.push_back(std::move(info));
    }
  }
  return devices;
}

std::string SerialDeviceLine(const SerialDeviceInfo& device) {
  // A tab or line break inside a field would break the columns.
  auto field = [](std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
  };
  return field(device.path) + '\t' + field(device.target) + '\t' + field(device.vendor) + '\t' +
         field(device.product) + '\t' + field(device.serial);
}

}  // namespace platform
