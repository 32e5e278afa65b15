#include "app/gui/chart_template_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace gui {

namespace {
const char* kFilter = "Chart templates (*.json);;All files (*)";
}

std::optional<std::string> GuiTemplateDialogs::SaveTemplateName(const std::string& suggested) {
  QString start = QString::fromStdString(folder_.empty() ? suggested : folder_ + "/" + suggested);
  QString name = QFileDialog::getSaveFileName(parent_, "Save Chart Template", start, kFilter);
  if (name.isEmpty()) return std::nullopt;
  if (QFileInfo(name).suffix().isEmpty()) name += ".json";
  folder_ = QFileInfo(name).absolutePath().toStdString();
  return name.toStdString();
}

std::optional<std::string> GuiTemplateDialogs::OpenTemplateName() {
  QString name = QFileDialog::getOpenFileName(parent_, "Load Chart Template", QString::fromStdString(folder_), kFilter);
  if (name.isEmpty()) return std::nullopt;
  folder_ = QFileInfo(name).absolutePath().toStdString();
  return name.toStdString();
}

}  // namespace gui
