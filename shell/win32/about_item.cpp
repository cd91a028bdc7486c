#include "win32/about_item.h"

#include <string>

#include "nb/system_texts.h"
#include "windows/wide_text.h"

namespace nb::win32 {
namespace {

// The procedure the hook hands messages on to, kept with the window itself
// so that every window can carry its own.
constexpr wchar_t kPreviousProcedure[] = L"NbPreviousWindowProcedure";

}  // namespace

void InstallAboutItem(HWND window) {
  const HMENU menu = ::GetSystemMenu(window, FALSE);
  const std::wstring item = windows::DisplayTextFromCatalogue(nb::texts::kAboutItem);
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, kAboutItemId, item.c_str());
  // Installed once: a second hook would hand messages on to itself.
  if (::GetPropW(window, kPreviousProcedure) != nullptr) return;
  const LONG_PTR previous =
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SystemCommandHook));
  ::SetPropW(window, kPreviousProcedure, reinterpret_cast<HANDLE>(previous));
}

LRESULT CALLBACK SystemCommandHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto previous = reinterpret_cast<WNDPROC>(::GetPropW(window, kPreviousProcedure));
  // The whole number is compared: the system keeps the low four bits of its
  // own commands for itself, but ours is an application number.
  if (message == WM_SYSCOMMAND && wparam == kAboutItemId) ShowAboutBox();
  if (message == WM_NCDESTROY) ::RemovePropW(window, kPreviousProcedure);
  if (previous == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  return ::CallWindowProcW(previous, window, message, wparam, lparam);
}

void ShowAboutBox() {
  const std::wstring text = windows::DisplayTextFromCatalogue(nb::texts::kAboutText);
  const std::wstring caption = windows::DisplayTextFromCatalogue(nb::texts::kAboutCaption);
  ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

}  // namespace nb::win32
