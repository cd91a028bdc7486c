// The address list of a configured category: split, then every piece must be
// a run of the input between commas, in order, covering all of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "nb/catalogue_fetching.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t expected_start = 0;
  for (std::string_view piece : nb::SplitAddressList(text)) {
    const auto start = static_cast<std::size_t>(piece.data() - text.data());
    if (start != expected_start || start + piece.size() > size) std::abort();
    expected_start = start + piece.size() + 1;  // past the comma
  }
  if (expected_start < size) std::abort();  // a trailing piece was lost
  return 0;
}
