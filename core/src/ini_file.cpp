#include "nb/ini_file.h"

#include <optional>
#include <unordered_set>

#include "nb/file_bytes.h"

namespace nb {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// ASCII only: bytes from 0x80 up belong to double-byte characters and must
// keep their exact values.
char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendLowered(std::string& out, std::string_view name) {
  for (const char c : name) out.push_back(LowerAscii(c));
}

std::string LookupKey(std::string_view section, std::string_view key) {
  std::string out;
  out.reserve(section.size() + 1 + key.size());
  AppendLowered(out, section);
  out.push_back('\n');
  AppendLowered(out, key);
  return out;
}

std::string_view StripEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The next line of `rest` without its terminator (CR LF, LF or CR); `rest`
// moves past the terminator.
std::string_view NextLine(std::string_view& rest) {
  const std::size_t end = rest.find_first_of("\r\n");
  if (end == std::string_view::npos) {
    const std::string_view line = rest;
    rest = {};
    return line;
  }
  const std::string_view line = rest.substr(0, end);
  std::size_t skip = 1;
  if (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n') skip = 2;
  rest.remove_prefix(end + skip);
  return line;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  std::unordered_set<std::string> sections_seen;
  // Lookup key prefix ("section\n") of the section being read, or nullopt
  // while its keys are not to be kept: before the first section, in a
  // section without a name, and in a repeat of an earlier section.
  std::optional<std::string> current;

  std::string_view rest = bytes;
  while (!rest.empty()) {
    const std::string_view line = TrimBlanks(NextLine(rest));
    if (line.empty() || line.front() == ';') continue;

    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos) {
        const std::string_view name = TrimBlanks(line.substr(1, close - 1));
        current.reset();
        if (!name.empty()) {
          std::string prefix = LookupKey(name, {});
          if (sections_seen.insert(prefix).second) current = std::move(prefix);
        }
        continue;
      }
    }

    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !current) continue;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    std::string_view value = StripEnclosingQuotes(TrimBlanks(line.substr(equals + 1)));
    value = value.substr(0, kMaxValueBytes);

    std::string lookup = *current;
    AppendLowered(lookup, key);
    ini.values_.try_emplace(std::move(lookup), value);
  }
  return ini;
}

std::string IniFile::Value(std::string_view section, std::string_view key) const {
  section = TrimBlanks(section);
  if (section.empty()) return {};
  const auto found = values_.find(LookupKey(section, TrimBlanks(key)));
  return found == values_.end() ? std::string() : found->second;
}

IniFile ReadIniFile(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadFileBytes(file);
  return IniFile::Parse(bytes ? std::string_view(*bytes) : std::string_view());
}

std::string ReadIniValue(const std::filesystem::path& file, std::string_view section,
                         std::string_view key) {
  return ReadIniFile(file).Value(section, key);
}

}  // namespace nb
