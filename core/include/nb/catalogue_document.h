// The catalogue on show: an XML document in code page 936, read once and then
// asked by position only. docs/catalogue-format.md gives every reading rule.
//
// Built for large and hostile input alike: loading is one linear pass over a
// private copy of the bytes, texts are kept as offsets into that copy and
// decoded only when asked for, every element's children sit in one array so
// that each step of a position path costs O(1), and nothing recurses, so a
// document nested a million levels deep loads and frees like any other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "nb/position_path.h"

namespace nb {

// Why a load left the document empty, and where. Line and column count bytes
// of the input as given (before NUL bytes and comments were taken out), from 1.
struct LoadResult {
  bool loaded = false;
  std::string_view reason;  // a static text; empty when loaded
  std::size_t offset = 0;   // byte offset of the fault in the input as given
  std::size_t line = 0;
  std::size_t column = 0;

  explicit operator bool() const { return loaded; }
};

class CatalogueDocument {
 public:
  CatalogueDocument();
  ~CatalogueDocument();
  CatalogueDocument(CatalogueDocument&&) noexcept;
  CatalogueDocument& operator=(CatalogueDocument&&) noexcept;
  CatalogueDocument(const CatalogueDocument&) = delete;
  CatalogueDocument& operator=(const CatalogueDocument&) = delete;

  // Discards the held document, then reads `bytes`. True when a document was
  // read; false (the document stays empty) for empty or malformed input.
  bool LoadFromBytes(std::string_view bytes);
  // As LoadFromBytes, and tells why and where a load failed.
  LoadResult Load(std::string_view bytes);

  // The number of child elements of the element `path` selects; 0 when it
  // selects nothing.
  std::int32_t ChildCount(PositionPath path) const;
  // The element's text, entity-decoded unless it came from a CDATA section;
  // empty when the path selects nothing.
  std::string TextAt(PositionPath path) const;
  // The entity-decoded value of attribute `name` (compared byte for byte);
  // empty when the path selects nothing or the attribute is missing.
  std::string AttributeAt(PositionPath path, std::string_view name) const;
  // Discards the held document.
  void Clear();

  // True when no document is held.
  bool Empty() const;
  // Bytes of memory the held document occupies (buffer, elements, index).
  std::size_t MemoryUsage() const;

  // The loaded form; defined, and only usable, inside the reader's source.
  struct Tree;

 private:
  std::unique_ptr<Tree> tree_;  // null while empty
};

}  // namespace nb
