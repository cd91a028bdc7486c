// The browser's only window, on Qt 6 Widgets, and the BrowserView the core
// drives. Overview of the shell:
//   MainWindow       the window and its controls at their fixed positions;
//                    realises BrowserView, raises the four selection events,
//                    the home-page label's press and the About request.
//   HomePageLabel    the self-drawn label that leads to the home page.
//   ApplyVisualStyle the flat look of combo boxes, opened lists and frames.
//   ShowAboutBox     the small About box.
//   BrowserSession   the program's start: state, services, window, start-up
//                    sequence, and the release at the end.
// Texts arrive from the core as code-page-936 bytes; the window decodes them
// for display and keeps the bytes, so what it hands back is byte-identical.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "nb/browser_events.h"
#include "nb/browser_view.h"

class QComboBox;
class QGroupBox;
class QListWidget;
class QStatusBar;
class QLabel;
class QMenu;
class QContextMenuEvent;
class QShowEvent;

namespace nb::shell {

class HomePageLabel;

class MainWindow final : public QWidget, public nb::BrowserView {
  Q_OBJECT

 public:
  // The client area is 436 x 306 pixels; the label shows `home_label_text`
  // (code-page-936 bytes).
  explicit MainWindow(std::string_view home_label_text);
  ~MainWindow() override;

  // Binds the four selection events; a list's event runs at once, the
  // category box's is queued behind the notification of the choice.
  void BindEvents(nb::BrowserEventHandlers handlers);
  // Runs on a press of the left button on the home-page label.
  void SetHomeLabelHandler(std::function<void()> handler);
  // Runs when the user asks for the About box.
  void SetAboutHandler(std::function<void()> handler);
  // Offers the About item (关于此程序) in the window's context menu.
  void InstallAboutItem();
  // Reads the stored address of link `position` (a slot of the core's link
  // table) for the link list's "复制链接地址" item.
  void SetLinkAddressLookup(std::function<std::string(std::int32_t position)> lookup);

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

  // The controls, for tests and for the visual style.
  QListWidget* List(nb::ListId list) const;
  QComboBox* CategoryBox() const;
  HomePageLabel* HomeLabel() const;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls(std::string_view home_label_text);
  void CreateStatusBar();
  void CreateMenus();
  void CentreOnScreen();
  void RaiseListEvent(nb::ListId list);
  void QueueCategoryEvent();
  bool OfferLinkMenu(QListWidget* list, QContextMenuEvent* event);
  void CopyLinkAddress();

  nb::BrowserEventHandlers handlers_;
  std::function<void()> about_handler_;
  std::function<std::string(std::int32_t)> link_address_lookup_;
  bool about_installed_ = false;
  bool shown_once_ = false;
  std::int32_t link_menu_position_ = -1;

  QGroupBox* outer_frame_ = nullptr;
  std::array<QGroupBox*, 3> list_frames_{};
  std::array<QListWidget*, 3> lists_{};
  QComboBox* category_box_ = nullptr;
  HomePageLabel* home_label_ = nullptr;
  QWidget* status_bar_ = nullptr;
  std::array<QLabel*, 2> status_panels_{};
  QMenu* about_menu_ = nullptr;
  QMenu* link_menu_ = nullptr;
};

}  // namespace nb::shell
