// Checks on addresses that arrive from catalogues and configurations, which
// travel over plain HTTP and so may have been rewritten on the way.
#pragma once

#include <string_view>

namespace nb {

// True for an absolute http:// or https:// address (scheme in any case) with
// a host, holding no space, control byte or line break: the only addresses
// that are requested or handed to the browser.
bool IsSafeWebAddress(std::string_view address);

}  // namespace nb
