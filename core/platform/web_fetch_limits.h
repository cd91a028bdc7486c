// The bounds every platform's HTTP client puts on one request, and what the
// last request saw, so that the fetchers behave alike and are checked alike.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace nb {

// Bounds on one request. The system itself sets none, so these only mend the
// cases where a server would otherwise hold the window thread forever or fill
// the memory; tests shorten them.
struct WebFetchLimits {
  std::chrono::milliseconds connect_timeout{30'000};
  // A transfer is given up when it delivers fewer than `low_speed_bytes`
  // bytes within `low_speed_time`: a server dripping a byte at a time would
  // otherwise hold the window for good.
  long low_speed_bytes = 1000;
  std::chrono::seconds low_speed_time{30};
  // A body larger than this is refused whole rather than cut short, since a
  // truncated catalogue would look like a valid but smaller one.
  std::size_t max_body_bytes = std::size_t{256} * 1024 * 1024;
};

// What the last WebFetch saw, for diagnostics; the fetched bytes themselves
// are not kept.
struct FetchRecord {
  std::string requested_address;
  std::string final_address;   // after redirects; empty when nothing was requested
  long status = 0;             // the last HTTP status received; 0 when none
  std::size_t byte_count = 0;  // the size of the block WebFetch returned
  std::string failure;         // why the transfer ended early; empty when it completed
};

}  // namespace nb
