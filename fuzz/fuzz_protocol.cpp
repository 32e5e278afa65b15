// The recorder protocol over any byte stream from the recorder: downloads,
// Setup, Set to PC Time and Set NV ram run against a port whose received
// bytes come from the input, in fragments of any size, with silences and
// hang-ups. Whatever arrives, the program sends only well-formed commands to
// known addresses, stores only byte values, and ends each command (answer,
// time-out or lost device) without hanging. Every download kept in the
// archive lists back under its own name and reads back as a data file.
//
// Input (FuzzedDataProvider): from the end, the commands and the dialogs'
// choices; from the front, the line and the texts typed into the dialogs.
// The line: before each look at the input queue one control byte (0..40:
// that many bytes arrive, taken from the front; 0xFF: the line hangs up;
// anything else: silence for now).

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/logger_commands.h"
#include "fuzz/logger_rig.h"

namespace {

namespace cmd = logger::commands;
using fuzzsupport::Finding;

class FuzzPort final : public platform::SerialPort {
 public:
  explicit FuzzPort(FuzzedDataProvider& in) : in_(in) {}

  platform::IoError Open(const std::string&) override {
    open_ = true;
    return {};
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  platform::IoError Write(std::string_view bytes, std::size_t& written) override {
    if (lost_) return Lost(written);
    sent.append(bytes);
    written = bytes.size();
    return {};
  }
  platform::IoError QueuedCount(std::size_t& count) override {
    if (!lost_ && in_.remaining_bytes() > 0) {
      const std::uint8_t control = in_.ConsumeBytes<std::uint8_t>(1).at(0);
      if (control <= 40) {
        received_ += in_.ConsumeBytesAsString(control);
      } else if (control == 0xFF) {
        lost_ = true;
      }
    }
    if (lost_) return Lost(count);
    count = received_.size();
    return {};
  }
  platform::IoError Read(std::size_t count, std::string& bytes) override {
    if (lost_) return Lost(count);
    bytes = received_.substr(0, count);
    received_.erase(0, bytes.size());
    return {};
  }
  int WakeDescriptor() const override { return -1; }
  void ConsumeWakeups() override {}

  std::string sent;

 private:
  platform::IoError Lost(std::size_t& count) {
    count = 0;
    return {platform::IoStatus::DeviceLost, 5};
  }
  FuzzedDataProvider& in_;
  bool open_ = false;
  bool lost_ = false;
  std::string received_;
};

class FuzzSettings final : public logger::SettingsDialogView {
 public:
  explicit FuzzSettings(FuzzedDataProvider& in) : in_(in) {}
  bool Execute(logger::SettingsFields& fields) override {
    if (in_.ConsumeBool()) return false;  // Cancel
    if (in_.ConsumeBool()) fields.SampleInterval = in_.ConsumeRandomLengthString(8);
    if (in_.ConsumeBool()) fields.StartDelay = in_.ConsumeRandomLengthString(8);
    if (in_.ConsumeBool()) fields.LowAlarm = in_.ConsumeRandomLengthString(8);
    if (in_.ConsumeBool()) fields.HighAlarm = in_.ConsumeRandomLengthString(8);
    if (in_.ConsumeBool()) fields.NVramEdit = in_.ConsumeRandomLengthString(40);
    fields.ImmediateStart = in_.ConsumeBool();
    // OK as the dialog does it: a value out of range is replaced and OK is
    // pressed once more; a value that does not convert keeps the dialog open
    // and the user cancels.
    try {
      return logger::ValidateSettings(fields) || logger::ValidateSettings(fields);
    } catch (const std::exception&) {
      return false;
    }
  }

 private:
  FuzzedDataProvider& in_;
};

class FuzzNVram final : public logger::NVramDialogView {
 public:
  explicit FuzzNVram(FuzzedDataProvider& in) : in_(in) {}
  bool Execute(std::string& text) override {
    if (in_.ConsumeBool()) return false;
    text = in_.ConsumeRandomLengthString(40);
    return true;
  }

 private:
  FuzzedDataProvider& in_;
};

// Splits what was sent into commands and checks each one.
void CheckSent(const std::string& sent) {
  static const std::set<int> kReadAddresses = [] {
    std::set<int> a = {cmd::kPage0Address, cmd::kPage2Address, cmd::kSerialNumberAddress};
    for (int k = 0; k < cmd::kAlarmRecordBlocks; ++k) a.insert(cmd::kAlarmRecordsAddress + k * cmd::kBlockStride);
    for (int k = 0; k < cmd::kHistogramBlocks; ++k) a.insert(cmd::kHistogramAddress + k * cmd::kBlockStride);
    for (int k = 0; k < cmd::kTemperatureLogBlocks; ++k) a.insert(cmd::kTemperatureLogAddress + k * cmd::kBlockStride);
    return a;
  }();
  static const std::set<int> kWriteAddresses = [] {
    std::set<int> a = {cmd::kLowAlarm, cmd::kHighAlarm, cmd::kSampleRate, cmd::kControl, cmd::kStartDelayLow,
                       cmd::kStartDelayHigh};
    for (int k = 0; k <= 6; ++k) a.insert(cmd::kClockSeconds + k);
    for (int k = 0; k < 32; ++k) a.insert(cmd::kDescription + k);
    return a;
  }();
  std::size_t i = 0;
  auto byte = [&](std::size_t at) { return static_cast<unsigned char>(sent[at]); };
  while (i < sent.size()) {
    if (byte(i) == cmd::kNewRecording) {
      i += 1;
    } else if (byte(i) == cmd::kReadBlock && i + 2 < sent.size()) {
      if (!kReadAddresses.count(byte(i + 1) * 256 + byte(i + 2))) Finding("a read of an unknown address");
      i += 3;
    } else if (byte(i) == cmd::kWriteByte && i + 2 < sent.size()) {
      if (!kWriteAddresses.count(byte(i + 1))) Finding("a write to an unknown address");
      i += 3;
    } else {
      Finding("a malformed command was sent");
    }
  }
}

void CheckArchive(fuzzsupport::LoggerRig& rig) {
  std::size_t dataFiles = 0;
  for (const auto& [path, bytes] : rig.fileSystem.files) {
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".dat") == 0) ++dataFiles;
  }
  std::string error;
  const std::vector<logger::ArchivedDownload> listed = rig.archive.List(error);
  if (!error.empty() || listed.size() != dataFiles) Finding("a kept download is missing from the archive's list");
  for (const logger::ArchivedDownload& entry : listed) {
    if (!rig.fileSystem.files.count(entry.reportPath)) Finding("a kept download without its report");
    const std::string prefix = rig.archive.Folder() + "/" + entry.serial + "-";
    if (entry.dataPath.compare(0, prefix.size(), prefix) != 0) Finding("a kept name without its serial");
    try {
      (void)rig.files.ReadDataFile(entry.dataPath);
    } catch (const std::exception&) {
      Finding("a kept data file does not read back");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  auto owned = std::make_unique<FuzzPort>(in);
  FuzzPort& port = *owned;
  fuzzsupport::LoggerRig rig(std::move(owned));
  FuzzSettings settings(in);
  FuzzNVram nvram(in);
  logger::LoggerConfiguration configuration(rig.app, rig.reports, settings, nvram);
  rig.app.Protocol().SetAnswerTimeoutMs(1000);
  if (!rig.app.OpenPort()) Finding("the port did not open");

  for (int n = 0; n < 4 && in.remaining_bytes() > 0; ++n) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0: rig.downloads.ReadAll1Click(); break;
      case 1: rig.downloads.ReadJustPage01Click(); break;
      case 2: configuration.Setup1Click(); break;
      case 3: configuration.SettoPCTime1Click(); break;
      case 4: configuration.SetNVram1Click(); break;
      default: rig.downloads.Histogram1Click(); break;
    }
    if (rig.app.CommandRunning()) Finding("a command did not end");
  }
  CheckSent(port.sent);
  for (std::int32_t entry : rig.app.State().LoggerData.Entries()) {
    if (entry < 0 || entry > 255) Finding("a download stored something other than a byte");
  }
  fuzzsupport::CheckPaneLines(rig.pane, "after the commands");
  CheckArchive(rig);
  return 0;
}
