#include "nb/file_bytes.h"

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
