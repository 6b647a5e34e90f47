#include "platform/medien_beobachter.h"

#include <libmount/libmount.h>

namespace tilvendo {
namespace {

// mnt_monitor_next_change: 0 for a change taken, 1 when none waits, below 0 on errors.
constexpr int kAenderungGenommen = 0;

}  // namespace

void MounttabellenBeobachter::MonitorFreigeben::operator()(libmnt_monitor* monitor) const {
  mnt_unref_monitor(monitor);
}

MounttabellenBeobachter::MounttabellenBeobachter() : monitor_(mnt_new_monitor()) {
  if (!monitor_ || mnt_monitor_enable_kernel(monitor_.get(), 1) != 0) {
    monitor_.reset();
    return;
  }
  deskriptor_ = mnt_monitor_get_fd(monitor_.get());
  if (deskriptor_ < 0) monitor_.reset();
}

int MounttabellenBeobachter::Deskriptor() const {
  return monitor_ ? deskriptor_ : -1;
}

bool MounttabellenBeobachter::AenderungenAbholen() {
  if (!monitor_) return false;
  bool geaendert = false;
  // Never blocks: the monitor looks at its descriptor without waiting.
  while (mnt_monitor_next_change(monitor_.get(), nullptr, nullptr) == kAenderungGenommen) {
    geaendert = true;
  }
  return geaendert;
}

}  // namespace tilvendo
