#include <iostream>
#include <string>
#include <vector>

#include "catalogue_tool.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return nb::tool::RunCatalogueTool(args, std::cin, std::cout, std::cerr);
}
