// Watching for media that arrive or leave: a descriptor that becomes readable when the
// mount table changed, for the window's event loop to wait on.
#pragma once

#include <memory>

struct libmnt_monitor;

namespace tilvendo {

class MedienBeobachter {
 public:
  virtual ~MedienBeobachter() = default;

  // Readable while changes wait to be taken; -1 when nothing can be watched.
  virtual int Deskriptor() const = 0;

  // Takes every waiting change, without blocking; true when the mount table changed
  // since the last call.
  virtual bool AenderungenAbholen() = 0;
};

// The kernel's mount table, through libmount's monitor.
class MounttabellenBeobachter final : public MedienBeobachter {
 public:
  // Watches nothing (Deskriptor() -1) when the monitor cannot be set up.
  MounttabellenBeobachter();

  int Deskriptor() const override;
  bool AenderungenAbholen() override;

 private:
  struct MonitorFreigeben {
    void operator()(libmnt_monitor* monitor) const;
  };
  std::unique_ptr<libmnt_monitor, MonitorFreigeben> monitor_;
  int deskriptor_ = -1;
};

}  // namespace tilvendo
