#include "nb/browser_state.h"

namespace nb {

std::unique_ptr<BrowserState> CreateBrowserState() {
  return std::make_unique<BrowserState>();
}

void ReleaseBrowserState(BrowserState& state) {
  if (state.released) return;
  state.released = true;
  state.catalogue_document.Clear();
  state.category_source_table.ReleaseAll();
  state.link_url_table.ReleaseAll();
}

}  // namespace nb
