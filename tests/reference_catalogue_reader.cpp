#include "reference_catalogue_reader.h"

#include <array>
#include <optional>
#include <set>

namespace nb::reference {

namespace {

// One character of code page 936: a single byte (0x01 to 0x80) as itself, a
// two-byte character as lead * 256 + trail. Every two-byte character is thus
// above 0xFF and can never be mistaken for a markup byte, which is exactly the
// rule that the byte after a lead byte never counts as markup.
using Char = std::uint32_t;
using Chars = std::vector<Char>;

constexpr Char kNone = 0;  // what lies past the end; NUL bytes are gone by then

bool IsLeadByte(unsigned char byte) {
  return byte >= 0x81;
}

void AppendBytes(std::string& out, Char c) {
  if (c > 0xFF) out.push_back(static_cast<char>(static_cast<unsigned char>(c >> 8)));
  out.push_back(static_cast<char>(static_cast<unsigned char>(c & 0xFF)));
}

std::string ToBytes(const Chars& chars) {
  std::string out;
  for (Char c : chars) AppendBytes(out, c);
  return out;
}

// A lead byte with nothing after it: kept as a character of its own, so that
// an unterminated comment can take it away before the input is judged.
constexpr Char kDanglingLead = 0x10000;

void SplitIntoCharacters(std::string_view bytes, Chars& out) {
  std::string kept;
  for (char byte : bytes) {
    if (byte != '\0') kept.push_back(byte);
  }
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const auto byte = static_cast<unsigned char>(kept[i]);
    if (!IsLeadByte(byte)) {
      out.push_back(byte);
      continue;
    }
    if (i + 1 == kept.size()) {
      out.push_back(kDanglingLead | byte);
      break;
    }
    out.push_back(Char{byte} << 8 | static_cast<unsigned char>(kept[i + 1]));
    ++i;
  }
}

bool MatchesAt(const Chars& chars, std::size_t at, std::string_view ascii) {
  if (at + ascii.size() > chars.size()) return false;
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    if (chars[at + i] != static_cast<unsigned char>(ascii[i])) return false;
  }
  return true;
}

// Matching on characters rather than bytes is what keeps a trail byte such as
// the '-' of "\x81-" from ever opening or closing a comment.
Chars CutComments(const Chars& chars) {
  Chars out;
  std::size_t i = 0;
  while (i < chars.size()) {
    if (!MatchesAt(chars, i, "<!--")) {
      out.push_back(chars[i]);
      ++i;
      continue;
    }
    // The dashes of the opener cannot close it: "<!-->" is still open.
    std::size_t end = i + 4;
    while (end < chars.size() && !MatchesAt(chars, end, "-->")) ++end;
    i = end < chars.size() ? end + 3 : chars.size();
  }
  return out;
}

bool IsTrimmed(Char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trim(const Chars& chars) {
  std::size_t begin = 0;
  std::size_t end = chars.size();
  while (begin < end && IsTrimmed(chars[begin])) ++begin;
  while (end > begin && IsTrimmed(chars[end - 1])) --end;
  return ToBytes(Chars(chars.begin() + static_cast<std::ptrdiff_t>(begin),
                       chars.begin() + static_cast<std::ptrdiff_t>(end)));
}

}  // namespace

// Pass 2 as one state machine over the comment-free characters. Each call of
// Step() looks at the character under `pos_` and either consumes it (maybe with
// a few that must follow it, such as the '>' of "/>") or switches state and
// leaves it for the next state to look at.
class Parser {
 public:
  Parser(Chars chars, std::vector<CatalogueReader::Element>& elements)
      : chars_(std::move(chars)), elements_(elements) {}

  // True when the characters form a catalogue; `document_element` is then set.
  bool Run(std::size_t& document_element) {
    while (pos_ < chars_.size()) {
      if (!Step()) return false;
    }
    // Declarations and processing instructions may run to the end; nothing else may.
    if (state_ != State::kData && state_ != State::kProcessingInstruction &&
        state_ != State::kDeclaration) {
      return false;
    }
    if (!open_.empty() || !top_level_element_) return false;
    document_element = *top_level_element_;
    return true;
  }

 private:
  enum class State {
    kData,
    kAfterLessThan,
    kProcessingInstruction,
    kDeclaration,
    kCdata,
    kEndTagName,
    kEndTagTail,
    kTagName,
    kBeforeAttribute,
    kAttributeName,
    kAfterAttributeName,
    kBeforeValue,
    kQuotedValue,
    kUnquotedValue,
  };

  struct OpenElement {
    std::size_t index;
    Chars name;
  };

  // The character data that may become the innermost element's text: from the
  // end of its start tag to the first '<' not followed by '!'.
  struct TextStretch {
    bool open = false;
    std::size_t element = 0;
    Chars data;
    bool has_cdata = false;
    Chars last_cdata;
  };

  Char At(std::size_t offset) const {
    return pos_ + offset < chars_.size() ? chars_[pos_ + offset] : kNone;
  }
  bool SlashGreaterAhead() const { return At(0) == '/' && At(1) == '>'; }

  bool Step() {
    const Char c = At(0);
    switch (state_) {
      case State::kData:
        if (c == '>') return false;
        if (c == '<') {
          state_ = State::kAfterLessThan;
        } else if (text_.open) {
          text_.data.push_back(c);
        }
        ++pos_;
        return true;

      case State::kAfterLessThan:
        return AfterLessThan(c);

      case State::kProcessingInstruction:
        if (c == '>') state_ = State::kData;
        ++pos_;
        return true;

      case State::kDeclaration:
        if (c == '>') {
          state_ = State::kData;
        } else if (c == '<' && declaration_at_top_level_) {
          return false;  // an internal DTD subset, for one
        }
        ++pos_;
        return true;

      case State::kCdata:
        if (c == ']' && At(1) == ']' && At(2) == '>') {
          if (text_.open) {
            text_.has_cdata = true;
            text_.last_cdata = cdata_;
          }
          state_ = State::kData;
          pos_ += 3;
        } else {
          cdata_.push_back(c);
          ++pos_;
        }
        return true;

      case State::kEndTagName: {
        const Chars& name = open_.back().name;
        if (end_tag_matched_ == name.size()) {
          state_ = State::kEndTagTail;
          return true;
        }
        if (c != name[end_tag_matched_]) return false;
        ++end_tag_matched_;
        ++pos_;
        return true;
      }

      case State::kEndTagTail:
        if (c == '>') {
          open_.pop_back();
          state_ = State::kData;
        } else if (c != ' ') {
          return false;
        }
        ++pos_;
        return true;

      case State::kTagName:
        if (name_quoted_) {
          if (c == '"') name_quoted_ = false;
          tag_name_.push_back(c);
          ++pos_;
          return true;
        }
        if (c == ' ') {
          state_ = State::kBeforeAttribute;
          ++pos_;
          return true;
        }
        if (c == '>' || SlashGreaterAhead()) return EndStartTag();
        if (c == '<') return false;
        if (c == '"') name_quoted_ = true;
        tag_name_.push_back(c);
        ++pos_;
        return true;

      case State::kBeforeAttribute:
        if (c == ' ') {
          ++pos_;
          return true;
        }
        if (c == '>' || SlashGreaterAhead()) return EndStartTag();
        if (c == '"' || c == '=' || c == '<') return false;
        attribute_name_.clear();
        state_ = State::kAttributeName;
        return true;

      case State::kAttributeName:
        if (c == ' ' || c == '=') {
          state_ = State::kAfterAttributeName;
          return true;
        }
        if (c == '>' || SlashGreaterAhead()) {
          state_ = State::kBeforeAttribute;  // a bare word just before the end of the tag
          return true;
        }
        if (c == '"' || c == '<') return false;
        attribute_name_.push_back(c);
        ++pos_;
        return true;

      case State::kAfterAttributeName:
        if (c == ' ') {
          ++pos_;
        } else if (c == '=') {
          state_ = State::kBeforeValue;
          ++pos_;
        } else {
          state_ = State::kBeforeAttribute;  // a bare word: no attribute
        }
        return true;

      case State::kBeforeValue:
        if (c == ' ') {
          ++pos_;
          return true;
        }
        attribute_value_.clear();
        if (c == '"') {
          state_ = State::kQuotedValue;
          ++pos_;
          return true;
        }
        if (c == '>' || SlashGreaterAhead()) {
          if (!AddAttribute()) return false;
          state_ = State::kBeforeAttribute;
          return true;
        }
        if (c == '<') return false;
        state_ = State::kUnquotedValue;
        return true;

      case State::kQuotedValue:
        if (c == '"') {
          if (!AddAttribute()) return false;
          state_ = State::kBeforeAttribute;
        } else {
          attribute_value_.push_back(c);
        }
        ++pos_;
        return true;

      case State::kUnquotedValue:
        if (c == ' ' || c == '>' || SlashGreaterAhead()) {
          if (!AddAttribute()) return false;
          state_ = State::kBeforeAttribute;
          return true;
        }
        if (c == '<') return false;
        attribute_value_.push_back(c);
        ++pos_;
        return true;
    }
    return false;
  }

  bool AfterLessThan(Char c) {
    if (c == ' ' || c == '>') return false;
    if (c == '!') {
      // "<!" keeps the text stretch open: declarations are cut out of it and
      // CDATA sections may become the text.
      if (!open_.empty() && MatchesAt(chars_, pos_ + 1, "[CDATA[")) {
        cdata_.clear();
        state_ = State::kCdata;
        pos_ += 8;
      } else {
        declaration_at_top_level_ = open_.empty();
        state_ = State::kDeclaration;
        ++pos_;
      }
      return true;
    }
    CloseTextStretch();
    if (c == '/') {
      if (open_.empty()) return false;
      end_tag_matched_ = 0;
      state_ = State::kEndTagName;
      ++pos_;
      return true;
    }
    if (c == '?') {
      state_ = State::kProcessingInstruction;
      ++pos_;
      return true;
    }
    tag_name_.clear();
    name_quoted_ = false;
    attributes_.clear();
    attribute_names_.clear();
    state_ = State::kTagName;
    return true;
  }

  bool AddAttribute() {
    std::string name = ToBytes(attribute_name_);
    if (!attribute_names_.insert(name).second) return false;
    attributes_.emplace_back(std::move(name), ToBytes(attribute_value_));
    return true;
  }

  // Called with pos_ on the '>' or the '/' of "/>".
  bool EndStartTag() {
    const bool closes_at_once = At(0) == '/';
    pos_ += closes_at_once ? 2 : 1;
    const std::size_t index = elements_.size();
    elements_.emplace_back();
    elements_.back().attributes = std::move(attributes_);
    attributes_.clear();
    if (open_.empty()) {
      top_level_element_ = index;
    } else {
      elements_[open_.back().index].children.push_back(index);
    }
    if (!closes_at_once) {
      open_.push_back({index, std::move(tag_name_)});
      text_ = TextStretch{};
      text_.open = true;
      text_.element = index;
    }
    state_ = State::kData;
    return true;
  }

  void CloseTextStretch() {
    if (!text_.open) return;
    CatalogueReader::Element& element = elements_[text_.element];
    element.text_is_cdata = text_.has_cdata;
    element.text = Trim(text_.has_cdata ? text_.last_cdata : text_.data);
    text_ = TextStretch{};
  }

  Chars chars_;
  std::vector<CatalogueReader::Element>& elements_;
  std::size_t pos_ = 0;
  State state_ = State::kData;

  std::vector<OpenElement> open_;
  std::optional<std::size_t> top_level_element_;
  TextStretch text_;
  Chars cdata_;
  bool declaration_at_top_level_ = false;
  std::size_t end_tag_matched_ = 0;

  Chars tag_name_;
  bool name_quoted_ = false;
  std::vector<std::pair<std::string, std::string>> attributes_;
  std::set<std::string> attribute_names_;
  Chars attribute_name_;
  Chars attribute_value_;
};

bool CatalogueReader::Load(std::string_view bytes) {
  elements_.clear();
  document_element_ = 0;
  loaded_ = false;
  Chars chars;
  SplitIntoCharacters(bytes, chars);
  Chars read = CutComments(chars);
  // What is left after the comments must not end inside a character.
  if (!read.empty() && (read.back() & kDanglingLead) != 0) return false;
  Parser parser(std::move(read), elements_);
  loaded_ = parser.Run(document_element_);
  if (!loaded_) elements_.clear();
  return loaded_;
}

const CatalogueReader::Element* CatalogueReader::Select(PositionPath path) const {
  if (!loaded_ || path.empty() || path[0] != 1) return nullptr;
  const Element* element = &elements_[document_element_];
  for (std::size_t i = 1; i < path.size(); ++i) {
    const std::int32_t position = path[i];
    if (position < 1 || static_cast<std::size_t>(position) > element->children.size()) {
      return nullptr;
    }
    element = &elements_[element->children[static_cast<std::size_t>(position - 1)]];
  }
  return element;
}

std::int32_t CatalogueReader::ChildCount(PositionPath path) const {
  const Element* element = Select(path);
  return element ? static_cast<std::int32_t>(element->children.size()) : 0;
}

std::string CatalogueReader::TextAt(PositionPath path) const {
  const Element* element = Select(path);
  if (!element) return {};
  return element->text_is_cdata ? element->text : DecodeEntities(element->text);
}

std::string CatalogueReader::AttributeAt(PositionPath path, std::string_view name) const {
  const Element* element = Select(path);
  if (!element) return {};
  for (const auto& [attribute, value] : element->attributes) {
    if (attribute == name) return DecodeEntities(value);
  }
  return {};
}

std::vector<std::string> CatalogueReader::AttributeNamesAt(PositionPath path) const {
  std::vector<std::string> names;
  if (const Element* element = Select(path)) {
    for (const auto& attribute : element->attributes) names.push_back(attribute.first);
  }
  return names;
}

std::string DecodeEntities(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, char>, 6> kReferences{{
      {"&lt;", '<'},
      {"&gt;", '>'},
      {"&amp;", '&'},
      {"&apos;", '\''},
      {"&quot;", '"'},
      {"&quote;", '"'},
  }};
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(byte)) {
      // Texts hold whole characters only, so a lead byte always has its trail.
      out.append(text.substr(i, 2));
      i += 2;
      continue;
    }
    if (byte != '&') {
      out.push_back(text[i]);
      ++i;
      continue;
    }
    // A reference ends at ';'; another '&' or a two-byte character ends it
    // unfinished, and an unfinished one stays as written.
    std::size_t end = i + 1;
    while (end < text.size() && text[end] != ';' && text[end] != '&' &&
           !IsLeadByte(static_cast<unsigned char>(text[end]))) {
      ++end;
    }
    if (end == text.size() || text[end] != ';') {
      out.append(text.substr(i, end - i));
      i = end;
      continue;
    }
    const std::string_view reference = text.substr(i, end + 1 - i);
    bool known = false;
    for (const auto& [written, decoded] : kReferences) {
      if (reference == written) {
        out.push_back(decoded);
        known = true;
      }
    }
    if (!known) out.append(reference);
    i = end + 1;
  }
  return out;
}

}  // namespace nb::reference
