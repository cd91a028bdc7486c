// Where this platform keeps the downloaded configuration.
#pragma once

#include <filesystem>

namespace nb {

// The configuration file in the user's own folder: on Linux
// $XDG_CACHE_HOME/nokia-browser/Temp.temp (or ~/.cache/...), the folder
// created with mode 0700 when missing. Empty when no such folder can be had.
std::filesystem::path DefaultConfigFile();

}  // namespace nb
