// The Windows HTTP client behind WebFetch and ProbeConnectivity, on WinINet.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "nb/platform_services.h"
#include "web_fetch_limits.h"

namespace nb {

// One internet handle for the whole run, opened at the first fetch; every
// request opens and closes its own connection. The proxy is the one the
// system has configured. Not safe for concurrent use: the system fetches on
// one thread.
class WinInetWebFetcher final : public WebFetcher, public ConnectivityProbe {
 public:
  explicit WinInetWebFetcher(WebFetchLimits limits = {});
  WinInetWebFetcher(const WinInetWebFetcher&) = delete;
  WinInetWebFetcher& operator=(const WinInetWebFetcher&) = delete;
  ~WinInetWebFetcher() override;

  // GET with the user agent of the system's requests; see WebFetcher.
  std::string WebFetch(std::string_view address) override;

  // GET with the user agent "test" on a handle of its own, following
  // redirects as WebFetch does; true once the server has answered with the
  // headers of a final response, whatever its status. The body is not read.
  bool ProbeConnectivity(std::string_view address) override;

  const FetchRecord& LastFetch() const { return last_fetch_; }

 private:
  class Session;

  WebFetchLimits limits_;
  FetchRecord last_fetch_;
  std::unique_ptr<Session> session_;
};

}  // namespace nb
