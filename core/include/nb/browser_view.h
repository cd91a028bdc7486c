// The operations the catalogue core performs on the main window's controls.
//
// Every realisation (the in-memory view of the tests and the command-line
// tool, the Qt window, the Win32 window) gives exactly these results,
// including at the edges; tests/browser_view_contract.h checks them once for
// all. None of these operations raises an event: only the user's own choices
// run handlers. The four selection events are bound to their handlers by
// whoever realises the view; the three list events are delivered at once, the
// category event is queued behind the notification of the choice.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nb {

// The three lists of the window, by role (列表框1, 列表框2, 列表框3).
enum class ListId : std::uint8_t { kModels, kVersions, kLinks };

class BrowserView {
 public:
  virtual ~BrowserView() = default;

  // Removes every item; afterwards no item is selected.
  virtual void ClearList(ListId list) = 0;
  // Inserts `text` at 0..count (count appends) and yields the position taken;
  // any other position inserts nothing and yields -1. Lists never sort.
  virtual std::int32_t InsertListItem(ListId list, std::int32_t position,
                                      std::string_view text) = 0;
  // The item's text, or the empty text for a position outside the list.
  virtual std::string ListItemText(ListId list, std::int32_t position) const = 0;
  // The selected position, or -1.
  virtual std::int32_t ListSelection(ListId list) const = 0;
  // A disabled list keeps its items but cannot be chosen in, so it raises nothing.
  virtual void SetListEnabled(ListId list, bool enabled) = 0;

  // As InsertListItem, on the category box (组合框1).
  virtual std::int32_t InsertCategory(std::int32_t position, std::string_view text) = 0;
  // Selects the entry at `position`; above the last entry selects the last,
  // any negative position (and any position in an empty box) selects none.
  virtual void SelectCategory(std::int32_t position) = 0;
  // The selected entry's position, or -1.
  virtual std::int32_t CategorySelection() const = 0;
  // The selected entry's text, or the empty text when none is selected.
  virtual std::string CategoryText() const = 0;
  // As SetListEnabled, for the category box.
  virtual void SetCategoryEnabled(bool enabled) = 0;

  // Replaces the text of status panel 0 or 1; any other panel changes nothing.
  virtual void SetStatusText(std::int32_t panel, std::string_view text) = 0;
  // Shows the main window (the start-up sequence calls it once).
  virtual void SetWindowVisible(bool visible) = 0;
};

}  // namespace nb
