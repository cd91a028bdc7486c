// The Win32 window as a BrowserView, and its events driven by the input
// messages a user's mouse and keyboard produce.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "browser_view_contract.h"
#include "win32/main_window.h"
#include "win32_input.h"

namespace {

using nb::ListId;
using nb::win32::Win32MainWindow;
using nb_test::PointArgument;
using nb_test::PumpMessages;

constexpr char kLabelText[] = "PRIMARY.EXAMPLE V1.0";

class Win32Harness final : public nb_test::ViewHarness {
 public:
  Win32Harness() : window_(kLabelText) {
    const auto count = [this] { ++raised_; };
    window_.BindEvents({count, count, count, count});
  }
  nb::BrowserView& View() override { return window_; }
  int EventsRaised() override {
    PumpMessages();
    return raised_;
  }

 private:
  Win32MainWindow window_;
  int raised_ = 0;
};

}  // namespace

using nb_test::BrowserViewContract;
INSTANTIATE_TEST_SUITE_P(Win32MainWindow, BrowserViewContract,
                         ::testing::Values(nb_test::ViewRealisation{
                             "Win32MainWindow", [] { return std::make_unique<Win32Harness>(); }}),
                         nb_test::ViewRealisationName);

namespace {

using nb_test::kLists;
using nb_test::ListRow;

class Win32MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window_.Handle(), nullptr);
    window_.BindEvents({Recorder("model list"), Recorder("version list"), Recorder("link list"),
                        Recorder("category box")});
    window_.SetWindowVisible(true);
    PumpMessages();
    seen_.clear();
  }

  std::function<void()> Recorder(std::string name) {
    return [this, name] { seen_.push_back(name); };
  }

  void Fill(ListId list, const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const auto position = static_cast<std::int32_t>(i);
      ASSERT_EQ(window_.InsertListItem(list, position, texts[i]), position);
    }
  }

  // Where a control lies in the main window's client area.
  RECT ClientRect(HWND control) const {
    RECT area{};
    ::GetWindowRect(control, &area);
    ::MapWindowPoints(nullptr, window_.Handle(), reinterpret_cast<POINT*>(&area), 2);
    return area;
  }

  Win32MainWindow window_{kLabelText};
  std::vector<std::string> seen_;
};

TEST_F(Win32MainWindowTest, AClickOnAListItemRunsItsHandlerOnceAtOnce) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    Fill(row.list, {"a", "b", "c"});
    ASSERT_TRUE(nb_test::ClickListItem(window_.ListHandle(row.list), 1));
    EXPECT_EQ(seen_, std::vector<std::string>{row.name}) << "before any message is pumped";
    EXPECT_EQ(window_.ListSelection(row.list), 1);
    PumpMessages();
    EXPECT_EQ(seen_, std::vector<std::string>{row.name}) << "nothing more was queued";
    seen_.clear();
  }
}

TEST_F(Win32MainWindowTest, TheDownKeyInAListRunsItsHandlerOnceAtOnce) {
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    Fill(row.list, {"a", "b", "c"});
    const HWND list = window_.ListHandle(row.list);
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    ::SetFocus(list);
    ASSERT_TRUE(seen_.empty());

    ::SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(seen_, std::vector<std::string>{row.name});
    EXPECT_EQ(window_.ListSelection(row.list), 1);
    ::SendMessageW(list, WM_KEYUP, VK_DOWN, 0);
    PumpMessages();
    EXPECT_EQ(seen_, std::vector<std::string>{row.name});
    seen_.clear();
  }
}

TEST_F(Win32MainWindowTest, ACategoryChoiceRunsItsHandlerOnlyOnceMessagesArePumped) {
  ASSERT_EQ(window_.InsertCategory(0, "BB5"), 0);
  ASSERT_EQ(window_.InsertCategory(1, "DCT4/WD2"), 1);
  ASSERT_EQ(window_.InsertCategory(2, "PHOENIX"), 2);
  window_.SelectCategory(0);
  ::SetFocus(window_.CategoryHandle());
  PumpMessages();
  ASSERT_TRUE(seen_.empty());

  ::SendMessageW(window_.CategoryHandle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_TRUE(seen_.empty()) << "the category event is queued";
  EXPECT_EQ(window_.CategorySelection(), 1) << "selected before the event runs";
  PumpMessages();
  EXPECT_EQ(seen_, std::vector<std::string>{"category box"});
}

TEST_F(Win32MainWindowTest, TabMovesAlongTheBoxAndTheListsPassingOverDisabledOnes) {
  const auto press_tab = [this] {
    const MSG tab{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    return window_.HandleTabKey(tab);
  };
  const auto set_shift = [](bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
  };
  ::SetFocus(window_.CategoryHandle());
  ASSERT_TRUE(press_tab());
  EXPECT_EQ(::GetFocus(), window_.ListHandle(ListId::kModels));
  window_.SetListEnabled(ListId::kVersions, false);
  ASSERT_TRUE(press_tab());
  EXPECT_EQ(::GetFocus(), window_.ListHandle(ListId::kLinks));
  ASSERT_TRUE(press_tab());
  EXPECT_EQ(::GetFocus(), window_.CategoryHandle()) << "round again";

  set_shift(true);
  ASSERT_TRUE(press_tab());
  set_shift(false);
  EXPECT_EQ(::GetFocus(), window_.ListHandle(ListId::kLinks)) << "Shift+Tab goes back";

  const MSG letter{window_.ListHandle(ListId::kLinks), WM_KEYDOWN, 'A', 0, 0, {}};
  EXPECT_FALSE(window_.HandleTabKey(letter)) << "other keys go to the control";
  EXPECT_TRUE(seen_.empty()) << "moving the focus chooses nothing";
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return text;
  if (const HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* data = static_cast<const wchar_t*>(::GlobalLock(block))) {
      text = data;
      ::GlobalUnlock(block);
    }
  }
  ::CloseClipboard();
  return text;
}

void EmptyClipboard() {
  if (!::OpenClipboard(nullptr)) return;
  ::EmptyClipboard();
  ::CloseClipboard();
}

TEST_F(Win32MainWindowTest, TheLinkMenuCopiesTheAddressOfTheItemItIsOpenedOn) {
  window_.SetLinkAddressLookup(
      [](std::int32_t position) { return "http://dl.test/" + std::to_string(position); });
  Fill(ListId::kLinks, {"a", "b", "c"});
  const HWND list = window_.ListHandle(ListId::kLinks);
  // The keys wait in the queue until the menu's own loop reads them.
  const auto choose_in_menu = [this](std::vector<WPARAM> keys) {
    for (const WPARAM key : keys) ::PostMessageW(window_.Handle(), WM_KEYDOWN, key, 0);
  };

  EmptyClipboard();
  ::SendMessageW(list, LB_SETCARETINDEX, 1, FALSE);
  choose_in_menu({VK_DOWN, VK_RETURN});
  ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
  EXPECT_EQ(ClipboardText(), L"http://dl.test/1") << "the menu key: the focused item";

  RECT item{};
  ASSERT_NE(::SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)), LB_ERR);
  POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ::ClientToScreen(list, &at);
  choose_in_menu({VK_DOWN, VK_RETURN});
  ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), PointArgument(at.x, at.y));
  EXPECT_EQ(ClipboardText(), L"http://dl.test/2") << "a right-click: the item under the pointer";

  EmptyClipboard();
  choose_in_menu({VK_ESCAPE});
  ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), PointArgument(at.x, at.y));
  EXPECT_EQ(ClipboardText(), L"") << "a dismissed menu copies nothing";
  PumpMessages();
  EXPECT_TRUE(seen_.empty()) << "the menu chooses no link";
  EXPECT_EQ(window_.ListSelection(ListId::kLinks), -1);
}

TEST_F(Win32MainWindowTest, ViewOperationsRaiseNothing) {
  Fill(ListId::kModels, {"b", "a"});
  ASSERT_EQ(window_.InsertCategory(0, "BB5"), 0);
  window_.SelectCategory(7);
  window_.ClearList(ListId::kModels);
  window_.SetListEnabled(ListId::kLinks, false);
  window_.SetStatusText(0, "count");
  PumpMessages();
  EXPECT_TRUE(seen_.empty());
}

TEST_F(Win32MainWindowTest, ThePressOnTheLabelRunsItsHandlerAtOnce) {
  int presses = 0;
  window_.SetHomeLabelHandler([&presses] { ++presses; });
  for (const ListRow& row : kLists) window_.SetListEnabled(row.list, false);
  window_.SetCategoryEnabled(false);
  ::SendMessageW(window_.LabelHandle(), WM_LBUTTONDOWN, MK_LBUTTON, PointArgument(5, 5));
  EXPECT_EQ(presses, 1);
  EXPECT_TRUE(seen_.empty());
}

TEST_F(Win32MainWindowTest, StatusTextReachesOnlyTheNamedPanel) {
  window_.SetStatusText(0, "left");
  window_.SetStatusText(1,
                        "\xB5\xDA"
                        "1"
                        "\xCC\xF5");  // 第1条
  window_.SetStatusText(2, "ignored");
  const HWND status = window_.StatusHandle();
  ASSERT_EQ(::SendMessageW(status, SB_GETPARTS, 0, 0), 2);
  wchar_t text[64] = {};
  ::SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"left");
  ::SendMessageW(status, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text),
            L"\x7B2C"
            L"1"
            L"\x6761");
}

TEST_F(Win32MainWindowTest, ControlsSitAtTheirPlaces) {
  RECT outer{};
  ::GetWindowRect(window_.Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 442);
  EXPECT_EQ(outer.bottom - outer.top, 331);
  EXPECT_EQ(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - 442) / 2);
  EXPECT_EQ(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - 331) / 2);

  const struct {
    ListId list;
    LONG x, y, width, height;
  } places[] = {{ListId::kModels, 14, 47, 154, 227},
                {ListId::kVersions, 190, 48, 117, 226},
                {ListId::kLinks, 330, 48, 90, 225}};
  for (const auto& place : places) {
    const RECT area = ClientRect(window_.ListHandle(place.list));
    EXPECT_EQ(area.left, place.x);
    EXPECT_EQ(area.top, place.y);
    EXPECT_EQ(area.right - area.left, place.width);
    EXPECT_EQ(area.bottom - area.top, place.height);
  }
  EXPECT_EQ(ClientRect(window_.CategoryHandle()).left, 11);
  EXPECT_EQ(ClientRect(window_.CategoryHandle()).top, 8);
  EXPECT_EQ(ClientRect(window_.LabelHandle()).left, 286);
  EXPECT_EQ(ClientRect(window_.LabelHandle()).top, 11);
}

}  // namespace
