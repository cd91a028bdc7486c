// Malformed catalogues: each is refused whole, and the reader says why and
// where, in line and column of the bytes as given (comments and NUL bytes
// included), which is what a publisher needs to find the fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nb/catalogue_document.h"

namespace nb {
namespace {

struct Malformed {
  std::string input;
  std::string reason;
  std::size_t line;
  std::size_t column;
};

std::string ManyAttributesWithARepeat() {
  std::string tag = "<c";
  for (int i = 0; i < 20; ++i) tag += " a" + std::to_string(i) + "=\"x\"";
  return tag + " a5=\"y\"/>";  // "<c", 10 + 10 attributes of 7 + 8 bytes, a blank
}

TEST(CatalogueFailure, ReasonAndPositionOfEachBreach) {
  const std::vector<Malformed> cases = {
      {"", "empty input", 1, 1},
      {"just text", "no element", 1, 10},
      {std::string("\0\0", 2), "no element", 1, 3},
      {"<c><m></M></c>", "end tag does not match the open element", 1, 7},
      {"<c>x</c  d>", "end tag does not match the open element", 1, 5},
      {"<c\tv=\"1\"></c>", "end tag does not match the open element", 1, 10},
      {"</c>", "end tag with no open element", 1, 1},
      {"<c/></c>", "end tag with no open element", 1, 5},
      {"<c></>", "end tag without a name", 1, 4},
      {"<c>a</c", "end tag not closed", 1, 5},
      {"<c>\n  <m>", "element not closed at the end of the input", 2, 3},
      {"<c a<b/>", "'<' inside a tag", 1, 5},
      {"<c a=x<y/>", "'<' inside a tag", 1, 7},
      {"<!DOCTYPE c [<!ELEMENT c ANY>]><c/>", "'<' inside a declaration", 1, 14},
      {"<c>a>b</c>", "'>' in character data", 1, 5},
      {"<c/>>", "'>' in character data", 1, 5},
      {"\xEF\xBB\xBF<c/>", "'>' in character data", 1, 7},
      {"< c/>", "space after '<'", 1, 1},
      {"<c><></c>", "element without a name", 1, 4},
      {"<c a\"b=\"1\"/>", "quote before the '=' of an attribute", 1, 5},
      {"<c a \"b\"/>", "quote before the '=' of an attribute", 1, 6},
      {"<c =\"1\"/>", "'=' without an attribute name", 1, 4},
      {"<c a=\"1\" a=\"2\"/>", "attribute given twice", 1, 10},
      {ManyAttributesWithARepeat(), "attribute given twice", 1, 154},
      {"<c/><", "input ends with '<'", 1, 5},
      {"<c/>\xB5", "input ends inside a two-byte character", 1, 5},
      {"<c><m v=\"\xB5", "input ends inside a two-byte character", 1, 10},
      {"<c a", "tag not closed", 1, 1},
      {"<c a=\"x", "attribute value not closed", 1, 6},
      {"<c><![CDATA[x</c>", "CDATA section not closed", 1, 4},
  };
  for (const Malformed& m : cases) {
    SCOPED_TRACE(testing::PrintToString(m.input));
    CatalogueDocument document;
    ASSERT_TRUE(document.LoadFromBytes("<ok/>"));
    const LoadResult result = document.Load(m.input);
    EXPECT_FALSE(result.loaded);
    EXPECT_FALSE(static_cast<bool>(result));
    EXPECT_EQ(result.reason, m.reason);
    EXPECT_EQ(result.line, m.line);
    EXPECT_EQ(result.column, m.column);
    EXPECT_TRUE(document.Empty()) << "a failed load leaves nothing of the previous catalogue";
  }
}

TEST(CatalogueFailure, PositionsCountTheBytesThatWereCutOut) {
  const std::vector<Malformed> cases = {
      {"<c>\r\n<m>\r\n</c>", "end tag does not match the open element", 3, 1},
      {"<c><m></m>\n<!-- a\nlong\ncomment -->\n</d>", "end tag does not match the open element", 5,
       1},
      {"<c><!-- x -->a>b</c>", "'>' in character data", 1, 15},
      {std::string("<c>\0\0</d>", 9), "end tag does not match the open element", 1, 6},
      {std::string("<c>\0<!--\0-->\0\n\0</d>", 19), "end tag does not match the open element", 2,
       2},
  };
  for (const Malformed& m : cases) {
    SCOPED_TRACE(testing::PrintToString(m.input));
    CatalogueDocument document;
    const LoadResult result = document.Load(m.input);
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(result.reason, m.reason);
    EXPECT_EQ(result.line, m.line);
    EXPECT_EQ(result.column, m.column);
  }
}

}  // namespace
}  // namespace nb
