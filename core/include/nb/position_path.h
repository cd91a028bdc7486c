// A path of 1-based element positions: (1) the document element, (1, m) model
// m, (1, m, v) its version v, (1, m, v, k) that version's link k.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace nb {

// A non-owning view of positions, cheap enough to build for every query:
// `doc.AttributeAt({1, j}, "value")` allocates nothing.
class PositionPath {
 public:
  constexpr PositionPath() = default;
  // The list lives until the end of the full expression, which outlasts the query.
  constexpr PositionPath(
      std::initializer_list<std::int32_t> positions)  // NOLINT: implicit by design
      : positions_(positions.begin(), positions.size()) {}
  constexpr PositionPath(std::span<const std::int32_t> positions)  // NOLINT: implicit by design
      : positions_(positions) {}
  PositionPath(const std::vector<std::int32_t>& positions)  // NOLINT: implicit by design
      : positions_(positions) {}

  constexpr std::size_t size() const { return positions_.size(); }
  constexpr bool empty() const { return positions_.empty(); }
  constexpr std::int32_t operator[](std::size_t i) const { return positions_[i]; }
  constexpr auto begin() const { return positions_.begin(); }
  constexpr auto end() const { return positions_.end(); }

 private:
  std::span<const std::int32_t> positions_;
};

}  // namespace nb
