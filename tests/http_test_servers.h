// Servers on 127.0.0.1 with OS-assigned ports for the HTTP client's tests: a
// well-behaved HTTP server with fixed routes, a raw socket server that
// misbehaves on the wire, and a port where nothing listens. Each starts in its
// constructor and is stopped, with its threads joined, in its destructor.
//
// The servers themselves are Linux code. Everything else here is plain C++,
// for the Windows build of the tests, which reaches the same servers run by
// the web-test-servers program and reads what they saw over HTTP.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nb::test {

// Bodies the servers answer with, for comparison in the tests.
inline constexpr char kPlainBodyBytes[] = "<c><m value=\"\xC5\xB5\"/>\0binary after a NUL";
inline constexpr std::string_view kPlainBody{kPlainBodyBytes, sizeof kPlainBodyBytes - 1};
inline constexpr std::string_view kNotFoundBody =
    "<html><head><title>404 Not Found</title></head>"
    "<body><h1>Not Found</h1><p>The requested document is not here.</p></body></html>";
inline constexpr std::string_view kServerErrorBody = "<html><body>500 Internal Error</body></html>";
inline constexpr std::string_view kArrivedBody = "arrived after the redirects";
inline constexpr std::string_view kRecordedBody = "recorded";
inline constexpr std::string_view kLetInBody = "let in with the right credentials";
inline constexpr std::string_view kUnsizedBody = "a body whose length no header states";
inline constexpr std::string_view kRawDefaultBody = "ok";
// What /cut sends of a body whose Content-Length promises more.
inline constexpr std::string_view kCutBody = "the first part of a body that never ends properly";
// What /drip would send, one byte at a time, if nobody gave up.
inline constexpr std::string_view kDripBody =
    "drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip "
    "drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip drip";

// The body of /large: several megabytes of every byte value, NUL included.
inline const std::string& LargeBody() {
  static const std::string body = [] {
    // Not a multiple of any read buffer size, so the last read is a short one.
    std::string bytes(3 * 1024 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      bytes[i] = static_cast<char>(static_cast<unsigned char>((i * 7 + i / 251) % 256));
    }
    return bytes;
  }();
  return body;
}

// One request as the HTTP server parsed it.
struct RecordedRequest {
  std::string method;
  std::string version;
  std::string target;  // the path and query exactly as sent
  // Every header the client sent, names lower-cased, sorted.
  std::vector<std::pair<std::string, std::string>> headers;
};

// A RecordedRequest as /recorded answers it: the request line as HTTP writes
// it, then "name: value" for each header, each line ending in a line feed.
// Nothing recorded reads back as nothing recorded; a request that reached
// /record has a target without spaces and headers without line breaks.
inline std::string RecordLines(const RecordedRequest& request) {
  std::string lines = request.method + ' ' + request.target + ' ' + request.version + '\n';
  for (const auto& [name, value] : request.headers) lines += name + ": " + value + '\n';
  return lines;
}

inline RecordedRequest RecordFromLines(std::string_view lines) {
  RecordedRequest request;
  bool request_line = true;
  while (!lines.empty()) {
    const std::size_t end = lines.find('\n');
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    if (request_line) {
      request_line = false;
      const std::size_t first_space = line.find(' ');
      const std::size_t last_space = line.rfind(' ');
      if (first_space == std::string_view::npos || last_space == first_space) continue;
      request.method = line.substr(0, first_space);
      request.target = line.substr(first_space + 1, last_space - first_space - 1);
      request.version = line.substr(last_space + 1);
    } else {
      const std::size_t colon = line.find(": ");
      request.headers.emplace_back(line.substr(0, colon),
                                   colon == std::string_view::npos ? "" : line.substr(colon + 2));
    }
  }
  return request;
}

// cpp-httplib on 127.0.0.1. Routes:
//   /body          200, kPlainBody
//   /empty         200, empty body
//   /missing       404, kNotFoundBody
//   /server-error  500, kServerErrorBody
//   /hops/N        302 to /hops/N-1; /hops/0 answers kArrivedBody
//   /loop          302 to itself
//   /folder        301 to the relative folder/; /folder/ answers kArrivedBody
//   /guarded       kLetInBody for Basic user:pass, else 401 asking for Basic
//   /to-file       302 to file:///etc/passwd
//   /chunked       kUnsizedBody in chunks, no Content-Length
//   /large         LargeBody()
//   /record        kRecordedBody, and the request is kept for LastRecorded()
//   /recorded      RecordLines(LastRecorded()), for a test in another process
//   /forget        ForgetRecorded(), answering an empty body
//   /tools/...     what Publish() put there, else 404 with kNotFoundBody
class HttpTestServer {
 public:
  HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;
  ~HttpTestServer();

  bool started() const;
  int port() const;
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Address(std::string_view path) const;
  // The last request /record saw; an empty record when it saw none.
  RecordedRequest LastRecorded() const;
  void ForgetRecorded();
  // Serves `body` at `path`, which must start with /tools/; other paths
  // there answer 404 with kNotFoundBody.
  void Publish(std::string path, std::string body);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Plain POSIX sockets in one thread, one connection at a time. Reads the
// request head, then acts by path:
//   /cut                  Content-Length 1000, sends kCutBody, closes
//   /silent               reads the request, never answers
//   /stall-after-headers  sends the headers of a 100-byte body, then nothing
//   /drip                 no Content-Length, kDripBody one byte per 50 ms
//   /endless              no Content-Length, bytes until the client gives up
//   /unsized              no Content-Length, kUnsizedBody, closes
//   /connections          200, ConnectionCount() in decimal, for a test in
//                         another process; these requests are not counted
//   anything else         200, kRawDefaultBody
// Every wait also watches for the stop, and every loop ends after a bounded
// time, so the destructor never waits long for a client that hangs on.
class RawTestServer {
 public:
  RawTestServer();
  RawTestServer(const RawTestServer&) = delete;
  RawTestServer& operator=(const RawTestServer&) = delete;
  ~RawTestServer();

  bool started() const;
  int port() const;
  std::string Address(std::string_view path) const;
  // Connections accepted so far, whatever happened on them.
  std::size_t ConnectionCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A loopback port that refuses connections: bound, so no one else takes it
// while the tests run, but not listening.
class RefusingPort {
 public:
  RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  ~RefusingPort();

  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  std::string Address(std::string_view path) const;

 private:
  int socket_ = -1;
  int port_ = -1;
};

}  // namespace nb::test
