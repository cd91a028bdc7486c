// A table of exactly 100 byte-text slots, numbered 0 to 99.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nb {

class SlotTable {
 public:
  static constexpr std::int32_t kSlotCount = 100;

  // True when `slot` lies inside the table (0 to 99).
  static constexpr bool Contains(std::int32_t slot) { return slot >= 0 && slot < kSlotCount; }

  // The text of `slot` (empty when never written); nullopt, with nothing read,
  // when the slot lies outside the table.
  std::optional<std::string_view> Read(std::int32_t slot) const;

  // Replaces the text of `slot`; false, with nothing written, when the slot
  // lies outside the table.
  bool Write(std::int32_t slot, std::string text);

  // Appends `text` to the text of `slot`, in place; false, with nothing
  // written, when the slot lies outside the table.
  bool Append(std::int32_t slot, std::string_view text);

  // Empties every slot; only the state's release does this.
  void ReleaseAll();

 private:
  std::array<std::string, kSlotCount> slots_;
};

}  // namespace nb
