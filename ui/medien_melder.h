// Tells the window thread when media arrive or leave: the mount-table watcher's
// descriptor in the event loop, so nothing waits or polls.
#pragma once

#include <QObject>
#include <memory>

#include "platform/medien_beobachter.h"

class QSocketNotifier;

namespace tilvendo::ui {

class MedienMelder : public QObject {
  Q_OBJECT

 public:
  // Watches `beobachter`; without one (or when it cannot watch) nothing is reported.
  explicit MedienMelder(std::unique_ptr<MedienBeobachter> beobachter, QObject* parent = nullptr);
  ~MedienMelder() override;

 signals:
  // The mount table changed.
  void geaendert();

 private:
  void Bereit();

  std::unique_ptr<MedienBeobachter> beobachter_;
  QSocketNotifier* melder_ = nullptr;
};

}  // namespace tilvendo::ui
