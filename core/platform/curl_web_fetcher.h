// The Linux HTTP client behind WebFetch and ProbeConnectivity, on libcurl.
#pragma once

#include <string>
#include <string_view>

#include "nb/platform_services.h"
#include "web_fetch_limits.h"

namespace nb {

// One client for the whole run. Every request opens and closes its own
// connection; the proxy is whatever libcurl takes from the environment.
// Not safe for concurrent use: the system fetches on one thread.
class CurlWebFetcher final : public WebFetcher, public ConnectivityProbe {
 public:
  explicit CurlWebFetcher(WebFetchLimits limits = {});
  CurlWebFetcher(const CurlWebFetcher&) = delete;
  CurlWebFetcher& operator=(const CurlWebFetcher&) = delete;
  ~CurlWebFetcher() override = default;

  // GET with the user agent of the system's requests; see WebFetcher.
  std::string WebFetch(std::string_view address) override;

  // GET with the user agent "test"; true once the headers of the final
  // response have arrived, whatever its status. The body is not read.
  bool ProbeConnectivity(std::string_view address) override;

  const FetchRecord& LastFetch() const { return last_fetch_; }

 private:
  WebFetchLimits limits_;
  FetchRecord last_fetch_;
};

}  // namespace nb
