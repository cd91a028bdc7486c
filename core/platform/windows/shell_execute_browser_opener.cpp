#include "shell_execute_browser_opener.h"

// shellapi.h needs what windows.h declares, so it comes second.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "nb/web_address.h"
#include "wide_text.h"

namespace nb {

void ShellExecuteBrowserOpener::OpenInBrowser(std::string_view address) {
  if (!IsSafeWebAddress(address)) return;
  const std::wstring wide = windows::WideFromCatalogueText(address);
  if (wide.empty()) return;
  // Whatever message the shell shows then stays above an Internet Explorer
  // window the user may be looking at, instead of behind it.
  HWND owner = ::FindWindowW(nullptr, L"Microsoft Internet Explorer");
  // The result is not examined: a failure to open leaves nothing to undo and
  // nothing is reported to the user.
  static_cast<void>(::ShellExecuteW(owner, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace nb
