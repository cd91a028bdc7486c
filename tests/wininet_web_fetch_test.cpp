// A manual check of the WinINet fetcher under Wine or Windows, against a
// server started by hand; not registered with CTest. For example:
//   mkdir -p /tmp/www && printf 'hello' > /tmp/www/a.txt
//   python3 -m http.server 8765 --bind 127.0.0.1 --directory /tmp/www &
//   NB_TEST_SERVER=http://127.0.0.1:8765 cmake/wine-run.sh PREFIX wininet_web_fetch_test.exe
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "wininet_web_fetcher.h"

namespace nb {
namespace {

std::string Server() {
  const char* server = std::getenv("NB_TEST_SERVER");
  return server == nullptr ? std::string() : std::string(server);
}

TEST(WinInetWebFetch, FetchesABodyAndAnErrorPage) {
  if (Server().empty()) GTEST_SKIP() << "NB_TEST_SERVER is not set";
  WinInetWebFetcher fetcher;
  EXPECT_EQ(fetcher.WebFetch(Server() + "/a.txt"), "hello");
  EXPECT_EQ(fetcher.LastFetch().status, 200);
  EXPECT_FALSE(fetcher.WebFetch(Server() + "/missing").empty()) << "error pages are bodies";
  EXPECT_EQ(fetcher.LastFetch().status, 404);
}

TEST(WinInetWebFetch, RefusesOtherSchemesWithoutARequest) {
  WinInetWebFetcher fetcher;
  EXPECT_EQ(fetcher.WebFetch("file:///c:/windows/win.ini"), "");
  EXPECT_FALSE(fetcher.LastFetch().failure.empty());
  EXPECT_FALSE(fetcher.ProbeConnectivity("ftp://127.0.0.1/"));
}

TEST(WinInetWebFetch, FollowsARedirectToAFolder) {
  if (Server().empty()) GTEST_SKIP() << "NB_TEST_SERVER is not set";
  // http.server redirects a folder without its trailing slash.
  WinInetWebFetcher fetcher;
  EXPECT_FALSE(fetcher.WebFetch(Server() + "/sub").empty());
  EXPECT_EQ(fetcher.LastFetch().status, 200);
  EXPECT_EQ(fetcher.LastFetch().final_address, Server() + "/sub/");
}

TEST(WinInetWebFetch, ProbesALoopbackServer) {
  if (Server().empty()) GTEST_SKIP() << "NB_TEST_SERVER is not set";
  WinInetWebFetcher fetcher;
  EXPECT_TRUE(fetcher.ProbeConnectivity(Server() + "/"));
  EXPECT_FALSE(fetcher.ProbeConnectivity("http://127.0.0.1:1/"));
}

}  // namespace
}  // namespace nb
