// Choosing a model, a version and a link, as the user does, through the
// in-memory window's events.
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
const std::string kDownload(texts::kDownloadPage);

class Navigation : public BrowserFixture {
 protected:
  void Show(const std::string& catalogue) {
    BindHandlers();
    nb::ShowCatalogue(context_, catalogue);
  }
  std::string Slot(std::int32_t slot) const {
    return std::string(state_->link_url_table.Read(slot).value_or("refused"));
  }
};

TEST_F(Navigation, ChoosingAModelListsItsVersions) {
  Show(Catalogue(3, 2, 1));
  ASSERT_TRUE(view_.ChooseListItem(ListId::kModels, 1));
  EXPECT_EQ(state_->current_model, 2);
  EXPECT_EQ(view_.StatusText(0),
            std::string(texts::kRecordCountPrefix) + "3" + std::string(texts::kRecordCountSuffix));
  EXPECT_EQ(view_.StatusText(1), std::string(texts::kRecordNumberPrefix) + "2" +
                                     std::string(texts::kRecordNumberSuffix));
  EXPECT_TRUE(view_.ListEnabled(ListId::kVersions));
  EXPECT_EQ(view_.ListItems(ListId::kVersions), (std::vector<std::string>{"m2v1", "m2v2"}));
  EXPECT_EQ(view_.ListSelection(ListId::kVersions), -1);
  EXPECT_FALSE(view_.ListEnabled(ListId::kLinks));
  EXPECT_EQ(view_.ListItemCount(ListId::kLinks), 0);

  // A version's links, then the model again: the same versions, no links.
  ASSERT_TRUE(view_.ChooseListItem(ListId::kVersions, 1));
  EXPECT_EQ(view_.ListItemCount(ListId::kLinks), 1);
  ASSERT_TRUE(view_.ChooseListItem(ListId::kModels, 1));
  EXPECT_EQ(view_.ListItems(ListId::kVersions), (std::vector<std::string>{"m2v1", "m2v2"}));
  EXPECT_EQ(view_.ListItemCount(ListId::kLinks), 0);
  EXPECT_FALSE(view_.ListEnabled(ListId::kLinks));
}

TEST_F(Navigation, ChoosingAVersionListsAndStoresItsLinks) {
  Show(
      "<c><m value=\"N95\"><v value=\"V1\">"
      "<l value=\"http://a/1\"/>"
      "<l value=\"http://a/2\"> \r\n\t </l>"
      "<l value=\"http://a/3\">Firmware</l>"
      "<l value=\"http://a/4\">" +
      kDownload +
      "</l>"
      "<l/>"
      "</v><v value=\"V2\"/></m></c>");
  ASSERT_TRUE(view_.ChooseListItem(ListId::kModels, 0));
  ASSERT_TRUE(view_.ChooseListItem(ListId::kVersions, 0));
  EXPECT_EQ(state_->current_version, 1);
  EXPECT_TRUE(view_.ListEnabled(ListId::kLinks));
  EXPECT_EQ(view_.ListItems(ListId::kLinks),
            (std::vector<std::string>{kDownload, kDownload, "Firmware", kDownload, kDownload}));
  for (std::int32_t slot = 0; slot < 4; ++slot) {
    EXPECT_EQ(Slot(slot), "http://a/" + std::to_string(slot + 1));
  }
  EXPECT_EQ(Slot(4), "");

  struct Choice {
    std::int32_t position;
    std::vector<std::string> opened;
  };
  const std::vector<Choice> choices = {
      {0, {"http://a/1"}}, {1, {"http://a/2"}}, {2, {}}, {3, {"http://a/4"}}, {4, {""}},
  };
  for (const Choice& c : choices) {
    SCOPED_TRACE(c.position);
    opener_.opened.clear();
    ASSERT_TRUE(view_.ChooseListItem(ListId::kLinks, c.position));
    EXPECT_EQ(opener_.opened, c.opened);
  }

  // A version without links: an enabled, empty list; the stored slots stay.
  ASSERT_TRUE(view_.ChooseListItem(ListId::kVersions, 1));
  EXPECT_TRUE(view_.ListEnabled(ListId::kLinks));
  EXPECT_EQ(view_.ListItemCount(ListId::kLinks), 0);
  EXPECT_EQ(Slot(0), "http://a/1");
}

TEST_F(Navigation, ShorterVersionsLeaveEarlierSlotsUnread) {
  Show(
      "<c><m><v>"
      "<l value=\"o1\"/><l value=\"o2\"/><l value=\"o3\"/><l value=\"o4\"/>"
      "<l value=\"o5\"/><l value=\"o6\"/><l value=\"o7\"/><l value=\"o8\"/></v>"
      "<v><l value=\"n1\"/><l value=\"n2\"/><l value=\"n3\"/><l value=\"n4\"/><l value=\"n5\"/>"
      "</v></m></c>");
  ASSERT_TRUE(view_.ChooseListItem(ListId::kModels, 0));
  ASSERT_TRUE(view_.ChooseListItem(ListId::kVersions, 0));
  ASSERT_TRUE(view_.ChooseListItem(ListId::kVersions, 1));
  EXPECT_EQ(view_.ListItemCount(ListId::kLinks), 5);
  EXPECT_EQ(Slot(4), "n5");
  EXPECT_EQ(Slot(5), "o6");
  EXPECT_EQ(Slot(7), "o8");
  EXPECT_FALSE(view_.ChooseListItem(ListId::kLinks, 5)) << "only the new items can be chosen";
}

TEST_F(Navigation, AHundredLinksFillTheTableAndNoMore) {
  for (const int links : {100, 101}) {
    SCOPED_TRACE(links);
    Show(Catalogue(1, 1, links));
    ASSERT_TRUE(view_.ChooseListItem(ListId::kModels, 0));
    ASSERT_TRUE(view_.ChooseListItem(ListId::kVersions, 0));
    EXPECT_EQ(view_.ListItemCount(ListId::kLinks), links);
    EXPECT_EQ(Slot(99), "http://dl.test/m1v1l100");
    opener_.opened.clear();
    ASSERT_TRUE(view_.ChooseListItem(ListId::kLinks, 99));
    EXPECT_EQ(opener_.opened, std::vector<std::string>{"http://dl.test/m1v1l100"});
    if (links == 101) {
      // Shown, but with no slot for its address: choosing it opens nothing.
      opener_.opened.clear();
      ASSERT_TRUE(view_.ChooseListItem(ListId::kLinks, 100));
      EXPECT_TRUE(opener_.opened.empty());
    }
  }
}

TEST_F(Navigation, EventsWithNothingSelected) {
  Show(Catalogue(2, 2, 2));
  view_.RaiseListEvent(ListId::kModels);
  EXPECT_EQ(state_->current_model, 0);
  EXPECT_TRUE(view_.ListEnabled(ListId::kVersions));
  EXPECT_EQ(view_.ListItemCount(ListId::kVersions), 0);
  EXPECT_EQ(view_.StatusText(1), std::string(texts::kRecordNumberPrefix) + "0" +
                                     std::string(texts::kRecordNumberSuffix));
  view_.RaiseListEvent(ListId::kVersions);
  EXPECT_EQ(state_->current_version, 0);
  EXPECT_TRUE(view_.ListEnabled(ListId::kLinks));
  EXPECT_EQ(view_.ListItemCount(ListId::kLinks), 0);
  view_.RaiseListEvent(ListId::kLinks);
  EXPECT_TRUE(opener_.opened.empty());
}

TEST_F(Navigation, AModelWithoutVersions) {
  Show(Catalogue(1, 0, 0));
  ASSERT_TRUE(view_.ChooseListItem(ListId::kModels, 0));
  EXPECT_TRUE(view_.ListEnabled(ListId::kVersions));
  EXPECT_EQ(view_.ListItemCount(ListId::kVersions), 0);
  EXPECT_FALSE(view_.ListEnabled(ListId::kLinks));
}

}  // namespace
}  // namespace nb_test
