#include "app/gui/tchoose_device.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/gui/form_buttons.h"
#include "app/gui/window_font.h"

namespace gui {

namespace {
enum Column { kPath, kTarget, kVendor, kProduct, kSerial, kColumns };
}  // namespace

TChooseDevice::TChooseDevice(std::string root, QWidget* parent) : QDialog(parent), root_(std::move(root)) {
  setObjectName("ChooseDevice");
  setWindowTitle("Choose Device");
  setFont(WindowFont());
  setModal(true);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 8);
  column->setSpacing(6);
  heading_ = new QLabel("Serial devices present:", this);
  heading_->setObjectName("Heading");
  column->addWidget(heading_);

  list_ = new QTreeWidget(this);
  list_->setObjectName("DeviceList");
  list_->setColumnCount(kColumns);
  list_->setHeaderLabels({"Device", "Points at", "Vendor", "Product", "Serial number"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setStretchLastSection(true);
  list_->setMinimumSize(DesignPixels(this, 480), DesignPixels(this, 140));
  column->addWidget(list_, 1);
  emptyNote_ = new QLabel("No serial devices found. Plug the recorder's adapter in and press Refresh, or type the "
                          "device's path below.",
                          this);
  emptyNote_->setObjectName("EmptyNote");
  emptyNote_->setWordWrap(true);
  column->addWidget(emptyNote_);

  auto* pathRow = new QHBoxLayout;
  auto* pathLabel = new QLabel("Device &path:", this);
  pathLabel->setObjectName("PathLabel");
  path_ = new QLineEdit(this);
  path_->setObjectName("DevicePath");
  path_->setToolTip("Any serial device, for example /dev/ttyUSB0 or a /dev/serial/by-id/ name");
  pathLabel->setBuddy(path_);
  pathRow->addWidget(pathLabel);
  pathRow->addWidget(path_, 1);
  column->addLayout(pathRow);

  refreshButton_ = new QPushButton("&Refresh", this);
  refreshButton_->setObjectName("RefreshButton");
  refreshButton_->setAutoDefault(false);
  refreshButton_->setMinimumWidth(DesignPixels(refreshButton_, 75));
  const FormButtons buttons = MakeFormButtons(this);
  okButton_ = buttons.ok;
  cancelButton_ = buttons.cancel;
  QHBoxLayout* row = ButtonRow(this, buttons, ButtonPlacement::Right);
  row->insertWidget(0, refreshButton_);
  column->addLayout(row);

  connect(refreshButton_, &QPushButton::clicked, this, &TChooseDevice::RefreshList);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &TChooseDevice::SelectionChanged);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
    SelectionChanged();
    if (okButton_->isEnabled()) accept();
  });
  connect(path_, &QLineEdit::textChanged, this, &TChooseDevice::PathEdited);
  resize(sizeHint());
}

void TChooseDevice::RefreshList() {
  devices_ = platform::ListSerialDevices(root_);
  QString typed = path_->text();
  list_->clear();
  for (const platform::SerialDeviceInfo& d : devices_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kPath, QString::fromStdString(d.path));
    item->setText(kTarget, QString::fromStdString(d.target));
    item->setText(kVendor, QString::fromStdString(d.vendor));
    item->setText(kProduct, QString::fromStdString(d.product));
    item->setText(kSerial, QString::fromStdString(d.serial));
    item->setToolTip(kPath, item->text(kPath));
  }
  // Wide enough to show every column whole, within most of the screen.
  ensurePolished();
  list_->ensurePolished();
  int columns = 0;
  for (int c = 0; c < kColumns; ++c) {
    list_->resizeColumnToContents(c);
    columns += std::max(list_->columnWidth(c), list_->header()->sectionSizeHint(c));
  }
  int limit = DesignPixels(this, 480);
  if (QScreen* screen = this->screen()) limit = std::max(limit, screen->availableGeometry().width() * 9 / 10);
  int frame = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width() + DesignPixels(this, 24);
  list_->setMinimumWidth(std::clamp(columns + frame, DesignPixels(this, 480), limit));
  emptyNote_->setVisible(devices_.empty());
  resize(size().expandedTo(sizeHint()));
  // Show the device in the box as selected when it is in the list.
  path_->setText(typed);
  PathEdited();
}

std::optional<std::string> TChooseDevice::Execute(const std::string& itemName, const std::string& current) {
  setWindowTitle(QString::fromStdString("Choose Device for " + itemName));
  heading_->setText(QString::fromStdString("Serial devices present (the choice is for " + itemName + "):"));
  path_->setText(QString::fromStdString(current));
  RefreshList();
  path_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return path_->text().trimmed().toStdString();
}

void TChooseDevice::SelectionChanged() {
  QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return;
  QString path = selected.front()->text(kPath);
  if (path_->text() != path) path_->setText(path);
}

void TChooseDevice::PathEdited() {
  QString path = path_->text().trimmed();
  okButton_->setEnabled(!path.isEmpty());
  // Keep the list's selection on the typed device, or on none.
  const QSignalBlocker blocker(list_);
  list_->clearSelection();
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    if (list_->topLevelItem(i)->text(kPath) == path) list_->topLevelItem(i)->setSelected(true);
  }
}

}  // namespace gui
