#include "ui/medien_melder.h"

#include <QSocketNotifier>

namespace tilvendo::ui {

MedienMelder::MedienMelder(std::unique_ptr<MedienBeobachter> beobachter, QObject* parent)
    : QObject(parent), beobachter_(std::move(beobachter)) {
  if (!beobachter_ || beobachter_->Deskriptor() < 0) return;
  melder_ = new QSocketNotifier(beobachter_->Deskriptor(), QSocketNotifier::Read, this);
  connect(melder_, &QSocketNotifier::activated, this, &MedienMelder::Bereit);
}

MedienMelder::~MedienMelder() = default;

void MedienMelder::Bereit() {
  if (beobachter_->AenderungenAbholen()) emit geaendert();
}

}  // namespace tilvendo::ui
