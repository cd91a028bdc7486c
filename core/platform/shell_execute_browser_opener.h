// Opens web addresses with the shell's handler for them (ShellExecute).
#pragma once

#include <string_view>

#include "nb/platform_services.h"

namespace nb {

class ShellExecuteBrowserOpener final : public BrowserOpener {
 public:
  // Hands the address to the shell's "open" verb, which starts the default
  // browser and returns without waiting for it. Unsafe addresses start
  // nothing.
  void OpenInBrowser(std::string_view address) override;
};

}  // namespace nb
