#include "nb/platform_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace nb {
namespace {

std::filesystem::path AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return {};
  std::filesystem::path folder(value);
  // Relative values are to be ignored: they would move with the working
  // folder.
  return folder.is_absolute() ? folder : std::filesystem::path();
}

// The cache folder's base, the XDG way.
std::filesystem::path CacheHome() {
  std::filesystem::path folder = AbsoluteFromEnvironment("XDG_CACHE_HOME");
  if (!folder.empty()) return folder;
  folder = AbsoluteFromEnvironment("HOME");
  return folder.empty() ? folder : folder / ".cache";
}

bool MakeFolder(const std::filesystem::path& folder) {
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// Missing folders on the way are created with mode 0700, as the XDG base
// directory rules ask; existing ones (a linked ~/.cache included) are used
// as they are.
bool MakeFolders(const std::filesystem::path& folder) {
  std::filesystem::path partial;
  for (const std::filesystem::path& part : folder.lexically_normal()) {
    partial /= part;
    if (part.empty() || part == partial.root_path()) continue;
    if (!MakeFolder(partial)) return false;
  }
  return true;
}

}  // namespace

std::filesystem::path DefaultConfigFile() {
  const std::filesystem::path cache = CacheHome();
  if (cache.empty() || !MakeFolders(cache)) return {};
  const std::filesystem::path folder = cache / "nokia-browser";
  if (!MakeFolder(folder)) return {};
  // The file is written and read back blindly, so the folder that holds it
  // must be the user's own: not a link, not someone else's, not a file.
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    return {};
  }
  return folder / "Temp.temp";
}

}  // namespace nb
