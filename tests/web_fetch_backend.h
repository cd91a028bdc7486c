// What the HTTP client suite (web_fetch_test.cpp) needs of the platform it
// runs on: the fetcher under test, the loopback servers, and where the
// platform's client differs on the wire. On Linux the libcurl fetcher meets
// servers started in the test process (web_fetch_backend_linux.cpp); the
// Windows build's WinINet fetcher, run under Wine, meets the same servers run
// as a Linux program beside it (web_fetch_backend_windows.cpp,
// cmake/with-test-servers.sh).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "http_test_servers.h"

#ifdef _WIN32
#include "wininet_web_fetcher.h"
#else
#include "curl_web_fetcher.h"
#endif

namespace nb::test {

#ifdef _WIN32
using FetcherUnderTest = WinInetWebFetcher;
#else
using FetcherUnderTest = CurlWebFetcher;
#endif

using Headers = std::vector<std::pair<std::string, std::string>>;

// Where the client library, rather than the fetcher, decides what is sent.
struct WireExpectations {
  // Headers the library may add to those the fetcher asks for, names
  // lower-cased, with their values; any other header is a fault.
  Headers library_headers;
  // Whether credentials in the address go with the first request, or only
  // once the server asks for them.
  bool sends_credentials_unasked = true;
};
const WireExpectations& Expected();

// The servers of http_test_servers.h, wherever they run.
int HttpServerPort();
int RawServerPort();
int RefusingServerPort();
RecordedRequest LastRecorded();
void ForgetRecorded();
std::size_t RawConnectionCount();

inline std::string LoopbackAddress(int port, std::string_view path) {
  return "http://127.0.0.1:" + std::to_string(port) + std::string(path);
}
inline std::string HttpAddress(std::string_view path) {
  return LoopbackAddress(HttpServerPort(), path);
}
inline std::string RawAddress(std::string_view path) {
  return LoopbackAddress(RawServerPort(), path);
}
inline std::string RefusingAddress(std::string_view path) {
  return LoopbackAddress(RefusingServerPort(), path);
}

}  // namespace nb::test
