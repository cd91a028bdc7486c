#include "nb/in_memory_view.h"

#include <cstddef>
#include <functional>
#include <limits>
#include <utility>

namespace nb {
namespace {

// ListId is a byte-sized enum, so any byte value can reach us; only the three
// roles name a list.
bool IsKnownList(ListId list) {
  return list == ListId::kModels || list == ListId::kVersions || list == ListId::kLinks;
}

// Counts are int32 at the interface; a control can never hold more items than
// a position can name.
std::int32_t CountOf(const std::vector<std::string>& items) {
  return static_cast<std::int32_t>(items.size());
}

bool HoldsPosition(const std::vector<std::string>& items, std::int32_t position) {
  return position >= 0 && static_cast<std::size_t>(position) < items.size();
}

// A copy runs, so that a handler which rebinds the events does not destroy
// the function it is running in.
void Run(const std::function<void()>& handler) {
  if (!handler) return;
  std::function<void()> running = handler;
  running();
}

}  // namespace

std::int32_t InMemoryView::Insert(ItemControl& control, std::int32_t position,
                                  std::string_view text) {
  const std::int32_t count = CountOf(control.items);
  if (position < 0 || position > count) return -1;
  // The appended item's position must still fit in an int32.
  if (count == std::numeric_limits<std::int32_t>::max()) return -1;
  control.items.insert(control.items.begin() + position, std::string(text));
  // The selection belongs to an item, not to a position: it moves with it.
  if (control.selection >= position) ++control.selection;
  return position;
}

InMemoryView::ItemControl& InMemoryView::Control(ListId list) {
  return lists_.at(static_cast<std::size_t>(list));
}

const InMemoryView::ItemControl& InMemoryView::Control(ListId list) const {
  return lists_.at(static_cast<std::size_t>(list));
}

void InMemoryView::ClearList(ListId list) {
  if (!IsKnownList(list)) return;
  ItemControl& control = Control(list);
  control.items.clear();
  control.selection = -1;
}

std::int32_t InMemoryView::InsertListItem(ListId list, std::int32_t position,
                                          std::string_view text) {
  if (!IsKnownList(list)) return -1;
  return Insert(Control(list), position, text);
}

std::string InMemoryView::ListItemText(ListId list, std::int32_t position) const {
  if (!IsKnownList(list)) return {};
  const ItemControl& control = Control(list);
  if (!HoldsPosition(control.items, position)) return {};
  return control.items[static_cast<std::size_t>(position)];
}

std::int32_t InMemoryView::ListSelection(ListId list) const {
  if (!IsKnownList(list)) return -1;
  return Control(list).selection;
}

void InMemoryView::SetListEnabled(ListId list, bool enabled) {
  if (!IsKnownList(list)) return;
  Control(list).enabled = enabled;
}

std::int32_t InMemoryView::InsertCategory(std::int32_t position, std::string_view text) {
  return Insert(category_, position, text);
}

void InMemoryView::SelectCategory(std::int32_t position) {
  const std::int32_t count = CountOf(category_.items);
  if (position < 0 || count == 0) {
    category_.selection = -1;
  } else {
    category_.selection = position < count ? position : count - 1;
  }
}

std::int32_t InMemoryView::CategorySelection() const {
  return category_.selection;
}

std::string InMemoryView::CategoryText() const {
  if (!HoldsPosition(category_.items, category_.selection)) return {};
  return category_.items[static_cast<std::size_t>(category_.selection)];
}

void InMemoryView::SetCategoryEnabled(bool enabled) {
  category_.enabled = enabled;
}

void InMemoryView::SetStatusText(std::int32_t panel, std::string_view text) {
  if (panel != 0 && panel != 1) return;
  status_[static_cast<std::size_t>(panel)] = std::string(text);
}

void InMemoryView::SetWindowVisible(bool visible) {
  window_visible_ = visible;
}

void InMemoryView::BindEvents(BrowserEventHandlers handlers) {
  handlers_ = std::move(handlers);
}

bool InMemoryView::ChooseListItem(ListId list, std::int32_t position) {
  if (!IsKnownList(list)) return false;
  ItemControl& control = Control(list);
  if (!control.enabled || !HoldsPosition(control.items, position)) return false;
  control.selection = position;
  RunListHandler(list);
  return true;
}

void InMemoryView::RaiseListEvent(ListId list) {
  if (!IsKnownList(list)) return;
  RunListHandler(list);
}

void InMemoryView::RunListHandler(ListId list) {
  switch (list) {
    case ListId::kModels:
      Run(handlers_.model_selected);
      break;
    case ListId::kVersions:
      Run(handlers_.version_selected);
      break;
    case ListId::kLinks:
      Run(handlers_.link_selected);
      break;
  }
}

bool InMemoryView::ChooseCategory(std::int32_t position) {
  if (!category_.enabled || !HoldsPosition(category_.items, position)) return false;
  category_.selection = position;
  RaiseCategoryEvent();
  return true;
}

void InMemoryView::RaiseCategoryEvent() {
  ++queued_category_events_;
}

int InMemoryView::DeliverQueuedEvents() {
  int delivered = 0;
  // Taken off the queue before it runs, so that a handler which queues another
  // event has it delivered after itself, in this same call.
  while (queued_category_events_ > 0) {
    --queued_category_events_;
    ++delivered;
    Run(handlers_.category_selected);
  }
  return delivered;
}

std::int32_t InMemoryView::ListItemCount(ListId list) const {
  if (!IsKnownList(list)) return 0;
  return CountOf(Control(list).items);
}

bool InMemoryView::ListEnabled(ListId list) const {
  if (!IsKnownList(list)) return false;
  return Control(list).enabled;
}

std::vector<std::string> InMemoryView::ListItems(ListId list) const {
  if (!IsKnownList(list)) return {};
  return Control(list).items;
}

std::int32_t InMemoryView::CategoryCount() const {
  return CountOf(category_.items);
}

const std::string& InMemoryView::StatusText(std::int32_t panel) const {
  static const std::string kNoPanel;
  if (panel != 0 && panel != 1) return kNoPanel;
  return status_[static_cast<std::size_t>(panel)];
}

}  // namespace nb
