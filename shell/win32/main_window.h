// The browser's window on the Win32 API, and the BrowserView the core drives.
//
// Texts arrive from the core as code-page-936 bytes whatever the user's ANSI
// code page is; the controls get them decoded to UTF-16 and the window keeps
// the bytes of every item beside its control, so that what it hands back is
// byte-identical even for bytes that do not decode.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "nb/browser_events.h"
#include "nb/browser_view.h"

namespace nb::win32 {

class Win32MainWindow final : public nb::BrowserView {
 public:
  // Creates the window hidden with every control; `home_label_text` (code
  // page 936) is the label's text.
  explicit Win32MainWindow(std::string_view home_label_text);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  // A list's event runs while its notification is handled; the category
  // box's runs once the message posted on its notification is handled.
  void BindEvents(nb::BrowserEventHandlers handlers);
  // Runs on a press of the left button on the home-page label.
  void SetHomeLabelHandler(std::function<void()> handler);
  // Where a right-click on a download link (or the context-menu key) finds
  // the address that 复制链接地址 copies: the link list's position in, the
  // address's bytes out, empty when the position has none.
  void SetLinkAddressLookup(std::function<std::string(std::int32_t)> lookup);
  // Runs once the window is being destroyed, its controls still present.
  void SetDestroyedHandler(std::function<void()> handler);

  // Tab and Shift+Tab move the keyboard focus along the category box and
  // the three lists, in that order, passing over disabled ones. The message
  // loop offers every message here first; true when it was used.
  bool HandleTabKey(const MSG& message);

  void ClearList(nb::ListId list) override;
  std::int32_t InsertListItem(nb::ListId list, std::int32_t position,
                              std::string_view text) override;
  std::string ListItemText(nb::ListId list, std::int32_t position) const override;
  std::int32_t ListSelection(nb::ListId list) const override;
  void SetListEnabled(nb::ListId list, bool enabled) override;
  std::int32_t InsertCategory(std::int32_t position, std::string_view text) override;
  void SelectCategory(std::int32_t position) override;
  std::int32_t CategorySelection() const override;
  std::string CategoryText() const override;
  void SetCategoryEnabled(bool enabled) override;
  void SetStatusText(std::int32_t panel, std::string_view text) override;
  void SetWindowVisible(bool visible) override;

  HWND Handle() const { return window_; }
  // Null for a ListId that names no list.
  HWND ListHandle(nb::ListId list) const;
  HWND CategoryHandle() const { return category_; }
  HWND LabelHandle() const { return label_; }
  HWND StatusHandle() const { return status_; }

 private:
  struct ListControl {
    HWND handle = nullptr;
    std::vector<std::string> bytes;  // in step with the control's items
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ForwardCommandsProc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam, UINT_PTR id, DWORD_PTR data);

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void HandleCommand(WPARAM wparam, LPARAM lparam);
  void PaintLabel();
  void OfferLinkMenu(LPARAM where);
  void CopyLinkAddress(std::int32_t position);
  void SetIcons();
  void CreateControls();
  ListControl* FindList(nb::ListId list);
  const ListControl* FindList(nb::ListId list) const;

  HWND window_ = nullptr;
  HWND outer_frame_ = nullptr;
  HWND category_ = nullptr;
  HWND label_ = nullptr;
  HWND status_ = nullptr;
  std::array<ListControl, 3> lists_{};
  std::vector<std::string> category_bytes_;
  HFONT font_ = nullptr;
  bool owns_font_ = false;
  std::wstring label_text_;
  nb::BrowserEventHandlers handlers_;
  std::function<void()> home_label_handler_;
  std::function<void()> destroyed_handler_;
  std::function<std::string(std::int32_t)> link_address_lookup_;
};

}  // namespace nb::win32
