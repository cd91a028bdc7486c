// The remote configuration: which categories exist and where their
// catalogues lie.
#pragma once

#include <string_view>

#include "nb/browser_context.h"
#include "nb/ini_file.h"

namespace nb {

// Where the configuration lies on the primary and the mirror server.
inline constexpr std::string_view kConfigurationPath = "/tools/config.ini";

// Downloads the configuration (the primary's, or the mirror's when the
// primary's is not usable), writes it to the configuration file, reads it back
// and fills the category box and the category source table. Sets source_mode
// to 1 when a usable configuration was found, else 0.
void LoadSourceConfiguration(BrowserContext& context);

// A configuration is usable when its "MENU" key "1" names a category.
bool IsUsableConfiguration(const IniFile& configuration);

// Inserts categories 1, 2, … into the category box (selecting the first) and
// appends each one's addresses, each followed by ",", to its slot, up to the
// first missing or empty name or address.
void ApplySourceConfiguration(const IniFile& configuration, BrowserView& view, SlotTable& table);

}  // namespace nb
