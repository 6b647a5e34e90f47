// Runs part of a test in another language: the texts and numbers come from the build's
// catalogue of that language while the object lives, in German again afterwards, as the
// tests expect it.
#pragma once

#include <string>

namespace tilvendo::testing {

class InSprache {
 public:
  // `ort` is the value of LANG the program would start with ("en_US.UTF-8", "C").
  explicit InSprache(std::string ort);
  ~InSprache();
  InSprache(const InSprache&) = delete;
  InSprache& operator=(const InSprache&) = delete;

  // The language the program chose for it.
  const std::string& sprache() const { return sprache_; }

 private:
  std::string ort_;
  std::string sprache_;
};

// Back to German, as a test program starts.
void DeutschEinrichten();

}  // namespace tilvendo::testing
