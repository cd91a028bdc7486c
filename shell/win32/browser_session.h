// The program's start on Win32, apart from the message loop: the browser
// state, the window with its handlers bound, the start-up sequence as the
// window's created event, and the state's release when the session ends.
// Tests run a session with stand-in services.
#pragma once

#include <memory>

#include "nb/browser_context.h"
#include "nb/startup_sequence.h"
#include "win32/main_window.h"

namespace nb::win32 {

class BrowserSession final : private nb::StartupShell {
 public:
  BrowserSession(nb::BrowserSettings settings, nb::WebFetcher& web, nb::ConnectivityProbe& probe,
                 nb::BrowserOpener& opener);
  // Runs ReleaseBrowserState, once.
  ~BrowserSession() override;
  BrowserSession(const BrowserSession&) = delete;
  BrowserSession& operator=(const BrowserSession&) = delete;

  // Raises the window's created event, the start-up sequence, while the
  // window is hidden; then shows and activates the window, unless the
  // sequence has shown it already. Returns once the window is shown.
  void LoadMainWindow();

  Win32MainWindow& window() { return window_; }
  nb::BrowserState& state() { return *state_; }

 private:
  void InstallAboutItem() override;
  bool ApplyVisualStyle(std::int32_t scheme) override;

  nb::BrowserSettings settings_;
  std::unique_ptr<nb::BrowserState> state_;
  nb::ConnectivityProbe& probe_;
  Win32MainWindow window_;
  nb::BrowserContext context_;
};

// Handles the thread's messages until the session's window has been
// destroyed (closed by the user: the close button, Close in the system menu,
// Alt+F4). Yields the exit status, 0.
int RunMessageLoop(BrowserSession& session);

// The whole program: a session on WinINet and the shell's "open", then the
// message loop until the window is destroyed. Yields the exit status, 0.
int RunBrowser(nb::BrowserSettings settings);

}  // namespace nb::win32
