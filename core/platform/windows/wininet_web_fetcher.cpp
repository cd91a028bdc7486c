#include "wininet_web_fetcher.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "nb/web_address.h"
#include "wide_text.h"

namespace nb {
namespace {

constexpr const wchar_t* kFetchUserAgent = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr const wchar_t* kProbeUserAgent = L"test";
// WinINet writes the Accept header from this list.
constexpr const wchar_t* kAcceptedTypes[] = {L"*/*", nullptr};
constexpr int kMaxRedirects = 10;
constexpr std::uint64_t kLargestChunk = 102400;
constexpr std::uint64_t kUnknownLengthChunk = 10240;

// No cached copy is used and nothing is written to the cache. Redirects are
// followed here (see GetFollowingRedirects).
constexpr DWORD kFetchFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                              INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_AUTO_REDIRECT |
                              INTERNET_FLAG_NO_UI;

class InternetHandle {
 public:
  InternetHandle() = default;
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  InternetHandle(InternetHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() {
    if (handle_ != nullptr) ::InternetCloseHandle(handle_);
  }

  explicit operator bool() const { return handle_ != nullptr; }
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_ = nullptr;
};

DWORD Milliseconds(std::chrono::milliseconds duration) {
  const auto count = std::clamp<std::chrono::milliseconds::rep>(duration.count(), 1,
                                                                std::numeric_limits<DWORD>::max());
  return static_cast<DWORD>(count);
}

bool SetDwordOption(HINTERNET handle, DWORD option, DWORD value) {
  return ::InternetSetOptionW(handle, option, &value, sizeof value) != FALSE;
}

std::string Hex(DWORD value) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xf];
  return text;
}

std::string LastErrorText(const char* what) {
  // Read once, before building the text can disturb it.
  const DWORD error = ::GetLastError();
  return std::string(what) + " failed, error " + std::to_string(error) + " (" + Hex(error) + ")";
}

InternetHandle OpenSession(const wchar_t* user_agent) {
  return InternetHandle(
      ::InternetOpenW(user_agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
}

// One GET: the connection handle carries the request handle, which must be
// closed first, hence the order.
struct SentRequest {
  InternetHandle connection;
  InternetHandle request;
  std::string failure;  // empty once the headers of the answer have arrived
};

std::wstring UrlPart(const wchar_t* text, DWORD length) {
  return text == nullptr ? std::wstring() : std::wstring(text, length);
}

// Sends a GET for `address` and waits for the headers of the answer.
// InternetOpenUrl would be shorter, but under Wine its requests ignore both
// the time-outs, which Wine reads only from a connection handle, and the
// HTTP version, which it reads only from HttpOpenRequest. The time-outs bound
// connecting and each single receive (though Wine leaves the TLS handshake
// to the server's patience); the overall pace of a transfer is checked while
// reading (see BodyReader).
SentRequest SendRequest(HINTERNET session, const std::wstring& address,
                        const WebFetchLimits& limits) {
  SentRequest sent;
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  // A non-zero length asks for where each part lies within `address`.
  parts.dwHostNameLength = 1;
  parts.dwUserNameLength = 1;
  parts.dwPasswordLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (::InternetCrackUrlW(address.c_str(), 0, 0, &parts) == FALSE) {
    sent.failure = LastErrorText("InternetCrackUrlW");
    return sent;
  }
  const std::wstring host = UrlPart(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring user = UrlPart(parts.lpszUserName, parts.dwUserNameLength);
  const std::wstring password = UrlPart(parts.lpszPassword, parts.dwPasswordLength);
  // The fragment belongs to the client and is not sent.
  std::wstring target = UrlPart(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        UrlPart(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  target.resize(std::min(target.find(L'#'), target.size()));
  if (target.empty()) target = L"/";

  sent.connection = InternetHandle(::InternetConnectW(
      session, host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
      password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
  if (!sent.connection) {
    sent.failure = LastErrorText("InternetConnectW");
    return sent;
  }
  const DWORD receive_timeout =
      Milliseconds(std::chrono::duration_cast<std::chrono::milliseconds>(limits.low_speed_time));
  SetDwordOption(sent.connection.get(), INTERNET_OPTION_CONNECT_TIMEOUT,
                 Milliseconds(limits.connect_timeout));
  SetDwordOption(sent.connection.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, receive_timeout);
  SetDwordOption(sent.connection.get(), INTERNET_OPTION_SEND_TIMEOUT, receive_timeout);

  const DWORD flags =
      kFetchFlags | (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
  // HttpOpenRequestW's accept types are not const in its declaration but are
  // only read.
  sent.request =
      InternetHandle(::HttpOpenRequestW(sent.connection.get(), L"GET", target.c_str(), L"HTTP/1.0",
                                        nullptr, const_cast<LPCWSTR*>(kAcceptedTypes), flags, 0));
  if (!sent.request) {
    sent.failure = LastErrorText("HttpOpenRequestW");
    return sent;
  }
  if (::HttpSendRequestW(sent.request.get(), nullptr, 0, nullptr, 0) == FALSE) {
    sent.failure = LastErrorText("HttpSendRequestW");
    sent.request = InternetHandle();
  }
  return sent;
}

// Asked with a buffer from the start and grown when told to: not every
// WinINet reports the needed size for a null buffer.
std::optional<std::wstring> QueryText(HINTERNET request, DWORD query) {
  std::wstring text(512, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD index = 0;
    if (::HttpQueryInfoW(request, query, text.data(), &size, &index) != FALSE) {
      text.resize(size / sizeof(wchar_t));
      return text;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    text.assign(size / sizeof(wchar_t) + 1, L'\0');
  }
  return std::nullopt;
}

long QueryStatus(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  DWORD index = 0;
  if (::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                       &index) == FALSE) {
    return 0;
  }
  return static_cast<long>(status);
}

// A Content-Length that is a positive decimal number; the text form is read
// so that lengths beyond 32 bits are seen as such.
std::optional<std::uint64_t> DeclaredLength(HINTERNET request) {
  const std::optional<std::wstring> text = QueryText(request, HTTP_QUERY_CONTENT_LENGTH);
  if (!text || text->empty()) return std::nullopt;
  std::uint64_t length = 0;
  for (const wchar_t c : *text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - L'0');
    if (length > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
    length = length * 10 + digit;
  }
  if (length == 0) return std::nullopt;
  return length;
}

bool IsFollowedRedirect(long status) {
  return status >= 300 && status < 400 && status != 304 && status != 305;
}

// The next address of a redirect, resolved against the current one; empty
// when the answer names none that may be requested.
std::wstring RedirectTarget(HINTERNET request, const std::wstring& current) {
  const std::optional<std::wstring> location = QueryText(request, HTTP_QUERY_LOCATION);
  if (!location || location->empty()) return {};
  std::wstring combined(INTERNET_MAX_URL_LENGTH + 1, L'\0');
  bool done = false;
  for (int attempt = 0; attempt < 2 && !done; ++attempt) {
    DWORD size = static_cast<DWORD>(combined.size());
    if (::InternetCombineUrlW(current.c_str(), location->c_str(), combined.data(), &size,
                              ICU_NO_ENCODE) != FALSE) {
      combined.resize(size);
      done = true;
    } else if (::GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > combined.size()) {
      combined.assign(size + 1, L'\0');
    } else {
      return {};
    }
  }
  if (!done) return {};
  // Only http and https, as for the first address: a server must not send
  // the client to file: or ftp: addresses.
  if (!IsSafeWebAddress(windows::CatalogueTextFromWide(combined))) return {};
  return combined;
}

// Reads the body as it arrives, at most a chunk sized by the declared length
// at a time, and keeps the bytes already read when a read fails part way.
class BodyReader {
 public:
  BodyReader(HINTERNET request, const WebFetchLimits& limits)
      : request_(request), limits_(limits) {}

  enum class Outcome { kComplete, kCutShort, kReadFailed, kTooSlow, kTooLarge };

  Outcome Read(std::string& bytes) {
    declared_ = DeclaredLength(request_);
    if (declared_ && *declared_ > limits_.max_body_bytes) return Outcome::kTooLarge;
    const std::uint64_t chunk_size =
        declared_ ? std::min<std::uint64_t>(*declared_ + 1, kLargestChunk) : kUnknownLengthChunk;
    std::string chunk(static_cast<std::size_t>(chunk_size), '\0');

    using Clock = std::chrono::steady_clock;
    Clock::time_point window_start = Clock::now();
    std::size_t window_bytes = 0;
    for (;;) {
      // A read waits until it has filled its buffer, so a server dripping a
      // byte at a time would hold a read of a whole chunk for minutes before
      // the pace below is ever measured; reading only what has arrived
      // returns as soon as anything does.
      DWORD available = 0;
      if (::InternetQueryDataAvailable(request_, &available, 0, 0) == FALSE) {
        return Outcome::kReadFailed;
      }
      if (available == 0) return Ended(bytes);
      const auto wanted = static_cast<DWORD>(std::min<std::size_t>(available, chunk.size()));
      DWORD got = 0;
      if (::InternetReadFile(request_, chunk.data(), wanted, &got) == FALSE) {
        return Outcome::kReadFailed;
      }
      if (got == 0) return Ended(bytes);
      if (got > limits_.max_body_bytes - bytes.size()) return Outcome::kTooLarge;
      bytes.append(chunk.data(), got);

      // A server dripping a few bytes at a time never trips the receive
      // time-out, so the pace is measured over windows of low_speed_time.
      window_bytes += got;
      const Clock::time_point now = Clock::now();
      if (now - window_start >= limits_.low_speed_time) {
        if (window_bytes < static_cast<std::size_t>(std::max(0L, limits_.low_speed_bytes))) {
          return Outcome::kTooSlow;
        }
        window_start = now;
        window_bytes = 0;
      }
    }
  }

  // The Content-Length of the answer, once Read has begun.
  const std::optional<std::uint64_t>& declared() const { return declared_; }

 private:
  // WinINet reports the end of the data alike whether the body was complete
  // or the connection closed early; only the stated length tells them apart.
  Outcome Ended(const std::string& bytes) const {
    return declared_ && bytes.size() < *declared_ ? Outcome::kCutShort : Outcome::kComplete;
  }

  HINTERNET request_;
  const WebFetchLimits& limits_;
  std::optional<std::uint64_t> declared_;
};

// The last of the requests a GET of an address led to.
struct Answer {
  SentRequest sent;      // its request is empty when no answer came
  std::wstring address;  // the address last requested
  long status = 0;       // the status of the last answer
};

// A GET that follows redirects within http and https, and gives up after
// kMaxRedirects: WinINet's own following has no bound, so a server that
// redirects to itself would hold the caller for good.
Answer GetFollowingRedirects(HINTERNET session, std::wstring address,
                             const WebFetchLimits& limits) {
  Answer answer;
  answer.address = std::move(address);
  for (int redirects = 0;; ++redirects) {
    answer.sent = SendRequest(session, answer.address, limits);
    if (!answer.sent.request) return answer;
    answer.status = QueryStatus(answer.sent.request.get());
    if (!IsFollowedRedirect(answer.status)) return answer;
    std::wstring next = RedirectTarget(answer.sent.request.get(), answer.address);
    // A 3xx without a usable Location is an answer like any other.
    if (next.empty()) return answer;
    if (redirects == kMaxRedirects) {
      answer.sent.request = InternetHandle();
      answer.sent.failure = "more than " + std::to_string(kMaxRedirects) + " redirects";
      return answer;
    }
    answer.address = std::move(next);
  }
}

bool IsLoopbackHost(std::string_view address) {
  const std::size_t scheme_end = address.find("://");
  if (scheme_end == std::string_view::npos) return false;
  std::string_view authority = address.substr(scheme_end + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view host = authority;
  if (host.starts_with('[')) {
    host = host.substr(0, host.find(']') + 1);
    return host == "[::1]";
  }
  host = host.substr(0, host.find(':'));
  std::string lower(host);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower == "localhost" || lower.starts_with("127.");
}

}  // namespace

class WinInetWebFetcher::Session {
 public:
  explicit Session(InternetHandle handle) : handle_(std::move(handle)) {}
  HINTERNET get() const { return handle_.get(); }

 private:
  InternetHandle handle_;
};

WinInetWebFetcher::WinInetWebFetcher(WebFetchLimits limits) : limits_(limits) {}

WinInetWebFetcher::~WinInetWebFetcher() = default;

std::string WinInetWebFetcher::WebFetch(std::string_view address) {
  last_fetch_ = FetchRecord{};
  last_fetch_.requested_address = address;
  if (!IsSafeWebAddress(address)) {
    last_fetch_.failure = "not requested: not a plain absolute http or https address";
    return {};
  }
  std::wstring current = windows::WideFromCatalogueText(address);
  if (current.empty()) {
    last_fetch_.failure = "not requested: not valid code page 936 text";
    return {};
  }
  if (!session_) {
    InternetHandle handle = OpenSession(kFetchUserAgent);
    if (!handle) {
      last_fetch_.failure = LastErrorText("InternetOpenW");
      return {};
    }
    session_ = std::make_unique<Session>(std::move(handle));
  }

  Answer answer = GetFollowingRedirects(session_->get(), std::move(current), limits_);
  last_fetch_.final_address = windows::CatalogueTextFromWide(answer.address);
  last_fetch_.status = answer.status;
  if (!answer.sent.request) {
    last_fetch_.failure = std::move(answer.sent.failure);
    return {};
  }

  std::string bytes;
  BodyReader reader(answer.sent.request.get(), limits_);
  switch (reader.Read(bytes)) {
    case BodyReader::Outcome::kComplete:
      break;
    case BodyReader::Outcome::kCutShort:
      last_fetch_.failure = "connection closed after " + std::to_string(bytes.size()) + " of " +
                            std::to_string(reader.declared().value_or(0)) + " bytes";
      break;
    case BodyReader::Outcome::kReadFailed:
      last_fetch_.failure = LastErrorText("InternetReadFile");
      break;
    case BodyReader::Outcome::kTooSlow:
      last_fetch_.failure = "fewer than " + std::to_string(limits_.low_speed_bytes) + " bytes in " +
                            std::to_string(limits_.low_speed_time.count()) + " s";
      break;
    case BodyReader::Outcome::kTooLarge:
      last_fetch_.failure = "body larger than " + std::to_string(limits_.max_body_bytes) + " bytes";
      bytes.clear();
      break;
  }
  last_fetch_.byte_count = bytes.size();
  return bytes;
}

bool WinInetWebFetcher::ProbeConnectivity(std::string_view address) {
  if (!IsSafeWebAddress(address)) return false;
  // The system's view of the connection says nothing about a server on this
  // machine, and on a host without a network it would keep such a server
  // from ever being probed.
  if (!IsLoopbackHost(address) && ::InternetGetConnectedState(nullptr, 0) == FALSE) return false;
  const std::wstring wide = windows::WideFromCatalogueText(address);
  if (wide.empty()) return false;
  const InternetHandle session = OpenSession(kProbeUserAgent);
  if (!session) return false;
  return static_cast<bool>(GetFollowingRedirects(session.get(), wide, limits_).sent.request);
}

}  // namespace nb
