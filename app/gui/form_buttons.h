#pragma once

#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace gui {

// The confirming pair every form ends with: "OKButton" (the default, with
// `okText`) and "CancelButton", each at least the designed 75 pixels wide.
struct FormButtons {
  QPushButton* ok;
  QPushButton* cancel;
};
FormButtons MakeFormButtons(QWidget* form, const QString& okText = "&OK");

// The pair in a row of its own: centred and 9 design pixels apart, as the
// recorder's own forms are laid out, or else at the right edge.
enum class ButtonPlacement { Centred, Right };
QHBoxLayout* ButtonRow(QWidget* form, const FormButtons& buttons, ButtonPlacement placement);

}  // namespace gui
