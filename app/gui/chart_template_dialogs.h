#pragma once

#include <optional>
#include <string>

class QWidget;

namespace gui {

// The chart editor's Save Template... and Load Template... file choices; the
// window shows file dialogs, tests answer for them.
class TemplateDialogView {
 public:
  virtual ~TemplateDialogView() = default;
  // `suggested` is the display's name, "temperature.json".
  virtual std::optional<std::string> SaveTemplateName(const std::string& suggested) = 0;
  virtual std::optional<std::string> OpenTemplateName() = 0;
};

class GuiTemplateDialogs final : public TemplateDialogView {
 public:
  explicit GuiTemplateDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> SaveTemplateName(const std::string& suggested) override;
  std::optional<std::string> OpenTemplateName() override;

 private:
  QWidget* parent_;
  std::string folder_;  // where the last template was saved or loaded
};

}  // namespace gui
