#include "platform/memory_budget.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace tilvendo {

MemoryBudget::Reservation::Reservation(Reservation&& other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MemoryBudget::Reservation& MemoryBudget::Reservation::operator=(Reservation&& other) noexcept {
  if (this != &other) {
    Release();
    budget_ = std::exchange(other.budget_, nullptr);
    bytes_ = std::exchange(other.bytes_, 0);
  }
  return *this;
}

MemoryBudget::Reservation::~Reservation() {
  Release();
}

void MemoryBudget::Reservation::Release() {
  if (budget_ != nullptr) budget_->Give(bytes_);
  budget_ = nullptr;
  bytes_ = 0;
}

MemoryBudget::MemoryBudget(uint64_t totalBytes) : total_(totalBytes) {}

uint64_t MemoryBudget::ForThisMachine() {
  constexpr uint64_t kAnteil = 4;
  const long seiten = ::sysconf(_SC_PHYS_PAGES);
  const long seitenGroesse = ::sysconf(_SC_PAGESIZE);
  if (seiten <= 0 || seitenGroesse <= 0) return kMinBytes;
  const uint64_t physisch = static_cast<uint64_t>(seiten) * static_cast<uint64_t>(seitenGroesse);
  return std::clamp(physisch / kAnteil, kMinBytes, kMaxBytes);
}

std::optional<MemoryBudget::Reservation> MemoryBudget::Reserve(uint64_t bytes) {
  if (bytes > total_) return std::nullopt;
  std::unique_lock<std::mutex> lock(mutex_);
  // Tickets keep the order of asking, so a large picture is not starved by small ones.
  const uint64_t ticket = nextTicket_++;
  ++waiting_;
  changed_.wait(lock, [&] { return serving_ == ticket && total_ - inUse_ >= bytes; });
  --waiting_;
  ++serving_;
  inUse_ += bytes;
  lock.unlock();
  changed_.notify_all();  // the next ticket may fit as well
  return Reservation(this, bytes);
}

void MemoryBudget::Give(uint64_t bytes) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    inUse_ -= bytes;
  }
  changed_.notify_all();
}

uint64_t MemoryBudget::inUse() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return inUse_;
}

int MemoryBudget::waiting() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return waiting_;
}

}  // namespace tilvendo
