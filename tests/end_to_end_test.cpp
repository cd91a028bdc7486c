// The core against real HTTP on loopback: start-up's configuration, a
// category choice with fallback, and navigation down to the opener.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "curl_web_fetcher.h"
#include "http_test_servers.h"
#include "nb/catalogue_fetching.h"
#include "nb/in_memory_view.h"
#include "nb/navigation.h"
#include "nb/source_configuration.h"
#include "nb/system_texts.h"
#include "stand_in_services.h"
#include "temporary_folder.h"

namespace nb {
namespace {

const std::string kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<nokia>\r\n"
    "  <model value=\"N95-1 RM-159\">\r\n"
    "    <version value=\"V 21.0.016\">\r\n"
    "      <link value=\"http://dl.test/get?id=1&amp;lang=zh\"/>\r\n"
    "      <link value=\"http://dl.test/notes\">\xCB\xB5\xC3\xF7</link>\r\n"
    "    </version>\r\n  </model>\r\n  <model value=\"6300 RM-217\"/>\r\n</nokia>\r\n";

class EndToEnd : public ::testing::Test {
 protected:
  EndToEnd() {
    sources_ = {primary_.Address(""), mirror_.Address(""), folder_.path() / "Temp.temp"};
    view_.BindEvents({
        .model_selected = [this] { OnModelSelected(context_); },
        .version_selected = [this] { OnVersionSelected(context_); },
        .link_selected = [this] { OnLinkSelected(context_); },
        .category_selected = [this] { OnCategorySelected(context_); },
    });
  }

  void ChooseDownToTheFirstLink() {
    ASSERT_TRUE(view_.ChooseListItem(ListId::kModels, 0));
    ASSERT_TRUE(view_.ChooseListItem(ListId::kVersions, 0));
    EXPECT_EQ(view_.ListItems(ListId::kLinks),
              (std::vector<std::string>{std::string(texts::kDownloadPage), "\xCB\xB5\xC3\xF7"}));
    ASSERT_TRUE(view_.ChooseListItem(ListId::kLinks, 0));
    ASSERT_TRUE(view_.ChooseListItem(ListId::kLinks, 1));
    EXPECT_EQ(opener_.opened, std::vector<std::string>{"http://dl.test/get?id=1&lang=zh"});
  }

  test::HttpTestServer primary_;
  test::HttpTestServer mirror_;
  nb_test::TemporaryFolder folder_;
  CatalogueSources sources_;
  std::unique_ptr<BrowserState> state_ = CreateBrowserState();
  InMemoryView view_;
  CurlWebFetcher web_;
  nb_test::RecordingOpener opener_;
  BrowserContext context_{*state_, view_, web_, opener_, sources_};
};

TEST_F(EndToEnd, ConfiguredModeFromALoopbackConfiguration) {
  ASSERT_TRUE(primary_.started() && mirror_.started());
  // The first address answers with 10 bytes, too few to count; the second
  // lies on the other server.
  primary_.Publish(
      "/tools/config.ini",
      "[MENU]\r\n1=\xCA\xD6\xBB\xFA\r\n[1]\r\nURL1=" + primary_.Address("/tools/short.xml") +
          "\r\nURL2=" + mirror_.Address("/tools/phones.xml") + "\r\n");
  primary_.Publish("/tools/short.xml", "<a>12</a>\n");
  mirror_.Publish("/tools/phones.xml", kCatalogue);

  LoadSourceConfiguration(context_);
  EXPECT_EQ(state_->source_mode, 1);
  EXPECT_EQ(view_.Categories(), std::vector<std::string>{"\xCA\xD6\xBB\xFA"});
  ASSERT_TRUE(view_.ChooseCategory(0));
  view_.DeliverQueuedEvents();
  EXPECT_EQ(view_.ListItems(ListId::kModels),
            (std::vector<std::string>{"N95-1 RM-159", "6300 RM-217"}));
  ChooseDownToTheFirstLink();
}

TEST_F(EndToEnd, BuiltInModeFallsBackToTheMirror) {
  ASSERT_TRUE(primary_.started() && mirror_.started());
  // Neither server has a configuration: their 404 pages are not usable.
  primary_.Publish("/tools/BB5.xml", "<a/>");
  mirror_.Publish("/tools/BB5.xml", kCatalogue);
  LoadSourceConfiguration(context_);
  EXPECT_EQ(state_->source_mode, 0);
  EXPECT_EQ(view_.CategoryCount(), 0);

  view_.InsertCategory(0, "BB5");
  ASSERT_TRUE(view_.ChooseCategory(0));
  view_.DeliverQueuedEvents();
  EXPECT_EQ(view_.ListItemCount(ListId::kModels), 2);
  ChooseDownToTheFirstLink();
}

}  // namespace
}  // namespace nb
