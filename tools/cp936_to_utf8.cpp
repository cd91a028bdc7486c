#include "cp936_to_utf8.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace nb::tool {

std::string Cp936ToUtf8(std::string_view bytes) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);
  auto* in_ptr = const_cast<char*>(bytes.data());  // iconv's signature is not const-correct
  std::size_t in_left = bytes.size();
  std::array<char, 4096> buffer{};
  while (in_left > 0) {
    char* out_ptr = buffer.data();
    std::size_t out_left = buffer.size();
    const std::size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer.data(), buffer.size() - out_left);
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An invalid or truncated sequence: show one replacement, step over a
      // whole two-byte character where it looks like one.
      out.append(kReplacement);
      const auto lead = static_cast<unsigned char>(*in_ptr);
      const std::size_t skip = (lead >= 0x81 && in_left >= 2) ? 2 : 1;
      in_ptr += skip;
      in_left -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace nb::tool
