#include "app/gui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace gui {

QString QtNameFilters(const std::string& filter) {
  // Pairs of "description|patterns"; Qt shows the description, which already
  // names the patterns, and "*.*" means every file.
  QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    if (patterns == "*.*") patterns = "*";
    QString description = parts[i];
    description.replace("(*.*)", "(*)");
    filters << (description.contains('(') ? description : description + " (" + patterns + ")");
  }
  return filters.join(";;");
}

std::optional<std::string> GuiFileDialogs::SaveDialog1Execute() {
  QFileDialog dialog(parent_, "Save All Data to a File");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QtNameFilters("Logger data file (*.log)|*.log|All files (*.*)|*.*"));
  // Save asks about replacing once the name is chosen, naming both files
  // it writes (the report and its .dat); the dialog would ask about one.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (!lastFolder_.isEmpty()) dialog.setDirectory(lastFolder_);
  dialog.selectFile("Data1.log");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  QString chosen = dialog.selectedFiles().first();
  lastFolder_ = QFileInfo(chosen).absolutePath();
  return chosen.toStdString();
}

std::optional<std::string> GuiFileDialogs::OpenDialog1Execute(const std::string& fileName) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QtNameFilters("Data files (*.dat)|*.dat|All files (*.*)|*.*"));
  if (!lastFolder_.isEmpty()) dialog.setDirectory(lastFolder_);
  if (!fileName.empty()) dialog.selectFile(QString::fromStdString(fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  QString chosen = dialog.selectedFiles().first();
  lastFolder_ = QFileInfo(chosen).absolutePath();
  return chosen.toStdString();
}

}  // namespace gui
