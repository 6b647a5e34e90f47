#include "engine/arbeiter_pool.h"

#include <utility>

namespace tilvendo {

unsigned StandardArbeiterzahl() {
  const unsigned kerne = std::thread::hardware_concurrency();
  return kerne > 0 ? kerne : 1;
}

ArbeiterPool::ArbeiterPool(unsigned anzahl) {
  if (anzahl == 0) anzahl = StandardArbeiterzahl();
  arbeiter_.reserve(anzahl);
  for (unsigned i = 0; i < anzahl; ++i) arbeiter_.emplace_back([this] { Arbeiten(); });
}

ArbeiterPool::~ArbeiterPool() {
  {
    std::lock_guard<std::mutex> sperre(mutex_);
    ende_ = true;
    warteschlange_.clear();
  }
  neueArbeit_.notify_all();
  for (std::thread& arbeiter : arbeiter_) arbeiter.join();
}

void ArbeiterPool::Einreihen(std::function<void()> aufgabe) {
  {
    std::lock_guard<std::mutex> sperre(mutex_);
    warteschlange_.push_back(std::move(aufgabe));
  }
  neueArbeit_.notify_one();
}

void ArbeiterPool::Verwerfen() {
  std::lock_guard<std::mutex> sperre(mutex_);
  warteschlange_.clear();
}

void ArbeiterPool::Arbeiten() {
  for (;;) {
    std::function<void()> aufgabe;
    {
      std::unique_lock<std::mutex> sperre(mutex_);
      neueArbeit_.wait(sperre, [this] { return ende_ || !warteschlange_.empty(); });
      if (ende_) return;
      aufgabe = std::move(warteschlange_.front());
      warteschlange_.pop_front();
    }
    aufgabe();
  }
}

}  // namespace tilvendo
