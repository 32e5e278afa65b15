#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "platform/posix/serial_device_list.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace gui {

// Port, Choose Device...: the serial devices present, with their USB
// details, and a box for any other path. Made once and reused; the list is
// read again every time the form opens (and on Refresh), so an adapter
// plugged in meanwhile shows up.
class TChooseDevice final : public QDialog {
  Q_OBJECT

 public:
  // `root` is where /dev and /sys are read ("/"; tests give a fake tree).
  explicit TChooseDevice(std::string root = "/", QWidget* parent = nullptr);

  // Shows the form for the Port item `itemName` ("Comm1"), its box holding
  // `current`; the chosen path, or nullopt when cancelled.
  std::optional<std::string> Execute(const std::string& itemName, const std::string& current);

  // Reads the devices again and fills the list.
  void RefreshList();

  QTreeWidget* DeviceList() const { return list_; }
  QLineEdit* DevicePath() const { return path_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  QPushButton* RefreshButton() const { return refreshButton_; }
  QLabel* EmptyNote() const { return emptyNote_; }

 private:
  void SelectionChanged();
  void PathEdited();

  std::string root_;
  std::vector<platform::SerialDeviceInfo> devices_;
  QLabel* heading_;
  QTreeWidget* list_;
  QLabel* emptyNote_;
  QLineEdit* path_;
  QPushButton* refreshButton_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace gui
