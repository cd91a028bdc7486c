#include "browser_session.h"

#include <QApplication>
#include <utility>

#include "about_box.h"
#include "core_bindings.h"
#include "curl_web_fetcher.h"
#include "nb/platform_paths.h"
#include "visual_style.h"
#include "xdg_browser_opener.h"

namespace nb::shell {

BrowserSession::BrowserSession(BrowserSettings settings, nb::WebFetcher& web,
                               nb::ConnectivityProbe& probe, nb::BrowserOpener& opener)
    : settings_(std::move(settings)),
      state_(nb::CreateBrowserState()),
      probe_(probe),
      window_(nb::HomeLabelText(settings_.sources)),
      context_{*state_, window_, web, opener, settings_.sources} {
  BindCoreHandlers(window_, context_);
  window_.SetAboutHandler([] { ShowAboutBox(); });
}

BrowserSession::~BrowserSession() {
  nb::ReleaseBrowserState(*state_);
}

void BrowserSession::LoadMainWindow() {
  nb::RunStartupSequence(context_, *this, probe_, settings_.probe_address);
  window_.SetWindowVisible(true);
  window_.activateWindow();
}

void BrowserSession::InstallAboutItem() {
  window_.InstallAboutItem();
}

bool BrowserSession::ApplyVisualStyle(std::int32_t scheme) {
  return shell::ApplyVisualStyle(scheme);
}

int RunBrowser(int argc, char** argv, BrowserSettings settings) {
  QApplication application(argc, argv);
  QApplication::setWindowIcon(ApplicationIcon());
  settings.sources.config_file = nb::DefaultConfigFile();
  nb::CurlWebFetcher web;
  nb::XdgBrowserOpener opener;
  {
    BrowserSession session(std::move(settings), web, web, opener);
    session.LoadMainWindow();
    QApplication::exec();
  }  // the state is released here, once, after the last event
  return 0;
}

}  // namespace nb::shell
