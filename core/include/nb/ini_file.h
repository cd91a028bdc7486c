// INI files read the way the Windows profile reader (GetPrivateProfileString)
// reads them: the remote configuration is written for that reader.
//
// The text is taken byte by byte, as that reader takes it when the system's
// code page is a single-byte one: a byte of a double-byte GBK character that
// happens to be ']' or an ASCII letter acts as that ASCII character.
//
// Lines end at CR LF, LF or CR. Blanks are spaces and tabs.
//  - "[name]" (blanks before it allowed) starts a section; the name runs to
//    the line's last ']' and loses its surrounding blanks. A line starting
//    with '[' that has no ']' is read like any other line.
//  - "key=value" is a key of the current section: the name before the first
//    '=' and the value after it, both without their surrounding blanks.
//  - Lines whose first non-blank byte is ';', lines without '=' and keys that
//    come before the first section are ignored.
//  - Of sections that share a name, only the first is read; of keys that
//    share a name in it, only the first counts, even when its value is empty.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace nb {

class IniFile {
 public:
  // The reader's buffer is 10240 bytes, so a value keeps at most 10239.
  static constexpr std::size_t kMaxValueBytes = 10239;

  // Reads `bytes` (code page 936, unconverted) once; queries are then cheap.
  static IniFile Parse(std::string_view bytes);

  // The value of `key` in `section`, both matched without regard to ASCII
  // case and without their surrounding blanks; the value without one pair of
  // enclosing quotes (both ' or both "), cut to kMaxValueBytes. Empty when
  // the section or key is missing, and for an empty section name.
  std::string Value(std::string_view section, std::string_view key) const;

 private:
  // Keyed by the lower-cased section name, '\n', the lower-cased key name:
  // no name can hold a line break, so the pair is never ambiguous.
  std::unordered_map<std::string, std::string> values_;
};

// IniFile::Parse of the file at `file`, read without following a symbolic
// link; an unreadable or missing file reads as empty.
IniFile ReadIniFile(const std::filesystem::path& file);

// One value straight from a file: empty when the file, the section or the
// key is missing.
std::string ReadIniValue(const std::filesystem::path& file, std::string_view section,
                         std::string_view key);

}  // namespace nb
