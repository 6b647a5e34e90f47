// Page 9: information about the program. A list of six texts, the program's icon and
// the contact links; "Ok" returns to the page the information was opened from.
#pragma once

#include <vector>

#include "ui/seite.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tilvendo::ui {

class InfoVerweis;

class InfoSeite : public Seite {
  Q_OBJECT

 public:
  explicit InfoSeite(Assistent& assistent);

  QPushButton* OkKnopf() const { return ok_; }
  // Selects list entry `eintrag` (from 0), as a click on it does.
  void EintragWaehlen(int eintrag);

 protected:
  void FormShow() override;

 private:
  void UebersichtClick();

  QListWidget* uebersicht_ = nullptr;
  QPlainTextEdit* infoFeld_ = nullptr;
  QLabel* bild_ = nullptr;
  QWidget* kontakt_ = nullptr;
  std::vector<InfoVerweis*> links_;
  QPushButton* ok_ = nullptr;
};

}  // namespace tilvendo::ui
