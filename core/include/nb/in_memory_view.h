// A BrowserView held in memory: the window of the core tests and of the
// command-line tool. Besides the view operations it lets a caller act as the
// user (choose an item, which raises the bound event) and look at what a
// person would see (enabled flags, status texts, visibility).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nb/browser_events.h"
#include "nb/browser_view.h"

namespace nb {

class InMemoryView final : public BrowserView {
 public:
  void ClearList(ListId list) override;
  std::int32_t InsertListItem(ListId list, std::int32_t position, std::string_view text) override;
  std::string ListItemText(ListId list, std::int32_t position) const override;
  std::int32_t ListSelection(ListId list) const override;
  void SetListEnabled(ListId list, bool enabled) override;
  std::int32_t InsertCategory(std::int32_t position, std::string_view text) override;
  void SelectCategory(std::int32_t position) override;
  std::int32_t CategorySelection() const override;
  std::string CategoryText() const override;
  void SetCategoryEnabled(bool enabled) override;
  void SetStatusText(std::int32_t panel, std::string_view text) override;
  void SetWindowVisible(bool visible) override;

  // Binds the four events to their handlers.
  void BindEvents(BrowserEventHandlers handlers);

  // The user chooses item `position` of `list` (the item already selected
  // too): selects it and runs the list's handler at once. Does nothing and
  // yields false when the list is disabled or has no such item.
  bool ChooseListItem(ListId list, std::int32_t position);
  // Raises the list's event as the window system would, without changing the
  // selection, so that a handler can be run while nothing is selected.
  void RaiseListEvent(ListId list);
  // The user chooses entry `position` of the category box: selects it and
  // queues the category event. False, with nothing queued, when the box is
  // disabled or has no such entry.
  bool ChooseCategory(std::int32_t position);
  // Queues the category event without changing the selection.
  void RaiseCategoryEvent();
  // Runs the queued events in order, including any queued while they run;
  // yields how many ran.
  int DeliverQueuedEvents();

  std::int32_t ListItemCount(ListId list) const;
  bool ListEnabled(ListId list) const;
  std::vector<std::string> ListItems(ListId list) const;
  std::int32_t CategoryCount() const;
  bool CategoryEnabled() const { return category_.enabled; }
  std::vector<std::string> Categories() const { return category_.items; }
  const std::string& StatusText(std::int32_t panel) const;
  bool WindowVisible() const { return window_visible_; }

 private:
  struct ItemControl {
    std::vector<std::string> items;
    std::int32_t selection = -1;
    bool enabled = true;
  };

  static std::int32_t Insert(ItemControl& control, std::int32_t position, std::string_view text);
  ItemControl& Control(ListId list);
  const ItemControl& Control(ListId list) const;
  void RunListHandler(ListId list);

  std::array<ItemControl, 3> lists_;
  ItemControl category_;
  std::array<std::string, 2> status_;
  bool window_visible_ = false;
  BrowserEventHandlers handlers_;
  // Only the category event is queued, so the queue is a count.
  int queued_category_events_ = 0;
};

}  // namespace nb
