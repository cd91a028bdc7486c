// nokia-browser.exe and nokia-browser-demo.exe: the same program, built with
// the server addresses of the publisher or of the loopback demo servers.
#include <windows.h>

#include "built_in_settings.h"
#include "win32/browser_session.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return nb::win32::RunBrowser(nb::shell::BuiltInSettings());
}
