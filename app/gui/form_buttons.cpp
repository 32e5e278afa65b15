#include "app/gui/form_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "app/gui/window_font.h"

namespace gui {

FormButtons MakeFormButtons(QWidget* form, const QString& okText) {
  FormButtons b{new QPushButton(okText, form), new QPushButton("&Cancel", form)};
  b.ok->setObjectName("OKButton");
  b.ok->setDefault(true);
  b.cancel->setObjectName("CancelButton");
  for (QPushButton* button : {b.ok, b.cancel}) button->setMinimumWidth(DesignPixels(button, 75));
  return b;
}

QHBoxLayout* ButtonRow(QWidget* form, const FormButtons& buttons, ButtonPlacement placement) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(buttons.ok);
  if (placement == ButtonPlacement::Centred) row->addSpacing(DesignPixels(form, 9));
  row->addWidget(buttons.cancel);
  if (placement == ButtonPlacement::Centred) row->addStretch(1);
  return row;
}

}  // namespace gui
