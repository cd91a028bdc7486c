// The About item in the real system menu, the box it opens, and the flat
// style of the Win32 window's controls.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nb/system_texts.h"
#include "win32/about_item.h"
#include "win32/main_window.h"
#include "win32/visual_style.h"
#include "win32_input.h"
#include "windows/wide_text.h"

namespace nb::win32 {
namespace {

using nb_test::WindowText;

constexpr COLORREF Colour(unsigned red, unsigned green, unsigned blue) {
  return static_cast<COLORREF>(red | (green << 8U) | (blue << 16U));
}

// What the About box showed while it was open, read by a timer that then
// closes it, since the box runs a loop of its own until it is closed.
struct SeenBox {
  bool shown = false;
  std::wstring caption;
  std::wstring text;
  int buttons = 0;
  bool has_icon = false;
  bool owned = true;
  bool main_window_enabled = true;
  bool button_restyled = false;
};
thread_local SeenBox seen_box;
thread_local HWND main_window_under_test = nullptr;

BOOL CALLBACK FindThreadDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

BOOL CALLBACK LookAtBoxChild(HWND child, LPARAM) {
  wchar_t name[16] = {};
  ::GetClassNameW(child, name, 16);
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
  if (_wcsicmp(name, L"Button") == 0) {
    ++seen_box.buttons;
    seen_box.button_restyled = HasVisualStyle(child);
  } else if (_wcsicmp(name, L"Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      seen_box.has_icon = true;
    } else if (!WindowText(child).empty()) {
      seen_box.text = WindowText(child);
    }
  }
  return TRUE;
}

void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindThreadDialog, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  ::KillTimer(nullptr, timer);
  seen_box.shown = true;
  seen_box.caption = WindowText(box);
  seen_box.owned = ::GetWindow(box, GW_OWNER) != nullptr;
  seen_box.main_window_enabled = ::IsWindowEnabled(main_window_under_test) != FALSE;
  ::EnumChildWindows(box, &LookAtBoxChild, 0);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// A plain top-level window whose own procedure records the system commands
// that reach it.
class RecordingWindow {
 public:
  RecordingWindow() {
    static const bool registered = [] {
      WNDCLASSEXW window_class{};
      window_class.cbSize = sizeof window_class;
      window_class.lpfnWndProc = &RecordingWindow::Procedure;
      window_class.hInstance = ::GetModuleHandleW(nullptr);
      window_class.lpszClassName = L"NbRecordingWindow";
      return ::RegisterClassExW(&window_class) != 0;
    }();
    static_cast<void>(registered);
    handle_ = ::CreateWindowExW(0, L"NbRecordingWindow", L"recording",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), this);
  }
  ~RecordingWindow() { ::DestroyWindow(handle_); }
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  HWND handle() const { return handle_; }
  const std::vector<WPARAM>& commands() const { return commands_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
      const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_SYSCOMMAND && self != nullptr) self->commands_.push_back(wparam);
    return ::DefWindowProcW(window, message, wparam, lparam);
  }

  HWND handle_ = nullptr;
  std::vector<WPARAM> commands_;
};

class AboutItem : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window_.handle(), nullptr);
    main_window_under_test = window_.handle();
    seen_box = {};
  }
  void TearDown() override { ApplyVisualStyle(0); }

  // A system command sent as the menu sends it; an About box that opens is
  // read and closed from inside its own loop.
  void SendSystemCommand(WPARAM command) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &ReadAndCloseBox);
    ::SendMessageW(window_.handle(), WM_SYSCOMMAND, command, 0);
    ::KillTimer(nullptr, timer);
  }

  RecordingWindow window_;
};

TEST_F(AboutItem, ComesAfterTheSystemItemsBehindASeparator) {
  const HMENU menu = ::GetSystemMenu(window_.handle(), FALSE);
  const int system_items = ::GetMenuItemCount(menu);
  InstallAboutItem(window_.handle());
  ASSERT_EQ(::GetMenuItemCount(menu), system_items + 2);
  MENUITEMINFOW separator{};
  separator.cbSize = sizeof separator;
  separator.fMask = MIIM_FTYPE;
  ASSERT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(system_items), TRUE, &separator));
  EXPECT_NE(separator.fType & MFT_SEPARATOR, 0U);
  EXPECT_EQ(::GetMenuItemID(menu, system_items + 1), kAboutItemId);
  wchar_t text[32] = {};
  ::GetMenuStringW(menu, static_cast<UINT>(kAboutItemId), text, 32, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text), L"\x5173\x4E8E\x6B64\x7A0B\x5E8F") << "关于此程序";
}

TEST_F(AboutItem, OpensTheBoxAndHandsTheCommandOnAfterwards) {
  InstallAboutItem(window_.handle());
  ASSERT_TRUE(ApplyVisualStyle(3));
  SendSystemCommand(kAboutItemId);
  ASSERT_TRUE(seen_box.shown);
  EXPECT_EQ(seen_box.caption, L"\x5173\x4E8E") << "关于";
  EXPECT_EQ(seen_box.text, L"QELVOR TOOL V1.0");
  EXPECT_EQ(seen_box.buttons, 1) << "OK alone";
  EXPECT_TRUE(seen_box.has_icon);
  EXPECT_FALSE(seen_box.owned);
  EXPECT_FALSE(seen_box.main_window_enabled) << "modal for the whole thread";
  EXPECT_TRUE(seen_box.button_restyled) << "a control created later takes the style";
  EXPECT_NE(::IsWindowEnabled(window_.handle()), FALSE) << "input comes back once it is closed";
  EXPECT_EQ(window_.commands(), std::vector<WPARAM>{kAboutItemId});
}

TEST_F(AboutItem, OtherCommandsOnlyReachTheWindow) {
  InstallAboutItem(window_.handle());
  for (const WPARAM command : {WPARAM{1001}, WPARAM{kAboutItemId | 0x10000U}, WPARAM{999}}) {
    SendSystemCommand(command);
    EXPECT_FALSE(seen_box.shown) << command;
  }
  EXPECT_EQ(window_.commands(), (std::vector<WPARAM>{1001, kAboutItemId | 0x10000U, 999}));
}

// The colour a control draws at a point, printed into a bitmap through its
// own messages, whatever covers it on the screen.
COLORREF PrintedPixel(HWND control, int x, int y) {
  RECT area{};
  ::GetWindowRect(control, &area);
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap =
      ::CreateCompatibleBitmap(screen, area.right - area.left, area.bottom - area.top);
  const HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::SendMessageW(control, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                 PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
  const COLORREF pixel = ::GetPixel(memory, x, y);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return pixel;
}

BOOL CALLBACK CollectGroupBox(HWND child, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(child, name, 16);
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
  if (_wcsicmp(name, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  }
  return TRUE;
}

class VisualStyle : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window_.Handle(), nullptr);
    window_.SetWindowVisible(true);
    ::EnumChildWindows(window_.Handle(), &CollectGroupBox, reinterpret_cast<LPARAM>(&frames_));
    ASSERT_EQ(frames_.size(), 4U);
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    ASSERT_TRUE(::GetComboBoxInfo(window_.CategoryHandle(), &parts));
    opened_list_ = parts.hwndList;
  }
  void TearDown() override { ApplyVisualStyle(0); }

  std::vector<HWND> Restyled() const {
    std::vector<HWND> controls = frames_;
    controls.push_back(window_.CategoryHandle());
    controls.push_back(opened_list_);
    return controls;
  }
  std::vector<HWND> Untouched() const {
    return {window_.ListHandle(ListId::kModels), window_.ListHandle(ListId::kVersions),
            window_.ListHandle(ListId::kLinks), window_.StatusHandle(), window_.LabelHandle()};
  }

  Win32MainWindow window_{"PRIMARY.EXAMPLE V1.0"};
  std::vector<HWND> frames_;
  HWND opened_list_ = nullptr;
};

TEST_F(VisualStyle, EachSchemeFramesTheCategoryBoxAndItsListInItsColour) {
  const struct {
    std::int32_t scheme;
    COLORREF frame;
  } schemes[] = {
      {1, Colour(123, 158, 189)}, {2, Colour(164, 185, 127)}, {3, Colour(198, 197, 215)}};
  for (const auto& row : schemes) {
    SCOPED_TRACE(row.scheme);
    ASSERT_TRUE(ApplyVisualStyle(row.scheme));
    EXPECT_EQ(PrintedPixel(window_.CategoryHandle(), 0, 0), row.frame);
    EXPECT_EQ(PrintedPixel(opened_list_, 0, 0), row.frame);
    // Group boxes keep one colour whatever the scheme: the left edge halfway down.
    RECT frame{};
    ::GetClientRect(frames_.back(), &frame);
    EXPECT_EQ(PrintedPixel(frames_.back(), 0, frame.bottom / 2), Colour(191, 184, 191));
  }
}

TEST_F(VisualStyle, ReachesTheQualifyingControlsOnlyAndComesOffWhole) {
  ASSERT_TRUE(ApplyVisualStyle(3));
  ASSERT_TRUE(ApplyVisualStyle(3)) << "applied twice, one style in place";
  for (const HWND control : Restyled()) EXPECT_TRUE(HasVisualStyle(control));
  for (const HWND control : Untouched()) EXPECT_FALSE(HasVisualStyle(control));

  EXPECT_TRUE(ApplyVisualStyle(0));
  for (const HWND control : Restyled()) EXPECT_FALSE(HasVisualStyle(control));
  EXPECT_FALSE(ApplyVisualStyle(0)) << "nothing left to remove";
  EXPECT_FALSE(ApplyVisualStyle(4));
  EXPECT_FALSE(ApplyVisualStyle(-1));
}

TEST_F(VisualStyle, ControlsCreatedLaterTakeItUntilItIsRemoved) {
  const auto create_button = [this] {
    return ::CreateWindowExW(0, L"BUTTON", L"later", WS_CHILD | BS_PUSHBUTTON, 0, 0, 60, 20,
                             window_.Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  };
  ASSERT_TRUE(ApplyVisualStyle(3));
  const HWND styled = create_button();
  EXPECT_TRUE(HasVisualStyle(styled));
  EXPECT_EQ(PrintedPixel(styled, 0, 0), Colour(198, 197, 215));
  ASSERT_TRUE(ApplyVisualStyle(0));
  const HWND plain = create_button();
  EXPECT_FALSE(HasVisualStyle(plain));
  ::DestroyWindow(styled);
  ::DestroyWindow(plain);
}

}  // namespace
}  // namespace nb::win32
