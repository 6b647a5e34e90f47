// A fixed set of worker threads that run queued tasks in the order they were queued.
// The caller keeps the results in order itself (each task fills its own slot); the pool
// only spreads the work.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tilvendo {

// Worker count for a wish of 0: as many as the machine has cores (at least one).
unsigned StandardArbeiterzahl();

class ArbeiterPool {
 public:
  // Starts `anzahl` workers (0: StandardArbeiterzahl()).
  explicit ArbeiterPool(unsigned anzahl = 0);
  // Drops the tasks not yet started and waits for the running ones.
  ~ArbeiterPool();
  ArbeiterPool(const ArbeiterPool&) = delete;
  ArbeiterPool& operator=(const ArbeiterPool&) = delete;

  // A task must not throw; it reports through what it captured.
  void Einreihen(std::function<void()> aufgabe);

  // Forgets the queued tasks that no worker has taken yet.
  void Verwerfen();

  unsigned Anzahl() const { return static_cast<unsigned>(arbeiter_.size()); }

 private:
  void Arbeiten();

  std::mutex mutex_;
  std::condition_variable neueArbeit_;
  std::deque<std::function<void()>> warteschlange_;
  bool ende_ = false;
  std::vector<std::thread> arbeiter_;
};

}  // namespace tilvendo
