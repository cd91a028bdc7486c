// nokia-catalogue: the publishers' command-line view of a catalogue, reading
// it exactly as the browser does.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace nb::tool {

// Runs the tool on `args` (without the program name). FILE "-" reads `in`.
// Yields the exit status: 0 done, 1 a catalogue `check` found malformed,
// 2 a usage error or an unreadable file.
int RunCatalogueTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                     std::ostream& err);

}  // namespace nb::tool
