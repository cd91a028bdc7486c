#include "nb/file_bytes.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <system_error>

namespace nb {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  bool Close() {
    const BOOL closed = ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

 private:
  HANDLE handle_;
};

// A link planted at the path is refused before anything is opened; where
// the file system reports links as reparse points, the handle below catches
// one swapped in after this check as well.
bool IsLink(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_symlink(std::filesystem::symlink_status(file, error));
}

// FILE_FLAG_OPEN_REPARSE_POINT opens a symbolic link or junction itself, not
// what it points at, so the check on the open handle sees the object that is
// then read or written, and a dangling link never creates its target.
FileHandle OpenWithoutReparse(const std::filesystem::path& file, DWORD access,
                              DWORD disposition) {
  return FileHandle(::CreateFileW(file.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// Devices (NUL, CON, pipes), folders and reparse points are not used.
bool IsPlainFile(HANDLE handle) {
  if (::GetFileType(handle) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileInformationByHandle(handle, &info) == FALSE) return false;
  return (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;

}  // namespace

bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  if (file.empty() || IsLink(file)) return false;
  // Truncated only once the handle is known to be a plain file, so nothing
  // else at the path loses its content.
  FileHandle handle = OpenWithoutReparse(file, GENERIC_WRITE, OPEN_ALWAYS);
  if (!handle.valid() || !IsPlainFile(handle.get()) || ::SetEndOfFile(handle.get()) == FALSE) {
    return false;
  }
  while (!bytes.empty()) {
    const auto wanted = static_cast<DWORD>(std::min(bytes.size(), kLargestTransfer));
    DWORD written = 0;
    if (::WriteFile(handle.get(), bytes.data(), wanted, &written, nullptr) == FALSE ||
        written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return handle.Close();
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  if (file.empty() || IsLink(file)) return std::nullopt;
  FileHandle handle = OpenWithoutReparse(file, GENERIC_READ, OPEN_EXISTING);
  if (!handle.valid() || !IsPlainFile(handle.get())) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (::ReadFile(handle.get(), buffer, sizeof buffer, &got, nullptr) == FALSE) {
      return std::nullopt;
    }
    if (got == 0) return bytes;
    bytes.append(buffer, got);
  }
}

}  // namespace nb
