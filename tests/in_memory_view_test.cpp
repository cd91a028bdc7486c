#include "nb/in_memory_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browser_view_contract.h"

namespace {

using nb::InMemoryView;
using nb::ListId;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class InMemoryHarness final : public nb_test::ViewHarness {
 public:
  InMemoryHarness() {
    const auto count = [this] { ++raised_; };
    view_.BindEvents({count, count, count, count});
  }
  nb::BrowserView& View() override { return view_; }
  int EventsRaised() override {
    view_.DeliverQueuedEvents();
    return raised_;
  }

 private:
  InMemoryView view_;
  int raised_ = 0;
};

}  // namespace

using nb_test::BrowserViewContract;
INSTANTIATE_TEST_SUITE_P(InMemoryView, BrowserViewContract,
                         ::testing::Values(nb_test::ViewRealisation{
                             "InMemoryView", [] { return std::make_unique<InMemoryHarness>(); }}),
                         nb_test::ViewRealisationName);

namespace {

using nb_test::kLists;
using nb_test::ListRow;

// A handler run, with the selection it found when it ran.
using Seen = std::pair<std::string, std::int32_t>;

class InMemoryViewTest : public ::testing::Test {
 protected:
  void SetUp() override { view_.BindEvents(Recorders()); }

  nb::BrowserEventHandlers Recorders() {
    return {ListRecorder(kLists[0]), ListRecorder(kLists[1]), ListRecorder(kLists[2]),
            [this] { seen_.emplace_back("category box", view_.CategorySelection()); }};
  }

  std::function<void()> ListRecorder(const ListRow& row) {
    return [this, row] { seen_.emplace_back(row.name, view_.ListSelection(row.list)); };
  }

  void FillList(ListId list, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      ASSERT_NE(view_.InsertListItem(list, view_.ListItemCount(list), text), -1);
    }
  }

  void FillCategories(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      ASSERT_NE(view_.InsertCategory(view_.CategoryCount(), text), -1);
    }
  }

  InMemoryView view_;
  std::vector<Seen> seen_;
};

TEST_F(InMemoryViewTest, ChoosingAListItemSelectsItAndRunsItsHandlerAtOnce) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    seen_.clear();
    FillList(row.list, {"a", "b", "c"});

    EXPECT_TRUE(view_.ChooseListItem(row.list, 1));
    EXPECT_EQ(seen_, (std::vector<Seen>{{row.name, 1}}));
    EXPECT_EQ(view_.ListSelection(row.list), 1);

    // Choosing the selected item again is a choice like any other.
    EXPECT_TRUE(view_.ChooseListItem(row.list, 1));
    EXPECT_TRUE(view_.ChooseListItem(row.list, 2));
    EXPECT_EQ(seen_, (std::vector<Seen>{{row.name, 1}, {row.name, 1}, {row.name, 2}}));
    EXPECT_EQ(view_.DeliverQueuedEvents(), 0) << "a list event is never queued";
  }
}

TEST_F(InMemoryViewTest, ChoosingNoItemOrInADisabledListRaisesNothing) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    FillList(row.list, {"a", "b"});
    ASSERT_TRUE(view_.ChooseListItem(row.list, 0));
    seen_.clear();

    for (const std::int32_t position : {-1, 2, 3, kMin, kMax}) {
      SCOPED_TRACE(::testing::Message() << "position " << position);
      EXPECT_FALSE(view_.ChooseListItem(row.list, position));
      EXPECT_EQ(view_.ListSelection(row.list), 0);
    }

    view_.SetListEnabled(row.list, false);
    EXPECT_FALSE(view_.ChooseListItem(row.list, 1));
    EXPECT_EQ(view_.ListSelection(row.list), 0);
    EXPECT_EQ(view_.ListItems(row.list), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(seen_.empty());

    view_.SetListEnabled(row.list, true);
    EXPECT_TRUE(view_.ChooseListItem(row.list, 1));
    EXPECT_EQ(seen_, (std::vector<Seen>{{row.name, 1}}));
  }
}

TEST_F(InMemoryViewTest, CategoryChoiceRunsOnlyWhenQueuedEventsAreDelivered) {
  FillCategories({"BB5", "DCT4/WD2", "PHOENIX"});

  EXPECT_TRUE(view_.ChooseCategory(2));
  EXPECT_EQ(view_.CategorySelection(), 2) << "selected before the event runs";
  EXPECT_EQ(view_.CategoryText(), "PHOENIX");
  EXPECT_TRUE(seen_.empty()) << "the category event is queued";
  EXPECT_EQ(view_.DeliverQueuedEvents(), 1);
  EXPECT_EQ(seen_, (std::vector<Seen>{{"category box", 2}}));

  // The entry already selected raises the event too.
  EXPECT_TRUE(view_.ChooseCategory(2));
  EXPECT_EQ(view_.DeliverQueuedEvents(), 1);
  EXPECT_EQ(seen_.size(), 2U);

  for (const std::int32_t position : {-1, 3, kMin, kMax}) {
    SCOPED_TRACE(::testing::Message() << "position " << position);
    EXPECT_FALSE(view_.ChooseCategory(position));
  }
  view_.SetCategoryEnabled(false);
  EXPECT_FALSE(view_.ChooseCategory(0));
  EXPECT_EQ(view_.CategorySelection(), 2);
  EXPECT_EQ(view_.DeliverQueuedEvents(), 0);
  EXPECT_EQ(seen_.size(), 2U);
}

TEST_F(InMemoryViewTest, DeliveryRunsQueuedEventsInOrderWithThoseQueuedMeanwhile) {
  FillList(ListId::kModels, {"6300"});
  FillCategories({"BB5", "PHOENIX"});
  std::vector<std::string> log;
  bool first = true;
  nb::BrowserEventHandlers handlers;
  handlers.model_selected = [&] { log.push_back("model"); };
  handlers.category_selected = [&] {
    log.push_back("category " + std::to_string(view_.CategorySelection()));
    if (!first) return;
    first = false;
    view_.ChooseListItem(ListId::kModels, 0);  // runs at once, inside this handler
    view_.RaiseCategoryEvent();                // runs after the events queued before it
  };
  view_.BindEvents(std::move(handlers));

  ASSERT_TRUE(view_.ChooseCategory(0));
  ASSERT_TRUE(view_.ChooseCategory(1));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(view_.DeliverQueuedEvents(), 3);
  EXPECT_EQ(log, (std::vector<std::string>{"category 1", "model", "category 1", "category 1"}));
  EXPECT_EQ(view_.DeliverQueuedEvents(), 0);
}

TEST_F(InMemoryViewTest, RaisedEventsRunWhileNothingIsSelected) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    FillList(row.list, {"a"});
    seen_.clear();
    view_.RaiseListEvent(row.list);
    EXPECT_EQ(seen_, (std::vector<Seen>{{row.name, -1}}));
  }

  seen_.clear();
  FillCategories({"BB5"});
  view_.RaiseCategoryEvent();
  EXPECT_TRUE(seen_.empty());
  EXPECT_EQ(view_.DeliverQueuedEvents(), 1);
  EXPECT_EQ(seen_, (std::vector<Seen>{{"category box", -1}}));
}

TEST_F(InMemoryViewTest, ClearingAListAfterAChoiceLeavesNothingSelected) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    FillList(row.list, {"a", "b"});
    ASSERT_TRUE(view_.ChooseListItem(row.list, 1));
    view_.ClearList(row.list);
    EXPECT_EQ(view_.ListSelection(row.list), -1);
    EXPECT_EQ(view_.ListItemCount(row.list), 0);
    EXPECT_FALSE(view_.ChooseListItem(row.list, 0));
  }
}

// Neither the core nor a window moves the user's choice to another item.
TEST_F(InMemoryViewTest, SelectionStaysWithItsItemWhenOneIsInsertedBeforeIt) {
  FillList(ListId::kLinks, {"a", "b"});
  ASSERT_TRUE(view_.ChooseListItem(ListId::kLinks, 1));
  ASSERT_EQ(view_.InsertListItem(ListId::kLinks, 2, "after"), 2);
  EXPECT_EQ(view_.ListSelection(ListId::kLinks), 1);
  ASSERT_EQ(view_.InsertListItem(ListId::kLinks, 1, "before"), 1);
  EXPECT_EQ(view_.ListSelection(ListId::kLinks), 2);
  EXPECT_EQ(view_.ListItemText(ListId::kLinks, 2), "b");

  FillCategories({"BB5", "PHOENIX"});
  view_.SelectCategory(0);
  ASSERT_EQ(view_.InsertCategory(0, "Care Suite"), 0);
  EXPECT_EQ(view_.CategorySelection(), 1);
  EXPECT_EQ(view_.CategoryText(), "BB5");
}

TEST_F(InMemoryViewTest, ShowsWhatAPersonWouldSee) {
  EXPECT_FALSE(view_.WindowVisible());
  EXPECT_EQ(view_.StatusText(0), "");
  EXPECT_EQ(view_.StatusText(1), "");

  view_.SetStatusText(0, "count");
  view_.SetStatusText(1, "number");
  for (const std::int32_t panel : {-1, 2, kMin, kMax}) view_.SetStatusText(panel, "ignored");
  EXPECT_EQ(view_.StatusText(0), "count");
  EXPECT_EQ(view_.StatusText(1), "number");
  for (const std::int32_t panel : {-1, 2, kMin, kMax}) {
    SCOPED_TRACE(::testing::Message() << "panel " << panel);
    EXPECT_EQ(view_.StatusText(panel), "");
  }
  view_.SetStatusText(0, "");
  EXPECT_EQ(view_.StatusText(0), "");
  EXPECT_EQ(view_.StatusText(1), "number");

  view_.SetWindowVisible(true);
  EXPECT_TRUE(view_.WindowVisible());

  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(view_.ListEnabled(row.list));
    view_.SetListEnabled(row.list, false);
    EXPECT_FALSE(view_.ListEnabled(row.list));
    FillList(row.list, {row.name, "x"});
    EXPECT_EQ(view_.ListItems(row.list), (std::vector<std::string>{row.name, "x"}));
    EXPECT_EQ(view_.ListItemCount(row.list), 2);
  }
  EXPECT_TRUE(view_.CategoryEnabled());
  view_.SetCategoryEnabled(false);
  EXPECT_FALSE(view_.CategoryEnabled());
  FillCategories({"BB5", "PHOENIX"});
  EXPECT_EQ(view_.Categories(), (std::vector<std::string>{"BB5", "PHOENIX"}));
  EXPECT_EQ(view_.CategoryCount(), 2);
  EXPECT_TRUE(seen_.empty());
}

// ListId is a byte, so a caller can name a list that does not exist.
TEST_F(InMemoryViewTest, AListIdOfNoListReachesNothing) {
  for (const ListRow& row : kLists) FillList(row.list, {row.name});
  for (const std::uint8_t raw : {std::uint8_t{3}, std::uint8_t{255}}) {
    SCOPED_TRACE(::testing::Message() << "ListId " << int{raw});
    const auto unknown = static_cast<ListId>(raw);
    EXPECT_EQ(view_.InsertListItem(unknown, 0, "x"), -1);
    EXPECT_EQ(view_.ListItemText(unknown, 0), "");
    EXPECT_EQ(view_.ListSelection(unknown), -1);
    EXPECT_FALSE(view_.ChooseListItem(unknown, 0));
    view_.RaiseListEvent(unknown);
    view_.ClearList(unknown);
    view_.SetListEnabled(unknown, false);
    EXPECT_EQ(view_.ListItemCount(unknown), 0);
    EXPECT_FALSE(view_.ListEnabled(unknown));
    EXPECT_TRUE(view_.ListItems(unknown).empty());
  }
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(view_.ListItems(row.list), (std::vector<std::string>{row.name}));
    EXPECT_TRUE(view_.ListEnabled(row.list));
  }
  EXPECT_TRUE(seen_.empty());
}

TEST_F(InMemoryViewTest, EventsWithoutHandlersOrRebindingHandlersAreHarmless) {
  InMemoryView unbound;
  ASSERT_EQ(unbound.InsertListItem(ListId::kModels, 0, "a"), 0);
  ASSERT_EQ(unbound.InsertCategory(0, "BB5"), 0);
  EXPECT_TRUE(unbound.ChooseListItem(ListId::kModels, 0));
  unbound.RaiseListEvent(ListId::kVersions);
  EXPECT_TRUE(unbound.ChooseCategory(0));
  EXPECT_EQ(unbound.DeliverQueuedEvents(), 1);

  // The handler outlives its own binding: it uses its captures after rebinding.
  FillList(ListId::kModels, {"a"});
  auto runs = std::make_shared<int>(0);
  nb::BrowserEventHandlers rebinding;
  rebinding.model_selected = [this, runs] {
    view_.BindEvents(Recorders());
    ++*runs;
  };
  view_.BindEvents(std::move(rebinding));
  EXPECT_TRUE(view_.ChooseListItem(ListId::kModels, 0));
  EXPECT_EQ(*runs, 1);
  EXPECT_TRUE(view_.ChooseListItem(ListId::kModels, 0));
  EXPECT_EQ(seen_, (std::vector<Seen>{{"model list", 0}}));
}

}  // namespace
