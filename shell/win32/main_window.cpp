#include "win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <utility>

#include "nb/system_texts.h"
#include "window_layout.h"
#include "windows/wide_text.h"

namespace nb::win32 {
namespace {

// Posted on CBN_SELENDOK so that the category handler runs only after the
// combo box has finished handling the choice.
constexpr UINT kCategoryChosen = WM_APP + 1;

constexpr wchar_t kWindowClass[] = L"NbBrowserWindow";
constexpr wchar_t kLabelClass[] = L"NbHomeLabel";

using layout::kOuterHeight;
using layout::kOuterWidth;
using windows::DisplayTextFromCatalogue;

enum ControlId : int {
  kCategoryId = 100,
  kModelListId,
  kVersionListId,
  kLinkListId,
  kLabelId,
  kOuterFrameId,
  kModelFrameId,
  kVersionFrameId,
  kLinkFrameId,
  kStatusId,
};

// The headers' RGB, LOWORD, HIWORD and MAKEINTRESOURCE macros expand to
// C casts, which the warning set rejects.
constexpr COLORREF Colour(unsigned red, unsigned green, unsigned blue) {
  return static_cast<COLORREF>(red | (green << 8U) | (blue << 16U));
}
constexpr COLORREF kLabelColour = Colour(128, 128, 255);

WORD HighWord(WPARAM value) {
  return static_cast<WORD>((value >> 16U) & 0xFFFFU);
}
WORD LowWord(WPARAM value) {
  return static_cast<WORD>(value & 0xFFFFU);
}

// x in the low word, y in the high word, as the mouse messages carry them.
LPARAM PointArgument(LONG x, LONG y) {
  return static_cast<LPARAM>((static_cast<DWORD>(y) & 0xFFFFU) << 16U |
                             (static_cast<DWORD>(x) & 0xFFFFU));
}

LPCWSTR SystemResource(WORD id) {
  return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(id));
}
constexpr WORD kHandCursor = 32649;  // IDC_HAND

HMENU ChildId(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HINSTANCE Instance() {
  return ::GetModuleHandleW(nullptr);
}

LRESULT Send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return ::SendMessageW(control, message, wparam, lparam);
}

WPARAM IndexArgument(std::int32_t index) {
  return static_cast<WPARAM>(static_cast<INT_PTR>(index));
}

LPARAM TextArgument(const std::wstring& text) {
  return reinterpret_cast<LPARAM>(text.c_str());
}
WPARAM FontArgument(HFONT font) {
  return reinterpret_cast<WPARAM>(font);
}

HFONT DefaultGuiFont() {
  return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

HFONT CreateListFont() {
  LOGFONTW description{};
  description.lfHeight = -12;
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = static_cast<BYTE>(DEFAULT_CHARSET);
  description.lfOutPrecision = static_cast<BYTE>(OUT_DEFAULT_PRECIS);
  description.lfClipPrecision = static_cast<BYTE>(CLIP_DEFAULT_PRECIS);
  description.lfQuality = static_cast<BYTE>(PROOF_QUALITY);
  description.lfPitchAndFamily = static_cast<BYTE>(DEFAULT_PITCH);
  std::wcsncpy(description.lfFaceName, L"Microsoft Sans Serif", LF_FACESIZE - 1);
  return ::CreateFontIndirectW(&description);
}

HWND CreateChild(const wchar_t* window_class, const std::wstring& text, DWORD style, int x, int y,
                 int width, int height, HWND parent, int id, void* parameter = nullptr) {
  return ::CreateWindowExW(0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y,
                           width, height, parent, ChildId(id), Instance(), parameter);
}

// The inserted item's position, or -1; `bytes` follows the control.
std::int32_t InsertItem(HWND control, UINT insert_message, UINT data_message,
                        std::vector<std::string>& bytes, std::int32_t position,
                        std::string_view text) {
  if (position < 0) return -1;
  const std::wstring wide = DisplayTextFromCatalogue(text);
  const LRESULT taken = Send(control, insert_message, IndexArgument(position), TextArgument(wide));
  if (taken < 0) return -1;
  Send(control, data_message, static_cast<WPARAM>(taken), 0);
  const auto at = std::min(static_cast<std::size_t>(taken), bytes.size());
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), std::string(text));
  return static_cast<std::int32_t>(taken);
}

}  // namespace

Win32MainWindow::Win32MainWindow(std::string_view home_label_text)
    : label_text_(DisplayTextFromCatalogue(home_label_text)) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &Win32MainWindow::WindowProc;
    window_class.hInstance = Instance();
    window_class.hCursor = ::LoadCursorW(nullptr, SystemResource(32512));  // IDC_ARROW
    window_class.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kWindowClass;
    ::RegisterClassExW(&window_class);

    WNDCLASSEXW label_class{};
    label_class.cbSize = sizeof label_class;
    label_class.lpfnWndProc = &Win32MainWindow::LabelProc;
    label_class.hInstance = Instance();
    label_class.hCursor = ::LoadCursorW(nullptr, SystemResource(kHandCursor));
    label_class.lpszClassName = kLabelClass;
    ::RegisterClassExW(&label_class);
    return true;
  }();
  static_cast<void>(registered);

  font_ = CreateListFont();
  owns_font_ = font_ != nullptr;
  if (font_ == nullptr) font_ = DefaultGuiFont();

  const int left = (::GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
  const std::wstring caption = DisplayTextFromCatalogue(nb::texts::kWindowCaption);
  // window_ is set on WM_NCCREATE, so messages sent during creation reach us.
  ::CreateWindowExW(0, kWindowClass, caption.c_str(),
                    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, left, top,
                    kOuterWidth, kOuterHeight, nullptr, nullptr, Instance(), this);
  if (window_ == nullptr) return;

  RECT outer{};
  ::GetWindowRect(window_, &outer);
  if (outer.right - outer.left != kOuterWidth || outer.bottom - outer.top != kOuterHeight) {
    ::MoveWindow(window_, left, top, kOuterWidth, kOuterHeight, FALSE);
  }
  Send(window_, WM_SETFONT, FontArgument(DefaultGuiFont()), FALSE);
  SetIcons();
  CreateControls();
}

Win32MainWindow::~Win32MainWindow() {
  if (window_ != nullptr) ::DestroyWindow(window_);
  if (owns_font_) ::DeleteObject(font_);
}

void Win32MainWindow::SetIcons() {
  // The executable's first icon group; programs without one (the tests)
  // keep the system's default icon.
  const LPCWSTR icon = SystemResource(1);
  const auto large_icon =
      static_cast<HICON>(::LoadImageW(Instance(), icon, IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                      ::GetSystemMetrics(SM_CYICON), LR_SHARED));
  const auto small_icon =
      static_cast<HICON>(::LoadImageW(Instance(), icon, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                      ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (large_icon != nullptr)
    Send(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon));
  if (small_icon != nullptr)
    Send(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
}

void Win32MainWindow::CreateControls() {
  const std::wstring empty;
  // Children of the outer frame take positions in the frame's client area,
  // which starts 2, 7 pixels left of and above the window's.
  // The outer frame is larger than the client area, so its edges and caption
  // stay out of sight; clipping keeps it from painting over the lists.
  outer_frame_ =
      CreateChild(L"BUTTON", empty, BS_GROUPBOX | BS_LEFT | WS_CLIPSIBLINGS, layout::kOuterFrame.x,
                  layout::kOuterFrame.y, layout::kOuterFrame.width, layout::kOuterFrame.height,
                  window_, kOuterFrameId);
  // The combo box reports to its parent, the frame, whose notifications must
  // reach this window's procedure.
  ::SetWindowSubclass(outer_frame_, &Win32MainWindow::ForwardCommandsProc, 1,
                      reinterpret_cast<DWORD_PTR>(this));
  Send(outer_frame_, WM_SETFONT, FontArgument(DefaultGuiFont()), FALSE);

  category_ =
      CreateChild(L"COMBOBOX", empty,
                  WS_VSCROLL | WS_CLIPSIBLINGS | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL,
                  layout::kCategoryBox.x, layout::kCategoryBox.y, layout::kCategoryBox.width,
                  layout::kCategoryBox.height, outer_frame_, kCategoryId);
  Send(category_, WM_SETFONT, FontArgument(font_), FALSE);
  const LRESULT entry_height = Send(category_, CB_GETITEMHEIGHT, 0, 0);
  if (entry_height > 0) {
    Send(category_, CB_SETITEMHEIGHT, 0, entry_height + layout::kCategoryExtraItemHeight);
  }

  label_ = CreateChild(kLabelClass, label_text_, 0, layout::kHomeLabel.x, layout::kHomeLabel.y,
                       layout::kHomeLabel.width, layout::kHomeLabel.height, outer_frame_, kLabelId,
                       this);

  constexpr std::array<int, 3> kFrameIds = {kModelFrameId, kVersionFrameId, kLinkFrameId};
  constexpr std::array<int, 3> kListIds = {kModelListId, kVersionListId, kLinkListId};
  for (std::size_t i = 0; i < layout::kLists.size(); ++i) {
    const layout::Rect& frame = layout::kLists[i].frame;
    const HWND box = CreateChild(
        L"BUTTON", DisplayTextFromCatalogue(layout::kLists[i].frame_caption), BS_GROUPBOX | BS_LEFT,
        frame.x, frame.y, frame.width, frame.height, outer_frame_, kFrameIds[i]);
    Send(box, WM_SETFONT, FontArgument(DefaultGuiFont()), FALSE);
  }

  for (std::size_t i = 0; i < lists_.size(); ++i) {
    const layout::Rect& list = layout::kLists[i].list;
    const HWND handle = CreateChild(L"LISTBOX", empty,
                                    WS_VSCROLL | WS_BORDER | WS_CLIPSIBLINGS | WS_TABSTOP |
                                        LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
                                    list.x, list.y, list.width, list.height, window_, kListIds[i]);
    Send(handle, WM_SETFONT, FontArgument(font_), FALSE);
    const LRESULT height = Send(handle, LB_GETITEMHEIGHT, 0, 0);
    if (height > 0) {
      Send(handle, LB_SETITEMHEIGHT, 0, height + layout::kLists[i].extra_item_height);
    }
    // In front of the frames they sit in, whatever order the system links
    // new children in.
    ::SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    lists_[i].handle = handle;
  }

  status_ =
      ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBT_TOOLTIPS,
                        0, 0, 0, 0, window_, ChildId(kStatusId), Instance(), nullptr);
  Send(status_, WM_SETFONT, FontArgument(DefaultGuiFont()), FALSE);
  int right_edges[] = {layout::kStatusPanel0Right, -1};
  Send(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(right_edges));
  // The outer frame reaches below the client area's bottom edge; at the
  // bottom of the order and clipped by its siblings, it never paints over
  // the lists or the status bar.
  ::SetWindowPos(outer_frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    auto* self = static_cast<Win32MainWindow*>(creation->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT Win32MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      HandleCommand(wparam, lparam);
      return 0;
    case WM_CONTEXTMENU:
      // A list passes the request on to its parent; only the link list has
      // a menu.
      if (reinterpret_cast<HWND>(wparam) == lists_[2].handle && lists_[2].handle != nullptr) {
        OfferLinkMenu(lparam);
        return 0;
      }
      return ::DefWindowProcW(window_, message, wparam, lparam);
    case WM_DESTROY:
      if (auto handler = destroyed_handler_) handler();
      return 0;
    case kCategoryChosen:
      // A copy, so that a handler that rebinds the events keeps running.
      if (auto handler = handlers_.category_selected) handler();
      return 0;
    default:
      return ::DefWindowProcW(window_, message, wparam, lparam);
  }
}

void Win32MainWindow::HandleCommand(WPARAM wparam, LPARAM lparam) {
  const auto control = reinterpret_cast<HWND>(lparam);
  const WORD code = HighWord(wparam);
  if (control == nullptr) return;
  if (code == LBN_SELCHANGE) {
    const std::function<void()>* handlers[] = {
        &handlers_.model_selected, &handlers_.version_selected, &handlers_.link_selected};
    for (std::size_t i = 0; i < lists_.size(); ++i) {
      if (lists_[i].handle != control) continue;
      if (auto handler = *handlers[i]) handler();
      return;
    }
  } else if (code == CBN_SELENDOK && control == category_ && LowWord(wparam) == kCategoryId) {
    ::PostMessageW(window_, kCategoryChosen, 0, 0);
  }
}

LRESULT CALLBACK Win32MainWindow::ForwardCommandsProc(HWND window, UINT message, WPARAM wparam,
                                                      LPARAM lparam, UINT_PTR id, DWORD_PTR data) {
  if (message == WM_COMMAND) {
    auto* self = reinterpret_cast<Win32MainWindow*>(data);
    self->HandleCommand(wparam, lparam);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &Win32MainWindow::ForwardCommandsProc, id);
  }
  return ::DefSubclassProc(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32MainWindow::LabelProc(HWND label, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrW(label, GWLP_USERDATA));
  switch (message) {
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(label, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole label, so erasing would only flicker
    case WM_PAINT:
      if (self != nullptr) {
        self->PaintLabel();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (self != nullptr) {
        if (auto handler = self->home_label_handler_) handler();
        return 0;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(label, message, wparam, lparam);
}

void Win32MainWindow::OfferLinkMenu(LPARAM where) {
  const HWND list = lists_[2].handle;
  POINT at{static_cast<short>(LowWord(static_cast<WPARAM>(where))),
           static_cast<short>(HighWord(static_cast<WPARAM>(where)))};
  LRESULT position = LB_ERR;
  if (where == -1) {
    // The context-menu key names the item that has the keyboard focus.
    position = Send(list, LB_GETCARETINDEX);
    RECT item{};
    if (position < 0 || position >= Send(list, LB_GETCOUNT) ||
        Send(list, LB_GETITEMRECT, static_cast<WPARAM>(position),
             reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
      return;
    }
    at = {item.left, item.bottom};
    ::ClientToScreen(list, &at);
  } else {
    POINT inside = at;
    ::ScreenToClient(list, &inside);
    const LRESULT found = Send(list, LB_ITEMFROMPOINT, 0, PointArgument(inside.x, inside.y));
    // The high word is set when the point lies below the last item.
    if (HighWord(static_cast<WPARAM>(found)) != 0) return;
    position = LowWord(static_cast<WPARAM>(found));
  }
  const HMENU menu = ::CreatePopupMenu();
  if (menu == nullptr) return;
  constexpr UINT kCopyCommand = 1;
  const std::wstring copy = DisplayTextFromCatalogue(nb::texts::kCopyLinkAddress);
  ::AppendMenuW(menu, MF_STRING, kCopyCommand, copy.c_str());
  const auto chosen = static_cast<UINT>(::TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
  ::DestroyMenu(menu);
  if (chosen == kCopyCommand) CopyLinkAddress(static_cast<std::int32_t>(position));
}

void Win32MainWindow::CopyLinkAddress(std::int32_t position) {
  const auto lookup = link_address_lookup_;
  if (!lookup) return;
  const std::wstring address = DisplayTextFromCatalogue(lookup(position));
  if (address.empty() || !::OpenClipboard(window_)) return;
  ::EmptyClipboard();
  const std::size_t bytes = (address.size() + 1) * sizeof(wchar_t);
  if (const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* target = ::GlobalLock(block)) {
      std::memcpy(target, address.c_str(), bytes);
      ::GlobalUnlock(block);
      // The clipboard owns the block once it has taken it.
      if (::SetClipboardData(CF_UNICODETEXT, block) == nullptr) ::GlobalFree(block);
    } else {
      ::GlobalFree(block);
    }
  }
  ::CloseClipboard();
}

void Win32MainWindow::PaintLabel() {
  PAINTSTRUCT paint{};
  const HDC context = ::BeginPaint(label_, &paint);
  RECT area{};
  ::GetClientRect(label_, &area);
  ::FillRect(context, &area, ::GetSysColorBrush(COLOR_BTNFACE));
  const HGDIOBJ previous_font = ::SelectObject(context, font_);
  ::SetTextColor(context, kLabelColour);
  ::SetBkMode(context, TRANSPARENT);
  ::DrawTextW(context, label_text_.c_str(), static_cast<int>(label_text_.size()), &area,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(context, previous_font);
  ::EndPaint(label_, &paint);
}

void Win32MainWindow::BindEvents(nb::BrowserEventHandlers handlers) {
  handlers_ = std::move(handlers);
}

void Win32MainWindow::SetHomeLabelHandler(std::function<void()> handler) {
  home_label_handler_ = std::move(handler);
}

void Win32MainWindow::SetLinkAddressLookup(std::function<std::string(std::int32_t)> lookup) {
  link_address_lookup_ = std::move(lookup);
}

void Win32MainWindow::SetDestroyedHandler(std::function<void()> handler) {
  destroyed_handler_ = std::move(handler);
}

bool Win32MainWindow::HandleTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || window_ == nullptr) return false;
  if (message.hwnd != window_ && ::IsChild(window_, message.hwnd) == FALSE) return false;
  // The category box sits in the outer frame and the lists in the window,
  // so neither the window order nor the dialog manager gives this order.
  const std::array<HWND, 4> stops = {category_, lists_[0].handle, lists_[1].handle,
                                     lists_[2].handle};
  const HWND focus = ::GetFocus();
  const auto current = std::find(stops.begin(), stops.end(), focus);
  const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
  const std::size_t count = stops.size();
  std::size_t index = current == stops.end() ? (backwards ? 0 : count - 1)
                                             : static_cast<std::size_t>(current - stops.begin());
  for (std::size_t step = 0; step < count; ++step) {
    index = backwards ? (index + count - 1) % count : (index + 1) % count;
    if (stops[index] != nullptr && ::IsWindowEnabled(stops[index]) != FALSE) {
      ::SetFocus(stops[index]);
      break;
    }
  }
  return true;
}

Win32MainWindow::ListControl* Win32MainWindow::FindList(nb::ListId list) {
  const auto index = static_cast<std::size_t>(list);
  return index < lists_.size() && lists_[index].handle != nullptr ? &lists_[index] : nullptr;
}

const Win32MainWindow::ListControl* Win32MainWindow::FindList(nb::ListId list) const {
  const auto index = static_cast<std::size_t>(list);
  return index < lists_.size() && lists_[index].handle != nullptr ? &lists_[index] : nullptr;
}

HWND Win32MainWindow::ListHandle(nb::ListId list) const {
  const ListControl* control = FindList(list);
  return control != nullptr ? control->handle : nullptr;
}

void Win32MainWindow::ClearList(nb::ListId list) {
  ListControl* control = FindList(list);
  if (control == nullptr) return;
  Send(control->handle, LB_RESETCONTENT);
  control->bytes.clear();
}

std::int32_t Win32MainWindow::InsertListItem(nb::ListId list, std::int32_t position,
                                             std::string_view text) {
  ListControl* control = FindList(list);
  if (control == nullptr) return -1;
  return InsertItem(control->handle, LB_INSERTSTRING, LB_SETITEMDATA, control->bytes, position,
                    text);
}

std::string Win32MainWindow::ListItemText(nb::ListId list, std::int32_t position) const {
  const ListControl* control = FindList(list);
  if (control == nullptr || position < 0) return {};
  if (position >= Send(control->handle, LB_GETCOUNT)) return {};
  const auto index = static_cast<std::size_t>(position);
  if (index < control->bytes.size()) return control->bytes[index];
  const LRESULT length = Send(control->handle, LB_GETTEXTLEN, index);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(control->handle, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return windows::CatalogueTextFromWide(wide);
}

std::int32_t Win32MainWindow::ListSelection(nb::ListId list) const {
  const ListControl* control = FindList(list);
  if (control == nullptr) return -1;
  const LRESULT selected = Send(control->handle, LB_GETCURSEL);
  return selected < 0 ? -1 : static_cast<std::int32_t>(selected);
}

void Win32MainWindow::SetListEnabled(nb::ListId list, bool enabled) {
  if (const ListControl* control = FindList(list)) {
    ::EnableWindow(control->handle, enabled ? TRUE : FALSE);
  }
}

std::int32_t Win32MainWindow::InsertCategory(std::int32_t position, std::string_view text) {
  if (category_ == nullptr) return -1;
  return InsertItem(category_, CB_INSERTSTRING, CB_SETITEMDATA, category_bytes_, position, text);
}

void Win32MainWindow::SelectCategory(std::int32_t position) {
  if (category_ == nullptr) return;
  const auto count = static_cast<std::int32_t>(Send(category_, CB_GETCOUNT));
  position = std::max(std::min(position, count - 1), -1);
  Send(category_, CB_SETCURSEL, IndexArgument(position));
}

std::int32_t Win32MainWindow::CategorySelection() const {
  if (category_ == nullptr) return -1;
  const LRESULT selected = Send(category_, CB_GETCURSEL);
  return selected < 0 ? -1 : static_cast<std::int32_t>(selected);
}

std::string Win32MainWindow::CategoryText() const {
  const std::int32_t selected = CategorySelection();
  if (selected < 0) return {};
  const auto index = static_cast<std::size_t>(selected);
  return index < category_bytes_.size() ? category_bytes_[index] : std::string();
}

void Win32MainWindow::SetCategoryEnabled(bool enabled) {
  if (category_ != nullptr) ::EnableWindow(category_, enabled ? TRUE : FALSE);
}

void Win32MainWindow::SetStatusText(std::int32_t panel, std::string_view text) {
  if (status_ == nullptr || (panel != 0 && panel != 1)) return;
  const std::wstring wide = DisplayTextFromCatalogue(text);
  // The panel number combined with border style 0, the standard sunken one.
  Send(status_, SB_SETTEXTW, static_cast<WPARAM>(panel) | 0U, TextArgument(wide));
}

void Win32MainWindow::SetWindowVisible(bool visible) {
  if (window_ != nullptr) ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

}  // namespace nb::win32
