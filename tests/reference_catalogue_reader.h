// A second, deliberately plain reader of the catalogue format
// (docs/catalogue-format.md), written only so that tests and the fuzzer can
// check CatalogueDocument against it query by query. It favours being easy to
// check against the rules over being fast: it turns the input into a list of
// characters, cuts the comments out of that list, then walks it once with a
// state machine that handles one character per step. It never recurses and
// keeps every element in one vector, so any nesting depth loads and frees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nb/position_path.h"

namespace nb::reference {

class CatalogueReader {
 public:
  // Discards the held document, then reads `bytes`; true when it is a catalogue.
  bool Load(std::string_view bytes);
  bool Loaded() const { return loaded_; }

  // The same answers CatalogueDocument gives for the same questions.
  std::int32_t ChildCount(PositionPath path) const;
  std::string TextAt(PositionPath path) const;
  std::string AttributeAt(PositionPath path, std::string_view name) const;

  // Names of the selected element's attributes as written, in document order;
  // lets a comparison ask about every attribute there is.
  std::vector<std::string> AttributeNamesAt(PositionPath path) const;

 private:
  struct Element {
    std::vector<std::pair<std::string, std::string>> attributes;  // name, value as written
    std::string text;  // trimmed, entities not yet decoded
    bool text_is_cdata = false;
    std::vector<std::size_t> children;  // indices into elements_
  };

  const Element* Select(PositionPath path) const;

  std::vector<Element> elements_;
  std::size_t document_element_ = 0;
  bool loaded_ = false;

  friend class Parser;
};

// Entity decoding as both readers apply it to attribute values and to text
// that did not come from a CDATA section.
std::string DecodeEntities(std::string_view text);

}  // namespace nb::reference
