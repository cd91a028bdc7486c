// The program's start, apart from the event loop: the browser state, the
// window with its handlers bound, the start-up sequence, and the state's
// release when the session ends. Tests run a session with stand-in services.
#pragma once

#include <memory>
#include <string>

#include "main_window.h"
#include "nb/browser_context.h"
#include "nb/startup_sequence.h"

namespace nb::shell {

using nb::BrowserSettings;

class BrowserSession final : private nb::StartupShell {
 public:
  BrowserSession(BrowserSettings settings, nb::WebFetcher& web, nb::ConnectivityProbe& probe,
                 nb::BrowserOpener& opener);
  // Runs ReleaseBrowserState, once.
  ~BrowserSession() override;
  BrowserSession(const BrowserSession&) = delete;
  BrowserSession& operator=(const BrowserSession&) = delete;

  // The window's created event: the start-up sequence, while the window is
  // hidden; then the window is shown, unless the sequence showed it.
  void LoadMainWindow();

  MainWindow& window() { return window_; }
  nb::BrowserState& state() { return *state_; }

 private:
  void InstallAboutItem() override;
  bool ApplyVisualStyle(std::int32_t scheme) override;

  BrowserSettings settings_;
  std::unique_ptr<nb::BrowserState> state_;
  nb::ConnectivityProbe& probe_;
  MainWindow window_;
  nb::BrowserContext context_;
};

// The whole program: a session on libcurl and xdg-open, then the event loop
// until the window closes. Yields the exit status, 0.
int RunBrowser(int argc, char** argv, BrowserSettings settings);

}  // namespace nb::shell
