#include "ui/speichern_ablauf.h"

namespace tilvendo::ui {

bool SaveMosaic(Assistent& assistent) {
  (void)assistent;
  return false;
}

}  // namespace tilvendo::ui
