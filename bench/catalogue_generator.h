// Sample catalogues for measuring the reader: shaped like the hand-edited
// catalogues it meets in use (GBK labels, CRLF, mixed indentation, comments
// everywhere, escaped query strings, links without labels), so that timings
// reflect real input rather than an idealised one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nb::bench {

// A catalogue in code page 936 of about `approximate_bytes` bytes (it stops at
// the first whole model past that size, so it overshoots by a few kilobytes at
// most). The same size and seed give the same bytes on every platform.
std::string GenerateCatalogue(std::size_t approximate_bytes, std::uint32_t seed);

}  // namespace nb::bench
