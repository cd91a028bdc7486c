// The Linux browser opener against a stand-in for xdg-open that records the
// arguments it was started with and then waits to be released.
#include "temporary_folder.h"
#include "xdg_browser_opener.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace nb {
namespace {

using std::filesystem::path;

std::string Contents(const path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// True when this process has no child at all, running or zombie.
bool HasNoChild() {
  int status = 0;
  return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

class OpenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.empty());
    records_ = folder_ / "records";
    std::filesystem::create_directory(records_);
    std::filesystem::create_directory(folder_ / "bin");
    stand_in_ = folder_ / "bin" / "xdg-open";
    // Each run leaves record.PID (its arguments, NUL-terminated),
    // session.PID (its session id) and, once released or tired of waiting,
    // outcome.PID. Records and outcomes appear whole, by rename.
    std::ofstream(stand_in_) << "#!/bin/sh\n"
                             << "out='" << records_.string() << "'\n"
                             << "cut -d' ' -f6 /proc/$$/stat > \"$out/session.$$\"\n"
                             << "printf '%s\\0' \"$@\" > \"$out/partial.$$\"\n"
                             << "mv \"$out/partial.$$\" \"$out/record.$$\"\n"
                             << "i=0\n"
                             << "while [ ! -e '" << Release().string()
                             << "' ] && [ \"$i\" -lt 300 ]; do\n"
                             << "  sleep 0.1; i=$((i + 1))\n"
                             << "done\n"
                             << "if [ -e '" << Release().string()
                             << "' ]; then echo released; else echo waited; fi"
                             << " > \"$out/partial.$$\"\n"
                             << "mv \"$out/partial.$$\" \"$out/outcome.$$\"\n";
    std::filesystem::permissions(stand_in_, std::filesystem::perms::owner_all);

    const char* path_variable = std::getenv("PATH");
    if (path_variable != nullptr) saved_path_ = path_variable;
    const std::string search =
        (folder_ / "bin").string() + ":" + saved_path_.value_or("/usr/bin:/bin");
    ::setenv("PATH", search.c_str(), 1);
    path_changed_ = true;
  }

  void TearDown() override {
    if (path_changed_ && saved_path_) ::setenv("PATH", saved_path_->c_str(), 1);
    if (path_changed_ && !saved_path_) ::unsetenv("PATH");
    // Stand-ins still running finish before their folder goes.
    ReleaseStandIns();
    for (int tries = 0; tries < 3000 && Count("outcome.") < Count("session."); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  path Release() const { return folder_ / "release"; }

  void ReleaseStandIns() { std::ofstream(Release()) << ""; }

  // The first file whose name starts with `prefix`, or nullopt after a
  // generous bound.
  std::optional<path> WaitForRecord(const std::string& prefix = "record.") const {
    for (int tries = 0; tries < 3000; ++tries) {
      const std::vector<path> found = Files(prefix);
      if (!found.empty()) return found.front();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
  }

  std::vector<path> Files(const std::string& prefix) const {
    std::vector<path> found;
    std::error_code missing;  // when SetUp stopped early
    for (const auto& entry : std::filesystem::directory_iterator(records_, missing)) {
      if (entry.path().filename().string().starts_with(prefix)) found.push_back(entry.path());
    }
    return found;
  }
  std::vector<path> Records() const { return Files("record."); }
  std::size_t Count(const std::string& prefix) const { return Files(prefix).size(); }

  nb_test::TemporaryFolder temporary_;  // removed after TearDown has let the stand-ins finish
  const path& folder_ = temporary_.path();
  path records_;
  path stand_in_;
  std::optional<std::string> saved_path_;
  bool path_changed_ = false;
};

TEST_F(OpenerTest, AddressArrivesAsOneUnchangedArgument) {
  ReleaseStandIns();
  XdgBrowserOpener opener;  // "xdg-open" from PATH: the stand-in
  const std::string addresses[] = {
      "http://example.com/",
      "https://h/a?b=1&c=2;d=$(id)`id`|z>w<v*'s'\"d\"\\e#f",
      "HTTP://H/\xC4\xE3\xBA\xC3?q=%20",
  };
  for (const std::string& address : addresses) {
    SCOPED_TRACE(address);
    opener.OpenInBrowser(address);
    const std::optional<path> record = WaitForRecord();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(Contents(*record), address + '\0');
    std::filesystem::remove(*record);
  }
}

TEST_F(OpenerTest, ReturnsBeforeTheBrowserEndsAndLeavesNoChild) {
  XdgBrowserOpener opener(stand_in_.string());
  opener.OpenInBrowser("http://example.com/");
  // Released only after the call returned: had the call waited for the
  // stand-in, the stand-in would have waited out its bound instead.
  ReleaseStandIns();
  EXPECT_TRUE(HasNoChild());

  const std::optional<path> outcome = WaitForRecord("outcome.");
  ASSERT_TRUE(outcome.has_value());
  EXPECT_EQ(Contents(*outcome), "released\n");

  // A session of its own: its session id is its process id.
  const std::string pid = outcome->extension().string().substr(1);
  EXPECT_EQ(Contents(records_ / ("session." + pid)), pid + "\n");
}

TEST_F(OpenerTest, UnsafeAddressesStartNothing) {
  ReleaseStandIns();
  XdgBrowserOpener opener;
  const std::string unsafe[] = {
      "",        "file:///etc/passwd", "-x",       "javascript:alert(1)", "http://a b",
      "http://", "http:///path",       "ftp://h/", "http://h/\nx",        "about:blank",
  };
  for (const std::string& address : unsafe) opener.OpenInBrowser(address);
  // A safe address last: by the time it is recorded, a run started for any
  // address before it would be recorded as well.
  opener.OpenInBrowser("http://sentinel/");
  ASSERT_TRUE(WaitForRecord().has_value());
  const std::vector<path> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Contents(records.front()), std::string("http://sentinel/") + '\0');
  EXPECT_TRUE(HasNoChild());
}

TEST_F(OpenerTest, MissingProgramIsSilent) {
  const std::string programs[] = {"nb-no-such-opener", (folder_ / "no-such-opener").string()};
  for (const std::string& program : programs) {
    SCOPED_TRACE(program);
    XdgBrowserOpener opener(program);
    opener.OpenInBrowser("http://example.com/");
    EXPECT_TRUE(HasNoChild());
  }
  EXPECT_TRUE(Records().empty());
}

}  // namespace
}  // namespace nb
