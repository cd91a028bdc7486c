#include "nb/browser_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "nb/slot_table.h"

namespace {

using nb::BrowserState;
using nb::SlotTable;

constexpr std::string_view kOneModel = "<c><m value=\"a\"/></c>";

struct TableRow {
  const char* name;
  SlotTable BrowserState::*table;
};

constexpr TableRow kTables[] = {
    {"category source table", &BrowserState::category_source_table},
    {"link url table", &BrowserState::link_url_table},
};

std::string SlotText(std::int32_t slot) {
  return "http://host/" + std::to_string(slot) + ".xml,";
}

void ExpectEverySlotEmpty(const SlotTable& table) {
  for (std::int32_t slot = 0; slot < SlotTable::kSlotCount; ++slot) {
    SCOPED_TRACE(::testing::Message() << "slot " << slot);
    EXPECT_EQ(table.Read(slot), std::optional<std::string_view>(""));
  }
}

void ExpectReleased(const BrowserState& state) {
  for (const TableRow& row : kTables) {
    SCOPED_TRACE(row.name);
    ExpectEverySlotEmpty(state.*row.table);
  }
  EXPECT_TRUE(state.catalogue_document.Empty());
  EXPECT_EQ(state.catalogue_document.ChildCount({1}), 0);
}

TEST(BrowserStateTest, CreateBrowserStateGivesEmptyTablesDocumentAndZeroNumbers) {
  const std::unique_ptr<BrowserState> state = nb::CreateBrowserState();
  ASSERT_NE(state, nullptr);
  for (const TableRow& row : kTables) {
    SCOPED_TRACE(row.name);
    ExpectEverySlotEmpty((*state).*row.table);
  }
  EXPECT_TRUE(state->catalogue_document.Empty());
  EXPECT_EQ(state->catalogue_document.ChildCount({1}), 0);
  EXPECT_EQ(state->source_mode, 0);
  EXPECT_EQ(state->current_model, 0);
  EXPECT_EQ(state->current_version, 0);
}

TEST(SlotTableTest, EverySlotFromZeroToNinetyNineKeepsItsOwnText) {
  SlotTable table;
  EXPECT_TRUE(table.Write(0, "first"));
  EXPECT_TRUE(table.Write(99, "\xCF\xC2\xD4\xD8"));
  EXPECT_EQ(table.Read(0), std::optional<std::string_view>("first"));
  EXPECT_EQ(table.Read(99), std::optional<std::string_view>("\xCF\xC2\xD4\xD8"));
  EXPECT_EQ(table.Read(1), std::optional<std::string_view>(""));
  EXPECT_EQ(table.Read(98), std::optional<std::string_view>(""));

  EXPECT_TRUE(table.Write(99, "replaced"));
  EXPECT_EQ(table.Read(99), std::optional<std::string_view>("replaced"));

  for (std::int32_t slot = 0; slot < SlotTable::kSlotCount; ++slot) {
    ASSERT_TRUE(table.Write(slot, SlotText(slot)));
  }
  for (std::int32_t slot = 0; slot < SlotTable::kSlotCount; ++slot) {
    SCOPED_TRACE(::testing::Message() << "slot " << slot);
    EXPECT_EQ(table.Read(slot), std::optional<std::string_view>(SlotText(slot)));
  }
}

TEST(SlotTableTest, SlotsOutsideTheTableAreRefusedAndTheTableIsUnchanged) {
  SlotTable table;
  for (std::int32_t slot = 0; slot < SlotTable::kSlotCount; ++slot) {
    ASSERT_TRUE(table.Write(slot, SlotText(slot)));
  }
  EXPECT_TRUE(SlotTable::Contains(0));
  EXPECT_TRUE(SlotTable::Contains(99));
  for (const std::int32_t slot : {-1, 100, 101, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max()}) {
    SCOPED_TRACE(::testing::Message() << "slot " << slot);
    EXPECT_FALSE(SlotTable::Contains(slot));
    EXPECT_FALSE(table.Write(slot, "outside"));
    EXPECT_EQ(table.Read(slot), std::nullopt);
  }
  for (std::int32_t slot = 0; slot < SlotTable::kSlotCount; ++slot) {
    SCOPED_TRACE(::testing::Message() << "slot " << slot);
    EXPECT_EQ(table.Read(slot), std::optional<std::string_view>(SlotText(slot)));
  }
}

TEST(BrowserStateTest, ReleaseOfAFreshStateLeavesItEmpty) {
  const std::unique_ptr<BrowserState> state = nb::CreateBrowserState();
  nb::ReleaseBrowserState(*state);
  ExpectReleased(*state);
}

TEST(BrowserStateTest, ReleaseEmptiesEverySlotAndTheDocument) {
  const std::unique_ptr<BrowserState> state = nb::CreateBrowserState();
  for (const TableRow& row : kTables) {
    for (const std::int32_t slot : {0, 57, 99}) {
      ASSERT_TRUE(((*state).*row.table).Write(slot, SlotText(slot)));
    }
  }
  ASSERT_TRUE(state->catalogue_document.LoadFromBytes(kOneModel));
  ASSERT_EQ(state->catalogue_document.ChildCount({1}), 1);

  nb::ReleaseBrowserState(*state);
  ExpectReleased(*state);
}

// The exit path may run the release more than once; only the first counts, so
// whatever is written after it survives a second call.
TEST(BrowserStateTest, ReleaseRunsOnlyOnce) {
  const std::unique_ptr<BrowserState> state = nb::CreateBrowserState();
  ASSERT_TRUE(state->category_source_table.Write(3, "before"));
  nb::ReleaseBrowserState(*state);
  ExpectReleased(*state);

  ASSERT_TRUE(state->category_source_table.Write(3, "after"));
  ASSERT_TRUE(state->link_url_table.Write(99, "after"));
  ASSERT_TRUE(state->catalogue_document.LoadFromBytes(kOneModel));
  nb::ReleaseBrowserState(*state);

  EXPECT_EQ(state->category_source_table.Read(3), std::optional<std::string_view>("after"));
  EXPECT_EQ(state->link_url_table.Read(99), std::optional<std::string_view>("after"));
  EXPECT_FALSE(state->catalogue_document.Empty());
  EXPECT_EQ(state->catalogue_document.ChildCount({1}), 1);
}

}  // namespace
