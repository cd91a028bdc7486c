// What a user's mouse and keyboard send to the Win32 window's controls, and
// the message pumping the program's loop would do, for the Win32 tests.
#pragma once

#include <windows.h>

#include <string>

namespace nb_test {

// Lets every posted message run, as the program's message loop would.
inline void PumpMessages() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

inline LPARAM PointArgument(int x, int y) {
  return static_cast<LPARAM>((static_cast<unsigned>(y) & 0xFFFFU) << 16U |
                             (static_cast<unsigned>(x) & 0xFFFFU));
}

// A left click in the middle of a list box's item; false when the list has
// no such item.
inline bool ClickListItem(HWND list, int index) {
  RECT item{};
  if (::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
    return false;
  }
  const LPARAM point = PointArgument((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  ::SendMessageW(list, WM_LBUTTONUP, 0, point);
  return true;
}

// A key pressed and released in a control that has the focus.
inline void PressKey(HWND control, WPARAM key) {
  ::SetFocus(control);
  ::SendMessageW(control, WM_KEYDOWN, key, 0);
  ::SendMessageW(control, WM_KEYUP, key, 0);
}

// The text a window shows, as the W functions give it.
inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace nb_test
