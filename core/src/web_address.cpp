#include "nb/web_address.h"

#include <algorithm>
#include <cctype>

namespace nb {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char expected, char c) {
           return std::tolower(static_cast<unsigned char>(c)) == expected;
         });
}

}  // namespace

bool IsSafeWebAddress(std::string_view address) {
  std::size_t host = 0;
  if (StartsWithNoCase(address, "http://")) {
    host = 7;
  } else if (StartsWithNoCase(address, "https://")) {
    host = 8;
  } else {
    return false;
  }
  if (host == address.size() || address[host] == '/' || address[host] == '?' ||
      address[host] == '#') {
    return false;
  }
  // Sent unescaped, a space or control byte would break the request line or
  // smuggle in a header.
  return std::none_of(address.begin(), address.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
  });
}

}  // namespace nb
