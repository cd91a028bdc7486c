// Opens web addresses with the desktop's opener program (xdg-open).
#pragma once

#include <string>
#include <string_view>

#include "nb/platform_services.h"

namespace nb {

class XdgBrowserOpener final : public BrowserOpener {
 public:
  // `program` is looked up on PATH unless it holds a '/'.
  explicit XdgBrowserOpener(std::string program = "xdg-open");

  // Starts `program ADDRESS` in a session of its own, without a shell, and
  // returns once it has been started: the browser may outlive this process
  // and never becomes its child. Unsafe addresses start nothing.
  void OpenInBrowser(std::string_view address) override;

 private:
  std::string program_;
};

}  // namespace nb
