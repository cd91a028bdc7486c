// The About item of the main window's system menu and the box it opens.
#pragma once

#include <windows.h>

namespace nb::win32 {

// The command number of the About item in the system menu.
inline constexpr UINT_PTR kAboutItemId = 1000;

// Appends a separator and "关于此程序" to the window's system menu, and puts
// SystemCommandHook in front of the window's procedure for the rest of its
// life. Failures are not reported: without the item the program still works.
void InstallAboutItem(HWND window);

// The window procedure InstallAboutItem installs: the About command opens the
// box, and then every message, that command included, goes on to the
// procedure the window had before.
LRESULT CALLBACK SystemCommandHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// "QELVOR TOOL V1.0" under the caption "关于", owned by no window and modal
// for the whole thread; returns once the box is closed.
void ShowAboutBox();

}  // namespace nb::win32
