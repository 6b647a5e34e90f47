// Writing a file so that it is either wholly there or not changed at all.
//
// The bytes go to a new, uniquely named file in the target's folder; Commit() flushes
// it to disk and renames it over the target. If anything fails, or the writer is
// destroyed without Commit(), the temporary file is removed and the old target stays
// exactly as it was.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tilvendo {

// Raised when a file cannot be written; what() is a German message with the path.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class AtomicFile {
 public:
  // Creates the temporary file; throws WriteError when the folder cannot be written.
  explicit AtomicFile(std::string target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const void* data, size_t length);  // throws WriteError
  void Write(std::string_view text) { Write(text.data(), text.size()); }

  // Makes the written bytes the target's content; throws WriteError on failure.
  void Commit();

  const std::string& target() const { return target_; }
  const std::string& temporaryPath() const { return temporary_; }

 private:
  [[noreturn]] void Fail();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
};

// Convenience: the whole content at once.
void WriteFileAtomically(const std::string& target, std::string_view content);

// The German message for a file that cannot be written.
std::string CannotWriteMessage(const std::string& path);

}  // namespace tilvendo
