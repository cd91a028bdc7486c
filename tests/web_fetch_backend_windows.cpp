// The WinINet fetcher, under Wine or Windows, against the servers of the
// Linux program web-test-servers, whose ports cmake/with-test-servers.sh
// hands over in the environment (Wine passes it on to Windows programs).
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web_fetch_backend.h"

namespace nb::test {
namespace {

int PortFromEnvironment(const char* name) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return -1;
  char* end = nullptr;
  const long port = std::strtol(text, &end, 10);
  if (*end != '\0' || port <= 0 || port > 65535) return -1;
  return static_cast<int>(port);
}

class RemoteServers final : public ::testing::Environment {
 public:
  void SetUp() override {
    http_ = PortFromEnvironment("NB_TEST_HTTP_PORT");
    raw_ = PortFromEnvironment("NB_TEST_RAW_PORT");
    refusing_ = PortFromEnvironment("NB_TEST_REFUSING_PORT");
    ASSERT_TRUE(http_ > 0 && raw_ > 0 && refusing_ > 0)
        << "NB_TEST_HTTP_PORT, NB_TEST_RAW_PORT and NB_TEST_REFUSING_PORT name no servers; run "
           "this program through cmake/with-test-servers.sh with the Linux web-test-servers";
  }

  int http() const { return http_; }
  int raw() const { return raw_; }
  int refusing() const { return refusing_; }

 private:
  int http_ = -1;
  int raw_ = -1;
  int refusing_ = -1;
};

RemoteServers* const servers =
    static_cast<RemoteServers*>(::testing::AddGlobalTestEnvironment(new RemoteServers));

// What a control route of the servers answers. WinINet is called directly
// rather than through the fetcher under test, so that a fault of the
// fetcher cannot also spoil what the tests read back about it.
std::string ControlAnswer(int port, std::string_view path) {
  // Left open: it serves every test, and the process ends with them.
  static const HINTERNET session =
      ::InternetOpenW(L"web fetch test control", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  const std::string address = LoopbackAddress(port, path);
  const std::wstring wide(address.begin(), address.end());
  const HINTERNET request = ::InternetOpenUrlW(
      session, wide.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (request == nullptr) {
    ADD_FAILURE() << "no answer from " << address << ", error " << ::GetLastError();
    return {};
  }
  std::string answer;
  char buffer[4096];
  DWORD got = 0;
  while (::InternetReadFile(request, buffer, sizeof buffer, &got) != FALSE && got > 0) {
    answer.append(buffer, got);
  }
  ::InternetCloseHandle(request);
  return answer;
}

}  // namespace

// As seen under Wine. The no-cache the fetcher asks for goes out as Pragma.
// WinINet sends credentials from the address only once a server asks for
// them, but then keeps them for the rest of the process and sends them to
// that server unasked, whichever test comes next.
const WireExpectations& Expected() {
  static const WireExpectations expected{
      {{"authorization", "Basic dXNlcjpwYXNz"}, {"pragma", "no-cache"}}, false};
  return expected;
}

int HttpServerPort() {
  return servers->http();
}
int RawServerPort() {
  return servers->raw();
}
int RefusingServerPort() {
  return servers->refusing();
}
RecordedRequest LastRecorded() {
  return RecordFromLines(ControlAnswer(servers->http(), "/recorded"));
}
void ForgetRecorded() {
  ControlAnswer(servers->http(), "/forget");
}
std::size_t RawConnectionCount() {
  return std::stoul(ControlAnswer(servers->raw(), "/connections"));
}

}  // namespace nb::test
