// Code page 936 to UTF-8, for showing catalogue texts on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace nb::tool {

// Converts `bytes`; a byte sequence that is not code page 936 becomes U+FFFD,
// so the output is always valid UTF-8.
std::string Cp936ToUtf8(std::string_view bytes);

}  // namespace nb::tool
