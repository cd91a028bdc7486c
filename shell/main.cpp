// nokia-browser and nokia-browser-demo on Qt: the same program, built with
// the server addresses of the publisher or of the loopback demo servers.
#include "browser_session.h"
#include "built_in_settings.h"

int main(int argc, char** argv) {
  return nb::shell::RunBrowser(argc, argv, nb::shell::BuiltInSettings());
}
