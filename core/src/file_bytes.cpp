#include "nb/file_bytes.h"

#if !defined(_WIN32)

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace nb {
namespace {

// O_NONBLOCK keeps a FIFO planted at the path from stalling the window
// thread in open(); regular files ignore it.
int OpenNoFollow(const std::filesystem::path& file, int flags, mode_t mode = 0) {
  int fd = -1;
  do {
    fd = ::open(file.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool IsRegularFile(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // On Linux the descriptor is gone even when close() reports EINTR, so it
  // is never retried; any other error may mean the data did not reach disk.
  bool Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 || errno == EINTR;
  }

 private:
  int fd_;
};

}  // namespace

bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  if (file.empty()) return false;
  FileDescriptor fd(OpenNoFollow(file, O_WRONLY | O_CREAT | O_TRUNC, 0600));
  if (fd.get() < 0 || !IsRegularFile(fd.get())) return false;
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd.get(), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return fd.Close();
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  if (file.empty()) return std::nullopt;
  FileDescriptor fd(OpenNoFollow(file, O_RDONLY));
  if (fd.get() < 0 || !IsRegularFile(fd.get())) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace nb

#else

#include <fstream>
#include <iterator>
#include <system_error>

namespace nb {
namespace {

// Checked before opening, so a link swapped in between is not caught; the
// Windows build is to replace this with a handle opened without reparse.
bool IsLink(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_symlink(std::filesystem::symlink_status(file, error));
}

}  // namespace

bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  if (file.empty() || IsLink(file)) return false;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  std::error_code error;
  if (file.empty() || IsLink(file) || !std::filesystem::is_regular_file(file, error)) {
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace nb

#endif
