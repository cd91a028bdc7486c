// The HTTP client's loopback servers as a program of their own, for a test
// that cannot start them in-process: the Windows build of the web fetch
// suite, run under Wine, where cpp-httplib and POSIX sockets are not at hand.
// Prints "HTTP_PORT RAW_PORT REFUSING_PORT" on one line once all three are
// up, then serves until its standard input closes, so that the servers go
// with whoever started them however that one ends.
#include <iostream>
#include <limits>

#include "http_test_servers.h"

int main() {
  const nb::test::HttpTestServer http;
  const nb::test::RawTestServer raw;
  const nb::test::RefusingPort refusing;
  if (!http.started() || !raw.started() || !refusing.started()) {
    std::cerr << "web-test-servers: could not start the loopback servers\n";
    return 1;
  }
  std::cout << http.port() << ' ' << raw.port() << ' ' << refusing.port() << std::endl;
  std::cin.ignore(std::numeric_limits<std::streamsize>::max());
  return 0;
}
