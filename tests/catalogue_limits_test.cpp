// Sizes a hostile or merely large catalogue can reach: nothing recurses, so
// depth cannot overflow the stack, and wide levels stay addressable.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "nb/catalogue_document.h"

namespace nb {
namespace {

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out.append(piece);
  return out;
}

TEST(CatalogueLimits, AMillionLevelsDeepLoadsAndFrees) {
  constexpr std::size_t kDepth = 1'000'000;
  const std::string open = Repeat("<a>", kDepth);
  const std::string close = Repeat("</a>", kDepth);
  {
    CatalogueDocument document;
    ASSERT_TRUE(document.LoadFromBytes(open + "deep" + close));
    std::vector<std::int32_t> path(kDepth, 1);
    EXPECT_EQ(document.TextAt(path), "deep");
    EXPECT_EQ(document.ChildCount(path), 0);
    path.push_back(1);
    EXPECT_EQ(document.TextAt(path), "");
  }  // freed here, without recursion
  CatalogueDocument document;
  const LoadResult unclosed = document.Load(open + close.substr(4));
  EXPECT_FALSE(unclosed.loaded);
  EXPECT_EQ(unclosed.reason, "element not closed at the end of the input");
  EXPECT_EQ(unclosed.column, 1u) << "the outermost element is the one left open";
}

TEST(CatalogueLimits, WideLevelsAreAddressedByPosition) {
  constexpr std::int32_t kModels = 300'000;
  std::string input = "<c>";
  for (std::int32_t i = 1; i <= kModels; ++i) {
    input += "<m value=\"" + std::to_string(i) + "\"/>";
  }
  input += "</c>";
  CatalogueDocument document;
  ASSERT_TRUE(document.LoadFromBytes(input));
  EXPECT_EQ(document.ChildCount({1}), kModels);
  for (const std::int32_t j : {1, 2, 8192, 8193, kModels / 2, kModels - 1, kModels}) {
    EXPECT_EQ(document.AttributeAt({1, j}, "value"), std::to_string(j));
  }
  EXPECT_EQ(document.AttributeAt({1, kModels + 1}, "value"), "");
}

TEST(CatalogueLimits, ManyAttributesOnOneElement) {
  constexpr int kAttributes = 20'000;
  std::string input = "<c";
  for (int i = 0; i < kAttributes; ++i) {
    input += " a" + std::to_string(i) + "=\"" + std::to_string(i * 7) + "\"";
  }
  CatalogueDocument document;
  ASSERT_TRUE(document.LoadFromBytes(input + "/>"));
  EXPECT_EQ(document.AttributeAt({1}, "a19999"), std::to_string(19999 * 7));
  const LoadResult repeated = document.Load(input + " a0=\"again\"/>");
  EXPECT_EQ(repeated.reason, "attribute given twice");
}

// Indented, commented and CRLF-ended, as published catalogues are.
TEST(CatalogueLimits, MemoryStaysWithinTwiceARealisticInput) {
  const std::string model =
      "  <model value=\"N95-1 RM-159\">\r\n"
      "    <!-- firmware -->\r\n"
      "    <version value=\"V 21.0.016\">\r\n"
      "      <link value=\"http://example/dl?id=1&amp;t=2\">\xCF\xC2\xD4\xD8</link>\r\n"
      "      <link value=\"http://example/dl?id=2\"/>\r\n"
      "    </version>\r\n"
      "  </model>\r\n";
  constexpr std::size_t kModels = 50'000;
  const std::string input = "<catalogue>\r\n" + Repeat(model, kModels) + "</catalogue>\r\n";
  CatalogueDocument document;
  ASSERT_TRUE(document.LoadFromBytes(input));
  EXPECT_LT(document.MemoryUsage(), 2 * input.size());
  EXPECT_GT(document.MemoryUsage(), input.size()) << "the figure counts the bytes kept";
}

}  // namespace
}  // namespace nb
