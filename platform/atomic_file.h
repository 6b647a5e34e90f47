// Writing a file so that it is either wholly there or not changed at all.
//
// The bytes go to an unnamed file in the target's folder; Commit() flushes it to disk,
// gives it a unique temporary name and renames that over the target. If anything
// fails, or the writer is destroyed without Commit(), the old target stays exactly as
// it was. A process killed while writing leaves nothing behind: the unnamed file goes
// with it. Only in the short step between naming and renaming, or on a file system
// without unnamed files or a system without /proc (then the bytes go to a named
// temporary file from the start), can a kill leave a temporary file; its name carries
// the writer's process id, so RemoveStaleTemporaries() can tell it from the files of a
// writer still running.
//
// What happens to a symbolic link where the target should be is the caller's choice
// (LinkPolicy): the user's outputs follow it, the program's own files replace it. Either
// way only a regular file is ever replaced: a device, a pipe, a socket or a folder where
// the bytes would land is refused before anything is written, and looked at again just
// before the rename, so that the node is never swapped for a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tilvendo {

// Raised when a file cannot be written; what() is a German message with the path.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class LinkPolicy {
  // A target that is a symbolic link stays one: the bytes replace the file it points to
  // (through a chain of links, each relative one taken from its own folder), and the
  // temporary file lies in that file's folder, so the rename stays within one file
  // system. For files the user names (a mosaic, a list).
  Follow,
  // A link at the target is itself replaced by the new file; what it points to is never
  // touched. For the program's own files (the catalogue, the album files, the caches),
  // which a link planted in their folder must not turn into a write somewhere else.
  Replace,
};

class AtomicFile {
 public:
  // Creates the temporary file; throws WriteError when the folder cannot be written or
  // the file written would replace something other than a regular file.
  explicit AtomicFile(std::string target, LinkPolicy links = LinkPolicy::Follow);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const void* data, size_t length);  // throws WriteError
  void Write(std::string_view text) { Write(text.data(), text.size()); }
  // Writes at byte `offset`, for formats whose header is completed last; it does not
  // move the point where Write appends. Throws WriteError.
  void WriteAt(uint64_t offset, const void* data, size_t length);

  // Makes the written bytes the target's content; throws WriteError on failure.
  void Commit();

  const std::string& target() const { return target_; }
  // The named temporary file; empty while the bytes go to an unnamed one, and after
  // Commit().
  const std::string& temporaryPath() const { return temporary_; }

 private:
  void OpenNamed();
  void NameUnnamed();
  // Gives up: removes the temporary file and raises WriteError, with the reason of
  // `errorNumber` (0: none known).
  [[noreturn]] void Fail(int errorNumber);
  [[noreturn]] void Fail(const std::string& message);

  std::string target_;
  std::string final_;  // where the bytes land: the target, or where its links end
  std::string temporary_;
  int fd_ = -1;
};

// The file a write to `path` lands in: `path` itself, or where its chain of symbolic links
// ends (which need not exist yet). Throws WriteError for a chain that loops or never ends.
std::string ResolveLinks(const std::string& path);

// Convenience: the whole content at once.
void WriteFileAtomically(const std::string& target, std::string_view content,
                         LinkPolicy links = LinkPolicy::Follow);

// What stands at `path`, links not followed: nothing, a regular file, a symbolic link, or
// something no file may replace (a folder, a device, a pipe, a socket).
enum class FileKind { None, Regular, Link, Folder, Device, Pipe, Socket };
FileKind KindOf(const std::string& path);

// "nach X kann nicht geschrieben werden: dort steht ein Gerät, keine Datei" and its kin,
// for a path where something other than a regular file stands.
std::string NotAFileMessage(const std::string& path, FileKind kind);

// Creates `path` anew, empty, for a file of the program's own that is written as it goes
// (a log): a link in the way is removed first, not followed, and anything else but a
// regular file is refused. Returns the open descriptor (the caller closes it); throws
// WriteError.
int CreateOwnFile(const std::string& path);

// Removes from `folder` the temporary files that writers of this program left behind
// when their process ended before finishing (a kill, a crash, a power cut): only names
// of our own pattern, and only when the process named in them no longer runs, so the
// files of another running instance are left alone. Returns how many were removed;
// never throws (a folder that cannot be read removes nothing).
size_t RemoveStaleTemporaries(const std::string& folder);

// The German message for a file that cannot be written; with the error number of the
// failed call, the reason where the user can do something about it (a full disk, a name
// too long, a file beyond the size allowed, a disk that is read-only or failing).
std::string CannotWriteMessage(const std::string& path);
std::string CannotWriteMessage(const std::string& path, int errorNumber);

// Lets a write beyond the process's file-size limit (ulimit -f) fail with EFBIG, reported
// like every failed write, instead of ending the program by SIGXFSZ without a word. For
// the main() of each program.
void IgnoreFileSizeSignal();

}  // namespace tilvendo
