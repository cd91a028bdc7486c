// Whole-file reads and writes of the configuration file. Neither follows a
// symbolic link at the path: the file sits in a folder of the user's, but a
// link planted there must not redirect what is written or read back.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace nb {

// Creates or truncates `file` and writes `bytes` (nothing for the empty
// block). False when the path is empty or a symbolic link, or opening or
// writing fails.
bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// The whole content of `file`; nullopt when it is missing, a symbolic link,
// not a regular file, or unreadable.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

}  // namespace nb
