// The whole Win32 program but its message loop, under Wine, against the two
// static servers with-file-servers.sh starts on the Linux side: start-up in
// both modes and without a connection, then a walk through the window by
// mouse and keyboard, down to the browser opener.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "nb/system_texts.h"
#include "stand_in_services.h"
#include "temporary_folder.h"
#include "win32/about_item.h"
#include "win32/browser_session.h"
#include "win32/visual_style.h"
#include "win32_input.h"
#include "windows/wide_text.h"
#include "wininet_web_fetcher.h"

namespace nb::win32 {
namespace {

using nb_test::ClickListItem;
using nb_test::PressKey;
using nb_test::PumpMessages;

const std::string kCatalogue =
    "<nokia>\r\n"
    " <model value=\"N95-1 RM-159\">\r\n"
    "  <version value=\"V 21.0.016\"><link value=\"http://dl.test/a?x=1&amp;y=2\"/>"
    "<link value=\"http://dl.test/b\">\xCB\xB5\xC3\xF7</link></version>\r\n"
    "  <version value=\"V 20.0.015\"/>\r\n"
    " </model>\r\n"
    " <model value=\"6300 RM-217\"><version value=\"07.21\"/></model>\r\n"
    "</nokia>\r\n";

// One of the servers with-file-servers.sh started, and the folder it serves.
struct FileServer {
  std::string address;           // "http://127.0.0.1:PORT"
  std::filesystem::path folder;  // as this program reaches it

  static FileServer FromEnvironment(const char* address_name, const char* folder_name) {
    const char* address = std::getenv(address_name);
    const char* folder = std::getenv(folder_name);
    if (address == nullptr || folder == nullptr) return {};
    // Wine shows the Unix file system as drive Z:.
    std::string windows_folder = std::string("Z:") + folder;
    for (char& c : windows_folder) {
      if (c == '/') c = '\\';
    }
    return {address, windows_folder};
  }

  // Served from the next request on.
  void Publish(std::string_view path, std::string_view bytes) const {
    const std::filesystem::path file = folder / std::filesystem::path(path).relative_path();
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
};

std::vector<std::string> Items(const Win32MainWindow& window, nb::ListId list) {
  std::vector<std::string> items;
  const auto count = ::SendMessageW(window.ListHandle(list), LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    items.push_back(window.ListItemText(list, static_cast<std::int32_t>(i)));
  }
  return items;
}

std::wstring Panel(const Win32MainWindow& window, int panel) {
  wchar_t text[128] = {};
  ::SendMessageW(window.StatusHandle(), SB_GETTEXTW, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring Shown(std::string_view bytes) {
  return windows::DisplayTextFromCatalogue(bytes);
}

std::wstring RecordCount(std::string_view count) {
  return Shown(std::string(nb::texts::kRecordCountPrefix) + std::string(count) +
               std::string(nb::texts::kRecordCountSuffix));
}

std::wstring RecordNumber(std::string_view number) {
  return Shown(std::string(nb::texts::kRecordNumberPrefix) + std::string(number) +
               std::string(nb::texts::kRecordNumberSuffix));
}

bool Enabled(const Win32MainWindow& window, nb::ListId list) {
  return ::IsWindowEnabled(window.ListHandle(list)) != FALSE;
}

class Win32Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    if (primary_.address.empty() || mirror_.address.empty()) {
      GTEST_SKIP() << "run through with-file-servers.sh, which starts the servers";
    }
  }
  void TearDown() override { ApplyVisualStyle(0); }

  nb::BrowserSettings Settings() const {
    nb::BrowserSettings settings;
    settings.sources = {primary_.address, mirror_.address, folder_.path() / "Temp.temp"};
    settings.probe_address = primary_.address + "/";
    return settings;
  }

  FileServer primary_ = FileServer::FromEnvironment("NB_TEST_PRIMARY", "NB_TEST_PRIMARY_ROOT");
  FileServer mirror_ = FileServer::FromEnvironment("NB_TEST_MIRROR", "NB_TEST_MIRROR_ROOT");
  nb_test::TemporaryFolder folder_;
  nb::WinInetWebFetcher web_;
  nb_test::RecordingOpener opener_;
};

TEST_F(Win32Startup, BuiltInModeShowsBB5AndWalksToALink) {
  primary_.Publish("/tools/BB5.xml", kCatalogue);
  BrowserSession session(Settings(), web_, web_, opener_);
  Win32MainWindow& window = session.window();
  session.LoadMainWindow();
  EXPECT_TRUE(::IsWindowVisible(window.Handle()));
  EXPECT_EQ(::SendMessageW(window.CategoryHandle(), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(window.CategoryText(), "BB5");
  EXPECT_TRUE(HasVisualStyle(window.CategoryHandle()));
  EXPECT_EQ(Items(window, nb::ListId::kModels),
            (std::vector<std::string>{"N95-1 RM-159", "6300 RM-217"}));
  EXPECT_FALSE(Enabled(window, nb::ListId::kVersions));
  EXPECT_FALSE(Enabled(window, nb::ListId::kLinks));
  EXPECT_EQ(Panel(window, 0), RecordCount("2"));
  EXPECT_EQ(Panel(window, 1), RecordNumber("1"));
  ASSERT_TRUE(ClickListItem(window.ListHandle(nb::ListId::kModels), 1));
  EXPECT_EQ(Panel(window, 1), RecordNumber("2"));

  ASSERT_TRUE(ClickListItem(window.ListHandle(nb::ListId::kModels), 0));
  EXPECT_EQ(Items(window, nb::ListId::kVersions),
            (std::vector<std::string>{"V 21.0.016", "V 20.0.015"}));
  ASSERT_TRUE(ClickListItem(window.ListHandle(nb::ListId::kVersions), 0));
  EXPECT_EQ(Items(window, nb::ListId::kLinks),
            (std::vector<std::string>{std::string(nb::texts::kDownloadPage), "\xCB\xB5\xC3\xF7"}));
  ASSERT_TRUE(ClickListItem(window.ListHandle(nb::ListId::kLinks), 1));
  EXPECT_TRUE(opener_.opened.empty()) << "a link with a label of its own opens nothing";
  ASSERT_TRUE(ClickListItem(window.ListHandle(nb::ListId::kLinks), 0));
  EXPECT_EQ(opener_.opened, std::vector<std::string>{"http://dl.test/a?x=1&y=2"});

  // Another category by keyboard: its catalogue replaces the first one once
  // the queued event has run.
  primary_.Publish("/tools/DCT4.xml", "<c><m value=\"3310\"/></c>");
  PressKey(window.CategoryHandle(), VK_DOWN);
  EXPECT_EQ(Items(window, nb::ListId::kModels).size(), 2U) << "not before the queued event";
  PumpMessages();
  EXPECT_EQ(window.CategoryText(), "DCT4/WD2");
  EXPECT_EQ(Items(window, nb::ListId::kModels), std::vector<std::string>{"3310"});
  EXPECT_FALSE(Enabled(window, nb::ListId::kVersions));
  EXPECT_FALSE(Enabled(window, nb::ListId::kLinks));

  ::SendMessageW(window.LabelHandle(), WM_LBUTTONDOWN, MK_LBUTTON, nb_test::PointArgument(3, 3));
  EXPECT_EQ(opener_.opened.back(), primary_.address + "/");
}

TEST_F(Win32Startup, ConfiguredModeLoadsTheFirstCategoryFromTheMirror) {
  primary_.Publish("/tools/config.ini",
                   "[MENU]\r\n1=\xCA\xD6\xBB\xFA\r\n2=two\r\n3=three\r\n"
                   "[1]\r\nURL1=" +
                       mirror_.address + "/tools/phones.xml\r\n");
  mirror_.Publish("/tools/phones.xml", kCatalogue);
  BrowserSession session(Settings(), web_, web_, opener_);
  session.LoadMainWindow();
  Win32MainWindow& window = session.window();
  EXPECT_EQ(::SendMessageW(window.CategoryHandle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(window.CategoryText(), "\xCA\xD6\xBB\xFA");
  EXPECT_EQ(nb_test::WindowText(window.CategoryHandle()), L"\x624B\x673A") << "手机, read right";
  EXPECT_EQ(Items(window, nb::ListId::kModels).size(), 2U);
  EXPECT_EQ(session.state().source_mode, 1);
}

TEST_F(Win32Startup, WithoutAConnectionTheNoticeAloneShows) {
  nb_test::FixedProbe probe;
  probe.connected = false;
  BrowserSession session(Settings(), web_, probe, opener_);
  session.LoadMainWindow();
  Win32MainWindow& window = session.window();
  EXPECT_TRUE(::IsWindowVisible(window.Handle()));
  EXPECT_EQ(Items(window, nb::ListId::kModels),
            std::vector<std::string>{std::string(nb::texts::kNoConnection)});
  for (nb::ListId list : {nb::ListId::kModels, nb::ListId::kVersions, nb::ListId::kLinks}) {
    EXPECT_FALSE(Enabled(window, list));
  }
  EXPECT_FALSE(::IsWindowEnabled(window.CategoryHandle()));
  EXPECT_EQ(::SendMessageW(window.CategoryHandle(), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Panel(window, 0), L"");
  EXPECT_EQ(Panel(window, 1), L"");
  EXPECT_FALSE(HasVisualStyle(window.CategoryHandle())) << "no style without a connection";
  const HMENU menu = ::GetSystemMenu(window.Handle(), FALSE);
  EXPECT_EQ(::GetMenuItemID(menu, ::GetMenuItemCount(menu) - 1), kAboutItemId)
      << "the About item is there all the same";
  ::SendMessageW(window.LabelHandle(), WM_LBUTTONDOWN, MK_LBUTTON, nb_test::PointArgument(3, 3));
  EXPECT_EQ(opener_.opened, std::vector<std::string>{primary_.address + "/"})
      << "the label works while everything else is disabled";
}

TEST_F(Win32Startup, ClosingTheWindowEndsTheMessageLoopWithStatusZero) {
  nb_test::FixedProbe probe;
  probe.connected = false;
  BrowserSession session(Settings(), web_, probe, opener_);
  session.LoadMainWindow();
  const HWND window = session.window().Handle();
  ASSERT_NE(window, nullptr);
  // As Alt+F4 or the close button would: nothing asks for confirmation.
  ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(RunMessageLoop(session), 0);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(session.window().Handle(), nullptr);
}

}  // namespace
}  // namespace nb::win32
