// The question for the name of a removable medium. One dialog for the program's life,
// so its field offers the name entered last time.
#pragma once

#include <QDialog>
#include <string>

#include "platform/translate.h"

class QLineEdit;
class QPushButton;

namespace tilvendo::ui {

inline constexpr const char* kMediumNameTitel = N_("Namen für das eingelegte Medium");
inline constexpr const char* kMediumNameFrage =
    N_("Bitte geben Sie einen Namen für das momentan eingelegte Medium ein:");

class MediumNameDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MediumNameDialog(QWidget* parent = nullptr);

  // Shows the dialog modally; the field's text however it was closed (empty is fine).
  std::string Erfragen();

  QLineEdit* Name() const { return name_; }
  QPushButton* OK() const { return ok_; }

 private:
  QLineEdit* name_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace tilvendo::ui
