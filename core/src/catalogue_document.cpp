// The catalogue reader. docs/catalogue-format.md is the grammar; this file
// follows it rule by rule, and tests/reference_catalogue_reader.cpp is a plain
// second reading of the same page that the tests and the fuzzer compare with.
//
// How it is fast:
// - The input is copied once into a private buffer, with NUL bytes and
//   comments dropped on the way; everything after works on that buffer and
//   keeps texts as 32-bit offsets into it. A NUL sentinel after the last byte
//   ends every scan, since no other NUL is left.
// - Scans look for a handful of markup bytes through 256-entry tables and
//   ignore code page 936 pairs on the way. Only when a markup byte is found is
//   it checked for being the second half of a pair: it is exactly when the run
//   of bytes 0x81..0xFF right before it has odd length, because every byte
//   below 0x81 ends a character. Those runs are disjoint, so the checks cost
//   O(n) in all.
// - Elements are appended to paged arrays in document order; each element's
//   children are gathered on a stack while it is open and written as one
//   contiguous slice when it closes, so the n-th child is one index away.
// - Entity references are decoded only when a text is asked for.
#include "nb/catalogue_document.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "paged_array.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nb {
namespace {

using Byte = unsigned char;
using Offset = std::uint32_t;

constexpr Byte kFirstLeadByte = 0x81;
// Bit 31 of an element's text length marks text read from a CDATA section;
// inputs stay below 2 GiB, so no length needs that bit.
constexpr std::uint32_t kCdataMark = 0x80000000u;
constexpr std::size_t kInputLimit = kCdataMark;

bool IsLeadByte(Byte c) {
  return c >= kFirstLeadByte;
}
bool IsBlank(Byte c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Only the space separates inside tags; tabs and line breaks are name bytes.
const Byte* SkipSpaces(const Byte* p) {
  while (*p == ' ') ++p;
  return p;
}

// True when the byte at `p` is the second half of a two-byte character.
// `floor` must be the start of a character at or before `p`.
bool IsTrailByte(const Byte* floor, const Byte* p) {
  const Byte* q = p;
  while (q > floor && IsLeadByte(q[-1])) --q;
  return ((p - q) & 1) != 0;
}

// The buffer ends in a NUL sentinel and this many NUL bytes in all, so that a
// 16-byte load that starts at or before the sentinel stays inside it.
constexpr std::size_t kTailPadding = 16;

// The first byte from `p` on that is NUL or one of `kStops`. Stops at the
// sentinel at the latest.
template <char... kStops>
const Byte* FindStopByte(const Byte* p) {
#if defined(__SSE2__)
  for (;;) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits = _mm_cmpeq_epi8(chunk, _mm_setzero_si128());
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(kStops)))), ...);
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (mask != 0) return p + __builtin_ctz(mask);
    p += 16;
  }
#else
  while (*p != 0 && ((*p != static_cast<Byte>(kStops)) && ...)) ++p;
  return p;
#endif
}

// The first byte from `p` on that is one of `kStops` and starts a character;
// the sentinel when there is none. `p` must start a character.
template <char... kStops>
const Byte* FindStop(const Byte* p) {
  const Byte* const floor = p;
  for (;;) {
    p = FindStopByte<kStops...>(p);
    if (*p == 0 || !IsTrailByte(floor, p)) return p;
    ++p;
  }
}

// Where `token` (which starts with a single-byte character) first stands at
// the start of a character in [p, end); null when nowhere.
const Byte* FindToken(const Byte* p, const Byte* end, std::string_view token) {
  const Byte* const floor = p;
  const auto first = static_cast<Byte>(token[0]);
  while (p < end) {
    const void* hit = std::memchr(p, first, static_cast<std::size_t>(end - p));
    if (hit == nullptr) return nullptr;
    p = static_cast<const Byte*>(hit);
    if (static_cast<std::size_t>(end - p) < token.size()) return nullptr;
    if (std::memcmp(p, token.data(), token.size()) == 0 && !IsTrailByte(floor, p)) return p;
    ++p;
  }
  return nullptr;
}

// Where the first "<!--" that starts a character stands in [p, end); null
// when nowhere. `p` must start a character. Looks for the '!', which only
// comments and declarations use, so memchr strides over everything else.
const Byte* FindCommentOpen(const Byte* p, const Byte* end) {
  const Byte* const floor = p;
  const Byte* bang = p + 1;
  while (bang < end) {
    const void* hit = std::memchr(bang, '!', static_cast<std::size_t>(end - bang));
    if (hit == nullptr) return nullptr;
    bang = static_cast<const Byte*>(hit);
    if (bang[-1] == '<' && end - bang >= 3 && bang[1] == '-' && bang[2] == '-' &&
        !IsTrailByte(floor, bang - 1)) {
      return bang - 1;
    }
    ++bang;
  }
  return nullptr;
}

// Hands each run of `text` that survives comment cutting to `keep(begin, end)`,
// in order. `text` holds no NUL byte.
template <typename Keep>
void ForEachRunOutsideComments(std::string_view text, Keep&& keep) {
  const auto* p = reinterpret_cast<const Byte*>(text.data());
  const Byte* const end = p + text.size();
  const Byte* run = p;
  // Each search starts on a character boundary: the input's start, the byte
  // after "<!--", the byte after "-->".
  while (const Byte* open = FindCommentOpen(p, end)) {
    keep(run, open);
    const Byte* close = FindToken(open + 4, end, "-->");
    p = run = (close == nullptr) ? end : close + 3;
  }
  keep(run, end);
}

// 20 bytes an element: attributes are stored in document order, so an
// element's attributes end where the next element's begin and need no count.
struct Node {
  Offset text_offset = 0;
  std::uint32_t text_length = 0;  // with kCdataMark
  std::uint32_t first_attribute = 0;
  std::uint32_t first_child = 0;
  std::uint32_t child_count = 0;
};

// 12 bytes an attribute: the name's length is found again when asked for, by
// the rule that ended it (a space or '=' starting a character); names are short.
struct Attribute {
  Offset name_offset;
  Offset value_offset;
  Offset value_length;
};

std::size_t AttributeNameLength(const Byte* name) {
  const Byte* p = name;
  while (*p != ' ' && *p != '=') p += IsLeadByte(*p) ? 2 : 1;
  return static_cast<std::size_t>(p - name);
}

// One-pass decoding of the six entity references; everything else stays as
// written. Walks characters, so a pair's second byte never starts or ends a
// reference, and a two-byte character ends a pending one.
std::string DecodeEntities(std::string_view raw) {
  const auto* const data = reinterpret_cast<const Byte*>(raw.data());
  const std::size_t size = raw.size();
  if (std::memchr(data, '&', size) == nullptr) return std::string(raw);
  static constexpr std::array<std::pair<std::string_view, char>, 6> kReferences{{
      {"&lt;", '<'},
      {"&gt;", '>'},
      {"&amp;", '&'},
      {"&apos;", '\''},
      {"&quot;", '"'},
      {"&quote;", '"'},
  }};
  std::string out;
  out.reserve(size);
  std::size_t copied = 0;  // raw[copied, i) is still to be copied as written
  std::size_t i = 0;       // always the start of a character
  while (i < size) {
    const void* hit = std::memchr(data + i, '&', size - i);
    if (hit == nullptr) break;
    const auto amp = static_cast<std::size_t>(static_cast<const Byte*>(hit) - data);
    if (IsTrailByte(data + i, data + amp)) {
      i = amp + 1;
      continue;
    }
    // A reference runs to the next ';'; another '&' or a two-byte character
    // ends it first, and then it stays as written.
    std::size_t j = amp + 1;
    while (j < size && data[j] != ';' && data[j] != '&' && !IsLeadByte(data[j])) ++j;
    if (j == size || data[j] != ';') {
      i = j;
      continue;
    }
    const std::string_view reference = raw.substr(amp, j + 1 - amp);
    const auto known = std::find_if(kReferences.begin(), kReferences.end(),
                                    [&](const auto& r) { return r.first == reference; });
    if (known != kReferences.end()) {
      out.append(raw.substr(copied, amp - copied));
      out.push_back(known->second);
      copied = j + 1;
    }
    i = j + 1;
  }
  out.append(raw.substr(copied));
  return out;
}

struct LineAndColumn {
  std::size_t line;
  std::size_t column;
};

LineAndColumn LocateOffset(std::string_view bytes, std::size_t offset) {
  const std::string_view before = bytes.substr(0, offset);
  const auto line = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t last_break = before.rfind('\n');
  const std::size_t line_start = last_break == std::string_view::npos ? 0 : last_break + 1;
  return {line + 1, offset - line_start + 1};
}

}  // namespace

struct CatalogueDocument::Tree {
  std::unique_ptr<Byte[]> bytes;  // the input less NULs and comments, then NUL padding
  std::size_t size = 0;
  detail::PagedArray<Node> nodes;
  detail::PagedArray<Attribute> attributes;
  detail::PagedArray<std::uint32_t> children;  // node indexes, each element's slice contiguous
  std::uint32_t root = 0;

  std::string_view View(Offset offset, Offset length) const {
    return {reinterpret_cast<const char*>(bytes.get()) + offset, length};
  }
};

namespace {

// Reads the buffer of a Tree by the grammar. On failure `reason` and
// `fault` (a buffer position) tell why and where.
class Parser {
 public:
  explicit Parser(CatalogueDocument::Tree& tree)
      : tree_(tree), begin_(tree.bytes.get()), end_(begin_ + tree.size) {}

  bool Run();

  std::string_view reason() const { return reason_; }
  std::size_t fault() const { return static_cast<std::size_t>(fault_ - begin_); }

 private:
  struct OpenElement {
    std::uint32_t node;
    Offset name_offset;
    Offset name_length;
    std::uint32_t children_base;  // where its children start on `pending_children_`
    Offset tag_offset;
  };

  // The text of the innermost open element, while it is still being read:
  // from the end of its start tag to the first '<' that does not begin "<!".
  struct TextPhase {
    bool active = false;
    const Byte* begin = nullptr;
    Byte* write = nullptr;  // set once a declaration has been dropped: pieces join here
    bool has_cdata = false;
    const Byte* cdata_begin = nullptr;
    const Byte* cdata_end = nullptr;
  };

  bool Fail(const char* reason, const Byte* where) {
    reason_ = reason;
    fault_ = where;
    return false;
  }
  // A failure found at the end of the input: a final lone lead byte is the
  // first thing to tell the publisher about.
  bool FailAtEnd(const char* reason, const Byte* where) {
    if (ends_in_lead_byte_) return Fail(kEndsInsideCharacter, end_ - 1);
    return Fail(reason, where);
  }
  static constexpr const char* kEndsInsideCharacter = "input ends inside a two-byte character";

  Offset OffsetOf(const Byte* p) const { return static_cast<Offset>(p - begin_); }
  bool IsTagEnd(const Byte* p) const { return *p == '>' || (*p == '/' && p[1] == '>'); }

  void AddCharacterData(const Byte* from, const Byte* to);
  void EndTextPhase(const Byte* at);
  bool ReadStartTag(const Byte* lt, const Byte*& next);
  enum class TagWord { kName, kUnquotedValue };
  bool SkipTagWord(const Byte* lt, const Byte*& p, TagWord word);
  bool ReadAttributes(const Byte* lt, const Byte*& p);
  bool CheckDuplicateAttributes(std::uint32_t first, std::uint32_t count);
  bool ReadEndTag(const Byte* lt, const Byte*& next);
  void CloseElement();

  CatalogueDocument::Tree& tree_;
  Byte* const begin_;
  Byte* const end_;
  bool ends_in_lead_byte_ = false;
  bool have_root_ = false;
  std::vector<OpenElement> open_;
  std::vector<std::uint32_t> pending_children_;
  TextPhase text_;
  const char* reason_ = "";
  const Byte* fault_ = nullptr;
};

bool Parser::Run() {
  ends_in_lead_byte_ = IsTrailByte(begin_, end_);
  const Byte* p = begin_;
  for (;;) {
    const Byte* lt = FindStop<'<', '>'>(p);
    AddCharacterData(p, lt);
    if (*lt == '>') return Fail("'>' in character data", lt);
    if (lt == end_) break;
    if (lt + 1 == end_) return FailAtEnd("input ends with '<'", lt);
    switch (lt[1]) {
      case '/':
        EndTextPhase(lt);
        if (!ReadEndTag(lt, p)) return false;
        break;
      case '?': {
        EndTextPhase(lt);
        const Byte* gt = FindStop<'>'>(lt + 2);
        p = (gt == end_) ? end_ : gt + 1;
        break;
      }
      case '!': {
        constexpr std::string_view kCdataOpen = "<![CDATA[";
        if (!open_.empty() && static_cast<std::size_t>(end_ - lt) >= kCdataOpen.size() &&
            std::memcmp(lt, kCdataOpen.data(), kCdataOpen.size()) == 0) {
          const Byte* content = lt + kCdataOpen.size();
          const Byte* close = FindToken(content, end_, "]]>");
          if (close == nullptr) return FailAtEnd("CDATA section not closed", lt);
          if (text_.active) {
            text_.has_cdata = true;
            text_.cdata_begin = content;
            text_.cdata_end = close;
          }
          p = close + 3;
          break;
        }
        // Only at the top level may a declaration not hold a '<'.
        const Byte* stop = open_.empty() ? FindStop<'<', '>'>(lt + 2) : FindStop<'>'>(lt + 2);
        if (*stop == '<') return Fail("'<' inside a declaration", stop);
        if (text_.active && text_.write == nullptr) text_.write = begin_ + OffsetOf(lt);
        p = (stop == end_) ? end_ : stop + 1;
        break;
      }
      case ' ':
        return Fail("space after '<'", lt);
      case '>':
        return Fail("element without a name", lt);
      default:
        EndTextPhase(lt);
        if (!ReadStartTag(lt, p)) return false;
        break;
    }
  }
  if (ends_in_lead_byte_) return Fail(kEndsInsideCharacter, end_ - 1);
  if (!open_.empty()) {
    return Fail("element not closed at the end of the input", begin_ + open_.back().tag_offset);
  }
  if (!have_root_) return Fail("no element", end_);
  return true;
}

void Parser::AddCharacterData(const Byte* from, const Byte* to) {
  if (!text_.active || text_.write == nullptr || text_.has_cdata) return;
  // A declaration was dropped earlier in this text: slide the piece left so
  // the text stays one run. Each byte moves at most once.
  const auto length = static_cast<std::size_t>(to - from);
  if (text_.write != from) std::memmove(text_.write, from, length);
  text_.write += length;
}

void Parser::EndTextPhase(const Byte* at) {
  if (!text_.active) return;
  text_.active = false;
  const Byte* first = text_.has_cdata ? text_.cdata_begin : text_.begin;
  const Byte* last = text_.has_cdata ? text_.cdata_end : text_.write != nullptr ? text_.write : at;
  while (first < last && IsBlank(*first)) ++first;
  while (last > first && IsBlank(last[-1]) && !IsTrailByte(first, last - 1)) --last;
  Node& node = tree_.nodes[open_.back().node];
  node.text_offset = OffsetOf(first);
  node.text_length = static_cast<Offset>(last - first);
  if (text_.has_cdata) node.text_length |= kCdataMark;
}

bool Parser::ReadStartTag(const Byte* lt, const Byte*& next) {
  // The name runs to the first space, '>' or "/>" outside double quotes.
  const Byte* p = lt + 1;
  bool quoted = false;
  for (;; ++p) {
    const Byte c = *p;
    if (p == end_) return FailAtEnd("tag not closed", lt);
    if (IsLeadByte(c)) {
      if (p + 1 == end_) return FailAtEnd("tag not closed", lt);
      ++p;
      continue;
    }
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (c == ' ' || IsTagEnd(p)) break;
      if (c == '<') return Fail("'<' inside a tag", p);
    }
  }
  const Offset name_offset = OffsetOf(lt + 1);
  const auto name_length = static_cast<Offset>(p - (lt + 1));

  const std::uint32_t first_attribute = tree_.attributes.size();
  if (!ReadAttributes(lt, p)) return false;
  const std::uint32_t attribute_count = tree_.attributes.size() - first_attribute;
  if (attribute_count > 1 && !CheckDuplicateAttributes(first_attribute, attribute_count)) {
    return false;
  }

  const std::uint32_t index = tree_.nodes.size();
  Node node;
  node.first_attribute = first_attribute;
  tree_.nodes.push_back(node);
  if (!open_.empty()) pending_children_.push_back(index);

  if (*p == '/') {  // "/>": closed at once
    if (open_.empty()) {
      tree_.root = index;
      have_root_ = true;
    }
    next = p + 2;
    return true;
  }
  open_.push_back({index, name_offset, name_length,
                   static_cast<std::uint32_t>(pending_children_.size()), OffsetOf(lt)});
  text_ = TextPhase{};
  text_.active = true;
  text_.begin = p + 1;
  next = p + 1;
  return true;
}

// Steps `p` over an attribute name or an unquoted value, to the space or the
// end of the tag after it (for a name, also to its '=').
bool Parser::SkipTagWord(const Byte* lt, const Byte*& p, TagWord word) {
  for (;; ++p) {
    if (p == end_) return FailAtEnd("tag not closed", lt);
    const Byte c = *p;
    if (IsLeadByte(c)) {
      if (p + 1 == end_) return FailAtEnd("tag not closed", lt);
      ++p;
      continue;
    }
    if (c == ' ' || IsTagEnd(p) || (word == TagWord::kName && c == '=')) return true;
    if (c == '<') return Fail("'<' inside a tag", p);
    if (word == TagWord::kName && c == '"') return Fail("quote before the '=' of an attribute", p);
  }
}

// Reads attributes up to the end of the tag, leaving `p` on its '>' or "/>".
bool Parser::ReadAttributes(const Byte* lt, const Byte*& p) {
  for (;;) {
    p = SkipSpaces(p);
    if (p == end_) return FailAtEnd("tag not closed", lt);
    if (IsTagEnd(p)) return true;
    if (*p == '"') return Fail("quote before the '=' of an attribute", p);
    if (*p == '=') return Fail("'=' without an attribute name", p);
    if (*p == '<') return Fail("'<' inside a tag", p);

    const Byte* name = p;
    if (!SkipTagWord(lt, p, TagWord::kName)) return false;
    p = SkipSpaces(p);
    if (*p != '=') continue;  // a bare word makes no attribute
    ++p;
    p = SkipSpaces(p);
    if (p == end_) return FailAtEnd("tag not closed", lt);

    const Byte* value = p;
    const Byte* value_end = p;
    if (*p == '"') {
      value = p + 1;
      value_end = FindStop<'"'>(value);
      if (value_end == end_) return FailAtEnd("attribute value not closed", p);
      p = value_end + 1;
    } else if (!IsTagEnd(p)) {
      if (!SkipTagWord(lt, p, TagWord::kUnquotedValue)) return false;
      value_end = p;
    }
    tree_.attributes.push_back(
        {OffsetOf(name), OffsetOf(value), static_cast<Offset>(value_end - value)});
  }
}

bool Parser::CheckDuplicateAttributes(std::uint32_t first, std::uint32_t count) {
  auto name = [&](std::uint32_t i) {
    const Offset offset = tree_.attributes[first + i].name_offset;
    return tree_.View(offset, static_cast<Offset>(AttributeNameLength(begin_ + offset)));
  };
  auto fail_at = [&](std::uint32_t i) {
    return Fail("attribute given twice", begin_ + tree_.attributes[first + i].name_offset);
  };
  constexpr std::uint32_t kPairwiseLimit = 8;
  if (count <= kPairwiseLimit) {
    for (std::uint32_t j = 1; j < count; ++j) {
      for (std::uint32_t i = 0; i < j; ++i) {
        if (name(i) == name(j)) return fail_at(j);
      }
    }
    return true;
  }
  // Many attributes (only hostile input has them): sort instead of O(n^2).
  std::vector<std::uint32_t> order(count);
  for (std::uint32_t i = 0; i < count; ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return name(a) != name(b) ? name(a) < name(b) : a < b;
  });
  std::uint32_t first_repeat = count;
  for (std::uint32_t k = 1; k < count; ++k) {
    if (name(order[k - 1]) == name(order[k])) first_repeat = std::min(first_repeat, order[k]);
  }
  return first_repeat == count || fail_at(first_repeat);
}

bool Parser::ReadEndTag(const Byte* lt, const Byte*& next) {
  if (lt[2] == '>') return Fail("end tag without a name", lt);
  if (open_.empty()) return Fail("end tag with no open element", lt);
  const OpenElement& element = open_.back();
  const Byte* name = lt + 2;
  const auto available = static_cast<std::size_t>(end_ - name);
  const std::size_t length = element.name_length;
  const Byte* expected = begin_ + element.name_offset;
  if (available < length) {
    if (std::memcmp(name, expected, available) == 0) return FailAtEnd("end tag not closed", lt);
    return Fail("end tag does not match the open element", lt);
  }
  if (std::memcmp(name, expected, length) != 0) {
    return Fail("end tag does not match the open element", lt);
  }
  const Byte* p = SkipSpaces(name + length);
  if (p == end_) return FailAtEnd("end tag not closed", lt);
  if (*p != '>') return Fail("end tag does not match the open element", lt);
  CloseElement();
  next = p + 1;
  return true;
}

void Parser::CloseElement() {
  const OpenElement element = open_.back();
  open_.pop_back();
  Node& node = tree_.nodes[element.node];
  node.first_child = tree_.children.size();
  node.child_count = static_cast<std::uint32_t>(pending_children_.size()) - element.children_base;
  for (std::size_t i = element.children_base; i < pending_children_.size(); ++i) {
    tree_.children.push_back(pending_children_[i]);
  }
  pending_children_.resize(element.children_base);
  if (open_.empty()) {
    tree_.root = element.node;
    have_root_ = true;
  }
}

// The offset in `text` of byte `kept_offset` of what survives comment cutting.
std::size_t OffsetBeforeCommentCut(std::string_view text, std::size_t kept_offset) {
  std::size_t kept = 0;
  std::size_t found = text.size();
  bool done = false;
  ForEachRunOutsideComments(text, [&](const Byte* from, const Byte* to) {
    const auto length = static_cast<std::size_t>(to - from);
    if (done) return;
    if (kept_offset < kept + length) {
      found = static_cast<std::size_t>(from - reinterpret_cast<const Byte*>(text.data())) +
              (kept_offset - kept);
      done = true;
    }
    kept += length;
  });
  return found;
}

// The offset in `bytes` of the `n`-th byte that is not NUL.
std::size_t OffsetBeforeNulRemoval(std::string_view bytes, std::size_t n) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\0' && n-- == 0) return i;
  }
  return bytes.size();
}

}  // namespace

CatalogueDocument::CatalogueDocument() = default;
CatalogueDocument::~CatalogueDocument() = default;
CatalogueDocument::CatalogueDocument(CatalogueDocument&&) noexcept = default;
CatalogueDocument& CatalogueDocument::operator=(CatalogueDocument&&) noexcept = default;

bool CatalogueDocument::LoadFromBytes(std::string_view bytes) {
  return Load(bytes).loaded;
}

LoadResult CatalogueDocument::Load(std::string_view bytes) {
  tree_.reset();
  LoadResult result;
  if (bytes.empty()) {
    result.reason = "empty input";
    result.line = result.column = 1;
    return result;
  }
  if (bytes.size() >= kInputLimit) {
    result.reason = "input of 2 GiB or more";
    result.line = result.column = 1;
    return result;
  }

  // NUL bytes are ignored: drop them first (rare, so a plain copy will do).
  std::string without_nuls;
  std::string_view text = bytes;
  if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr) {
    without_nuls.reserve(bytes.size());
    for (char c : bytes) {
      if (c != '\0') without_nuls.push_back(c);
    }
    text = without_nuls;
  }

  auto tree = std::make_unique<Tree>();
  tree->bytes = std::make_unique_for_overwrite<Byte[]>(text.size() + kTailPadding);
  ForEachRunOutsideComments(text, [&](const Byte* from, const Byte* to) {
    const auto length = static_cast<std::size_t>(to - from);
    if (length != 0) std::memcpy(tree->bytes.get() + tree->size, from, length);
    tree->size += length;
  });
  std::memset(tree->bytes.get() + tree->size, 0, kTailPadding);

  Parser parser(*tree);
  if (parser.Run()) {
    tree_ = std::move(tree);
    result.loaded = true;
    return result;
  }
  std::size_t offset = OffsetBeforeCommentCut(text, parser.fault());
  if (text.data() != bytes.data()) offset = OffsetBeforeNulRemoval(bytes, offset);
  const LineAndColumn where = LocateOffset(bytes, offset);
  result.reason = parser.reason();
  result.offset = offset;
  result.line = where.line;
  result.column = where.column;
  return result;
}

namespace {

constexpr std::uint32_t kNoNode = 0xFFFFFFFFu;

// The index of the element `path` selects, or kNoNode.
std::uint32_t Resolve(const CatalogueDocument::Tree* tree, PositionPath path) {
  if (tree == nullptr || path.empty() || path[0] != 1) return kNoNode;
  std::uint32_t index = tree->root;
  for (std::size_t i = 1; i < path.size(); ++i) {
    const Node& node = tree->nodes[index];
    const std::int32_t position = path[i];
    if (position < 1 || static_cast<std::uint32_t>(position) > node.child_count) return kNoNode;
    index = tree->children[node.first_child + static_cast<std::uint32_t>(position) - 1];
  }
  return index;
}

}  // namespace

std::int32_t CatalogueDocument::ChildCount(PositionPath path) const {
  const std::uint32_t index = Resolve(tree_.get(), path);
  return index == kNoNode ? 0 : static_cast<std::int32_t>(tree_->nodes[index].child_count);
}

std::string CatalogueDocument::TextAt(PositionPath path) const {
  const std::uint32_t index = Resolve(tree_.get(), path);
  if (index == kNoNode) return {};
  const Node& node = tree_->nodes[index];
  const std::string_view raw = tree_->View(node.text_offset, node.text_length & ~kCdataMark);
  if ((node.text_length & kCdataMark) != 0) return std::string(raw);
  return DecodeEntities(raw);
}

std::string CatalogueDocument::AttributeAt(PositionPath path, std::string_view name) const {
  const std::uint32_t index = Resolve(tree_.get(), path);
  if (index == kNoNode) return {};
  const std::uint32_t first = tree_->nodes[index].first_attribute;
  const std::uint32_t end = index + 1 < tree_->nodes.size()
                                ? tree_->nodes[index + 1].first_attribute
                                : tree_->attributes.size();
  for (std::uint32_t i = first; i < end; ++i) {
    const Attribute& a = tree_->attributes[i];
    const Byte* written = tree_->bytes.get() + a.name_offset;
    if (AttributeNameLength(written) == name.size() &&
        std::memcmp(written, name.data(), name.size()) == 0) {
      return DecodeEntities(tree_->View(a.value_offset, a.value_length));
    }
  }
  return {};
}

void CatalogueDocument::Clear() {
  tree_.reset();
}

bool CatalogueDocument::Empty() const {
  return tree_ == nullptr;
}

std::size_t CatalogueDocument::MemoryUsage() const {
  if (tree_ == nullptr) return 0;
  return sizeof(Tree) + tree_->size + kTailPadding + tree_->nodes.MemoryUsage() +
         tree_->attributes.MemoryUsage() + tree_->children.MemoryUsage();
}

}  // namespace nb
