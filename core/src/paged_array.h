// An append-only array kept in fixed pages: growing never moves what is
// already stored (no copy, no doubling of peak memory), the unused tail is at
// most one page, and freeing is one delete per page — never per element and
// never recursive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace nb::detail {

template <typename T, unsigned kPageBits = 13>
class PagedArray {
 public:
  static constexpr std::size_t kPageSize = std::size_t{1} << kPageBits;

  std::uint32_t size() const { return size_; }

  T& operator[](std::uint32_t i) { return pages_[i >> kPageBits][i & (kPageSize - 1)]; }
  const T& operator[](std::uint32_t i) const { return pages_[i >> kPageBits][i & (kPageSize - 1)]; }

  void push_back(const T& value) {
    if ((size_ & (kPageSize - 1)) == 0 && (size_ >> kPageBits) == pages_.size()) {
      pages_.push_back(std::make_unique_for_overwrite<T[]>(kPageSize));
    }
    (*this)[size_++] = value;
  }

  std::size_t MemoryUsage() const {
    return pages_.size() * kPageSize * sizeof(T) + pages_.capacity() * sizeof(pages_[0]);
  }

 private:
  std::vector<std::unique_ptr<T[]>> pages_;
  std::uint32_t size_ = 0;
};

}  // namespace nb::detail
