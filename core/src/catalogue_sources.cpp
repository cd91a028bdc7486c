#include "nb/catalogue_sources.h"

#include <cctype>
#include <string_view>

namespace nb {

std::string HomePageAddress(const CatalogueSources& sources) {
  return sources.primary_server + "/";
}

std::string HomeLabelText(const CatalogueSources& sources) {
  std::string_view host = sources.primary_server;
  if (const auto scheme = host.find("://"); scheme != std::string_view::npos) {
    host.remove_prefix(scheme + 3);
  }
  host = host.substr(0, host.find_first_of("/?#"));
  if (const auto at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
  if (!host.empty() && host.front() == '[') {
    host = host.substr(0, host.find(']') + 1);  // an IPv6 literal keeps its colons
  } else {
    host = host.substr(0, host.find(':'));
  }
  std::string text;
  for (char c : host)
    text.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return text + " V1.0";
}

}  // namespace nb
