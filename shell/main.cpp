// nokia-browser and nokia-browser-demo: the same program, built with the
// server addresses of the publisher or of the loopback demo servers. Nothing
// is read from the command line, the environment or a file to change them.
#include "browser_session.h"

int main(int argc, char** argv) {
  nb::shell::BrowserSettings settings;
  settings.sources.primary_server = NB_PRIMARY_SERVER;
  settings.sources.mirror_server = NB_MIRROR_SERVER;
  settings.probe_address = NB_PROBE_ADDRESS;
  return nb::shell::RunBrowser(argc, argv, std::move(settings));
}
