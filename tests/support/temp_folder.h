// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstddef>
#include <string>

namespace tilvendo::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, with trailing "/".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// How many entries a folder holds, hidden ones included (0 when it cannot be read).
size_t FilesIn(const std::string& folder);

// The whole content of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);

// The whole content of a file a test needs. A missing or unreadable file fails the test
// with a message naming it (and gives ""), so a lost data file is never a crash or a skip.
std::string ReadTestFile(const std::string& path);

}  // namespace tilvendo::testing
