#include "nb/slot_table.h"

#include <cstddef>
#include <utility>

namespace nb {

std::optional<std::string_view> SlotTable::Read(std::int32_t slot) const {
  if (!Contains(slot)) return std::nullopt;
  return std::string_view(slots_[static_cast<std::size_t>(slot)]);
}

bool SlotTable::Write(std::int32_t slot, std::string text) {
  if (!Contains(slot)) return false;
  slots_[static_cast<std::size_t>(slot)] = std::move(text);
  return true;
}

bool SlotTable::Append(std::int32_t slot, std::string_view text) {
  if (!Contains(slot)) return false;
  slots_[static_cast<std::size_t>(slot)].append(text);
  return true;
}

void SlotTable::ReleaseAll() {
  for (std::string& text : slots_) std::string().swap(text);
}

}  // namespace nb
