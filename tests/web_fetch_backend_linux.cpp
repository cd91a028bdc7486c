// The libcurl fetcher against servers in the test process itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "web_fetch_backend.h"

namespace nb::test {
namespace {

// Started once for the whole test program.
class LoopbackServers final : public ::testing::Environment {
 public:
  void SetUp() override {
    // A proxy configured on the developer's machine must not receive the
    // loopback requests; libcurl reads this before every transfer.
    setenv("no_proxy", "127.0.0.1", 1);
    http_ = std::make_unique<HttpTestServer>();
    raw_ = std::make_unique<RawTestServer>();
    refusing_ = std::make_unique<RefusingPort>();
    ASSERT_TRUE(http_->started());
    ASSERT_TRUE(raw_->started());
    ASSERT_TRUE(refusing_->started());
  }
  void TearDown() override {
    http_.reset();
    raw_.reset();
    refusing_.reset();
  }

  HttpTestServer& http() { return *http_; }
  RawTestServer& raw() { return *raw_; }
  RefusingPort& refusing() { return *refusing_; }

 private:
  std::unique_ptr<HttpTestServer> http_;
  std::unique_ptr<RawTestServer> raw_;
  std::unique_ptr<RefusingPort> refusing_;
};

LoopbackServers* const servers =
    static_cast<LoopbackServers*>(::testing::AddGlobalTestEnvironment(new LoopbackServers));

}  // namespace

// libcurl sends exactly what it is told to.
const WireExpectations& Expected() {
  static const WireExpectations expected{{}, true};
  return expected;
}

int HttpServerPort() {
  return servers->http().port();
}
int RawServerPort() {
  return servers->raw().port();
}
int RefusingServerPort() {
  return servers->refusing().port();
}
RecordedRequest LastRecorded() {
  return servers->http().LastRecorded();
}
void ForgetRecorded() {
  servers->http().ForgetRecorded();
}
std::size_t RawConnectionCount() {
  return servers->raw().ConnectionCount();
}

}  // namespace nb::test
