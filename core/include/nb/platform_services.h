// The services the catalogue core needs from the platform, one small
// interface each. Every platform has one implementation of each, chosen at
// build time (libcurl, xdg-open and the user's cache folder on Linux; WinINet,
// ShellExecute and the user's temporary folder on Windows), and tests stand in
// for any of them. No platform switch runs through the core's logic.
#pragma once

#include <string>
#include <string_view>

namespace nb {

class WebFetcher {
 public:
  virtual ~WebFetcher() = default;
  // One GET of an absolute http or https address, waiting until it ends: the
  // body bytes; the bytes read so far when reading fails part way; the empty
  // block for every other failure. Whatever the HTTP status, the body counts.
  virtual std::string WebFetch(std::string_view address) = 0;
};

class BrowserOpener {
 public:
  virtual ~BrowserOpener() = default;
  // Hands `address` to the desktop's web browser and returns without waiting.
  // Reports nothing; an address that is not absolute http or https is not
  // handed over at all.
  virtual void OpenInBrowser(std::string_view address) = 0;
};

class ConnectivityProbe {
 public:
  virtual ~ConnectivityProbe() = default;
  // True once `address` answered with the headers of a response.
  virtual bool ProbeConnectivity(std::string_view address) = 0;
};

}  // namespace nb
