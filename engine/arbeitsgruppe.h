// A small group of worker threads for work that splits into independent items: the
// rankings of many grid cells, the decoding of many tile pictures. The calling thread
// works along, so a group of one thread runs everything on the caller, in item order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/arbeiter_pool.h"  // StandardArbeiterzahl

namespace tilvendo {

class Arbeitsgruppe {
 public:
  // `threads` counts the caller; 0 means StandardArbeiterzahl().
  explicit Arbeitsgruppe(unsigned threads = 0);
  ~Arbeitsgruppe();
  Arbeitsgruppe(const Arbeitsgruppe&) = delete;
  Arbeitsgruppe& operator=(const Arbeitsgruppe&) = delete;

  unsigned Threads() const { return static_cast<unsigned>(arbeiter_.size()) + 1; }

  // Runs aufgabe(i) for every i in 0 .. anzahl-1, spread over the threads, and returns
  // when all are done. The first error raised by an item is raised again here; items
  // not yet started are then skipped.
  void FuerAlle(size_t anzahl, const std::function<void(size_t)>& aufgabe);

 private:
  void Arbeiten();
  // Takes items until none is left; `lock` holds the mutex and is released per item.
  void PostenAbarbeiten(std::unique_lock<std::mutex>& lock);

  std::vector<std::thread> arbeiter_;
  std::mutex mutex_;
  std::condition_variable auftragDa_;
  std::condition_variable fertig_;
  const std::function<void(size_t)>* aufgabe_ = nullptr;
  size_t anzahl_ = 0;
  size_t naechster_ = 0;
  size_t erledigt_ = 0;
  unsigned beschaeftigt_ = 0;
  unsigned long generation_ = 0;
  bool ende_ = false;
  std::exception_ptr fehler_;
};

}  // namespace tilvendo
