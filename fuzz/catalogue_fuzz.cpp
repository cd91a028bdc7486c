// Feeds arbitrary bytes to CatalogueDocument and to the plain reference reader
// and stops at the first question they answer differently.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue_comparison.h"

namespace {

// The reference reader is slow on purpose; larger inputs add time, not new paths.
constexpr std::size_t kMaxInputSize = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInputSize) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string difference = nb::CompareWithReference(input);
  if (!difference.empty()) {
    std::fprintf(stderr, "readers disagree: %s\ninput: \"%s\"\n", difference.c_str(),
                 nb::EscapeBytes(input).c_str());
    std::abort();
  }
  return 0;
}
