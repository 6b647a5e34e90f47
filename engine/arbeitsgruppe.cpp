#include "engine/arbeitsgruppe.h"

namespace tilvendo {

Arbeitsgruppe::Arbeitsgruppe(unsigned threads) {
  if (threads == 0) threads = StandardArbeiterzahl();
  arbeiter_.reserve(threads - 1);
  for (unsigned i = 1; i < threads; ++i) arbeiter_.emplace_back([this] { Arbeiten(); });
}

Arbeitsgruppe::~Arbeitsgruppe() {
  {
    std::lock_guard lock(mutex_);
    ende_ = true;
  }
  auftragDa_.notify_all();
  for (std::thread& t : arbeiter_) t.join();
}

void Arbeitsgruppe::PostenAbarbeiten(std::unique_lock<std::mutex>& lock) {
  while (naechster_ < anzahl_) {
    const size_t posten = naechster_++;
    const std::function<void(size_t)>& aufgabe = *aufgabe_;
    lock.unlock();
    std::exception_ptr fehler;
    try {
      aufgabe(posten);
    } catch (...) {
      fehler = std::current_exception();
    }
    lock.lock();
    if (fehler) {
      if (!fehler_) fehler_ = fehler;
      erledigt_ += anzahl_ - naechster_;  // the rest is skipped
      naechster_ = anzahl_;
    }
    ++erledigt_;
  }
}

void Arbeitsgruppe::Arbeiten() {
  unsigned long gesehen = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    auftragDa_.wait(lock, [&] { return ende_ || generation_ != gesehen; });
    if (ende_) return;
    gesehen = generation_;
    ++beschaeftigt_;
    PostenAbarbeiten(lock);
    --beschaeftigt_;
    if (erledigt_ == anzahl_ && beschaeftigt_ == 0) fertig_.notify_all();
  }
}

void Arbeitsgruppe::FuerAlle(size_t anzahl, const std::function<void(size_t)>& aufgabe) {
  if (anzahl == 0) return;
  std::unique_lock lock(mutex_);
  aufgabe_ = &aufgabe;
  anzahl_ = anzahl;
  naechster_ = 0;
  erledigt_ = 0;
  fehler_ = nullptr;
  ++generation_;
  auftragDa_.notify_all();
  PostenAbarbeiten(lock);
  // Wait until every item is done and no worker still holds a reference to `aufgabe`.
  fertig_.wait(lock, [&] { return erledigt_ == anzahl_ && beschaeftigt_ == 0; });
  aufgabe_ = nullptr;
  std::exception_ptr fehler = fehler_;
  fehler_ = nullptr;
  lock.unlock();
  if (fehler) std::rethrow_exception(fehler);
}

}  // namespace tilvendo
