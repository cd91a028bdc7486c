// Choosing a category: which addresses are asked, in which order, which answer
// is shown, and what the lists and the status bar show afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser_fixture.h"
#include "nb/catalogue_fetching.h"
#include "nb/system_texts.h"

namespace nb_test {
namespace {

using nb::ListId;
namespace texts = nb::texts;

std::string Status(std::int32_t count) {
  return std::string(texts::kRecordCountPrefix) + std::to_string(count) +
         std::string(texts::kRecordCountSuffix);
}
std::string Current(std::int32_t number) {
  return std::string(texts::kRecordNumberPrefix) + std::to_string(number) +
         std::string(texts::kRecordNumberSuffix);
}
std::string Address(std::string_view server, std::string_view path) {
  return std::string(server) + std::string(path);
}

class CatalogueFetching : public BrowserFixture {
 protected:
  void ChooseBuiltIn(std::string_view text) {
    view_.InsertCategory(0, text);
    BindHandlers();
    ASSERT_TRUE(view_.ChooseCategory(0));
    view_.DeliverQueuedEvents();
  }
  void ChooseConfigured(std::string slot_text) {
    state_->source_mode = 1;
    state_->category_source_table.Write(0, std::move(slot_text));
    view_.InsertCategory(0, "any");
    BindHandlers();
    ASSERT_TRUE(view_.ChooseCategory(0));
    view_.DeliverQueuedEvents();
  }
};

TEST_F(CatalogueFetching, StatusTexts) {
  nb::ShowRecordStatus(view_, 12, 1);
  EXPECT_EQ(view_.StatusText(0),
            "\xB5\xB1\xC7\xB0\xB9\xB2\xD3\xD0"
            "12\xCC\xF5\xBC\xC7\xC2\xBC");
  EXPECT_EQ(view_.StatusText(1),
            "\xB5\xDA"
            "1\xCC\xF5");
  nb::ShowRecordStatus(view_, -5, 0);
  EXPECT_EQ(view_.StatusText(0), Status(-5));
  EXPECT_EQ(view_.StatusText(1), Current(0));
}

TEST_F(CatalogueFetching, ShowsTheModelsOfTheCatalogue) {
  web_.answers[Address(kPrimary, "/tools/PHOENIX.xml")] = Catalogue(3, 1, 1);
  web_.during_fetch = [this] {
    EXPECT_EQ(view_.ListItems(ListId::kModels),
              std::vector<std::string>{std::string(texts::kLoading)});
    EXPECT_TRUE(view_.ListEnabled(ListId::kModels));
  };
  view_.InsertListItem(ListId::kVersions, 0, "stale");
  view_.InsertListItem(ListId::kLinks, 0, "stale");
  ChooseBuiltIn("PHOENIX");
  EXPECT_EQ(view_.ListItems(ListId::kModels), (std::vector<std::string>{"m1", "m2", "m3"}));
  EXPECT_EQ(view_.StatusText(0), Status(3));
  EXPECT_EQ(view_.StatusText(1), Current(1));
  EXPECT_EQ(view_.ListItemCount(ListId::kVersions), 0);
  EXPECT_EQ(view_.ListItemCount(ListId::kLinks), 0);
  EXPECT_FALSE(view_.ListEnabled(ListId::kVersions));
  EXPECT_FALSE(view_.ListEnabled(ListId::kLinks));
}

TEST_F(CatalogueFetching, BuiltInCategoriesAskThePrimaryThenTheMirror) {
  struct Case {
    std::string primary;
    bool mirror_asked;
  };
  const std::string catalogue = Catalogue(2, 0, 0);
  const std::vector<Case> cases = {
      {"", true},         {"123456789", true}, {"1234567890", false}, {"12345678901", false},
      {catalogue, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.primary);
    view_ = nb::InMemoryView();
    web_.requests.clear();
    web_.answers.clear();
    web_.answers[Address(kPrimary, "/tools/BB5.xml")] = c.primary;
    web_.answers[Address(kMirror, "/tools/BB5.xml")] = "<c><m value=\"mirror\"/></c>";
    ChooseBuiltIn("BB5");
    std::vector<std::string> expected = {Address(kPrimary, "/tools/BB5.xml")};
    if (c.mirror_asked) expected.push_back(Address(kMirror, "/tools/BB5.xml"));
    EXPECT_EQ(web_.requests, expected);
    const std::vector<std::string> models =
        c.mirror_asked ? std::vector<std::string>{"mirror"}
                       : (c.primary == catalogue ? std::vector<std::string>{"m1", "m2"}
                                                 : std::vector<std::string>{});
    EXPECT_EQ(view_.ListItems(ListId::kModels), models);
  }
}

TEST_F(CatalogueFetching, TheMirrorsAnswerIsLoadedWhateverItIs) {
  web_.answers[Address(kPrimary, "/tools/CS.xml")] = Catalogue(4, 0, 0).substr(0, 9);
  ChooseBuiltIn("Care Suite");
  EXPECT_EQ(web_.requests.size(), 2u);
  EXPECT_EQ(view_.ListItemCount(ListId::kModels), 0);
  EXPECT_EQ(view_.StatusText(0), Status(0));
  EXPECT_EQ(view_.StatusText(1), Current(1));
}

TEST_F(CatalogueFetching, EachBuiltInTextHasItsPath) {
  struct Case {
    std::string text;
    std::string path;  // empty: no request at all
  };
  const std::vector<Case> cases = {
      {"BB5", "/tools/BB5.xml"},
      {"PHOENIX", "/tools/PHOENIX.xml"},
      {"DCT4/WD2", "/tools/DCT4.xml"},
      {"Care Suite", "/tools/CS.xml"},
      {"bb5", ""},
      {"BB5 ", ""},
      {"DCT4", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    view_ = nb::InMemoryView();
    web_.requests.clear();
    ChooseBuiltIn(c.text);
    const std::vector<std::string> expected =
        c.path.empty()
            ? std::vector<std::string>{}
            : std::vector<std::string>{Address(kPrimary, c.path), Address(kMirror, c.path)};
    EXPECT_EQ(web_.requests, expected);
    EXPECT_EQ(view_.StatusText(0), Status(0));
  }
}

TEST_F(CatalogueFetching, ConfiguredAddressesAreTriedInOrder) {
  struct Case {
    const char* name;
    std::string slot;
    std::map<std::string, std::string, std::less<>> answers;
    std::vector<std::string> requests;
    std::int32_t models;
  };
  const std::string ten = "1234567890";
  const std::string good = Catalogue(2, 0, 0);
  const std::vector<Case> cases = {
      {"accepted at 11 bytes", "http://a/,http://b/,", {{"http://a/", good}}, {"http://a/"}, 2},
      {"10 bytes are not enough",
       "http://a/,http://b/,",
       {{"http://a/", ten}, {"http://b/", ""}},
       {"http://a/", "http://b/"},
       0},
      {"the last answer is shown",
       "http://a/,http://b/,",
       {{"http://a/", ten}, {"http://b/", good}},
       {"http://a/", "http://b/"},
       2},
      {"an empty piece ends the trying",
       "http://a/,,http://b/,",
       {{"http://a/", ten}},
       {"http://a/"},
       0},
      {"a leading comma asks nothing", ",http://a/,", {{"http://a/", good}}, {}, 0},
      {"an empty slot asks nothing", "", {}, {}, 0},
      {"no trailing comma", "http://a/", {{"http://a/", good}}, {"http://a/"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view_ = nb::InMemoryView();
    web_.requests.clear();
    web_.answers = c.answers;
    ChooseConfigured(c.slot);
    EXPECT_EQ(web_.requests, c.requests);
    EXPECT_EQ(view_.ListItemCount(ListId::kModels), c.models);
    EXPECT_EQ(view_.StatusText(0), Status(c.models));
  }
}

TEST_F(CatalogueFetching, ASelectionOutsideTheTableAsksNothing) {
  state_->source_mode = 1;
  for (std::int32_t i = 0; i <= 100; ++i) {
    state_->category_source_table.Write(i, "http://a/,");
    view_.InsertCategory(i, "c" + std::to_string(i));
  }
  BindHandlers();
  view_.RaiseCategoryEvent();  // nothing selected
  ASSERT_TRUE(view_.ChooseCategory(100));
  EXPECT_EQ(view_.DeliverQueuedEvents(), 2);
  EXPECT_TRUE(web_.requests.empty());
  EXPECT_EQ(view_.StatusText(0), Status(0));
  ASSERT_TRUE(view_.ChooseCategory(99));
  view_.DeliverQueuedEvents();
  EXPECT_EQ(web_.requests, std::vector<std::string>{"http://a/"});
}

TEST_F(CatalogueFetching, EveryChoiceFetchesAnew) {
  web_.answers[Address(kPrimary, "/tools/BB5.xml")] = Catalogue(1, 0, 0);
  ChooseBuiltIn("BB5");
  ASSERT_TRUE(view_.ChooseCategory(0));
  view_.DeliverQueuedEvents();
  EXPECT_EQ(web_.requests.size(), 2u);
  EXPECT_EQ(view_.ListItemCount(ListId::kModels), 1);
}

TEST(CatalogueSources, HomePageAndLabelComeFromThePrimaryServer) {
  struct Case {
    std::string primary;
    std::string home_page;
    std::string label;
  };
  const std::vector<Case> cases = {
      {"http://127.0.0.1:18936", "http://127.0.0.1:18936/", "127.0.0.1 V1.0"},
      {"http://www.example.com", "http://www.example.com/", "WWW.EXAMPLE.COM V1.0"},
      {"https://user:pw@Dl.Example.net:8080", "https://user:pw@Dl.Example.net:8080/",
       "DL.EXAMPLE.NET V1.0"},
      {"http://[::1]:18936", "http://[::1]:18936/", "[::1] V1.0"},
  };
  for (const Case& c : cases) {
    nb::CatalogueSources sources;
    sources.primary_server = c.primary;
    EXPECT_EQ(nb::HomePageAddress(sources), c.home_page);
    EXPECT_EQ(nb::HomeLabelText(sources), c.label);
  }
}

TEST(AddressList, SplitsAtCommasOutsideTwoByteCharacters) {
  struct Case {
    std::string text;
    std::vector<std::string_view> addresses;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a,b,", {"a", "b"}},
      {"a,b", {"a", "b"}},
      {"a,,b,", {"a", "", "b"}},
      {",a,", {"", "a"}},
      {",", {""}},
      {"\xB5,a,b,", {"\xB5,a", "b"}},
      {"\x80,x,", {"\x80,x"}},
      {"a,\xB5", {"a", "\xB5"}},
      {"http://h/\xC4\xE3,http://g/,", {"http://h/\xC4\xE3", "http://g/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(nb::SplitAddressList(c.text), c.addresses);
  }
}

}  // namespace
}  // namespace nb_test
