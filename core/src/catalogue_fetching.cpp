#include "nb/catalogue_fetching.h"

#include "nb/system_texts.h"

namespace nb {

void OnCategorySelected(BrowserContext& context) {
  BrowserView& view = context.view;
  view.ClearList(ListId::kModels);
  view.InsertListItem(ListId::kModels, 0, texts::kLoading);
  view.ClearList(ListId::kVersions);
  view.ClearList(ListId::kLinks);
  // No version or link can be chosen again before a model of the new
  // catalogue has been: CurrentModel and CurrentVersion still name the old one.
  view.SetListEnabled(ListId::kVersions, false);
  view.SetListEnabled(ListId::kLinks, false);
  if (context.state.source_mode == 1) {
    LoadConfiguredCatalogue(context);
  } else {
    LoadBuiltInCatalogue(context);
  }
}

void LoadBuiltInCatalogue(BrowserContext& context) {
  std::string bytes;
  // Every row is compared, with the category text read anew each time: a
  // match does not end the scan.
  for (const BuiltInCategory& row : kBuiltInCategories) {
    if (context.view.CategoryText() != row.text) continue;
    bytes = context.web.WebFetch(context.sources.primary_server + std::string(row.path));
    if (bytes.size() < kShortAnswerBytes) {
      bytes = context.web.WebFetch(context.sources.mirror_server + std::string(row.path));
    }
  }
  ShowCatalogue(context, bytes);
}

void LoadConfiguredCatalogue(BrowserContext& context) {
  std::string bytes;
  // A selection outside the table (none, or the 101st category or later)
  // has no addresses: nothing is requested and the empty catalogue shows.
  const auto slot = context.state.category_source_table.Read(context.view.CategorySelection());
  if (slot) {
    const std::string addresses(*slot);
    for (std::string_view address : SplitAddressList(addresses)) {
      if (address.empty()) break;
      bytes = context.web.WebFetch(address);
      if (bytes.size() > kShortAnswerBytes) break;
    }
  }
  ShowCatalogue(context, bytes);
}

void ShowCatalogue(BrowserContext& context, std::string_view bytes) {
  CatalogueDocument& document = context.state.catalogue_document;
  document.LoadFromBytes(bytes);
  const std::int32_t models = document.ChildCount({1});
  ShowRecordStatus(context.view, models, 1);
  context.view.ClearList(ListId::kModels);
  for (std::int32_t j = 1; j <= models; ++j) {
    context.view.InsertListItem(ListId::kModels, j - 1, document.AttributeAt({1, j}, "value"));
  }
}

void ShowRecordStatus(BrowserView& view, std::int32_t record_count, std::int32_t current_record) {
  view.SetStatusText(0, std::string(texts::kRecordCountPrefix) + std::to_string(record_count) +
                            std::string(texts::kRecordCountSuffix));
  view.SetStatusText(1, std::string(texts::kRecordNumberPrefix) + std::to_string(current_record) +
                            std::string(texts::kRecordNumberSuffix));
}

std::vector<std::string_view> SplitAddressList(std::string_view text) {
  std::vector<std::string_view> addresses;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) {
      i += 2;  // a two-byte character: its second byte is never a comma
      continue;
    }
    if (text[i] == ',') {
      addresses.push_back(text.substr(start, i - start));
      start = i + 1;
    }
    ++i;
  }
  if (start < text.size()) addresses.push_back(text.substr(start));
  return addresses;
}

}  // namespace nb
