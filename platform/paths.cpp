#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tilvendo {
namespace {

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string MitSchraegstrich(std::string_view folder) {
  std::string result(folder);
  if (!result.empty() && result.back() != '/') result.push_back('/');
  return result;
}

std::string UpperExtension(std::string_view path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return {};
  }
  std::string extension(path.substr(dot));
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension;
}

std::string FolderOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat infoA {};
  struct stat infoB {};
  return ::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0 &&
         infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

bool CreateFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return FolderExists(path);
}

std::string ExecutableFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return MitSchraegstrich(std::filesystem::current_path(error).string());
  return FolderOf(executable.string());
}

std::string HomeFolder() {
  std::string home = FromEnvironment("HOME");
  if (home.empty()) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
      home = found->pw_dir;
    }
  }
  return MitSchraegstrich(home.empty() ? "/" : home);
}

std::string TempFolder() {
  const std::string tmp = FromEnvironment("TMPDIR");
  return MitSchraegstrich(tmp.empty() ? "/tmp" : tmp);
}

std::string DataHomeFolder() {
  const std::string xdg = FromEnvironment("XDG_DATA_HOME");
  return xdg.empty() ? HomeFolder() + ".local/share/" : MitSchraegstrich(xdg);
}

std::string CacheHomeFolder() {
  const std::string xdg = FromEnvironment("XDG_CACHE_HOME");
  return xdg.empty() ? HomeFolder() + ".cache/" : MitSchraegstrich(xdg);
}

}  // namespace tilvendo
