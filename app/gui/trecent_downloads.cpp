#include "app/gui/trecent_downloads.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/form_buttons.h"
#include "app/gui/window_font.h"

namespace gui {

namespace {
enum Column { kDownloaded, kSerial, kStart, kSamples, kColumns };
}  // namespace

TRecentDownloads::TRecentDownloads(QWidget* parent) : QDialog(parent) {
  setObjectName("RecentDownloads");
  setWindowTitle("Open Recent Download");
  setFont(WindowFont());
  setModal(true);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 8);
  column->setSpacing(6);
  heading_ = new QLabel(this);
  heading_->setObjectName("Heading");
  heading_->setWordWrap(true);
  column->addWidget(heading_);

  list_ = new QTreeWidget(this);
  list_->setObjectName("DownloadList");
  list_->setColumnCount(kColumns);
  list_->setHeaderLabels({"Downloaded", "Serial number", "Log starts", "Samples"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setStretchLastSection(true);
  list_->setMinimumSize(DesignPixels(this, 480), DesignPixels(this, 200));
  column->addWidget(list_, 1);
  note_ = new QLabel(this);
  note_->setObjectName("Note");
  note_->setWordWrap(true);
  column->addWidget(note_);

  const FormButtons buttons = MakeFormButtons(this, "&Open");
  okButton_ = buttons.ok;
  cancelButton_ = buttons.cancel;
  column->addLayout(ButtonRow(this, buttons, ButtonPlacement::Right));

  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QTreeWidget::itemSelectionChanged, this,
          [this] { okButton_->setEnabled(!list_->selectedItems().isEmpty()); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
  resize(sizeHint());
}

void TRecentDownloads::Fill(const std::vector<logger::ArchivedDownload>& downloads) {
  list_->clear();
  paths_.clear();
  for (const logger::ArchivedDownload& d : downloads) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kDownloaded, QString::fromStdString(d.downloadedAt));
    item->setText(kSerial, QString::fromStdString(d.serial));
    item->setText(kStart, QString::fromStdString(d.problem.empty() ? d.startTime : "(cannot be read)"));
    item->setText(kSamples, d.samples >= 0 ? QString::number(d.samples) : QString());
    item->setTextAlignment(kSamples, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(kDownloaded, QString::fromStdString(d.problem.empty() ? d.dataPath : d.problem));
    paths_.push_back(d.dataPath);
  }
  for (int c = 0; c < kColumns; ++c) list_->resizeColumnToContents(c);
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  okButton_->setEnabled(list_->topLevelItemCount() > 0);
}

std::optional<std::string> TRecentDownloads::Execute(const std::vector<logger::ArchivedDownload>& downloads,
                                                     const std::string& folder, const std::string& problem) {
  heading_->setText(QString::fromStdString("Downloads kept in " + folder + ", newest first:"));
  Fill(downloads);
  if (!problem.empty()) {
    note_->setText(QString::fromStdString(problem));
  } else if (downloads.empty()) {
    note_->setText("No download has been kept yet: every Read All that completes is kept here.");
  } else {
    note_->clear();
  }
  note_->setVisible(!note_->text().isEmpty());
  list_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  int row = list_->indexOfTopLevelItem(selected.front());
  if (row < 0 || row >= static_cast<int>(paths_.size())) return std::nullopt;
  return paths_[static_cast<std::size_t>(row)];
}

}  // namespace gui
