// The whole program but its event loop, offscreen, against loopback servers:
// start-up in both modes and without a connection, then a walk through the
// window by mouse, down to the browser opener.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <string>
#include <vector>

#include "browser_session.h"
#include "curl_web_fetcher.h"
#include "home_page_label.h"
#include "http_test_servers.h"
#include "nb/system_texts.h"
#include "stand_in_services.h"
#include "temporary_folder.h"
#include "visual_style.h"

namespace nb::shell {
namespace {

const std::string kCatalogue =
    "<nokia>\r\n"
    " <model value=\"N95-1 RM-159\">\r\n"
    "  <version value=\"V 21.0.016\"><link value=\"http://dl.test/a?x=1&amp;y=2\"/>"
    "<link value=\"http://dl.test/b\">\xCB\xB5\xC3\xF7</link></version>\r\n"
    "  <version value=\"V 20.0.015\"/>\r\n"
    " </model>\r\n"
    " <model value=\"6300 RM-217\"><version value=\"07.21\"/></model>\r\n"
    "</nokia>\r\n";

std::vector<std::string> Items(const MainWindow& window, nb::ListId list) {
  std::vector<std::string> items;
  const auto count = window.List(list)->count();
  for (int i = 0; i < count; ++i) items.push_back(window.ListItemText(list, i));
  return items;
}

// What a person reads in a status panel.
QString Panel(const MainWindow& window, int panel) {
  const auto* label = window.findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(panel));
  return label == nullptr ? QStringLiteral("(missing)") : label->text();
}

void ClickItem(MainWindow& window, nb::ListId list, int row) {
  QListWidget* widget = window.List(list);
  const QRect rect = widget->visualItemRect(widget->item(row));
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, rect.center());
}

class ShellStartup : public ::testing::Test {
 protected:
  BrowserSettings Settings() const {
    BrowserSettings settings;
    settings.sources = {primary_.Address(""), mirror_.Address(""), folder_.path() / "Temp.temp"};
    settings.probe_address = primary_.Address("/");
    return settings;
  }
  void TearDown() override { ApplyVisualStyle(0); }

  test::HttpTestServer primary_;
  test::HttpTestServer mirror_;
  nb_test::TemporaryFolder folder_;
  nb::CurlWebFetcher web_;
  nb_test::FixedProbe probe_;
  nb_test::RecordingOpener opener_;
};

TEST_F(ShellStartup, BuiltInModeShowsBB5AndWalksToALink) {
  primary_.Publish("/tools/BB5.xml", kCatalogue);
  BrowserSession session(Settings(), web_, probe_, opener_);
  MainWindow& window = session.window();
  session.LoadMainWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(probe_.asked, std::vector<std::string>{primary_.Address("/")});
  EXPECT_EQ(window.CategoryBox()->count(), 4);
  EXPECT_EQ(window.CategoryText(), "BB5");
  EXPECT_EQ(CurrentVisualScheme(), 3);
  EXPECT_EQ(Items(window, nb::ListId::kModels),
            (std::vector<std::string>{"N95-1 RM-159", "6300 RM-217"}));
  EXPECT_FALSE(window.List(nb::ListId::kVersions)->isEnabled());
  EXPECT_FALSE(window.List(nb::ListId::kLinks)->isEnabled());
  EXPECT_EQ(Panel(window, 0), QStringLiteral("当前共有2条记录"));
  EXPECT_EQ(Panel(window, 1), QStringLiteral("第1条"));
  ClickItem(window, nb::ListId::kModels, 1);
  EXPECT_EQ(Panel(window, 1), QStringLiteral("第2条"));

  ClickItem(window, nb::ListId::kModels, 0);
  EXPECT_EQ(Items(window, nb::ListId::kVersions),
            (std::vector<std::string>{"V 21.0.016", "V 20.0.015"}));
  ClickItem(window, nb::ListId::kVersions, 0);
  EXPECT_EQ(Items(window, nb::ListId::kLinks),
            (std::vector<std::string>{std::string(nb::texts::kDownloadPage), "\xCB\xB5\xC3\xF7"}));
  ClickItem(window, nb::ListId::kLinks, 1);
  EXPECT_TRUE(opener_.opened.empty()) << "a link with a label of its own opens nothing";
  ClickItem(window, nb::ListId::kLinks, 0);
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"http://dl.test/a?x=1&y=2"});

  // The same model again: its versions anew, the links gone and disabled.
  ClickItem(window, nb::ListId::kModels, 0);
  EXPECT_EQ(window.List(nb::ListId::kVersions)->count(), 2);
  EXPECT_EQ(window.List(nb::ListId::kLinks)->count(), 0);
  EXPECT_FALSE(window.List(nb::ListId::kLinks)->isEnabled());

  // Another category by keyboard: its catalogue replaces the first one.
  primary_.Publish("/tools/DCT4.xml", "<c><m value=\"3310\"/></c>");
  ClickItem(window, nb::ListId::kVersions, 1);
  QComboBox* box = window.CategoryBox();
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window.CategoryText(), "DCT4/WD2");
  EXPECT_EQ(Items(window, nb::ListId::kModels), std::vector<std::string>{"3310"});
  EXPECT_FALSE(window.List(nb::ListId::kVersions)->isEnabled());
  EXPECT_FALSE(window.List(nb::ListId::kLinks)->isEnabled());

  QTest::mousePress(window.HomeLabel(), Qt::LeftButton);
  EXPECT_EQ(opener_.opened.back(), primary_.Address("/"));
}

TEST_F(ShellStartup, ConfiguredModeLoadsTheFirstCategory) {
  primary_.Publish("/tools/config.ini", "[MENU]\r\n1=\xCA\xD6\xBB\xFA\r\n2=two\r\n[1]\r\nURL1=" +
                                            mirror_.Address("/tools/phones.xml") + "\r\n");
  mirror_.Publish("/tools/phones.xml", kCatalogue);
  BrowserSession session(Settings(), web_, probe_, opener_);
  session.LoadMainWindow();
  MainWindow& window = session.window();
  EXPECT_EQ(window.CategoryBox()->count(), 2);
  EXPECT_EQ(window.CategoryText(), "\xCA\xD6\xBB\xFA");
  EXPECT_EQ(window.List(nb::ListId::kModels)->count(), 2);
  EXPECT_EQ(session.state().source_mode, 1);
}

TEST_F(ShellStartup, WithoutAConnectionTheNoticeAloneShows) {
  probe_.connected = false;
  BrowserSession session(Settings(), web_, probe_, opener_);
  session.LoadMainWindow();
  MainWindow& window = session.window();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Items(window, nb::ListId::kModels),
            std::vector<std::string>{std::string(nb::texts::kNoConnection)});
  for (nb::ListId list : {nb::ListId::kModels, nb::ListId::kVersions, nb::ListId::kLinks}) {
    EXPECT_FALSE(window.List(list)->isEnabled());
  }
  EXPECT_FALSE(window.CategoryBox()->isEnabled());
  EXPECT_EQ(window.CategoryBox()->count(), 0);
  EXPECT_EQ(Panel(window, 0), QString());
  EXPECT_EQ(Panel(window, 1), QString());
  EXPECT_EQ(CurrentVisualScheme(), 0) << "no style without a connection";
  QTest::mousePress(window.HomeLabel(), Qt::LeftButton);
  EXPECT_EQ(opener_.opened, std::vector<std::string>{primary_.Address("/")})
      << "the label works while everything else is disabled";
}

}  // namespace
}  // namespace nb::shell
