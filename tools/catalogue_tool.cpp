#include "catalogue_tool.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

#include "cp936_to_utf8.h"
#include "curl_web_fetcher.h"
#include "nb/catalogue_document.h"
#include "nb/in_memory_view.h"
#include "nb/ini_file.h"
#include "nb/slot_table.h"
#include "nb/source_configuration.h"

namespace nb::tool {
namespace {

constexpr int kDone = 0;
constexpr int kMalformed = 1;
constexpr int kUsageError = 2;

constexpr const char* kUsage =
    "usage: nokia-catalogue check FILE | count FILE [POS...] | text FILE [POS...] | "
    "attr FILE NAME [POS...] | tree FILE [--utf8] | ini FILE SECTION KEY | sources FILE | "
    "fetch [-v] URL   (FILE - reads standard input)";

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

struct Streams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

std::optional<std::string> ReadInput(const std::string& file, const Streams& io) {
  std::optional<std::string> bytes = ReadAll(file, io.in);
  if (!bytes) io.err << "nokia-catalogue: cannot read '" << file << "'\n";
  return bytes;
}

// check, count, text, attr and tree: the catalogue as the browser reads it.
int RunCatalogueCommand(const std::string& command, std::vector<std::string> rest,
                        const Streams& io) {
  bool utf8 = false;
  if (command == "tree") {
    std::erase_if(rest, [&](const std::string& a) { return a == "--utf8" && (utf8 = true); });
  }
  if (rest.empty()) return UsageError(io.err, "no FILE given");
  std::string attribute;
  std::size_t first_position = 1;
  if (command == "attr") {
    if (rest.size() < 2) return UsageError(io.err, "no attribute NAME given");
    attribute = rest[1];
    first_position = 2;
  }
  if ((command == "check" || command == "tree") && rest.size() > 1) {
    return UsageError(io.err, "unexpected argument '" + rest[1] + "'");
  }
  const auto path = ParsePositions(rest, first_position, io.err);
  if (!path) return kUsageError;
  const std::optional<std::string> bytes = ReadInput(rest[0], io);
  if (!bytes) return kUsageError;

  CatalogueDocument document;
  const LoadResult result = document.Load(*bytes);
  if (command == "check" || command == "tree") {
    if (!result) {
      (command == "check" ? io.out : io.err) << "malformed: " << result.reason << " at line "
                                             << result.line << ", column " << result.column << "\n";
      return kMalformed;
    }
    if (command == "check") {
      io.out << "ok: " << document.ChildCount({1}) << " models\n";
    } else {
      PrintTree(document, utf8, io.out);
    }
    return kDone;
  }
  if (command == "count") io.out << document.ChildCount(*path) << "\n";
  if (command == "text") io.out << document.TextAt(*path) << "\n";
  if (command == "attr") io.out << document.AttributeAt(*path, attribute) << "\n";
  return kDone;
}

// ini FILE SECTION KEY: one value, as the browser reads it.
int RunIni(const std::vector<std::string>& rest, const Streams& io) {
  if (rest.size() != 3) return UsageError(io.err, "ini needs FILE SECTION KEY");
  const std::optional<std::string> bytes = ReadInput(rest[0], io);
  if (!bytes) return kUsageError;
  io.out << IniFile::Parse(*bytes).Value(rest[1], rest[2]) << "\n";
  return kDone;
}

// sources FILE: the mode and the categories a downloaded configuration gives.
int RunSources(const std::vector<std::string>& rest, const Streams& io) {
  if (rest.size() != 1) return UsageError(io.err, "sources needs exactly one FILE");
  const std::optional<std::string> bytes = ReadInput(rest[0], io);
  if (!bytes) return kUsageError;
  const IniFile configuration = IniFile::Parse(*bytes);
  InMemoryView view;
  SlotTable table;
  ApplySourceConfiguration(configuration, view, table);
  io.out << "mode " << (IsUsableConfiguration(configuration) ? 1 : 0) << "\n";
  const std::vector<std::string> categories = view.Categories();
  for (std::size_t p = 0; p < categories.size(); ++p) {
    const auto slot = table.Read(static_cast<std::int32_t>(p));
    io.out << p << '\t' << categories[p] << '\t' << slot.value_or("") << "\n";
  }
  return kDone;
}

// fetch [-v] URL: the bytes the browser would receive from URL.
int RunFetch(std::vector<std::string> rest, const Streams& io) {
  bool verbose = false;
  std::erase_if(rest, [&](const std::string& a) { return a == "-v" && (verbose = true); });
  if (rest.size() != 1) return UsageError(io.err, "fetch needs exactly one URL");
  CurlWebFetcher web;
  io.out << web.WebFetch(rest[0]);
  if (verbose) {
    const FetchRecord& record = web.LastFetch();
    io.err << "address: "
           << (record.final_address.empty() ? "(not requested)" : record.final_address)
           << "\nstatus: " << record.status << "\nbytes: " << record.byte_count << "\n";
    if (!record.failure.empty()) io.err << "failure: " << record.failure << "\n";
  }
  return kDone;
}

}  // namespace

int RunCatalogueTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                     std::ostream& err) {
  const Streams io{in, out, err};
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "check" || command == "count" || command == "text" || command == "attr" ||
      command == "tree") {
    return RunCatalogueCommand(command, rest, io);
  }
  if (command == "ini") return RunIni(rest, io);
  if (command == "sources") return RunSources(rest, io);
  if (command == "fetch") return RunFetch(rest, io);
  return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace nb::tool
