#include "catalogue_tool.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

#include "cp936_to_utf8.h"
#include "nb/catalogue_document.h"

namespace nb::tool {
namespace {

constexpr int kDone = 0;
constexpr int kMalformed = 1;
constexpr int kUsageError = 2;

constexpr const char* kUsage =
    "usage: nokia-catalogue check FILE | count FILE [POS...] | text FILE [POS...] | "
    "attr FILE NAME [POS...] | tree FILE [--utf8]   (FILE - reads standard input)";

int UsageError(std::ostream& err, const std::string& problem) {
  err << "nokia-catalogue: " << problem << "\n" << kUsage << "\n";
  return kUsageError;
}

std::optional<std::string> ReadAll(const std::string& file, std::istream& in) {
  std::ostringstream bytes;
  if (file == "-") {
    bytes << in.rdbuf();
    return in.bad() ? std::nullopt : std::optional(bytes.str());
  }
  // A directory opens as a stream but fails on the first read, by an
  // exception from the stream buffer.
  try {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return std::nullopt;
    std::string content((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (stream.bad()) return std::nullopt;
    return content;
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
}

// Positions are read as positions even when negative: "-1" is no option.
std::optional<std::vector<std::int32_t>> ParsePositions(const std::vector<std::string>& args,
                                                        std::size_t first, std::ostream& err) {
  std::vector<std::int32_t> path;
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string& text = args[i];
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
      UsageError(err, "not a position: '" + text + "'");
      return std::nullopt;
    }
    path.push_back(value);
  }
  return path;
}

void PrintTree(const CatalogueDocument& document, bool utf8, std::ostream& out) {
  auto shown = [utf8](const std::string& bytes) { return utf8 ? Cp936ToUtf8(bytes) : bytes; };
  auto line = [&](int depth, const std::vector<std::int32_t>& path) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << '[';
    for (std::size_t i = 0; i < path.size(); ++i) out << (i == 0 ? "" : ",") << path[i];
    out << "] value=\"" << shown(document.AttributeAt(path, "value")) << '"';
  };
  const std::int32_t models = document.ChildCount({1});
  for (std::int32_t m = 1; m <= models; ++m) {
    line(0, {1, m});
    out << '\n';
    const std::int32_t versions = document.ChildCount({1, m});
    for (std::int32_t v = 1; v <= versions; ++v) {
      line(1, {1, m, v});
      out << '\n';
      const std::int32_t links = document.ChildCount({1, m, v});
      for (std::int32_t k = 1; k <= links; ++k) {
        line(2, {1, m, v, k});
        out << " text=\"" << shown(document.TextAt({1, m, v, k})) << "\"\n";
      }
    }
  }
}

}  // namespace

int RunCatalogueTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                     std::ostream& err) {
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& command = args[0];
  const bool known = command == "check" || command == "count" || command == "text" ||
                     command == "attr" || command == "tree";
  if (!known) return UsageError(err, "unknown command '" + command + "'");

  std::vector<std::string> rest(args.begin() + 1, args.end());
  bool utf8 = false;
  if (command == "tree") {
    std::erase_if(rest, [&](const std::string& a) { return a == "--utf8" && (utf8 = true); });
  }
  if (rest.empty()) return UsageError(err, "no FILE given");
  const std::string file = rest[0];
  std::string attribute;
  std::size_t first_position = 1;
  if (command == "attr") {
    if (rest.size() < 2) return UsageError(err, "no attribute NAME given");
    attribute = rest[1];
    first_position = 2;
  }
  if ((command == "check" || command == "tree") && rest.size() > 1) {
    return UsageError(err, "unexpected argument '" + rest[1] + "'");
  }
  const auto path = ParsePositions(rest, first_position, err);
  if (!path) return kUsageError;

  const std::optional<std::string> bytes = ReadAll(file, in);
  if (!bytes) {
    err << "nokia-catalogue: cannot read '" << file << "'\n";
    return kUsageError;
  }
  CatalogueDocument document;
  const LoadResult result = document.Load(*bytes);

  if (command == "check" || command == "tree") {
    if (!result) {
      (command == "check" ? out : err) << "malformed: " << result.reason << " at line "
                                       << result.line << ", column " << result.column << "\n";
      return kMalformed;
    }
    if (command == "check") {
      out << "ok: " << document.ChildCount({1}) << " models\n";
    } else {
      PrintTree(document, utf8, out);
    }
    return kDone;
  }
  if (command == "count") out << document.ChildCount(*path) << "\n";
  if (command == "text") out << document.TextAt(*path) << "\n";
  if (command == "attr") out << document.AttributeAt(*path, attribute) << "\n";
  return kDone;
}

}  // namespace nb::tool
