#include "http_test_servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace nb::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kLoopback = "127.0.0.1";

std::string LoopbackAddress(int port, std::string_view path) {
  return "http://" + std::string(kLoopback) + ":" + std::to_string(port) + std::string(path);
}

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A socket address for 127.0.0.1 and `port`; the casts to sockaddr are the
// POSIX socket interface's own.
sockaddr_in LoopbackSocketAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int BoundPort(int socket_fd) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(socket_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  return ntohs(address.sin_port);
}

// A bound TCP socket on 127.0.0.1 with an OS-assigned port, or -1.
int BindLoopbackSocket() {
  const int socket_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket_fd < 0) return -1;
  const sockaddr_in address = LoopbackSocketAddress(0);
  if (bind(socket_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(socket_fd);
    return -1;
  }
  return socket_fd;
}

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_ = -1;
};

}  // namespace

// ---------------------------------------------------------------------------
// HttpTestServer

struct HttpTestServer::State {
  httplib::Server server;
  std::thread thread;
  int port = -1;
  mutable std::mutex mutex;
  RecordedRequest recorded;
  std::map<std::string, std::string, std::less<>> published;  // under /tools/
};

HttpTestServer::HttpTestServer() : state_(std::make_unique<State>()) {
  httplib::Server& server = state_->server;
  // The client sends one request at a time; two workers leave the shared
  // cores to the tests.
  server.new_task_queue = [] { return new httplib::ThreadPool(2); };

  server.Get("/body", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(kPlainBody), "text/xml");
  });
  server.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("", "text/plain");
  });
  server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content(std::string(kNotFoundBody), "text/html");
  });
  server.Get("/server-error", [](const httplib::Request&, httplib::Response& res) {
    res.status = 500;
    res.set_content(std::string(kServerErrorBody), "text/html");
  });
  server.Get(R"(/hops/(\d{1,3}))", [](const httplib::Request& req, httplib::Response& res) {
    const int remaining = std::stoi(req.matches[1].str());
    if (remaining == 0) {
      res.set_content(std::string(kArrivedBody), "text/plain");
    } else {
      res.set_redirect("/hops/" + std::to_string(remaining - 1), 302);
    }
  });
  server.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/loop", 302);
  });
  server.Get("/folder", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("folder/", 301);
  });
  server.Get("/folder/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(kArrivedBody), "text/plain");
  });
  server.Get("/guarded", [](const httplib::Request& req, httplib::Response& res) {
    // "dXNlcjpwYXNz" is base64 of "user:pass".
    if (req.get_header_value("Authorization") == "Basic dXNlcjpwYXNz") {
      res.set_content(std::string(kLetInBody), "text/plain");
      return;
    }
    res.status = 401;
    res.set_header("WWW-Authenticate", "Basic realm=\"test\"");
    res.set_content(std::string(kNotFoundBody), "text/html");
  });
  server.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("file:///etc/passwd", 302);
  });
  server.Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [](std::size_t, httplib::DataSink& sink) {
      const std::string_view body = kUnsizedBody;
      const std::size_t half = body.size() / 2;
      sink.write(body.data(), half);
      sink.write(body.data() + half, body.size() - half);
      sink.done();
      return true;
    });
  });
  server.Get("/large", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(LargeBody(), "application/octet-stream");
  });
  server.Get("/record", [this](const httplib::Request& req, httplib::Response& res) {
    RecordedRequest record{req.method, req.version, req.target, {}};
    for (const auto& [name, value] : req.headers) {
      // httplib files the peer's and its own socket addresses among the
      // headers; the client never sent those.
      if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
          name == "LOCAL_PORT") {
        continue;
      }
      record.headers.emplace_back(Lowered(name), value);
    }
    std::sort(record.headers.begin(), record.headers.end());
    {
      const std::lock_guard lock(state_->mutex);
      state_->recorded = std::move(record);
    }
    res.set_content(std::string(kRecordedBody), "text/plain");
  });
  server.Get("/recorded", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(RecordLines(LastRecorded()), "text/plain");
  });
  server.Get("/forget", [this](const httplib::Request&, httplib::Response& res) {
    ForgetRecorded();
    res.set_content("", "text/plain");
  });

  server.Get(R"(/tools/.*)", [this](const httplib::Request& req, httplib::Response& res) {
    const std::lock_guard lock(state_->mutex);
    const auto found = state_->published.find(req.path);
    if (found == state_->published.end()) {
      res.status = 404;
      res.set_content(std::string(kNotFoundBody), "text/html");
      return;
    }
    res.set_content(found->second, "application/octet-stream");
  });

  state_->port = server.bind_to_any_port(kLoopback);
  if (state_->port <= 0) return;
  state_->thread = std::thread([this] { state_->server.listen_after_bind(); });
  // stop() does nothing until the listening loop runs, so wait for it; the
  // socket already listens, so no request is lost meanwhile.
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!state_->server.is_running() && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(1));
  }
}

HttpTestServer::~HttpTestServer() {
  if (!state_->thread.joinable()) return;
  // Should the loop not have started in time, stop() would miss it: keep
  // asking until the thread has something to stop.
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!state_->server.is_running() && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(1));
  }
  state_->server.stop();
  state_->thread.join();
}

void HttpTestServer::Publish(std::string path, std::string body) {
  const std::lock_guard lock(state_->mutex);
  state_->published[std::move(path)] = std::move(body);
}

bool HttpTestServer::started() const {
  return state_->port > 0 && state_->thread.joinable() && state_->server.is_running();
}

int HttpTestServer::port() const {
  return state_->port;
}

std::string HttpTestServer::Address(std::string_view path) const {
  return LoopbackAddress(state_->port, path);
}

RecordedRequest HttpTestServer::LastRecorded() const {
  const std::lock_guard lock(state_->mutex);
  return state_->recorded;
}

void HttpTestServer::ForgetRecorded() {
  const std::lock_guard lock(state_->mutex);
  state_->recorded = RecordedRequest{};
}

// ---------------------------------------------------------------------------
// RawTestServer

namespace {

enum class Wait { kReady, kStopped, kTimedOut };

// Waits until `fd` has one of `events`, the stop pipe becomes readable, or
// the time runs out.
Wait WaitFor(int fd, short events, int stop_fd, milliseconds timeout) {
  pollfd fds[2] = {{fd, events, 0}, {stop_fd, POLLIN, 0}};
  const int count = poll(fds, 2, static_cast<int>(timeout.count()));
  if (count < 0 && errno != EINTR) return Wait::kStopped;
  if (fds[1].revents != 0) return Wait::kStopped;
  if (count > 0 && fds[0].revents != 0) return Wait::kReady;
  return Wait::kTimedOut;
}

milliseconds Remaining(Clock::time_point deadline) {
  return std::max(milliseconds(0),
                  std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
}

class Connection {
 public:
  Connection(UniqueFd fd, int stop_fd) : fd_(std::move(fd)), stop_fd_(stop_fd) {}

  // The request head, or the empty text when it did not arrive in time.
  std::string ReadHead() {
    std::string head;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16 * 1024) {
      if (WaitFor(fd_.get(), POLLIN, stop_fd_, Remaining(deadline)) != Wait::kReady) return {};
      const ssize_t got = recv(fd_.get(), buffer, sizeof buffer, 0);
      if (got <= 0) {
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        return {};
      }
      head.append(buffer, static_cast<std::size_t>(got));
    }
    return head;
  }

  // False once the client has gone, the server is stopping, or the client
  // has not taken the bytes within a few seconds.
  bool Send(std::string_view bytes) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!bytes.empty()) {
      if (WaitFor(fd_.get(), POLLOUT, stop_fd_, Remaining(deadline)) != Wait::kReady) {
        return false;
      }
      const ssize_t sent = send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent < 0) {
        if (errno == EAGAIN || errno == EINTR) continue;
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

  // Waits, reading and dropping whatever arrives, until the client closes.
  void AwaitClientClose(milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    char buffer[4096];
    while (WaitFor(fd_.get(), POLLIN, stop_fd_, Remaining(deadline)) == Wait::kReady) {
      const ssize_t got = recv(fd_.get(), buffer, sizeof buffer, 0);
      if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return;
    }
  }

  // Signals the end of the body and lets the client read it all before the
  // socket goes: closing with unread input would reset the connection and
  // could discard what the client had not yet read.
  void Finish() {
    shutdown(fd_.get(), SHUT_WR);
    AwaitClientClose(std::chrono::seconds(2));
  }

  bool Pause(milliseconds duration) const {
    pollfd stop = {stop_fd_, POLLIN, 0};
    return poll(&stop, 1, static_cast<int>(duration.count())) == 0;
  }

 private:
  UniqueFd fd_;
  int stop_fd_;
};

std::string_view RequestPath(std::string_view head) {
  const std::size_t start = head.find(' ');
  if (start == std::string_view::npos) return {};
  const std::size_t end = head.find(' ', start + 1);
  if (end == std::string_view::npos) return {};
  return head.substr(start + 1, end - start - 1);
}

void Respond(Connection& connection, std::string_view path, std::size_t connection_count) {
  constexpr std::string_view kOpenEnded = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
  if (path == "/cut") {
    connection.Send("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n");
    connection.Send(kCutBody);
    connection.Finish();
  } else if (path == "/silent") {
    connection.AwaitClientClose(std::chrono::seconds(20));
  } else if (path == "/stall-after-headers") {
    connection.Send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n");
    connection.AwaitClientClose(std::chrono::seconds(20));
  } else if (path == "/drip") {
    if (!connection.Send(kOpenEnded)) return;
    for (const char byte : kDripBody) {
      if (!connection.Send(std::string_view(&byte, 1))) return;
      if (!connection.Pause(milliseconds(50))) return;
    }
    connection.Finish();
  } else if (path == "/endless") {
    if (!connection.Send(kOpenEnded)) return;
    const std::string block(64 * 1024, 'x');
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    // Bounded in time and in bytes, should a client read on regardless.
    for (int i = 0; i < 16 * 1024 && Clock::now() < deadline; ++i) {
      if (!connection.Send(block)) return;
    }
  } else if (path == "/unsized") {
    connection.Send(kOpenEnded);
    connection.Send(kUnsizedBody);
    connection.Finish();
  } else {
    const std::string body =
        path == "/connections" ? std::to_string(connection_count) : std::string(kRawDefaultBody);
    connection.Send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                    "\r\n\r\n");
    connection.Send(body);
    connection.Finish();
  }
}

}  // namespace

struct RawTestServer::State {
  UniqueFd listener;
  UniqueFd stop_read;
  UniqueFd stop_write;
  int port = -1;
  std::atomic<std::size_t> connections{0};
  std::thread thread;

  void Serve() {
    while (WaitFor(listener.get(), POLLIN, stop_read.get(), milliseconds(-1)) == Wait::kReady) {
      const int accepted = accept4(listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (accepted < 0) {
        if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED) continue;
        return;
      }
      connections.fetch_add(1);
      Connection connection(UniqueFd(accepted), stop_read.get());
      const std::string head = connection.ReadHead();
      if (head.empty()) continue;
      const std::string_view path = RequestPath(head);
      // Asking for the count must not change it.
      if (path == "/connections") connections.fetch_sub(1);
      Respond(connection, path, connections.load());
    }
  }
};

RawTestServer::RawTestServer() : state_(std::make_unique<State>()) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return;
  state_->stop_read = UniqueFd(pipe_fds[0]);
  state_->stop_write = UniqueFd(pipe_fds[1]);
  state_->listener = UniqueFd(BindLoopbackSocket());
  if (state_->listener.get() < 0 || listen(state_->listener.get(), 16) != 0) return;
  state_->port = BoundPort(state_->listener.get());
  if (state_->port <= 0) return;
  state_->thread = std::thread([this] { state_->Serve(); });
}

RawTestServer::~RawTestServer() {
  if (!state_->thread.joinable()) return;
  const char stop = 's';
  while (write(state_->stop_write.get(), &stop, 1) < 0 && errno == EINTR) {
  }
  state_->thread.join();
}

bool RawTestServer::started() const {
  return state_->port > 0 && state_->thread.joinable();
}

int RawTestServer::port() const {
  return state_->port;
}

std::string RawTestServer::Address(std::string_view path) const {
  return LoopbackAddress(state_->port, path);
}

std::size_t RawTestServer::ConnectionCount() const {
  return state_->connections.load();
}

// ---------------------------------------------------------------------------
// RefusingPort

RefusingPort::RefusingPort() : socket_(BindLoopbackSocket()) {
  if (socket_ >= 0) port_ = BoundPort(socket_);
}

RefusingPort::~RefusingPort() {
  if (socket_ >= 0) close(socket_);
}

std::string RefusingPort::Address(std::string_view path) const {
  return LoopbackAddress(port_, path);
}

}  // namespace nb::test
