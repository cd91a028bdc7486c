#include "nb/platform_paths.h"

#include <windows.h>

#include <string>
#include <system_error>

namespace nb {

// The user's own temporary folder rather than the shared C:\Windows\Temp:
// other users can plant files in the shared one, and it is not writable
// without administrator rights on current Windows.
std::filesystem::path DefaultConfigFile() {
  std::wstring folder(MAX_PATH + 1, L'\0');
  DWORD length = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  if (length > folder.size()) {
    folder.resize(length);
    length = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  }
  if (length == 0 || length >= folder.size()) return {};
  folder.resize(length);
  const std::filesystem::path path(folder);
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) return {};
  return path / L"Temp.temp";
}

}  // namespace nb
