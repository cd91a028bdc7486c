#include "catalogue_comparison.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "nb/catalogue_document.h"
#include "reference_catalogue_reader.h"

namespace nb {

namespace {

using Path = std::vector<std::int32_t>;

std::string DescribePath(const Path& path) {
  std::string out = "(";
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (i > 0) out += ", ";
    out += std::to_string(path[i]);
  }
  return out + ")";
}

std::string Quoted(std::string_view bytes) {
  return "\"" + EscapeBytes(bytes) + "\"";
}

class Comparer {
 public:
  Comparer(const CatalogueDocument& fast, const reference::CatalogueReader& plain)
      : fast_(fast), plain_(plain) {}

  // Empty when both readers answer every question about `path` alike.
  std::string AskAbout(const Path& path) const {
    const std::int32_t fast_count = fast_.ChildCount(path);
    const std::int32_t plain_count = plain_.ChildCount(path);
    if (fast_count != plain_count) {
      return DescribePath(path) + " ChildCount: fast " + std::to_string(fast_count) +
             ", reference " + std::to_string(plain_count);
    }
    std::string difference = Differ(path, "TextAt", fast_.TextAt(path), plain_.TextAt(path));
    if (!difference.empty()) return difference;

    std::vector<std::string> names = plain_.AttributeNamesAt(path);
    // A name that is only a prefix of one written must not match it.
    const std::size_t written = names.size();
    for (std::size_t i = 0; i < written; ++i) {
      if (names[i].size() > 1) names.push_back(names[i].substr(0, names[i].size() - 1));
    }
    names.emplace_back("value");
    for (const std::string& name : names) {
      difference = Differ(path, "AttributeAt " + Quoted(name), fast_.AttributeAt(path, name),
                          plain_.AttributeAt(path, name));
      if (!difference.empty()) return difference;
    }
    return {};
  }

 private:
  static std::string Differ(const Path& path, const std::string& query, const std::string& fast,
                            const std::string& plain) {
    if (fast == plain) return {};
    return DescribePath(path) + " " + query + ": fast " + Quoted(fast) + ", reference " +
           Quoted(plain);
  }

  const CatalogueDocument& fast_;
  const reference::CatalogueReader& plain_;
};

}  // namespace

std::string CompareWithReference(std::string_view input) {
  reference::CatalogueReader plain;
  const bool plain_loaded = plain.Load(input);

  CatalogueDocument fast;
  // Loading over a held catalogue shows whether a failed load leaves any of it behind.
  fast.LoadFromBytes("<c><m value=\"stale\"><v value=\"stale\"><l>stale</l></v></m></c>");
  const LoadResult result = fast.Load(input);
  if (result.loaded != plain_loaded) {
    return std::string("loaded: fast ") + (result.loaded ? "true" : "false") + " (" +
           std::string(result.reason) + " at offset " + std::to_string(result.offset) +
           "), reference " + (plain_loaded ? "true" : "false");
  }
  if (fast.Empty() == result.loaded) return "fast: Empty() contradicts the load result";
  if (result.reason.empty() != result.loaded) return "fast: a reason given exactly when loaded";

  const Comparer comparer(fast, plain);
  // Depth first with an explicit stack, children in document order, so that a
  // deeply nested input cannot exhaust the call stack here either.
  std::vector<Path> pending{Path{1}};
  while (!pending.empty()) {
    const Path path = std::move(pending.back());
    pending.pop_back();
    std::string difference = comparer.AskAbout(path);
    if (!difference.empty()) return difference;
    for (std::int32_t child = plain.ChildCount(path); child >= 1; --child) {
      Path child_path = path;
      child_path.push_back(child);
      pending.push_back(std::move(child_path));
    }
  }

  const std::int32_t models = plain.ChildCount({1});
  const std::vector<Path> nothing{{}, {0}, {2}, {1, 0}, {1, models + 1}, {1, -1}};
  for (const Path& path : nothing) {
    std::string difference = comparer.AskAbout(path);
    if (!difference.empty()) return difference;
  }
  return {};
}

std::string EscapeBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  bool after_escape = false;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"';
    // A hex digit right after \xNN would be read as part of it.
    const bool hex_digit =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (plain && !(after_escape && hex_digit)) {
      out.push_back(c);
      after_escape = false;
    } else {
      out += "\\x";
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
      after_escape = true;
    }
  }
  return out;
}

}  // namespace nb
