#include "curl_web_fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <utility>

#include "nb/web_address.h"

namespace nb {
namespace {

constexpr const char* kFetchUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr const char* kProbeUserAgent = "test";
constexpr const char* kWebProtocols = "http,https";
constexpr long kMaxRedirects = 10;
constexpr long kReadBufferBytes = 102400;

// libcurl measures an average speed in bytes per second over the window;
// rounding up keeps "fewer than N bytes in T seconds" exact.
long LowSpeedLimit(const WebFetchLimits& limits) {
  const long seconds = std::max(1L, static_cast<long>(limits.low_speed_time.count()));
  return (limits.low_speed_bytes + seconds - 1) / seconds;
}

// The request carries Accept, User-Agent and Host (and Authorization when the
// address names a user) and nothing else. An entry with nothing after the
// colon removes a header libcurl would otherwise add on its own.
constexpr std::array kRequestHeaders = {"Accept: */*",
                                        "Expect:", "Pragma:", "Accept-Encoding:", "Connection:"};

void InitialiseCurlOnce() {
  // libcurl wants its global set-up done once before any handle, and never
  // undone while another part of the process might still use it.
  static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
  static_cast<void>(result);
}

// Owns one easy handle and the header list it points at; the handle goes
// first, since it refers to the list until it is cleaned up.
class CurlRequest {
 public:
  CurlRequest() : handle_(curl_easy_init()) {}
  CurlRequest(CurlRequest&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)),
        headers_(std::exchange(other.headers_, nullptr)) {}
  CurlRequest& operator=(CurlRequest&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(headers_, other.headers_);
    return *this;
  }
  CurlRequest(const CurlRequest&) = delete;
  CurlRequest& operator=(const CurlRequest&) = delete;
  ~CurlRequest() {
    curl_easy_cleanup(handle_);
    curl_slist_free_all(headers_);
  }

  explicit operator bool() const { return handle_ != nullptr; }
  CURL* get() const { return handle_; }

  // The list stays owned here; the caller hands headers() to the handle.
  bool AppendHeader(const char* line) {
    curl_slist* extended = curl_slist_append(headers_, line);
    if (extended == nullptr) return false;
    headers_ = extended;
    return true;
  }
  curl_slist* headers() const { return headers_; }

 private:
  CURL* handle_ = nullptr;
  curl_slist* headers_ = nullptr;
};

// curl_easy_setopt is variadic and reads its argument as the type the option
// names, so every value goes through a setter of exactly that type. The first
// failure is kept and the later settings are skipped.
class OptionSetter {
 public:
  explicit OptionSetter(CURL* handle) : handle_(handle) {}

  OptionSetter& Long(CURLoption option, long value) { return Apply(option, value); }
  OptionSetter& Text(CURLoption option, const char* value) { return Apply(option, value); }
  OptionSetter& Offset(CURLoption option, curl_off_t value) { return Apply(option, value); }
  OptionSetter& Pointer(CURLoption option, void* value) { return Apply(option, value); }
  OptionSetter& List(CURLoption option, curl_slist* value) { return Apply(option, value); }
  OptionSetter& Callback(CURLoption option, curl_write_callback value) {
    return Apply(option, value);
  }

  CURLcode result() const { return result_; }

 private:
  template <typename Value>
  OptionSetter& Apply(CURLoption option, Value value) {
    if (result_ == CURLE_OK) result_ = curl_easy_setopt(handle_, option, value);
    return *this;
  }

  CURL* handle_;
  CURLcode result_ = CURLE_OK;
};

long ResponseStatus(CURL* handle) {
  long status = 0;
  if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return 0;
  return status;
}

std::string EffectiveAddress(CURL* handle) {
  char* address = nullptr;
  if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &address) != CURLE_OK ||
      address == nullptr) {
    return {};
  }
  return address;
}

// The settings both kinds of request share: one fresh connection each, the
// fixed request shape, redirects within http and https, and the limits.
CURLcode ConfigureRequest(CurlRequest& request, const std::string& address, const char* user_agent,
                          const WebFetchLimits& limits, char* error_text) {
  for (const char* line : kRequestHeaders) {
    if (!request.AppendHeader(line)) return CURLE_OUT_OF_MEMORY;
  }
  OptionSetter set(request.get());
  set.Text(CURLOPT_URL, address.c_str())
      // Time-outs must not raise signals in a process that has other threads.
      .Long(CURLOPT_NOSIGNAL, 1L)
      .Pointer(CURLOPT_ERRORBUFFER, error_text)
      .Text(CURLOPT_PROTOCOLS_STR, kWebProtocols)
      .Text(CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols)
      .Long(CURLOPT_FOLLOWLOCATION, 1L)
      .Long(CURLOPT_MAXREDIRS, kMaxRedirects)
      .Long(CURLOPT_HTTPGET, 1L)
      .Long(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0))
      .Text(CURLOPT_USERAGENT, user_agent)
      .List(CURLOPT_HTTPHEADER, request.headers())
      .Long(CURLOPT_FORBID_REUSE, 1L)
      .Long(CURLOPT_FRESH_CONNECT, 1L)
      .Long(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect_timeout.count()))
      .Long(CURLOPT_LOW_SPEED_LIMIT, LowSpeedLimit(limits))
      .Long(CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.low_speed_time.count()))
      .Long(CURLOPT_BUFFERSIZE, kReadBufferBytes);
  return set.result();
}

std::string FailureText(CURLcode code, const char* error_text) {
  if (error_text[0] != '\0') return error_text;
  return curl_easy_strerror(code);
}

// Failures after which the bytes already received are still the answer: the
// connection broke or stalled while the body was being read.
bool FailedWhileReading(CURLcode code) {
  return code == CURLE_PARTIAL_FILE || code == CURLE_RECV_ERROR || code == CURLE_OPERATION_TIMEDOUT;
}

struct BodySink {
  std::string bytes;
  std::size_t max_bytes = 0;
  bool over_limit = false;
};

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& sink = *static_cast<BodySink*>(user);
  const std::size_t length = size * count;
  if (length > sink.max_bytes - sink.bytes.size()) {
    sink.over_limit = true;
    return 0;
  }
  try {
    sink.bytes.append(data, length);
  } catch (...) {
    // No exception may cross libcurl's C frames; a short count aborts instead.
    sink.over_limit = true;
    return 0;
  }
  return length;
}

struct ProbeState {
  CURL* handle = nullptr;
  bool location_seen = false;
  bool reached = false;
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return a == std::tolower(static_cast<unsigned char>(b));
         });
}

// Stops the probe at the end of the first header block that libcurl will not
// follow as a redirect: the server has answered, and the body is not wanted.
std::size_t OnProbeHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto& state = *static_cast<ProbeState*>(user);
  const std::size_t length = size * count;
  const std::string_view line(data, length);
  if (StartsWithNoCase(line, "location:")) state.location_seen = true;
  if (line != "\r\n" && line != "\n") return length;

  const long status = ResponseStatus(state.handle);
  const bool interim = status < 200;
  const bool followed = status >= 300 && status < 400 && state.location_seen;
  state.location_seen = false;
  if (interim || followed) return length;
  state.reached = true;
  return 0;
}

std::size_t OnProbeBody(char*, std::size_t, std::size_t, void* user) {
  static_cast<ProbeState*>(user)->reached = true;
  return 0;
}

}  // namespace

CurlWebFetcher::CurlWebFetcher(WebFetchLimits limits) : limits_(limits) {
  InitialiseCurlOnce();
}

std::string CurlWebFetcher::WebFetch(std::string_view address) {
  last_fetch_ = FetchRecord{};
  last_fetch_.requested_address = address;
  if (!IsSafeWebAddress(address)) {
    last_fetch_.failure = "not requested: not a plain absolute http or https address";
    return {};
  }

  CurlRequest request;
  if (!request) {
    last_fetch_.failure = "could not create a libcurl handle";
    return {};
  }
  std::array<char, CURL_ERROR_SIZE> error_text{};
  const std::string url(address);
  BodySink sink;
  sink.max_bytes = limits_.max_body_bytes;
  // A declared length over the cap is refused before any of the body is read.
  const auto declared_cap = static_cast<curl_off_t>(std::min<std::size_t>(
      limits_.max_body_bytes, static_cast<std::size_t>(std::numeric_limits<curl_off_t>::max())));

  CURLcode code = ConfigureRequest(request, url, kFetchUserAgent, limits_, error_text.data());
  if (code == CURLE_OK) {
    OptionSetter set(request.get());
    set.Callback(CURLOPT_WRITEFUNCTION, AppendBody)
        .Pointer(CURLOPT_WRITEDATA, &sink)
        .Offset(CURLOPT_MAXFILESIZE_LARGE, declared_cap);
    code = set.result();
  }
  if (code == CURLE_OK) code = curl_easy_perform(request.get());

  last_fetch_.final_address = EffectiveAddress(request.get());
  last_fetch_.status = ResponseStatus(request.get());
  if (code != CURLE_OK) {
    last_fetch_.failure =
        sink.over_limit ? "body larger than " + std::to_string(limits_.max_body_bytes) + " bytes"
                        : FailureText(code, error_text.data());
    if (!FailedWhileReading(code)) sink.bytes.clear();
  }
  last_fetch_.byte_count = sink.bytes.size();
  return std::move(sink.bytes);
}

bool CurlWebFetcher::ProbeConnectivity(std::string_view address) {
  if (!IsSafeWebAddress(address)) return false;
  CurlRequest request;
  if (!request) return false;
  std::array<char, CURL_ERROR_SIZE> error_text{};
  const std::string url(address);
  ProbeState state;
  state.handle = request.get();

  CURLcode code = ConfigureRequest(request, url, kProbeUserAgent, limits_, error_text.data());
  if (code == CURLE_OK) {
    OptionSetter set(request.get());
    set.Callback(CURLOPT_HEADERFUNCTION, OnProbeHeader)
        .Pointer(CURLOPT_HEADERDATA, &state)
        .Callback(CURLOPT_WRITEFUNCTION, OnProbeBody)
        .Pointer(CURLOPT_WRITEDATA, &state);
    code = set.result();
  }
  if (code == CURLE_OK) curl_easy_perform(request.get());
  return state.reached;
}

}  // namespace nb
