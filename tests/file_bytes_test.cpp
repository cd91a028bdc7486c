// Whole-file writes and reads of the configuration file, and the links and
// special files planted at its path that they must refuse.
#include "nb/file_bytes.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <system_error>

namespace nb {
namespace {

class FileBytes : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.empty()); }

  // Read independently of the code under test.
  static std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Put(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }

  nb_test::TemporaryFolder temporary_;
  const std::filesystem::path& folder_ = temporary_.path();
};

TEST_F(FileBytes, RoundTripKeepsEveryByte) {
  const std::filesystem::path file = folder_ / "Temp.temp";
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += std::string(300000, 'x');  // more than one read or write call takes
  ASSERT_TRUE(WriteFileBytes(file, bytes));
  EXPECT_EQ(Contents(file), bytes);
  EXPECT_EQ(ReadFileBytes(file), bytes);
}

TEST_F(FileBytes, OverwritingTruncates) {
  const std::filesystem::path file = folder_ / "Temp.temp";
  Put(file, "a much longer earlier configuration");
  ASSERT_TRUE(WriteFileBytes(file, "short"));
  EXPECT_EQ(Contents(file), "short");

  ASSERT_TRUE(WriteFileBytes(file, ""));
  EXPECT_EQ(std::filesystem::file_size(file), 0u);
  EXPECT_EQ(ReadFileBytes(file), std::string());
}

TEST_F(FileBytes, NewFileIsTheOwnersOnly) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows files have no mode bits: a new file takes the access list of the "
                  "user's own temporary folder";
#else
  const mode_t previous = ::umask(022);
  const std::filesystem::path file = folder_ / "Temp.temp";
  const bool written = WriteFileBytes(file, "x");
  ::umask(previous);
  ASSERT_TRUE(written);
  struct stat info {};
  ASSERT_EQ(::lstat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
#endif
}

TEST_F(FileBytes, LinksAreRefusedAndTheirTargetsUntouched) {
  const std::filesystem::path target = folder_ / "target";
  Put(target, "original");
  const std::filesystem::path link = folder_ / "link";
  if (!nb_test::MakeSymlink(target, link)) GTEST_SKIP() << nb_test::kNoSymlinkReason;
  EXPECT_FALSE(WriteFileBytes(link, "planted"));
  EXPECT_EQ(ReadFileBytes(link), std::nullopt);
  EXPECT_EQ(Contents(target), "original");

  // A dangling link must not create its target either.
  const std::filesystem::path absent = folder_ / "absent";
  const std::filesystem::path dangling = folder_ / "dangling";
  ASSERT_TRUE(nb_test::MakeSymlink(absent, dangling));
  EXPECT_FALSE(WriteFileBytes(dangling, "planted"));
  EXPECT_FALSE(std::filesystem::exists(absent));
  EXPECT_EQ(ReadFileBytes(dangling), std::nullopt);
}

TEST_F(FileBytes, OnlyRegularFilesAreUsed) {
  EXPECT_FALSE(WriteFileBytes(folder_, "x"));
  EXPECT_EQ(ReadFileBytes(folder_), std::nullopt);
#if defined(_WIN32)
  // Windows has no FIFOs at a path; its devices are reached by reserved names.
  EXPECT_EQ(ReadFileBytes("NUL"), std::nullopt);
  EXPECT_FALSE(WriteFileBytes("NUL", "x"));
#else
  EXPECT_EQ(ReadFileBytes("/dev/null"), std::nullopt);

  // Opening a FIFO that nobody holds open blocks unless told not to. Should
  // a call block all the same, the test opens the other end to free it.
  const std::filesystem::path fifo = folder_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto finishes = [&](auto call, int other_end) {
    auto result = std::async(std::launch::async, call);
    if (result.wait_for(std::chrono::seconds(20)) == std::future_status::ready) {
      return result.get();
    }
    const int fd = ::open(fifo.c_str(), other_end | O_NONBLOCK);
    result.wait();
    if (fd >= 0) ::close(fd);
    ADD_FAILURE() << "blocked on a FIFO";
    return result.get();
  };
  EXPECT_FALSE(finishes([&] { return WriteFileBytes(fifo, "x"); }, O_RDONLY));
  EXPECT_EQ(finishes([&] { return ReadFileBytes(fifo); }, O_WRONLY), std::nullopt);
#endif
}

TEST_F(FileBytes, MissingOrEmptyPaths) {
  EXPECT_EQ(ReadFileBytes(folder_ / "missing"), std::nullopt);
  EXPECT_FALSE(WriteFileBytes(folder_ / "no-such-folder" / "Temp.temp", "x"));
  EXPECT_FALSE(WriteFileBytes("", "x"));
  EXPECT_FALSE(WriteFileBytes("", ""));
  EXPECT_EQ(ReadFileBytes(""), std::nullopt);
}

}  // namespace
}  // namespace nb
