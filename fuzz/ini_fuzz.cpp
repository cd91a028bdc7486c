// Feeds arbitrary bytes to the INI reader and asks it for a section and key
// drawn from the input itself, so that queries hit names the text defines.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "nb/ini_file.h"

namespace {

void Require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

void Check(const nb::IniFile& ini, std::string_view section, std::string_view key) {
  const std::string value = ini.Value(section, key);
  Require(value.size() <= nb::IniFile::kMaxValueBytes, "a value longer than 10239 bytes");
  Require(value.find_first_of("\r\n") == std::string::npos, "a line break inside a value");
  Require(ini.Value(UpperAscii(section), UpperAscii(key)) == value,
          "names matched with regard to case");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const nb::IniFile ini = nb::IniFile::Parse(input);
  Check(ini, "MENU", "1");
  if (size < 2) return 0;
  // The first two bytes give the lengths of a section and a key name taken
  // from the bytes right after them.
  const std::string_view names = input.substr(2);
  const std::string_view section = names.substr(0, data[0] % 16u);
  const std::string_view key = names.substr(section.size()).substr(0, data[1] % 16u);
  Check(ini, section, key);
  Check(ini, section, "URL1");
  return 0;
}
