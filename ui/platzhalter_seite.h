// A stand-in for a page that is not built yet, so the whole flow can be walked.
#pragma once

#include "ui/seite.h"

namespace tilvendo::ui {

class PlatzhalterSeite : public Seite {
  Q_OBJECT

 public:
  PlatzhalterSeite(Assistent& assistent, wizard::Seite seite);

 protected:
  void FormShow() override;
};

}  // namespace tilvendo::ui
