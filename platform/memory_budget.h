// A share of the memory that threads reading pictures at the same time draw from.
//
// A small file may declare a huge picture, and its decoder may then need gigabytes; a
// few workers doing that at once would exhaust the machine. Each reader reserves what it
// will hold before it starts (estimated from the file's header) and gives it back when it
// is done; a reader that does not fit waits until others have given back enough, in the
// order the readers asked. A single reservation above the whole budget is refused at once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace tilvendo {

class MemoryBudget {
 public:
  // Bytes held by one reservation; given back when it is destroyed.
  class Reservation {
   public:
    Reservation(Reservation&& other) noexcept;
    Reservation& operator=(Reservation&& other) noexcept;
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;
    ~Reservation();

    uint64_t bytes() const { return bytes_; }

   private:
    friend class MemoryBudget;
    Reservation(MemoryBudget* budget, uint64_t bytes) : budget_(budget), bytes_(bytes) {}
    void Release();

    MemoryBudget* budget_ = nullptr;
    uint64_t bytes_ = 0;
  };

  explicit MemoryBudget(uint64_t totalBytes);
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  // The budget for pictures read in parallel on this machine: a quarter of its physical
  // memory, but no less than kMinBytes and no more than kMaxBytes.
  static uint64_t ForThisMachine();
  // A quarter leaves the rest to the template, the mosaic, the tile list and the other
  // programs. 512 MiB still take a progressive JPEG of 80 megapixels (its decoder keeps
  // up to 6 bytes of coefficients a pixel); other tiles need only a few rows. Beyond
  // 4 GiB only pictures no camera makes would gain.
  static constexpr uint64_t kMinBytes = uint64_t{512} << 20;
  static constexpr uint64_t kMaxBytes = uint64_t{4} << 30;

  uint64_t total() const { return total_; }

  // Reserves `bytes`, waiting while the reservations held and those asked for earlier
  // leave too little. None, at once, when `bytes` exceeds the whole budget. A thread must
  // not ask while it holds a reservation of the same budget: it could wait for itself.
  std::optional<Reservation> Reserve(uint64_t bytes);

  // Bytes held now, and readers waiting now (for tests and measurements).
  uint64_t inUse() const;
  int waiting() const;

 private:
  void Give(uint64_t bytes);

  const uint64_t total_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t inUse_ = 0;
  uint64_t nextTicket_ = 0;  // handed to the next reader that asks
  uint64_t serving_ = 0;     // the ticket whose turn it is
  int waiting_ = 0;
};

}  // namespace tilvendo
