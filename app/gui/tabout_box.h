#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace gui {

// Help, About: the product label, the file version read from the running
// program's own version record (recomputed at every showing) and a
// copyright line.
class TAboutBox final : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // Where the running program file is; tests point it at other files.
  std::function<std::string()> ProgramPath;

  QLabel* Label1() const { return label1_; }
  QPushButton* OKButton() const { return okButton_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void FitToContents();

  QLabel* label1_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

// The program's 32 x 32, 16-colour icon.
QPixmap ProgramIconPixmap();

}  // namespace gui
