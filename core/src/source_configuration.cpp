#include "nb/source_configuration.h"

#include <limits>
#include <string>

#include "nb/file_bytes.h"
#include "nb/ini_file.h"

namespace nb {
namespace {

constexpr std::string_view kMenuSection = "MENU";

// Writes the download to the configuration file and reads the file back
// once: every later lookup is answered from what was read.
IniFile StoreAndReadBack(const CatalogueSources& sources, std::string_view bytes) {
  WriteFileBytes(sources.config_file, bytes);
  return ReadIniFile(sources.config_file);
}

}  // namespace

bool IsUsableConfiguration(const IniFile& configuration) {
  return !configuration.Value(kMenuSection, "1").empty();
}

void LoadSourceConfiguration(BrowserContext& context) {
  const CatalogueSources& sources = context.sources;
  BrowserState& state = context.state;

  std::string bytes =
      context.web.WebFetch(sources.primary_server + std::string(kConfigurationPath));
  state.source_mode = 1;
  IniFile configuration = StoreAndReadBack(sources, bytes);
  if (!IsUsableConfiguration(configuration)) {
    bytes = context.web.WebFetch(sources.mirror_server + std::string(kConfigurationPath));
    configuration = StoreAndReadBack(sources, bytes);
    state.source_mode = IsUsableConfiguration(configuration) ? 1 : 0;
  }
  bytes = std::string();
  ApplySourceConfiguration(configuration, context.view, state.category_source_table);
}

void ApplySourceConfiguration(const IniFile& configuration, BrowserView& view, SlotTable& table) {
  for (std::int32_t k = 1; k < std::numeric_limits<std::int32_t>::max(); ++k) {
    const std::string number = std::to_string(k);
    const std::string name = configuration.Value(kMenuSection, number);
    if (name.empty()) break;
    view.InsertCategory(k - 1, name);
    view.SelectCategory(0);
    // A category past the 100th is shown, but its addresses have no slot:
    // they are skipped, and choosing it loads nothing.
    if (!SlotTable::Contains(k - 1)) continue;
    for (std::int32_t b = 1; b < std::numeric_limits<std::int32_t>::max(); ++b) {
      const std::string address = configuration.Value(number, "URL" + std::to_string(b));
      if (address.empty()) break;
      table.Append(k - 1, address);
      table.Append(k - 1, ",");
    }
  }
}

}  // namespace nb
