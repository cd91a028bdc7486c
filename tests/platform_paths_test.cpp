// Where the configuration file goes on Linux, under changed XDG_CACHE_HOME and
// HOME, and the planted folders that must be refused.
#include "nb/platform_paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

namespace nb {
namespace {

using std::filesystem::path;

class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  SavedVariable(const SavedVariable&) = delete;
  SavedVariable& operator=(const SavedVariable&) = delete;
  ~SavedVariable() {
    if (value_) {
      ::setenv(name_, value_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> value_;
};

void Set(const char* name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

mode_t ModeOf(const path& file) {
  struct stat info {};
  return ::lstat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class PlatformPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_umask_ = ::umask(022);
    std::string pattern = (std::filesystem::temp_directory_path() / "nb-paths-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    ::umask(previous_umask_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  SavedVariable cache_home_{"XDG_CACHE_HOME"};
  SavedVariable home_{"HOME"};
  mode_t previous_umask_ = 0;
  path folder_;
};

TEST_F(PlatformPaths, XdgCacheHomeIsUsedAndCreatedPrivate) {
  const path cache = folder_ / "new" / "cache";
  Set("XDG_CACHE_HOME", cache.string());
  Set("HOME", (folder_ / "home").string());
  const path expected = cache / "nokia-browser" / "Temp.temp";
  EXPECT_EQ(DefaultConfigFile(), expected);
  EXPECT_EQ(ModeOf(cache / "nokia-browser"), 0700u);
  EXPECT_EQ(ModeOf(cache), 0700u);
  // The second start finds the folder in place.
  EXPECT_EQ(DefaultConfigFile(), expected);
}

TEST_F(PlatformPaths, HomeServesWhenXdgCacheHomeIsNotAbsolute) {
  const path home = folder_ / "home";
  std::filesystem::create_directory(home);
  Set("HOME", home.string());
  const std::optional<std::string> values[] = {std::nullopt, "", "relative/cache", "~/.cache"};
  for (const std::optional<std::string>& value : values) {
    SCOPED_TRACE(value.value_or("(unset)"));
    Set("XDG_CACHE_HOME", value);
    EXPECT_EQ(DefaultConfigFile(), home / ".cache" / "nokia-browser" / "Temp.temp");
    EXPECT_EQ(ModeOf(home / ".cache"), 0700u);
  }
}

TEST_F(PlatformPaths, NoUsableFolderGivesEmpty) {
  const path file = folder_ / "a-file";
  std::ofstream(file) << "x";
  struct Row {
    const char* rule;
    std::optional<std::string> cache_home;
    std::optional<std::string> home;
  };
  const Row rows[] = {
      {"neither variable", std::nullopt, std::nullopt},
      {"relative HOME", std::nullopt, "home"},
      {"empty HOME", std::nullopt, ""},
      {"cache folder is a file", file.string(), std::nullopt},
      {"below a file", (file / "cache").string(), std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rule);
    Set("XDG_CACHE_HOME", row.cache_home);
    Set("HOME", row.home);
    EXPECT_EQ(DefaultConfigFile(), path());
  }
}

TEST_F(PlatformPaths, PlantedFoldersAreRefused) {
  const path elsewhere = folder_ / "elsewhere";
  std::filesystem::create_directory(elsewhere);
  struct Row {
    const char* rule;
    std::function<bool(const path&)> plant;  // false: cannot be set up here
  };
  const Row rows[] = {
      {"a link to a folder",
       [&](const path& at) {
         std::filesystem::create_directory_symlink(elsewhere, at);
         return true;
       }},
      {"a dangling link",
       [&](const path& at) {
         std::filesystem::create_directory_symlink(folder_ / "absent", at);
         return true;
       }},
      {"a file",
       [](const path& at) {
         std::ofstream(at) << "x";
         return true;
       }},
      {"someone else's folder",
       [](const path& at) {
         std::filesystem::create_directory(at);
         return ::geteuid() == 0 && ::chown(at.c_str(), 65534, 65534) == 0;
       }},
  };
  int index = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rule);
    const path cache = folder_ / ("cache" + std::to_string(index++));
    std::filesystem::create_directory(cache);
    if (!row.plant(cache / "nokia-browser")) continue;
    Set("XDG_CACHE_HOME", cache.string());
    EXPECT_EQ(DefaultConfigFile(), path());
  }
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "absent"));
}

}  // namespace
}  // namespace nb
