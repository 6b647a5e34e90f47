// A private folder for one fuzzing process: the readers under test take file names, so
// every input is written there as a file first. It lies in $TMPDIR, which the fuzzing
// script points at memory-backed storage.
#pragma once

#include <string>
#include <string_view>

namespace tilvendo::fuzz {

class Arbeitsordner {
 public:
  Arbeitsordner();
  ~Arbeitsordner();  // removes the folder with everything in it
  Arbeitsordner(const Arbeitsordner&) = delete;
  Arbeitsordner& operator=(const Arbeitsordner&) = delete;

  const std::string& pfad() const { return pfad_; }  // ends in "/"

  // Writes `inhalt` as the file `name` in the folder and returns its path.
  std::string Schreiben(std::string_view name, std::string_view inhalt) const;
  // Removes everything in the folder, so that one input leaves nothing for the next.
  void Leeren() const;

 private:
  std::string pfad_;
};

}  // namespace tilvendo::fuzz
