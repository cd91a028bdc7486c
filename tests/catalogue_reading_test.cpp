// What the reader answers for catalogues it accepts, rule by rule: each table
// row is (input bytes, query, expected answer).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "nb/catalogue_document.h"
#include "nb/system_texts.h"

namespace nb {
namespace {

struct Query {
  enum class Kind { kCount, kText, kAttribute };
  Kind kind;
  std::vector<std::int32_t> path;
  std::string attribute;
};

Query Count(std::vector<std::int32_t> path) {
  return {Query::Kind::kCount, std::move(path), {}};
}
Query Text(std::vector<std::int32_t> path) {
  return {Query::Kind::kText, std::move(path), {}};
}
Query Value(std::vector<std::int32_t> path, std::string name = "value") {
  return {Query::Kind::kAttribute, std::move(path), std::move(name)};
}

std::string Ask(const CatalogueDocument& document, const Query& query) {
  switch (query.kind) {
    case Query::Kind::kCount:
      return std::to_string(document.ChildCount(query.path));
    case Query::Kind::kText:
      return document.TextAt(query.path);
    case Query::Kind::kAttribute:
      return document.AttributeAt(query.path, query.attribute);
  }
  return {};
}

struct Row {
  const char* rule;
  std::string input;
  Query query;
  std::string expected;
};

void CheckRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rule);
    CatalogueDocument document;
    const LoadResult result = document.Load(row.input);
    ASSERT_TRUE(result.loaded) << result.reason << " at " << result.line << ":" << result.column;
    EXPECT_EQ(Ask(document, row.query), row.expected);
  }
}

const std::string kThreeModels =
    "<catalogue><model value=\"N95\"><version value=\"V 21.0\">"
    "<link value=\"http://a/1\">first</link><link value=\"http://a/2\"/></version></model>"
    "<model value=\"6300\"/><model value=\"E71\"/></catalogue>";

TEST(CatalogueReading, PositionPathsSelectByPosition) {
  CheckRows({
      {"models are counted", kThreeModels, Count({1}), "3"},
      {"versions", kThreeModels, Count({1, 1}), "1"},
      {"links", kThreeModels, Count({1, 1, 1}), "2"},
      {"a link", kThreeModels, Value({1, 1, 1, 2}), "http://a/2"},
      {"last model", kThreeModels, Value({1, 3}), "E71"},
      {"empty path", kThreeModels, Count({}), "0"},
      {"first entry must be 1", kThreeModels, Count({2}), "0"},
      {"first entry 0", kThreeModels, Value({0}), ""},
      {"position 0", kThreeModels, Count({1, 0}), "0"},
      {"negative position", kThreeModels, Value({1, -1}), ""},
      {"one past the end", kThreeModels, Value({1, 4}), ""},
      {"past the end, deeper", kThreeModels, Text({1, 1, 1, 3}), ""},
      {"below the links", kThreeModels, Count({1, 1, 1, 1, 1}), "0"},
      {"missing attribute", kThreeModels, Value({1, 1}, "name"), ""},
      {"attribute names are case-sensitive", kThreeModels, Value({1, 1}, "Value"), ""},
      {"names of elements play no part", "<a><b/><c/><a/></a>", Count({1}), "3"},
      {"the last top-level element is the document", "<a><x/></a><b><y/><z/></b>", Count({1}), "2"},
  });
}

TEST(CatalogueReading, CommentsAreCutBeforeReading) {
  CheckRows({
      {"between models", "<c><!-- a --><m/><!-- b --><m/><!--c--><m/></c>", Count({1}), "3"},
      {"before the document", "<!-- x --><c><m/></c>", Count({1}), "1"},
      {"inside a quoted value", "<c><m value=\"N<!-- gone -->95\"/></c>", Value({1, 1}), "N95"},
      {"inside a name", "<c><mo<!-- x -->del value=\"a\"></model></c>", Value({1, 1}), "a"},
      {"inside CDATA", "<c><![CDATA[a<!-- x -->b]]></c>", Text({1}), "ab"},
      {"inside text", "<c>a<!-- x -->b</c>", Text({1}), "ab"},
      {"holding markup", "<c><!-- <m> --><m/></c>", Count({1}), "1"},
      {"unterminated runs to the end", "<c><m/></c><!-- <d>", Count({1}), "1"},
      {"a '<' that ends a two-byte character opens none", "<c v=\"\xB5<!--\"/>", Value({1}, "v"),
       "\xB5<!--"},
      {"joined bytes are not read again as a comment", "<c>x<!-<!-- -->-y>z</c>", Text({1}), "xz"},
  });
}

TEST(CatalogueReading, DeclarationsAndInstructionsAreSkipped) {
  const std::string prologue =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- about -->\n<!DOCTYPE catalogue>\n";
  CheckRows({
      {"prologue", prologue + "<c><m value=\"\xC5\xB5\"/></c>", Value({1, 1}), "\xC5\xB5"},
      {"processing instruction between models", "<c><m/><?pi x?><m/></c>", Count({1}), "2"},
      {"declaration in text is dropped", "<c>ab<!x>cd</c>", Text({1}), "abcd"},
      {"several dropped declarations join", "<c> a<!x>b<!y>c </c>", Text({1}), "abc"},
      {"declaration in an element may hold '<'", "<c><!x <y>z</c>", Text({1}), "z"},
      {"instruction ends the text", "<c>ab<?p?>cd</c>", Text({1}), "ab"},
      {"unterminated instruction after the document", "<c v=\"1\"/><?p", Value({1}, "v"), "1"},
      {"CDATA-like declaration at the top level", "<![CDATA[x]]><c v=\"1\"/>", Value({1}, "v"),
       "1"},
  });
}

TEST(CatalogueReading, StartTagsAndNames) {
  CheckRows({
      {"tab after the name joins the attribute to it", "<c><m\tvalue=\"a\"/></c>", Value({1, 1}),
       ""},
      {"line break likewise", "<c><m\nvalue=\"a\"/></c>", Value({1, 1}), ""},
      {"quoted part of a name", "<c><m\" x>\" value=\"a\"/></c>", Value({1, 1}), "a"},
      {"slash inside a name", "<c><a/b value=\"v\"></a/b></c>", Value({1, 1}), "v"},
      {"spaces before '>' of an end tag", "<c><m value=\"a\"></m   ></c>", Value({1, 1}), "a"},
      {"empty element", "<c><m value=\"a\" /></c>", Count({1, 1}), "0"},
  });
}

TEST(CatalogueReading, AttributesAreTakenAsWritten) {
  CheckRows({
      {"spaces around '='", "<c a = \"1\"/>", Value({1}, "a"), "1"},
      {"no space after a closing quote", "<c a=\"1\"b=\"2\"/>", Value({1}, "b"), "2"},
      {"value kept untrimmed", "<c a=\"  x\t\r\n y  \"/>", Value({1}, "a"), "  x\t\r\n y  "},
      {"markup bytes in a value", "<c a=\"<>='&apos;\"/>", Value({1}, "a"), "<>=''"},
      {"apostrophes are no quotes", "<c a='x'/>", Value({1}, "a"), "'x'"},
      {"unquoted value runs to a space", "<c a=xy b=2/>", Value({1}, "a"), "xy"},
      {"unquoted value runs to '/>'", "<c a=xy/>", Value({1}, "a"), "xy"},
      {"unquoted value runs to '>'", "<c a=xy></c>", Value({1}, "a"), "xy"},
      {"nothing after '='", "<c a=></c>", Value({1}, "a"), ""},
      {"a bare word makes no attribute", "<c flag a=\"1\"/>", Value({1}, "flag"), ""},
      {"and the next one still counts", "<c flag a=\"1\"/>", Value({1}, "a"), "1"},
      {"line break before a name joins it", "<c x=\"1\"\n a=\"2\"/>", Value({1}, "a"), "2"},
      {"line break becomes part of the name", "<c x=\"1\"\na=\"2\"/>", Value({1}, "\na"), "2"},
      {"address with a query string", "<c v=\"http://h/p?a=1&amp;b=2#f\"/>", Value({1}, "v"),
       "http://h/p?a=1&b=2#f"},
  });
}

TEST(CatalogueReading, TextIsTrimmedAndOwnedByTheFirstStretch) {
  const std::string download = std::string(texts::kDownloadPage);
  CheckRows({
      {"trimmed both sides", "<c> \r\n\t hello  world \r\n </c>", Text({1}), "hello  world"},
      {"empty element", "<c/>", Text({1}), ""},
      {"blank only", "<c> \r\n </c>", Text({1}), ""},
      {"text before the first child only", "<c> a <m/> b </c>", Text({1}), "a"},
      {"text after the last child is nobody's", "<c><m/> b </c>", Text({1}), ""},
      {"text of a link", "<c><m><v><l>" + download + "</l></v></m></c>", Text({1, 1, 1, 1}),
       download},
      {"a pair's second byte is never trimmed", "<c>\xB5 </c>", Text({1}), "\xB5 "},
      {"a pair ending in a tab stays", "<c>x\x81\t</c>", Text({1}), "x\x81\t"},
  });
}

TEST(CatalogueReading, CdataGivesTextAsIs) {
  CheckRows({
      {"content trimmed, entities kept", "<c><![CDATA[  a &amp; <b>  ]]></c>", Text({1}),
       "a &amp; <b>"},
      {"the last section wins, other data dropped", "<c>x<![CDATA[1]]>y<![CDATA[2]]>z</c>",
       Text({1}), "2"},
      {"'>' inside is character data", "<c><![CDATA[a>b]]></c>", Text({1}), "a>b"},
      {"a section after a child is nobody's", "<c><m/><![CDATA[x]]></c>", Text({1}), ""},
      {"a section followed by a dropped declaration", "<c><![CDATA[x]]><!y>z</c>", Text({1}), "x"},
      {"']' ending a pair does not close", "<c><![CDATA[\x81]]]></c>", Text({1}), "\x81]"},
  });
}

TEST(CatalogueReading, EntityReferencesAreDecodedOnce) {
  struct Decoding {
    const char* written;
    const char* read;
  };
  const std::vector<Decoding> decodings = {
      {"&lt;&gt;&amp;&apos;&quot;&quote;", "<>&'\"\""},
      {"&amp;lt;", "&lt;"},
      {"&#38;&#x26;", "&#38;&#x26;"},
      {"&AMP;&Lt;", "&AMP;&Lt;"},
      {"a&b", "a&b"},
      {"&&amp;", "&&"},
      {"&am&amp;", "&am&"},
      {"&x\xB5\xE3;", "&x\xB5\xE3;"},
      {"\xB5&amp;", "\xB5&amp;"},
      {"&lt", "&lt"},
      {"&;", "&;"},
  };
  std::vector<Row> rows;
  for (const Decoding& d : decodings) {
    rows.push_back(
        {d.written, std::string("<c v=\"") + d.written + "\"/>", Value({1}, "v"), d.read});
    rows.push_back({d.written, std::string("<c>") + d.written + "</c>", Text({1}), d.read});
  }
  CheckRows(rows);
}

TEST(CatalogueReading, BytesArePairsOfCodePage936) {
  CheckRows({
      {"markup byte ending a pair in text", "<c>\xB5<\xB5></c>", Text({1}), "\xB5<\xB5>"},
      {"quote ending a pair in a value", "<c v=\"\x81\"\"/>", Value({1}, "v"), "\x81\""},
      {"space ending a pair in a name", "<c><m\x81 value=\"a\"></m\x81 value=\"a\"></c>",
       Value({1, 1}), ""},
      {"0x80 is a character of its own", "<c v=\"\x80\"/>", Value({1}, "v"), "\x80"},
      {"NUL bytes are ignored", std::string("<c v=\"a\0b\"><\0m/></c>", 20), Value({1}, "v"), "ab"},
      {"NUL bytes are ignored in markup", std::string("<c><\0m/></c>", 12), Count({1}), "1"},
      {"byte-order mark then a line break is character data", "\xEF\xBB\xBF\n<c v=\"1\"/>",
       Value({1}, "v"), "1"},
      {"no conversion", "<?xml encoding=\"utf-8\"?><c v=\"\xC4\xE3\xBA\xC3\"/>", Value({1}, "v"),
       "\xC4\xE3\xBA\xC3"},
  });
}

TEST(CatalogueReading, EachLoadReplacesTheDocument) {
  CatalogueDocument document;
  ASSERT_TRUE(document.LoadFromBytes(kThreeModels));
  for (const std::string& next : {std::string(), std::string("<c><m>"), std::string("junk")}) {
    SCOPED_TRACE(next);
    ASSERT_TRUE(document.LoadFromBytes(kThreeModels));
    EXPECT_FALSE(document.LoadFromBytes(next));
    EXPECT_TRUE(document.Empty());
    EXPECT_EQ(document.ChildCount({1}), 0);
    EXPECT_EQ(document.AttributeAt({1, 1}, "value"), "");
    EXPECT_EQ(document.TextAt({1, 1, 1, 1}), "");
  }
  ASSERT_TRUE(document.LoadFromBytes(kThreeModels));
  ASSERT_TRUE(document.LoadFromBytes("<c><m value=\"only\"/></c>"));
  EXPECT_EQ(document.ChildCount({1}), 1);
  EXPECT_EQ(document.AttributeAt({1, 2}, "value"), "");
  document.Clear();
  EXPECT_TRUE(document.Empty());
  EXPECT_EQ(document.ChildCount({1}), 0);
  EXPECT_EQ(document.MemoryUsage(), 0u);
}

}  // namespace
}  // namespace nb
