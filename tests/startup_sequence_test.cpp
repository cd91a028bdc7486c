// The start-up sequence on the in-memory window: its order, both modes, and
// the one failure the user is told of.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser_fixture.h"
#include "nb/startup_sequence.h"
#include "nb/system_texts.h"

namespace nb_test {
namespace {

using nb::ListId;
namespace texts = nb::texts;

// Records the start-up's calls on the window and the probe, in order.
class RecordingShell final : public nb::StartupShell, public nb::ConnectivityProbe {
 public:
  bool connected = true;
  std::vector<std::string> calls;
  void InstallAboutItem() override { calls.push_back("about item"); }
  bool ApplyVisualStyle(std::int32_t scheme) override {
    calls.push_back("style " + std::to_string(scheme));
    return true;
  }
  bool ProbeConnectivity(std::string_view address) override {
    calls.push_back("probe " + std::string(address));
    return connected;
  }
};

class StartupSequence : public BrowserFixture {
 protected:
  void Run() {
    BindHandlers();
    nb::RunStartupSequence(context_, shell_, shell_, "http://probe.test/");
  }
  RecordingShell shell_;
};

const std::string kConfigAddress = std::string(kPrimary) + "/tools/config.ini";
const std::string kMirrorConfigAddress = std::string(kMirror) + "/tools/config.ini";

TEST_F(StartupSequence, WithoutAConnectionOnlyTheNoticeShows) {
  shell_.connected = false;
  Run();
  EXPECT_EQ(shell_.calls, (std::vector<std::string>{"about item", "probe http://probe.test/"}));
  EXPECT_TRUE(web_.requests.empty());
  EXPECT_EQ(view_.ListItems(ListId::kModels),
            std::vector<std::string>{std::string(texts::kNoConnection)});
  for (ListId list : {ListId::kModels, ListId::kVersions, ListId::kLinks}) {
    EXPECT_FALSE(view_.ListEnabled(list));
  }
  EXPECT_FALSE(view_.CategoryEnabled());
  EXPECT_EQ(view_.CategoryCount(), 0);
  EXPECT_EQ(view_.StatusText(0), "");
  EXPECT_EQ(view_.StatusText(1), "");
  EXPECT_FALSE(view_.WindowVisible()) << "whoever created the window shows it afterwards";
}

TEST_F(StartupSequence, BuiltInModeLoadsBB5Once) {
  web_.answers[std::string(kPrimary) + "/tools/BB5.xml"] = Catalogue(2, 1, 1);
  web_.during_fetch = [this] {
    if (web_.requests.back().ends_with("BB5.xml")) {
      // The window is already up, with the loading text, and styled.
      EXPECT_TRUE(view_.WindowVisible());
      EXPECT_EQ(view_.ListItems(ListId::kModels),
                std::vector<std::string>{std::string(texts::kLoading)});
      EXPECT_FALSE(view_.ListEnabled(ListId::kVersions));
      EXPECT_FALSE(view_.ListEnabled(ListId::kLinks));
      EXPECT_EQ(shell_.calls.back(), "style 3");
    } else {
      EXPECT_FALSE(view_.WindowVisible()) << "the configuration is read before anything shows";
    }
  };
  Run();
  EXPECT_EQ(web_.requests, (std::vector<std::string>{kConfigAddress, kMirrorConfigAddress,
                                                     std::string(kPrimary) + "/tools/BB5.xml"}));
  EXPECT_EQ(view_.Categories(),
            (std::vector<std::string>{"BB5", "DCT4/WD2", "PHOENIX", "Care Suite"}));
  EXPECT_EQ(view_.CategorySelection(), 0);
  EXPECT_EQ(view_.ListItems(ListId::kModels), (std::vector<std::string>{"m1", "m2"}));
  EXPECT_TRUE(view_.ListEnabled(ListId::kModels));
  EXPECT_TRUE(view_.CategoryEnabled());
  EXPECT_EQ(view_.DeliverQueuedEvents(), 0) << "selecting BB5 raised no category event";
  EXPECT_EQ(shell_.calls,
            (std::vector<std::string>{"about item", "probe http://probe.test/", "style 3"}));
}

TEST_F(StartupSequence, ConfiguredModeLoadsTheFirstCategory) {
  web_.answers[kConfigAddress] =
      "[MENU]\n1=one\n2=two\n3=three\n[1]\nURL1=http://c.test/1.xml\n[2]\nURL1=http://c.test/"
      "2.xml\n";
  web_.answers["http://c.test/1.xml"] = Catalogue(3, 0, 0);
  Run();
  EXPECT_EQ(web_.requests, (std::vector<std::string>{kConfigAddress, "http://c.test/1.xml"}));
  EXPECT_EQ(view_.Categories(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(view_.CategorySelection(), 0);
  EXPECT_EQ(view_.ListItemCount(ListId::kModels), 3);
  EXPECT_EQ(view_.StatusText(0),
            std::string(texts::kRecordCountPrefix) + "3" + std::string(texts::kRecordCountSuffix));
}

TEST_F(StartupSequence, TheHomeLabelOpensThePrimaryServersRoot) {
  nb::OnHomeLabelPressed(context_);
  EXPECT_EQ(opener_.opened, std::vector<std::string>{std::string(kPrimary) + "/"});
}

}  // namespace
}  // namespace nb_test
