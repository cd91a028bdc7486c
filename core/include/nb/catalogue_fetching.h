// Bringing a category's catalogue onto the screen: fetch it, with fallback,
// load it and list its models.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nb/browser_context.h"

namespace nb {

// The built-in categories, in the order a category text is compared with them.
struct BuiltInCategory {
  std::string_view text;  // the category box entry that selects the row
  std::string_view path;  // the same on the primary and on the mirror server
};
inline constexpr BuiltInCategory kBuiltInCategories[] = {
    {"BB5", "/tools/BB5.xml"},
    {"PHOENIX", "/tools/PHOENIX.xml"},
    {"DCT4/WD2", "/tools/DCT4.xml"},
    {"Care Suite", "/tools/CS.xml"},
};

// Built-in mode asks the mirror when the primary's answer is shorter than this;
// configured mode accepts an answer only when it is longer.
inline constexpr std::size_t kShortAnswerBytes = 10;

// The handler of the category box's selection.
void OnCategorySelected(BrowserContext& context);
// Fetches the catalogue of the selected built-in category (primary, then the
// mirror for a short answer) and shows it.
void LoadBuiltInCatalogue(BrowserContext& context);
// Tries the configured addresses of the selected category in order and shows
// the last answer.
void LoadConfiguredCatalogue(BrowserContext& context);
// Loads `bytes` into the document, shows the record count and lists the models.
void ShowCatalogue(BrowserContext& context, std::string_view bytes);
// "当前共有" n "条记录" in status panel 0, "第" m "条" in panel 1.
void ShowRecordStatus(BrowserView& view, std::int32_t record_count, std::int32_t current_record);

// The addresses of a slot of the category source table, split at every comma.
// A byte of 0x80 or above pairs with the next byte and never counts as a comma;
// the rest after the last comma counts only when it is not empty.
std::vector<std::string_view> SplitAddressList(std::string_view text);

}  // namespace nb
