// A fresh folder of its own for a test, removed with everything in it when
// the test ends. Made by mkdtemp (on Windows, by creating a randomly named
// folder that must not exist yet), so tests running side by side never share one.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace nb_test {

class TemporaryFolder {
 public:
  TemporaryFolder() {
#if defined(_WIN32)
    // The C runtime has no mkdtemp; create_directory fails on a name that is
    // already taken, which makes the random name exclusive all the same.
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) return;
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::filesystem::path candidate = base / ("nb-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, error)) {
        path_ = candidate;
        return;
      }
    }
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "nb-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
#endif
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // Empty when no folder could be made.
  const std::filesystem::path& path() const {
    return path_;
  }

 private:
  std::filesystem::path path_;
};

// Makes `link` a symbolic link to `target`. On Windows that takes a privilege
// (or developer mode) that a test run may lack, so there it reports failure
// for the caller to skip; elsewhere a failure throws and fails the test.
inline bool MakeSymlink(const std::filesystem::path& target, const std::filesystem::path& link) {
#if defined(_WIN32)
  std::error_code error;
  std::filesystem::create_symlink(target, link, error);
  return !error;
#else
  std::filesystem::create_symlink(target, link);
  return true;
#endif
}

inline constexpr const char* kNoSymlinkReason =
    "no symbolic links here: creating one needs a privilege or developer mode on Windows";

}  // namespace nb_test
