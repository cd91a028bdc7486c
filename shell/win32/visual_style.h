// The flat look of the standard controls on the Win32 window: push buttons,
// check boxes, radio buttons, group boxes, edit fields, combo boxes with
// their opened lists and up-down controls of the calling thread are drawn
// flat in one of three colour schemes. List boxes, status bars and
// self-drawn controls keep their own drawing.
#pragma once

#include <windows.h>

#include <cstdint>

namespace nb::win32 {

// Schemes 1 (blue), 2 (olive) and 3 (silver) restyle every qualifying control
// of the calling thread's windows, and every one created later on the thread,
// and yield true. Any other number gives every restyled control its own
// drawing back and yields whether a style was in place to remove.
bool ApplyVisualStyle(std::int32_t scheme);

// Whether `control` is drawn by the style now; asked on the thread that
// applied it.
bool HasVisualStyle(HWND control);

}  // namespace nb::win32
