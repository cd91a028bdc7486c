#include "win32/browser_session.h"

#include <utility>

#include "core_bindings.h"
#include "nb/platform_paths.h"
#include "shell_execute_browser_opener.h"
#include "win32/about_item.h"
#include "win32/visual_style.h"
#include "wininet_web_fetcher.h"

namespace nb::win32 {

using nb::shell::BindCoreHandlers;

BrowserSession::BrowserSession(nb::BrowserSettings settings, nb::WebFetcher& web,
                               nb::ConnectivityProbe& probe, nb::BrowserOpener& opener)
    : settings_(std::move(settings)),
      state_(nb::CreateBrowserState()),
      probe_(probe),
      window_(nb::HomeLabelText(settings_.sources)),
      context_{*state_, window_, web, opener, settings_.sources} {
  BindCoreHandlers(window_, context_);
}

BrowserSession::~BrowserSession() {
  nb::ReleaseBrowserState(*state_);
}

void BrowserSession::LoadMainWindow() {
  if (window_.Handle() == nullptr) return;
  nb::RunStartupSequence(context_, *this, probe_, settings_.probe_address);
  if (window_.Handle() == nullptr) return;
  window_.SetWindowVisible(true);
  ::SetForegroundWindow(window_.Handle());
}

void BrowserSession::InstallAboutItem() {
  win32::InstallAboutItem(window_.Handle());
}

bool BrowserSession::ApplyVisualStyle(std::int32_t scheme) {
  return win32::ApplyVisualStyle(scheme);
}

int RunMessageLoop(BrowserSession& session) {
  if (session.window().Handle() == nullptr) return 0;
  // The last window of the program gone, the loop ends on WM_QUIT.
  session.window().SetDestroyedHandler([] { ::PostQuitMessage(0); });
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (session.window().HandleTabKey(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

int RunBrowser(nb::BrowserSettings settings) {
  settings.sources.config_file = nb::DefaultConfigFile();
  nb::WinInetWebFetcher web;
  nb::ShellExecuteBrowserOpener opener;
  int status = 0;
  {
    BrowserSession session(std::move(settings), web, web, opener);
    if (session.window().Handle() == nullptr) return 1;
    session.LoadMainWindow();
    status = RunMessageLoop(session);
  }  // the state is released here, once, after the last message
  return status;
}

}  // namespace nb::win32
