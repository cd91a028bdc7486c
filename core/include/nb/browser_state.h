// Everything the catalogue core keeps from one event to the next.
#pragma once

#include <cstdint>
#include <memory>

#include "nb/catalogue_document.h"
#include "nb/slot_table.h"

namespace nb {

struct BrowserState {
  // The catalogue of the category on show.
  CatalogueDocument catalogue_document;
  // Slot p: the catalogue addresses of category box entry p, each followed by ",".
  SlotTable category_source_table;
  // Slot k - 1: the address of link k of the version on show.
  SlotTable link_url_table;
  // 1: configured mode; any other value: built-in mode.
  std::int32_t source_mode = 0;
  // The model and version chosen last (selected list position + 1). Nothing
  // resets them: a category change disables the lists that depend on them.
  std::int32_t current_model = 0;
  std::int32_t current_version = 0;
  // Set by the first ReleaseBrowserState, so that a second one does nothing.
  bool released = false;
};

// A fresh state: empty document, 200 empty slots, every number 0.
std::unique_ptr<BrowserState> CreateBrowserState();

// Clears the document and releases every slot text. Only the first call on a
// state does anything, however often the exit path runs it.
void ReleaseBrowserState(BrowserState& state);

}  // namespace nb
