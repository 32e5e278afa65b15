#pragma once

#include <QString>

#include "app/data_files.h"

class QWidget;

namespace gui {

// File, Open and File, Save's standard dialogs.
class GuiFileDialogs final : public logger::FileDialogView {
 public:
  explicit GuiFileDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> SaveDialog1Execute() override;
  std::optional<std::string> OpenDialog1Execute(const std::string& fileName) override;

 private:
  QWidget* parent_;
  QString lastFolder_;
};

// "Data files (*.dat)|*.dat|All files (*.*)|*.*" as Qt's name filters.
QString QtNameFilters(const std::string& filter);

}  // namespace gui
