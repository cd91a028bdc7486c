#include "browser_view_contract.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "nb/system_texts.h"

namespace nb_test {

void PrintTo(const ViewRealisation& realisation, std::ostream* out) {
  *out << realisation.name;
}

std::string ViewRealisationName(const ::testing::TestParamInfo<ViewRealisation>& info) {
  return info.param.name;
}

void BrowserViewContract::SetUp() {
  ASSERT_TRUE(GetParam().make_harness) << "the realisation gives no harness factory";
  harness_ = GetParam().make_harness();
  ASSERT_NE(harness_, nullptr);
}

void BrowserViewContract::TearDown() {
  if (harness_ != nullptr) {
    EXPECT_EQ(harness_->EventsRaised(), 0);
  }
}

namespace {

using nb::BrowserView;
using nb::ListId;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

using nb_test::kLists;
using nb_test::ListRow;

// The three lists and the category box insert alike; `list` is empty for the box.
struct Box {
  const char* name;
  std::optional<ListId> list;
};

constexpr Box kBoxes[] = {
    {"model list", ListId::kModels},
    {"version list", ListId::kVersions},
    {"link list", ListId::kLinks},
    {"category box", std::nullopt},
};

std::int32_t Insert(BrowserView& view, const Box& box, std::int32_t position,
                    std::string_view text) {
  return box.list ? view.InsertListItem(*box.list, position, text)
                  : view.InsertCategory(position, text);
}

void Fill(BrowserView& view, const Box& box, const std::vector<std::string>& texts) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const auto position = static_cast<std::int32_t>(i);
    ASSERT_EQ(Insert(view, box, position, texts[i]), position);
  }
}

// The interface cannot count a box's items, so the items are read at the
// expected positions and the position after them must hold nothing. The
// category box can only be read through its selection, which this moves.
void ExpectContents(BrowserView& view, const Box& box, const std::vector<std::string>& expected) {
  const auto count = static_cast<std::int32_t>(expected.size());
  std::vector<std::string> actual;
  if (box.list) {
    for (std::int32_t i = 0; i < count; ++i) actual.push_back(view.ListItemText(*box.list, i));
    EXPECT_EQ(view.ListItemText(*box.list, count), "") << "an item beyond the expected ones";
  } else {
    for (std::int32_t i = 0; i < count; ++i) {
      view.SelectCategory(i);
      actual.push_back(view.CategoryText());
    }
    view.SelectCategory(kMax);
    EXPECT_EQ(view.CategorySelection(), count - 1) << "the box holds another number of entries";
  }
  EXPECT_EQ(actual, expected);
}

TEST_P(BrowserViewContract, InsertTakesEveryPositionFromZeroToTheCount) {
  for (const Box& box : kBoxes) {
    SCOPED_TRACE(box.name);
    EXPECT_EQ(Insert(view(), box, 0, "a"), 0);  // an empty box's count
    EXPECT_EQ(Insert(view(), box, 1, "b"), 1);  // appends
    EXPECT_EQ(Insert(view(), box, 1, "k"), 1);  // moves "b" down
    EXPECT_EQ(Insert(view(), box, 0, "z"), 0);
    EXPECT_EQ(Insert(view(), box, 0, "q"), 0);
    EXPECT_EQ(Insert(view(), box, 5, "y"), 5);
    ExpectContents(view(), box, {"q", "z", "a", "k", "b", "y"});
  }
}

TEST_P(BrowserViewContract, InsertOutsideZeroToTheCountInsertsNothing) {
  struct Case {
    std::vector<std::string> before;
    std::int32_t position;
  };
  const Case cases[] = {
      {{}, -1},           {{}, 1},          {{}, kMax},
      {{}, kMin},         {{"x", "y"}, -1}, {{"x", "y"}, -5},
      {{"x", "y"}, kMin}, {{"x", "y"}, 3},  {{"x", "y"}, 4},
      {{"x", "y"}, kMax},
  };
  for (const Box& box : kBoxes) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << box.name << ", " << c.before.size() << " items, position " << c.position);
      auto harness = GetParam().make_harness();
      Fill(harness->View(), box, c.before);
      EXPECT_EQ(Insert(harness->View(), box, c.position, "new"), -1);
      ExpectContents(harness->View(), box, c.before);
      EXPECT_EQ(harness->EventsRaised(), 0);
    }
  }
}

TEST_P(BrowserViewContract, NoBoxSortsItsItems) {
  for (const Box& box : kBoxes) {
    SCOPED_TRACE(box.name);
    ASSERT_EQ(Insert(view(), box, 0, "b-model"), 0);
    ASSERT_EQ(Insert(view(), box, 1, "a-model"), 1);
    ASSERT_EQ(Insert(view(), box, 2, "B-model"), 2);
    ASSERT_EQ(Insert(view(), box, 3, "10"), 3);
    ASSERT_EQ(Insert(view(), box, 4, "9"), 4);
    ExpectContents(view(), box, {"b-model", "a-model", "B-model", "10", "9"});
  }
}

// Texts are code-page-936 bytes that the view holds untouched, whether or not
// they decode in any character set.
TEST_P(BrowserViewContract, TextsComeBackByteForByte) {
  const std::vector<std::string> texts = {
      "",
      "  padded  ",
      std::string(nb::texts::kDownloadPage),
      std::string(nb::texts::kLoading),
      "\xB5\xE3",      // a valid code-page-936 pair
      "\x81",          // a lead byte with no trail
      "\xFF\xFE",      // not text in any multi-byte encoding
      "\x80",          // a lone high byte
      "A\xB5",         // a text that ends inside a pair
      "\xE4\xB8\xAD",  // UTF-8, which the view must not decode either
      "tab\there",
      std::string(300, '\xCF'),
  };
  for (const Box& box : kBoxes) {
    SCOPED_TRACE(box.name);
    Fill(view(), box, texts);
    ExpectContents(view(), box, texts);
  }
}

TEST_P(BrowserViewContract, ListItemTextOutsideTheListIsEmpty) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    for (const std::int32_t position : {0, -1, 1, kMin, kMax}) {
      SCOPED_TRACE(::testing::Message() << "empty list, position " << position);
      EXPECT_EQ(view().ListItemText(row.list, position), "");
    }
    ASSERT_EQ(view().InsertListItem(row.list, 0, "first"), 0);
    ASSERT_EQ(view().InsertListItem(row.list, 1, "second"), 1);
    for (const std::int32_t position : {-1, 2, 3, kMin, kMax}) {
      SCOPED_TRACE(::testing::Message() << "two items, position " << position);
      EXPECT_EQ(view().ListItemText(row.list, position), "");
    }
  }
}

TEST_P(BrowserViewContract, ClearListEmptiesTheListAndLeavesNothingSelected) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(view().ListSelection(row.list), -1) << "empty list";
    view().ClearList(row.list);  // clearing an empty list
    EXPECT_EQ(view().ListSelection(row.list), -1) << "empty list, cleared";

    for (std::int32_t i = 0; i < 3; ++i) ASSERT_EQ(view().InsertListItem(row.list, i, "item"), i);
    EXPECT_EQ(view().ListSelection(row.list), -1) << "inserting selects nothing";

    view().ClearList(row.list);
    EXPECT_EQ(view().ListSelection(row.list), -1) << "after clearing";
    EXPECT_EQ(view().ListItemText(row.list, 0), "");
    EXPECT_EQ(view().InsertListItem(row.list, 1, "late"), -1) << "the count is 0 again";
    EXPECT_EQ(view().InsertListItem(row.list, 0, "again"), 0);
    ExpectContents(view(), {row.name, row.list}, {"again"});
  }
}

TEST_P(BrowserViewContract, EachOperationReachesOnlyItsOwnList) {
  for (const ListRow& cleared : kLists) {
    SCOPED_TRACE(::testing::Message() << "clearing the " << cleared.name);
    auto harness = GetParam().make_harness();
    BrowserView& v = harness->View();
    for (const ListRow& row : kLists) Fill(v, {row.name, row.list}, {row.name, "shared"});
    Fill(v, {"category box", std::nullopt}, {"BB5"});

    v.ClearList(cleared.list);
    v.SetListEnabled(cleared.list, false);

    for (const ListRow& row : kLists) {
      SCOPED_TRACE(row.name);
      if (row.list == cleared.list) {
        ExpectContents(v, {row.name, row.list}, {});
      } else {
        ExpectContents(v, {row.name, row.list}, {row.name, "shared"});
      }
    }
    ExpectContents(v, {"category box", std::nullopt}, {"BB5"});
    EXPECT_EQ(harness->EventsRaised(), 0);
  }
}

TEST_P(BrowserViewContract, DisabledListKeepsItsItemsAndStillTakesTheCoresChanges) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    const Box box{row.name, row.list};
    Fill(view(), box, {"one", "two"});

    view().SetListEnabled(row.list, false);
    ExpectContents(view(), box, {"one", "two"});
    EXPECT_EQ(view().ListSelection(row.list), -1);

    // The core empties and fills lists while they are disabled.
    EXPECT_EQ(view().InsertListItem(row.list, 2, "three"), 2);
    ExpectContents(view(), box, {"one", "two", "three"});
    view().ClearList(row.list);
    ExpectContents(view(), box, {});

    view().SetListEnabled(row.list, true);
    Fill(view(), box, {"enabled again"});
    ExpectContents(view(), box, {"enabled again"});
  }
}

TEST_P(BrowserViewContract, CategoryBoxStartsWithNothingSelectedAndInsertingSelectsNothing) {
  EXPECT_EQ(view().CategorySelection(), -1);
  EXPECT_EQ(view().CategoryText(), "");
  ASSERT_EQ(view().InsertCategory(0, "BB5"), 0);
  ASSERT_EQ(view().InsertCategory(1, "PHOENIX"), 1);
  EXPECT_EQ(view().CategorySelection(), -1);
  EXPECT_EQ(view().CategoryText(), "");
}

TEST_P(BrowserViewContract, SelectCategoryClampsAboveTheLastEntryAndSelectsNoneBelowZero) {
  const std::vector<std::string> entries = {"BB5", "DCT4/WD2", "PHOENIX"};
  struct Case {
    std::int32_t position;
    std::int32_t selected;
  };
  const Case cases[] = {
      {0, 0}, {1, 1}, {2, 2}, {3, 2}, {5, 2}, {kMax, 2}, {-1, -1}, {-2, -1}, {-5, -1}, {kMin, -1},
  };
  Fill(view(), {"category box", std::nullopt}, entries);
  // Each case starts from no selection, from the first and from the last
  // entry, so that a call which changes nothing cannot pass.
  for (const std::int32_t before : {-1, 0, 2}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << "selected " << before << ", SelectCategory(" << c.position << ")");
      view().SelectCategory(before);
      ASSERT_EQ(view().CategorySelection(), before);
      view().SelectCategory(c.position);
      EXPECT_EQ(view().CategorySelection(), c.selected);
      EXPECT_EQ(view().CategoryText(),
                c.selected < 0 ? "" : entries[static_cast<std::size_t>(c.selected)]);
    }
  }
}

TEST_P(BrowserViewContract, SelectCategoryInAnEmptyBoxSelectsNothing) {
  for (const std::int32_t position : {0, 1, 5, kMax, -1, -5, kMin}) {
    SCOPED_TRACE(::testing::Message() << "SelectCategory(" << position << ")");
    view().SelectCategory(position);
    EXPECT_EQ(view().CategorySelection(), -1);
    EXPECT_EQ(view().CategoryText(), "");
  }
}

TEST_P(BrowserViewContract, DisabledCategoryBoxKeepsItsEntriesAndSelection) {
  const Box box{"category box", std::nullopt};
  Fill(view(), box, {"BB5", "Care Suite"});
  view().SelectCategory(1);

  view().SetCategoryEnabled(false);
  EXPECT_EQ(view().CategorySelection(), 1);
  EXPECT_EQ(view().CategoryText(), "Care Suite");
  ExpectContents(view(), box, {"BB5", "Care Suite"});

  view().SetCategoryEnabled(true);
  ExpectContents(view(), box, {"BB5", "Care Suite"});
}

// Only realisation tests can see the panels and the window; here every panel
// number, the unusable ones included, must simply be taken without harm.
TEST_P(BrowserViewContract, StatusTextAndWindowTakeEveryArgument) {
  for (const std::int32_t panel : {0, 1, -1, 2, kMin, kMax}) {
    SCOPED_TRACE(::testing::Message() << "panel " << panel);
    view().SetStatusText(panel,
                         "\xB5\xDA"
                         "1"
                         "\xCC\xF5");
    view().SetStatusText(panel, "");
    view().SetStatusText(panel, "\xFF\x81");
  }
  view().SetWindowVisible(true);
  view().SetWindowVisible(true);
}

// Checked after every single step, so that a failure names the operation.
TEST_P(BrowserViewContract, NoOperationRaisesAnEvent) {
  struct Step {
    std::string name;
    std::function<void(BrowserView&)> run;
  };
  std::vector<Step> steps = {
      {"first category entry", [](BrowserView& v) { v.InsertCategory(0, "BB5"); }},
      {"second category entry", [](BrowserView& v) { v.InsertCategory(1, "PHOENIX"); }},
      {"select category 1", [](BrowserView& v) { v.SelectCategory(1); }},
      {"select category 1 again", [](BrowserView& v) { v.SelectCategory(1); }},
      {"entry before the selection", [](BrowserView& v) { v.InsertCategory(0, "Care Suite"); }},
      {"select above the last", [](BrowserView& v) { v.SelectCategory(7); }},
      {"select none", [](BrowserView& v) { v.SelectCategory(-1); }},
      {"select category 0", [](BrowserView& v) { v.SelectCategory(0); }},
      {"disable the box", [](BrowserView& v) { v.SetCategoryEnabled(false); }},
      {"enable the box", [](BrowserView& v) { v.SetCategoryEnabled(true); }},
      {"status panel 0", [](BrowserView& v) { v.SetStatusText(0, "count"); }},
      {"status panel 1", [](BrowserView& v) { v.SetStatusText(1, "number"); }},
      {"status panel 2", [](BrowserView& v) { v.SetStatusText(2, "none"); }},
      {"show the window", [](BrowserView& v) { v.SetWindowVisible(true); }},
  };
  for (const ListRow& row : kLists) {
    const ListId list = row.list;
    const std::string name = row.name;
    steps.push_back(
        {name + ": first item", [list](BrowserView& v) { v.InsertListItem(list, 0, "first"); }});
    steps.push_back(
        {name + ": item in front", [list](BrowserView& v) { v.InsertListItem(list, 0, "front"); }});
    steps.push_back({name + ": refused insert",
                     [list](BrowserView& v) { v.InsertListItem(list, -1, "refused"); }});
    steps.push_back(
        {name + ": disable", [list](BrowserView& v) { v.SetListEnabled(list, false); }});
    steps.push_back({name + ": enable", [list](BrowserView& v) { v.SetListEnabled(list, true); }});
    steps.push_back({name + ": clear", [list](BrowserView& v) { v.ClearList(list); }});
    steps.push_back({name + ": clear again", [list](BrowserView& v) { v.ClearList(list); }});
  }
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.run(view());
    ASSERT_EQ(EventsRaised(), 0);
  }
}

}  // namespace
}  // namespace nb_test
