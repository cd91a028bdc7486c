// catalogue-bench: how fast CatalogueDocument loads and answers, next to the
// floor set by a bare memchr scan of the same bytes.
//
//   catalogue-bench                          generated ~10 MB and ~100 MB catalogues
//   catalogue-bench FILE...                  the given catalogues
//   catalogue-bench --write-sample FILE MB   write a generated catalogue and stop
//
// Each catalogue gets one line that scripts can compare between runs,
//   NAME: load N MB/s, walk N ms, document N MiB, memchr N MB/s
// followed by detail lines indented by two spaces.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue_generator.h"
#include "nb/catalogue_document.h"

#ifdef NB_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kBytesPerMB = 1e6;
constexpr double kBytesPerMiB = 1024.0 * 1024.0;
constexpr std::uint32_t kDefaultSeed = 20100801;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double MBPerSecond(std::size_t bytes, double seconds) {
  return static_cast<double>(bytes) / kBytesPerMB / seconds;
}

struct Options {
  int repetitions = 0;  // 0: chosen by input size
  std::uint32_t seed = kDefaultSeed;
};

// Enough runs for a stable best time on small inputs, few enough that a 100 MB
// catalogue on a shared machine finishes in seconds.
int RepetitionsFor(std::size_t bytes, const Options& options) {
  if (options.repetitions > 0) return options.repetitions;
  if (bytes <= 4'000'000) return 10;
  if (bytes <= 32'000'000) return 5;
  return 3;
}

struct WalkTotals {
  std::uint64_t models = 0;
  std::uint64_t versions = 0;
  std::uint64_t links = 0;
  std::uint64_t unlabelled_links = 0;
  std::uint64_t text_bytes = 0;
  std::uint64_t checksum = 0;
};

// Folds a little of every answer into the checksum, so that no call of the
// walk is dead code to the optimiser.
void Absorb(WalkTotals& totals, const std::string& text) {
  totals.text_bytes += text.size();
  const std::uint64_t first = text.empty() ? 0 : static_cast<unsigned char>(text.front());
  const std::uint64_t last = text.empty() ? 0 : static_cast<unsigned char>(text.back());
  totals.checksum = totals.checksum * 1099511628211u + text.size() * 131 + first * 7 + last;
}

void Absorb(WalkTotals& totals, std::int32_t count) {
  totals.checksum = totals.checksum * 31 + static_cast<std::uint64_t>(count);
}

// The exact calls the window makes when every model, version and link is shown
// once, in its order; the repeated ChildCount({1}) and TextAt come from the
// window, which asks again rather than keep answers it can get back cheaply.
WalkTotals Walk(const nb::CatalogueDocument& doc) {
  WalkTotals totals;
  const std::int32_t models = doc.ChildCount({1});
  Absorb(totals, models);
  for (std::int32_t j = 1; j <= models; ++j) {
    Absorb(totals, doc.AttributeAt({1, j}, "value"));
    const std::int32_t versions = doc.ChildCount({1, j});
    Absorb(totals, versions);
    Absorb(totals, doc.ChildCount({1}));
    ++totals.models;
    for (std::int32_t v = 1; v <= versions; ++v) {
      Absorb(totals, doc.AttributeAt({1, j, v}, "value"));
      const std::int32_t links = doc.ChildCount({1, j, v});
      Absorb(totals, links);
      ++totals.versions;
      for (std::int32_t k = 1; k <= links; ++k) {
        const std::string text = doc.TextAt({1, j, v, k});
        Absorb(totals, text);
        if (text.empty()) {
          ++totals.unlabelled_links;
        } else {
          Absorb(totals, doc.TextAt({1, j, v, k}));
        }
        Absorb(totals, doc.AttributeAt({1, j, v, k}, "value"));
        ++totals.links;
      }
    }
  }
  return totals;
}

std::size_t CountOpenBrackets(std::string_view bytes) {
  std::size_t count = 0;
  const char* at = bytes.data();
  const char* const end = bytes.data() + bytes.size();
  while (at < end) {
    const void* found = std::memchr(at, '<', static_cast<std::size_t>(end - at));
    if (found == nullptr) break;
    ++count;
    at = static_cast<const char*>(found) + 1;
  }
  return count;
}

#ifdef NB_HAVE_PUGIXML
struct PugixmlResult {
  double best_seconds = std::numeric_limits<double>::infinity();
  std::string failure;  // empty when every parse succeeded
};

PugixmlResult MeasurePugixml(std::string_view bytes, int repetitions) {
  PugixmlResult result;
  std::vector<char> copy;
  for (int run = 0; run < repetitions; ++run) {
    // In-place parsing writes into its buffer, so every run starts from a fresh copy.
    copy.assign(bytes.begin(), bytes.end());
    pugi::xml_document document;
    const Clock::time_point start = Clock::now();
    // GBK passed as UTF-8 goes through unconverted and unchecked, which is
    // the fair counterpart of our reader; auto-detection would pick the same.
    const pugi::xml_parse_result parsed = document.load_buffer_inplace(
        copy.data(), copy.size(), pugi::parse_default, pugi::encoding_utf8);
    const double seconds = SecondsSince(start);
    if (!parsed) {
      result.failure =
          std::string(parsed.description()) + " at offset " + std::to_string(parsed.offset);
      return result;
    }
    result.best_seconds = std::min(result.best_seconds, seconds);
  }
  return result;
}
#endif

// Returns false when the catalogue did not load.
bool Measure(const std::string& name, std::string_view bytes, const Options& options,
             const std::string& note = {}) {
  const int repetitions = RepetitionsFor(bytes.size(), options);

  double best_load = std::numeric_limits<double>::infinity();
  double first_load = 0.0;
  nb::CatalogueDocument doc;
  for (int run = 0; run < repetitions; ++run) {
    // A fresh document each run, so that freeing the previous one stays out
    // of the timing; it is freed when `loading` is replaced or moved from.
    nb::CatalogueDocument loading;
    const Clock::time_point start = Clock::now();
    const bool loaded = loading.LoadFromBytes(bytes);
    const double seconds = SecondsSince(start);
    if (!loaded) {
      const nb::LoadResult why = loading.Load(bytes);
      std::printf("%s: load failed: %.*s at line %zu, column %zu (offset %zu)\n", name.c_str(),
                  static_cast<int>(why.reason.size()), why.reason.data(), why.line, why.column,
                  why.offset);
      std::fflush(stdout);
      return false;
    }
    if (run == 0) first_load = seconds;
    best_load = std::min(best_load, seconds);
    if (run + 1 == repetitions) doc = std::move(loading);
  }

  double best_walk = std::numeric_limits<double>::infinity();
  WalkTotals totals;
  for (int run = 0; run < repetitions; ++run) {
    const Clock::time_point start = Clock::now();
    totals = Walk(doc);
    best_walk = std::min(best_walk, SecondsSince(start));
  }

  double best_scan = std::numeric_limits<double>::infinity();
  std::size_t brackets = 0;
  for (int run = 0; run < repetitions; ++run) {
    const Clock::time_point start = Clock::now();
    brackets = CountOpenBrackets(bytes);
    best_scan = std::min(best_scan, SecondsSince(start));
  }

  const std::size_t memory = doc.MemoryUsage();
  std::printf("%s: load %.1f MB/s, walk %.1f ms, document %.1f MiB, memchr %.1f MB/s\n",
              name.c_str(), MBPerSecond(bytes.size(), best_load), best_walk * 1e3,
              static_cast<double>(memory) / kBytesPerMiB, MBPerSecond(bytes.size(), best_scan));
  std::printf("  input %.1f MB (%zu bytes), best of %d runs\n",
              static_cast<double>(bytes.size()) / kBytesPerMB, bytes.size(), repetitions);
  // The first run gets its memory fresh from the system and pays a page fault
  // per page, as the application's one load does; later runs of inputs below
  // glibc's 32 MiB mmap threshold reuse freed heap and skip that cost.
  std::printf("  load %.1f ms best, first run %.1f ms = %.1f MB/s\n", best_load * 1e3,
              first_load * 1e3, MBPerSecond(bytes.size(), first_load));
  if (!note.empty()) std::printf("  %s\n", note.c_str());
  std::printf(
      "  document %.2f x input size\n",
      bytes.empty() ? 0.0 : static_cast<double>(memory) / static_cast<double>(bytes.size()));
  std::printf("  %llu models, %llu versions, %llu links (%llu unlabelled), %zu '<' bytes\n",
              static_cast<unsigned long long>(totals.models),
              static_cast<unsigned long long>(totals.versions),
              static_cast<unsigned long long>(totals.links),
              static_cast<unsigned long long>(totals.unlabelled_links), brackets);
  const std::uint64_t queries = 1 + totals.models * 3 + totals.versions * 2 + totals.links * 2 +
                                (totals.links - totals.unlabelled_links);
  std::printf("  walk %llu queries, %.0f ns each, %llu text bytes, checksum %016llx\n",
              static_cast<unsigned long long>(queries),
              queries == 0 ? 0.0 : best_walk * 1e9 / static_cast<double>(queries),
              static_cast<unsigned long long>(totals.text_bytes),
              static_cast<unsigned long long>(totals.checksum));
#ifdef NB_HAVE_PUGIXML
  const PugixmlResult pugixml = MeasurePugixml(bytes, repetitions);
  if (pugixml.failure.empty()) {
    std::printf("  pugixml %.1f MB/s (load_buffer_inplace, parse_default)\n",
                MBPerSecond(bytes.size(), pugixml.best_seconds));
  } else {
    std::printf("  pugixml failed: %s\n", pugixml.failure.c_str());
  }
#endif
  std::fflush(stdout);
  return true;
}

std::optional<std::string> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (!in) return std::nullopt;
  return bytes;
}

std::optional<std::size_t> ParseMegabytes(const char* text) {
  char* end = nullptr;
  const double megabytes = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(megabytes > 0.0) || megabytes > 4000.0) return std::nullopt;
  return static_cast<std::size_t>(megabytes * kBytesPerMB);
}

std::optional<std::uint32_t> ParseUnsigned(const char* text) {
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0' || value > std::numeric_limits<std::uint32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

int Usage(std::FILE* stream, int status) {
  std::fprintf(stream,
               "usage: catalogue-bench [--repeat N] [--seed N] [FILE...]\n"
               "       catalogue-bench [--seed N] --write-sample FILE SIZE_MB\n"
               "Without files, measures generated catalogues of about 10 and 100 MB.\n");
  return status;
}

int WriteSample(const char* path, std::size_t bytes, std::uint32_t seed) {
  const std::string catalogue = nb::bench::GenerateCatalogue(bytes, seed);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(catalogue.data(), static_cast<std::streamsize>(catalogue.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "catalogue-bench: cannot write %s\n", path);
    return 1;
  }
  std::printf("%s: %zu bytes, seed %u\n", path, catalogue.size(), seed);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--help" || arg == "-h") return Usage(stdout, 0);
    if (arg == "--repeat" && has_value) {
      const std::optional<std::uint32_t> n = ParseUnsigned(argv[++i]);
      if (!n || *n == 0 || *n > 1000) return Usage(stderr, 2);
      options.repetitions = static_cast<int>(*n);
    } else if (arg == "--seed" && has_value) {
      const std::optional<std::uint32_t> n = ParseUnsigned(argv[++i]);
      if (!n) return Usage(stderr, 2);
      options.seed = *n;
    } else if (arg == "--write-sample") {
      if (i + 2 >= argc) return Usage(stderr, 2);
      const std::optional<std::size_t> bytes = ParseMegabytes(argv[i + 2]);
      if (!bytes) return Usage(stderr, 2);
      return WriteSample(argv[i + 1], *bytes, options.seed);
    } else if (arg.starts_with("--")) {
      return Usage(stderr, 2);
    } else {
      files.push_back(argv[i]);
    }
  }

  int status = 0;
  if (files.empty()) {
    for (const std::size_t megabytes : {std::size_t{10}, std::size_t{100}}) {
      const std::string size = std::to_string(megabytes);
      const Clock::time_point start = Clock::now();
      const std::string bytes = nb::bench::GenerateCatalogue(megabytes * 1'000'000, options.seed);
      const double seconds = SecondsSince(start);
      // The note tells how to get the same bytes into a file, to feed other tools.
      const std::string note = "generated in " + std::to_string(static_cast<long>(seconds * 1e3)) +
                               " ms; the same bytes: catalogue-bench --seed " +
                               std::to_string(options.seed) + " --write-sample FILE " + size;
      if (!Measure("generated-" + size + "MB", bytes, options, note)) status = 1;
    }
    return status;
  }
  for (const char* path : files) {
    const std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) {
      std::fprintf(stderr, "catalogue-bench: cannot read %s\n", path);
      status = 1;
      continue;
    }
    if (!Measure(path, *bytes, options)) status = 1;
  }
  return status;
}
