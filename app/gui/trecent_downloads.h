#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "app/download_archive.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace gui {

// File, Open Recent Download...: the downloads kept in the archive, newest
// first, with the recorder's serial number, when the log starts and how many
// samples it holds. Made once and reused.
class TRecentDownloads final : public QDialog {
  Q_OBJECT

 public:
  explicit TRecentDownloads(QWidget* parent = nullptr);

  // Shows the list (`folder` named above it, `problem` below it when the
  // archive cannot be read); the chosen download's data file, or nullopt.
  std::optional<std::string> Execute(const std::vector<logger::ArchivedDownload>& downloads, const std::string& folder,
                                     const std::string& problem);

  QTreeWidget* List() const { return list_; }
  QLabel* Note() const { return note_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 private:
  void Fill(const std::vector<logger::ArchivedDownload>& downloads);

  QLabel* heading_;
  QTreeWidget* list_;
  QLabel* note_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  std::vector<std::string> paths_;
};

}  // namespace gui
