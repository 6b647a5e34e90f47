#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <memory>
#include <random>
#include <vector>

#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// New files get the usual permissions of the user's umask.
constexpr mode_t kNewFileMode = 0666;

// A temporary name is "." + (the start of) the target's name + kMarker + pid + "-" +
// kRandomLength letters or digits.
constexpr std::string_view kMarker = ".tilvendo-";
constexpr char kPidEnd = '-';
constexpr size_t kRandomLength = 6;
constexpr std::string_view kRandomLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Names already taken are rare; this many tries only fail when something is wrong.
constexpr int kNameTries = 100;
// The process's open files, by number.
constexpr const char* kOwnFiles = "/proc/self/fd";
// The longest pid text on Linux (pid_max is at most 2^22).
constexpr size_t kLongestPid = 7;
// Links followed before a chain counts as a loop, as the kernel does.
constexpr int kMaxLinks = 40;

std::string RandomPart() {
  std::random_device source;
  std::uniform_int_distribution<size_t> pick(0, kRandomLetters.size() - 1);
  std::string part(kRandomLength, ' ');
  for (char& letter : part) letter = kRandomLetters[pick(source)];
  return part;
}

std::string TemporaryName(const std::string& target) {
  // Shortened so that a long target name still leaves room for the suffix.
  constexpr size_t kSuffix = 1 + kMarker.size() + kLongestPid + 1 + kRandomLength;
  const std::string name = FileNameOf(target).substr(0, NAME_MAX - kSuffix);
  return FolderOf(target) + "." + name + std::string(kMarker) + std::to_string(::getpid()) +
         kPidEnd + RandomPart();
}

// The writer's pid when `name` is one of our temporary names, else 0.
pid_t PidOfTemporary(std::string_view name) {
  if (!name.starts_with('.')) return 0;
  const size_t marker = name.rfind(kMarker);
  if (marker == std::string_view::npos || marker == 0) return 0;
  const std::string_view rest = name.substr(marker + kMarker.size());
  const size_t end = rest.find(kPidEnd);
  if (end == std::string_view::npos || rest.size() - end - 1 != kRandomLength) return 0;
  for (char letter : rest.substr(end + 1)) {
    if (kRandomLetters.find(letter) == std::string_view::npos) return 0;
  }
  pid_t pid = 0;
  const auto [last, error] = std::from_chars(rest.data(), rest.data() + end, pid);
  if (error != std::errc() || last != rest.data() + end || pid <= 0) return 0;
  return pid;
}

// Only a regular file, or nothing yet, may be replaced by a new file (a link only where
// the caller replaces links).
bool Replaceable(FileKind kind) {
  return kind == FileKind::None || kind == FileKind::Regular || kind == FileKind::Link;
}

bool ProcessGone(pid_t pid) {
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Makes the rename itself survive a power cut; a folder that cannot be opened for that
// only loses this extra safety.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileKind KindOf(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return FileKind::None;
  switch (info.st_mode & S_IFMT) {
    case S_IFREG:
      return FileKind::Regular;
    case S_IFLNK:
      return FileKind::Link;
    case S_IFDIR:
      return FileKind::Folder;
    case S_IFCHR:
    case S_IFBLK:
      return FileKind::Device;
    case S_IFIFO:
      return FileKind::Pipe;
    default:
      return FileKind::Socket;
  }
}

std::string NotAFileMessage(const std::string& path, FileKind kind) {
  switch (kind) {
    case FileKind::Folder:
      return Format(_("nach {} kann nicht geschrieben werden: dort steht ein Ordner, keine Datei"),
                    path);
    case FileKind::Device:
      return Format(_("nach {} kann nicht geschrieben werden: dort steht ein Gerät, keine Datei"),
                    path);
    case FileKind::Pipe:
      return Format(_("nach {} kann nicht geschrieben werden: dort steht eine Pipe, keine Datei"),
                    path);
    default:
      return Format(_("nach {} kann nicht geschrieben werden: dort steht keine Datei"), path);
  }
}

std::string CannotWriteMessage(const std::string& path) {
  return Format(_("nach {} kann nicht geschrieben werden"), path);
}

std::string CannotWriteMessage(const std::string& path, int errorNumber) {
  const char* reason = nullptr;
  switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
      reason = _("der Datenträger ist voll");
      break;
    case ENAMETOOLONG:
      reason = _("der Name ist zu lang");
      break;
    case EFBIG:
      reason = _("die Datei wäre größer, als das System erlaubt");
      break;
    case EROFS:
      reason = _("der Datenträger ist schreibgeschützt");
      break;
    case EIO:
      reason = _("der Datenträger meldet einen Fehler");
      break;
    case ELOOP:
      reason = _("die symbolischen Verweise führen im Kreis");
      break;
    default:
      break;
  }
  const std::string message = CannotWriteMessage(path);
  return reason == nullptr ? message : message + ": " + reason;
}

void IgnoreFileSizeSignal() {
  ::signal(SIGXFSZ, SIG_IGN);
}

std::string ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int link = 0; link < kMaxLinks; ++link) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::string points(static_cast<size_t>(info.st_size) + 1, '\0');
    const ssize_t length = ::readlink(current.c_str(), points.data(), points.size());
    // A link changed while it was read is read again.
    if (length < 0 || static_cast<size_t>(length) >= points.size()) {
      if (length < 0) return current;
      continue;
    }
    points.resize(static_cast<size_t>(length));
    current = points.starts_with('/') ? points : FolderOf(current) + points;
  }
  throw WriteError(CannotWriteMessage(path, ELOOP));
}

AtomicFile::AtomicFile(std::string target, LinkPolicy links)
    : target_(std::move(target)),
      final_(links == LinkPolicy::Follow ? ResolveLinks(target_) : target_) {
  const FileKind kind = KindOf(final_);
  if (!Replaceable(kind)) throw WriteError(NotAFileMessage(target_, kind));
  // Without /proc an unnamed file could only be named with extra privileges.
  if (::access(kOwnFiles, X_OK) == 0) {
    const std::string folder = FolderOf(final_);
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                 kNewFileMode);
  }
  // Some file systems (network, FUSE) have no unnamed files; any other cause fails the
  // named file the same way and is reported there.
  if (fd_ < 0) OpenNamed();
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicFile::OpenNamed() {
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    std::string name = TemporaryName(final_);
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd_ >= 0) {
      temporary_ = std::move(name);
      return;
    }
    if (errno != EEXIST) break;
  }
  throw WriteError(CannotWriteMessage(target_, errno));
}

void AtomicFile::NameUnnamed() {
  const std::string self = std::string(kOwnFiles) + "/" + std::to_string(fd_);
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    std::string name = TemporaryName(final_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temporary_ = std::move(name);
      return;
    }
    if (errno != EEXIST) break;
  }
  Fail(errno);
}

void AtomicFile::Fail(int errorNumber) {
  Fail(CannotWriteMessage(target_, errorNumber));
}

void AtomicFile::Fail(const std::string& message) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  throw WriteError(message);
}

void AtomicFile::Write(const void* data, size_t length) {
  if (fd_ < 0) Fail(0);
  const auto* bytes = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t written = ::write(fd_, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    bytes += written;
    length -= static_cast<size_t>(written);
  }
}

void AtomicFile::WriteAt(uint64_t offset, const void* data, size_t length) {
  if (fd_ < 0) Fail(0);
  const auto* bytes = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t written = ::pwrite(fd_, bytes, length, static_cast<off_t>(offset));
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    bytes += written;
    offset += static_cast<uint64_t>(written);
    length -= static_cast<size_t>(written);
  }
}

void AtomicFile::Commit() {
  if (fd_ < 0) Fail(0);
  if (::fsync(fd_) != 0) Fail(errno);
  if (temporary_.empty()) NameUnnamed();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
  // A node put in the file's place while it was written is not swapped for it either.
  const FileKind kind = KindOf(final_);
  if (!Replaceable(kind)) Fail(NotAFileMessage(target_, kind));
  if (::rename(temporary_.c_str(), final_.c_str()) != 0) Fail(errno);
  temporary_.clear();
  SyncFolder(FolderOf(final_));
}

void WriteFileAtomically(const std::string& target, std::string_view content, LinkPolicy links) {
  AtomicFile file(target, links);
  file.Write(content);
  file.Commit();
}

int CreateOwnFile(const std::string& path) {
  FileKind kind = KindOf(path);
  if (kind == FileKind::Link) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
      throw WriteError(CannotWriteMessage(path, errno));
    kind = FileKind::None;
  }
  if (!Replaceable(kind)) throw WriteError(NotAFileMessage(path, kind));
  // Not following a link put there since, and not waiting for a reader of a pipe.
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kNewFileMode);
  if (fd < 0) throw WriteError(CannotWriteMessage(path, errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw WriteError(NotAFileMessage(path, KindOf(path)));
  }
  if (::ftruncate(fd, 0) != 0) {
    const int error = errno;
    ::close(fd);
    throw WriteError(CannotWriteMessage(path, error));
  }
  return fd;
}

size_t RemoveStaleTemporaries(const std::string& folder) {
  const std::string path = folder.empty() ? "." : folder;
  std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(path.c_str()), &::closedir);
  if (!listing) return 0;
  const int folderFd = ::dirfd(listing.get());
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(listing.get())) {
    const pid_t pid = PidOfTemporary(entry->d_name);
    if (pid == 0 || pid == ::getpid() || !ProcessGone(pid)) continue;
    struct stat info {};
    if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode)) {
      continue;
    }
    stale.emplace_back(entry->d_name);
  }
  size_t removed = 0;
  for (const std::string& name : stale) {
    if (::unlinkat(folderFd, name.c_str(), 0) == 0) ++removed;
  }
  return removed;
}

}  // namespace tilvendo
