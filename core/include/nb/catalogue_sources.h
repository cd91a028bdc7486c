// Where catalogues and the remote configuration come from. Handed to the core
// from outside, so that tests and the demo can point it at loopback servers.
#pragma once

#include <filesystem>
#include <string>

namespace nb {

struct CatalogueSources {
  // Scheme and host, optionally with a port, without a trailing slash:
  // "http://host" or "http://127.0.0.1:18936".
  std::string primary_server;
  std::string mirror_server;
  // Where the downloaded configuration is written and read back.
  std::filesystem::path config_file;
};

// The primary server's home page: its scheme, host (and port) and "/".
std::string HomePageAddress(const CatalogueSources& sources);

// The home-page label's text: the primary server's host name in capitals,
// a blank and "V1.0" ("PRIMARY.EXAMPLE V1.0"); no scheme, port or user.
std::string HomeLabelText(const CatalogueSources& sources);

}  // namespace nb
