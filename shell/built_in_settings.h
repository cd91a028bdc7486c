// The server addresses each executable is built with (nokia-browser with the
// publisher's, nokia-browser-demo with the loopback demo servers'), for every
// window shell alike. Nothing is read from the command line, the environment
// or a file to change them.
#pragma once

#include "nb/startup_sequence.h"

namespace nb::shell {

inline nb::BrowserSettings BuiltInSettings() {
  nb::BrowserSettings settings;
  settings.sources.primary_server = NB_PRIMARY_SERVER;
  settings.sources.mirror_server = NB_MIRROR_SERVER;
  settings.probe_address = NB_PROBE_ADDRESS;
  return settings;
}

}  // namespace nb::shell
