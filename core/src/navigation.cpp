#include "nb/navigation.h"

#include "nb/catalogue_fetching.h"
#include "nb/system_texts.h"

namespace nb {

void OnModelSelected(BrowserContext& context) {
  BrowserState& state = context.state;
  BrowserView& view = context.view;
  const CatalogueDocument& document = state.catalogue_document;
  state.current_model = view.ListSelection(ListId::kModels) + 1;
  view.ClearList(ListId::kVersions);
  view.ClearList(ListId::kLinks);
  view.SetListEnabled(ListId::kVersions, true);
  view.SetListEnabled(ListId::kLinks, false);
  const std::int32_t versions = document.ChildCount({1, state.current_model});
  ShowRecordStatus(view, document.ChildCount({1}), state.current_model);
  for (std::int32_t v = 1; v <= versions; ++v) {
    view.InsertListItem(ListId::kVersions, v - 1,
                        document.AttributeAt({1, state.current_model, v}, "value"));
  }
}

void OnVersionSelected(BrowserContext& context) {
  BrowserState& state = context.state;
  BrowserView& view = context.view;
  const CatalogueDocument& document = state.catalogue_document;
  state.current_version = view.ListSelection(ListId::kVersions) + 1;
  view.ClearList(ListId::kLinks);
  view.SetListEnabled(ListId::kLinks, false);
  const std::int32_t model = state.current_model;
  const std::int32_t version = state.current_version;
  const std::int32_t links = document.ChildCount({1, model, version});
  view.SetListEnabled(ListId::kLinks, true);
  for (std::int32_t k = 1; k <= links; ++k) {
    const std::string text = document.TextAt({1, model, version, k});
    view.InsertListItem(ListId::kLinks, k - 1, text.empty() ? texts::kDownloadPage : text);
    // Links past the 100th are listed but have no slot for their address, so
    // choosing one opens nothing, as a category past the 100th loads nothing.
    state.link_url_table.Write(k - 1, document.AttributeAt({1, model, version, k}, "value"));
  }
}

void OnLinkSelected(BrowserContext& context) {
  const std::int32_t position = context.view.ListSelection(ListId::kLinks);
  // Only an item that shows the download-page text opens; with nothing
  // selected the item text is empty, so no slot is ever addressed.
  if (context.view.ListItemText(ListId::kLinks, position) != texts::kDownloadPage) return;
  const auto address = context.state.link_url_table.Read(position);
  if (!address) return;
  context.opener.OpenInBrowser(*address);
}

}  // namespace nb
