#include "win32/visual_style.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <set>
#include <string>

namespace nb::win32 {
namespace {

constexpr COLORREF Colour(unsigned red, unsigned green, unsigned blue) {
  return static_cast<COLORREF>(red | (green << 8U) | (blue << 16U));
}

// Frame colours of combo boxes and their opened lists, by scheme 1..3.
constexpr std::array<COLORREF, 3> kSchemeFrameColours = {
    Colour(123, 158, 189), Colour(164, 185, 127), Colour(198, 197, 215)};
// Group boxes look the same in every scheme.
constexpr COLORREF kGroupFrameColour = Colour(191, 184, 191);
// Where a left-aligned caption starts on the group box's top edge.
constexpr int kCaptionIndent = 9;

constexpr UINT_PTR kStyleSubclassId = 0x4E42;  // one subclass of ours per control

enum class Kind : DWORD_PTR { kPushButton, kOtherButton, kGroupBox, kFramed };

// One per thread, as the hook and the enumeration reach the calling
// thread's windows only.
struct StyleState {
  std::int32_t scheme = 0;
  HHOOK hook = nullptr;
  std::set<HWND> restyled;
};
thread_local StyleState style_state;

bool IsStyleScheme(std::int32_t scheme) {
  return scheme >= 1 && scheme <= 3;
}

COLORREF FrameColour() {
  const std::int32_t scheme = IsStyleScheme(style_state.scheme) ? style_state.scheme : 3;
  return kSchemeFrameColours[static_cast<std::size_t>(scheme - 1)];
}

std::wstring ClassOf(HWND window) {
  std::array<wchar_t, 64> name{};
  const int length = ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return std::wstring(name.data(), static_cast<std::size_t>(std::max(length, 0)));
}

bool SameName(const std::wstring& name, const wchar_t* expected) {
  return ::_wcsicmp(name.c_str(), expected) == 0;
}

// Whether the control takes the style, and how it is drawn.
bool Classify(HWND window, Kind* kind) {
  const std::wstring name = ClassOf(window);
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
  if (SameName(name, L"Button")) {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        *kind = Kind::kPushButton;
        return true;
      case BS_GROUPBOX:
        *kind = Kind::kGroupBox;
        return true;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        *kind = Kind::kOtherButton;
        return true;
      default:
        return false;  // owner-drawn and other buttons draw themselves
    }
  }
  *kind = Kind::kFramed;
  if (SameName(name, L"Edit")) {
    const HWND parent = ::GetParent(window);
    return parent == nullptr || !SameName(ClassOf(parent), L"SysIPAddress32");
  }
  if (SameName(name, L"ComboBox")) return (style & 3U) != CBS_SIMPLE;
  return SameName(name, L"ComboLBox") || SameName(name, UPDOWN_CLASSW);
}

void DrawFrame(HDC context, const RECT& area, COLORREF colour) {
  const HBRUSH brush = ::CreateSolidBrush(colour);
  ::FrameRect(context, &area, brush);
  ::DeleteObject(brush);
}

// A one-pixel frame in the scheme's colour around the whole window.
void FrameWindow(HWND window, HDC context) {
  RECT area{};
  ::GetWindowRect(window, &area);
  ::OffsetRect(&area, -area.left, -area.top);
  DrawFrame(context, area, FrameColour());
}

void FrameWindow(HWND window) {
  const HDC context = ::GetWindowDC(window);
  if (context == nullptr) return;
  FrameWindow(window, context);
  ::ReleaseDC(window, context);
}

// The text colour and background brush the parent asks for, as the
// standard control would draw with them.
HBRUSH AskParentForColours(HWND window, HDC context, UINT message) {
  const HWND parent = ::GetParent(window) != nullptr ? ::GetParent(window) : window;
  const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      parent, message, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(window)));
  return brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE);
}

std::wstring TextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      std::max(::GetWindowTextW(window, text.data(), static_cast<int>(text.size())), 0)));
  return text;
}

// A frame with cut corners in the group colour, the caption laid over its
// top edge on the box's background.
void PaintGroupBox(HWND window, HDC context) {
  RECT area{};
  ::GetClientRect(window, &area);
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  const HGDIOBJ previous_font = font != nullptr ? ::SelectObject(context, font) : nullptr;
  const HBRUSH background = AskParentForColours(window, context, WM_CTLCOLORSTATIC);
  // The parent clips its children, so nothing else paints the box's inside.
  ::FillRect(context, &area, background);

  const std::wstring caption = TextOf(window);
  SIZE extent{};
  ::GetTextExtentPoint32W(context, L"0", 1, &extent);
  const int top = area.top + extent.cy / 2;

  const HPEN pen = ::CreatePen(PS_SOLID, 1, kGroupFrameColour);
  const HGDIOBJ previous_pen = ::SelectObject(context, pen);
  const int right = area.right - 1;
  const int bottom = area.bottom - 1;
  const POINT outline[] = {{area.left + 1, top},    {right - 1, top},     {right, top + 1},
                           {right, bottom - 1},     {right - 1, bottom},  {area.left + 1, bottom},
                           {area.left, bottom - 1}, {area.left, top + 1}, {area.left + 1, top}};
  ::Polyline(context, outline, static_cast<int>(std::size(outline)));
  ::SelectObject(context, previous_pen);
  ::DeleteObject(pen);

  if (!caption.empty()) {
    SIZE text_size{};
    ::GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &text_size);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    int left = area.left + kCaptionIndent;
    if ((style & BS_CENTER) == BS_CENTER) {
      left = (area.right - area.left - text_size.cx) / 2;
    } else if ((style & BS_CENTER) == BS_RIGHT) {
      left = area.right - kCaptionIndent - text_size.cx;
    }
    RECT caption_area{left, area.top, left + text_size.cx, area.top + text_size.cy};
    ::SetBkMode(context, TRANSPARENT);
    if (!::IsWindowEnabled(window)) ::SetTextColor(context, ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextW(context, caption.c_str(), static_cast<int>(caption.size()), &caption_area,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (previous_font != nullptr) ::SelectObject(context, previous_font);
}

// A flat face with a one-pixel frame in the scheme's colour; darker while
// pressed.
void PaintPushButton(HWND window, HDC context) {
  RECT area{};
  ::GetClientRect(window, &area);
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  const HGDIOBJ previous_font = font != nullptr ? ::SelectObject(context, font) : nullptr;
  AskParentForColours(window, context, WM_CTLCOLORBTN);

  const auto state = static_cast<UINT>(::SendMessageW(window, BM_GETSTATE, 0, 0));
  const bool pressed = (state & BST_PUSHED) != 0;
  const HBRUSH face = ::GetSysColorBrush(pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE);
  ::FillRect(context, &area, face);
  DrawFrame(context, area, FrameColour());

  const std::wstring caption = TextOf(window);
  ::SetBkMode(context, TRANSPARENT);
  ::SetTextColor(context,
                 ::GetSysColor(::IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  RECT text_area = area;
  if (pressed) ::OffsetRect(&text_area, 1, 1);
  ::DrawTextW(context, caption.c_str(), static_cast<int>(caption.size()), &text_area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if ((state & BST_FOCUS) != 0) {
    RECT focus = area;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(context, &focus);
  }
  if (previous_font != nullptr) ::SelectObject(context, previous_font);
}

void PaintSelf(HWND window, Kind kind, HDC context) {
  if (kind == Kind::kGroupBox) {
    PaintGroupBox(window, context);
  } else {
    PaintPushButton(window, context);
  }
}

LRESULT CALLBACK StyleProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                           DWORD_PTR data) {
  const auto kind = static_cast<Kind>(data);
  const bool draws_itself = kind == Kind::kGroupBox || kind == Kind::kPushButton;
  switch (message) {
    case WM_NCDESTROY:
      style_state.restyled.erase(window);
      ::RemoveWindowSubclass(window, &StyleProc, id);
      return ::DefSubclassProc(window, message, wparam, lparam);
    case WM_PAINT:
      if (draws_itself) {
        PAINTSTRUCT paint{};
        const HDC context = ::BeginPaint(window, &paint);
        PaintSelf(window, kind, context);
        ::EndPaint(window, &paint);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (draws_itself) {
        PaintSelf(window, kind, reinterpret_cast<HDC>(wparam));
        return 0;
      }
      break;
    default:
      break;
  }
  const LRESULT result = ::DefSubclassProc(window, message, wparam, lparam);
  if (kind == Kind::kFramed) {
    if (message == WM_PAINT || message == WM_NCPAINT) FrameWindow(window);
    if (message == WM_PRINT && (lparam & PRF_NONCLIENT) != 0) {
      FrameWindow(window, reinterpret_cast<HDC>(wparam));
    }
  } else if (kind == Kind::kPushButton) {
    // The button redraws its state changes straight onto the screen,
    // bypassing WM_PAINT; the flat face is put back over them.
    switch (message) {
      case BM_SETSTATE:
      case BM_SETSTYLE:
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
      case WM_ENABLE:
      case WM_SETTEXT:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_UPDATEUISTATE:
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
      default:
        break;
    }
  }
  return result;
}

void Redraw(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Restyle(HWND window) {
  Kind kind{};
  if (style_state.restyled.contains(window) || !Classify(window, &kind)) return;
  if (!::SetWindowSubclass(window, &StyleProc, kStyleSubclassId, static_cast<DWORD_PTR>(kind))) {
    return;
  }
  style_state.restyled.insert(window);
  Redraw(window);
  // A combo box's opened list is a window of its own, outside the box's
  // children.
  if (SameName(ClassOf(window), L"ComboBox")) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    if (::GetComboBoxInfo(window, &parts) && parts.hwndList != nullptr) Restyle(parts.hwndList);
  }
}

BOOL CALLBACK RestyleChild(HWND window, LPARAM) {
  Restyle(window);
  return TRUE;
}

BOOL CALLBACK RestyleTopLevel(HWND window, LPARAM) {
  Restyle(window);
  ::EnumChildWindows(window, &RestyleChild, 0);
  return TRUE;
}

LRESULT CALLBACK RestyleOnCreate(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (call->message == WM_CREATE) Restyle(call->hwnd);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

bool RemoveStyle() {
  const bool was_in_place = style_state.hook != nullptr || !style_state.restyled.empty();
  if (style_state.hook != nullptr) ::UnhookWindowsHookEx(style_state.hook);
  style_state.hook = nullptr;
  const std::set<HWND> restyled = std::move(style_state.restyled);
  style_state.restyled.clear();
  for (const HWND window : restyled) {
    ::RemoveWindowSubclass(window, &StyleProc, kStyleSubclassId);
    Redraw(window);
  }
  return was_in_place;
}

}  // namespace

bool ApplyVisualStyle(std::int32_t scheme) {
  style_state.scheme = scheme;
  const bool removed = RemoveStyle();
  if (!IsStyleScheme(scheme)) return removed;
  ::EnumThreadWindows(::GetCurrentThreadId(), &RestyleTopLevel, 0);
  style_state.hook =
      ::SetWindowsHookExW(WH_CALLWNDPROC, &RestyleOnCreate, nullptr, ::GetCurrentThreadId());
  return true;
}

bool HasVisualStyle(HWND control) {
  return style_state.restyled.contains(control);
}

}  // namespace nb::win32
