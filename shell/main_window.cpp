#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QRect>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <utility>

#include "byte_text.h"
#include "home_page_label.h"
#include "nb/system_texts.h"
#include "window_layout.h"

namespace nb::shell {

namespace {

using layout::kClientHeight;
using layout::kClientWidth;
using layout::kStatusPanel0Right;
constexpr int kStatusBarHeight = 20;

// The code-page-936 bytes of every item and entry, so that what the core
// reads back is byte-identical also when the display shows U+FFFD.
constexpr int kBytesRole = Qt::UserRole;

constexpr Qt::WindowFlags kWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Object names, by ListId, for tests and for the style to find the controls.
constexpr std::array<const char*, 3> kFrameNames = {"modelFrame", "versionFrame", "linkFrame"};
constexpr std::array<const char*, 3> kListNames = {"modelList", "versionList", "linkList"};

QRect ToQRect(const layout::Rect& rect) {
  return QRect(rect.x, rect.y, rect.width, rect.height);
}

std::size_t ListIndex(nb::ListId list) {
  return static_cast<std::size_t>(list);
}

// The families of font F, in order of preference: the original, then one
// with the same widths, so that texts fit the fixed control sizes (the
// label's 143 pixels among them). Chinese falls back per character.
constexpr std::array<const char*, 2> kControlFontFamilies = {"Microsoft Sans Serif",
                                                             "Liberation Sans"};

// Font F where the system has one of its families; the default font otherwise.
QFont ControlFont() {
  const auto available = std::find_if(
      kControlFontFamilies.begin(), kControlFontFamilies.end(),
      [](const char* family) { return QFontDatabase::hasFamily(QString::fromLatin1(family)); });
  if (available == kControlFontFamilies.end()) return QApplication::font();
  QFont font(QString::fromLatin1(*available));
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

// A list box with tab stops puts them every 32 dialog units, eight average
// characters; a QListWidget draws a tab as a narrow gap, so the displayed
// text gets blanks up to the same stops instead.
// The font's metrics are asked for only when there is a tab, since every
// item of a large catalogue passes through here.
QString ExpandTabs(const QString& text, const QWidget& widget) {
  if (!text.contains(QLatin1Char('\t'))) return text;
  const QFontMetrics metrics = widget.fontMetrics();
  const int stop = 8 * std::max(1, metrics.averageCharWidth());
  const int blank = std::max(1, metrics.horizontalAdvance(QLatin1Char(' ')));
  QString expanded;
  for (const QChar character : text) {
    if (character != QLatin1Char('\t')) {
      expanded.append(character);
      continue;
    }
    const int width = metrics.horizontalAdvance(expanded);
    const int next_stop = (width / stop + 1) * stop;
    const int blanks = std::max(1, (next_stop - width + blank / 2) / blank);
    expanded.append(QString(blanks, QLatin1Char(' ')));
  }
  return expanded;
}

// Items one or two pixels higher than the font's line, as the lists and the
// category box of the original window have them.
class ItemHeightDelegate final : public QStyledItemDelegate {
 public:
  ItemHeightDelegate(int extra_height, QObject* parent)
      : QStyledItemDelegate(parent), extra_height_(extra_height) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(QFontMetrics(option.font).height() + extra_height_);
    return size;
  }

 private:
  int extra_height_;
};

// A list that reports the user's choices, and only those: the core's own
// clearing and inserting go through no input handler, so they report nothing,
// and a press on the item already selected is a choice like any other.
class ChoiceList final : public QListWidget {
 public:
  explicit ChoiceList(QWidget* parent) : QListWidget(parent) {}

  std::function<void()> on_choice;
  // Yields whether the event was taken; an event not taken goes on to the
  // window, whose context menu offers the About item.
  std::function<bool(QContextMenuEvent*)> on_context_menu;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    // Only the left button chooses; Qt would select on a right press too,
    // which must not happen before the link list's copy item.
    if (event->button() != Qt::LeftButton) {
      event->accept();
      return;
    }
    QListWidget::mousePressEvent(event);
    const QListWidgetItem* item = itemAt(event->position().toPoint());
    if (item != nullptr && item->isSelected()) Report();
  }

  // The second press of a double click chooses again, as a list box does.
  void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

  // Dragging with the button down moves the selection from item to item.
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton)) {
      QListWidget::mouseMoveEvent(event);
      return;
    }
    const int before = SelectedRow();
    QListWidget::mouseMoveEvent(event);
    const int after = SelectedRow();
    if (after >= 0 && after != before) Report();
  }

  // Arrows, Home/End, PageUp/PageDown and type-ahead: every key that moves
  // the selection to another item is a choice.
  void keyPressEvent(QKeyEvent* event) override {
    const int before = SelectedRow();
    QListWidget::keyPressEvent(event);
    const int after = SelectedRow();
    if (after >= 0 && after != before) Report();
  }

  void contextMenuEvent(QContextMenuEvent* event) override {
    const auto handler = on_context_menu;
    if (handler && handler(event)) {
      event->accept();
    } else {
      event->ignore();
    }
  }

 private:
  int SelectedRow() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
  }

  void Report() {
    // A copy: the handler may rebind the window's handlers while it runs.
    const std::function<void()> handler = on_choice;
    if (handler) handler();
  }
};

QGroupBox* MakeFrame(QWidget* parent, const char* object_name, const QString& caption,
                     const QRect& rect) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(QLatin1String(object_name));
  frame->setGeometry(rect);
  frame->setFocusPolicy(Qt::NoFocus);
  frame->setAlignment(Qt::AlignLeft);
  return frame;
}

}  // namespace

MainWindow::MainWindow(std::string_view home_label_text) : QWidget(nullptr, kWindowFlags) {
  setWindowTitle(DecodeCp936(nb::texts::kWindowCaption));
  setFixedSize(kClientWidth, kClientHeight);
  CreateControls(home_label_text);
  CreateStatusBar();
  CreateMenus();
  CentreOnScreen();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls(std::string_view home_label_text) {
  const QFont control_font = ControlFont();

  // Larger than the client area, so that its edges and empty caption lie
  // outside: it is only the container of the controls above the lists.
  outer_frame_ = MakeFrame(this, "outerFrame", QString(), ToQRect(layout::kOuterFrame));

  category_box_ = new QComboBox(outer_frame_);
  category_box_->setObjectName(QStringLiteral("categoryBox"));
  category_box_->setGeometry(layout::kCategoryBox.x, layout::kCategoryBox.y,
                             layout::kCategoryBox.width, layout::kClosedCategoryBoxHeight);
  category_box_->setEditable(false);
  category_box_->setFont(control_font);
  category_box_->setItemDelegate(
      new ItemHeightDelegate(layout::kCategoryExtraItemHeight, category_box_));
  category_box_->setMaxVisibleItems(
      std::max(1, (layout::kCategoryBox.height - layout::kClosedCategoryBoxHeight) /
                      (QFontMetrics(control_font).height() + layout::kCategoryExtraItemHeight)));
  category_box_->setAccessibleName(QStringLiteral("\u5206\u7C7B"));  // 分类
  QPalette box_palette = category_box_->palette();
  box_palette.setColor(QPalette::Base, Qt::white);
  box_palette.setColor(QPalette::Active, QPalette::Text, Qt::black);
  box_palette.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
  category_box_->setPalette(box_palette);
  // activated() comes from the user alone, also for the entry already
  // selected; the handler runs once the box has finished with the choice.
  connect(category_box_, &QComboBox::activated, this, [this](int) { QueueCategoryEvent(); });

  home_label_ = new HomePageLabel(home_label_text, outer_frame_);
  home_label_->setObjectName(QStringLiteral("homeLabel"));
  home_label_->setGeometry(ToQRect(layout::kHomeLabel));
  home_label_->setFont(control_font);

  for (std::size_t i = 0; i < layout::kLists.size(); ++i) {
    list_frames_[i] =
        MakeFrame(outer_frame_, kFrameNames[i], DecodeCp936(layout::kLists[i].frame_caption),
                  ToQRect(layout::kLists[i].frame));
  }

  for (std::size_t i = 0; i < layout::kLists.size(); ++i) {
    auto* list = new ChoiceList(this);
    list->setObjectName(QLatin1String(kListNames[i]));
    list->setGeometry(ToQRect(layout::kLists[i].list));
    list->setFont(control_font);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    list->setUniformItemSizes(true);
    list->setAutoScroll(false);  // a timer would move the selection unreported
    list->setTextElideMode(Qt::ElideNone);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setLineWidth(1);
    list->setItemDelegate(new ItemHeightDelegate(layout::kLists[i].extra_item_height, list));
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Active, QPalette::Text, Qt::black);
    palette.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);  // the border line
    list->setPalette(palette);
    list->setAccessibleName(DecodeCp936(layout::kLists[i].frame_caption).trimmed());
    const auto id = static_cast<nb::ListId>(i);
    list->on_choice = [this, id] { RaiseListEvent(id); };
    list->raise();
    lists_[i] = list;
  }
  auto* link_list = static_cast<ChoiceList*>(lists_[ListIndex(nb::ListId::kLinks)]);
  link_list->on_context_menu = [this, link_list](QContextMenuEvent* event) {
    return OfferLinkMenu(link_list, event);
  };

  setTabOrder(category_box_, lists_[0]);
  setTabOrder(lists_[0], lists_[1]);
  setTabOrder(lists_[1], lists_[2]);
}

void MainWindow::CreateStatusBar() {
  status_bar_ = new QWidget(this);
  status_bar_->setObjectName(QStringLiteral("statusBar"));
  status_bar_->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
  const std::array<QRect, 2> panels = {
      QRect(0, 0, kStatusPanel0Right, kStatusBarHeight),
      QRect(kStatusPanel0Right, 0, kClientWidth - kStatusPanel0Right, kStatusBarHeight),
  };
  for (std::size_t i = 0; i < panels.size(); ++i) {
    auto* panel = new QLabel(status_bar_);
    panel->setObjectName(QStringLiteral("statusPanel%1").arg(i));
    panel->setGeometry(panels[i]);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setIndent(2);
    panel->setTextFormat(Qt::PlainText);  // a text that looks like markup is still plain text
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    status_panels_[i] = panel;
  }
  status_bar_->raise();
}

void MainWindow::CreateMenus() {
  about_menu_ = new QMenu(this);
  about_menu_->setObjectName(QStringLiteral("aboutMenu"));
  QAction* about = about_menu_->addAction(DecodeCp936(nb::texts::kAboutItem));
  connect(about, &QAction::triggered, this, [this] {
    const std::function<void()> handler = about_handler_;
    if (handler) handler();
  });

  link_menu_ = new QMenu(this);
  link_menu_->setObjectName(QStringLiteral("linkMenu"));
  QAction* copy = link_menu_->addAction(DecodeCp936(nb::texts::kCopyLinkAddress));
  connect(copy, &QAction::triggered, this, [this] { CopyLinkAddress(); });
}

void MainWindow::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The whole screen, as the original measures it, not the work area.
  const QRect area = screen->geometry();
  const QRect outer = frameGeometry();
  move(area.x() + (area.width() - outer.width()) / 2,
       area.y() + (area.height() - outer.height()) / 2);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Only now does the window system tell the frame's size; centre again.
  if (!shown_once_ && !event->spontaneous()) {
    shown_once_ = true;
    CentreOnScreen();
  }
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (!about_installed_) {
    event->ignore();
    return;
  }
  event->accept();
  about_menu_->popup(event->globalPos());
}

bool MainWindow::OfferLinkMenu(QListWidget* list, QContextMenuEvent* event) {
  // A mouse event arrives in the viewport's coordinates; the menu key names
  // the item that has the keyboard focus.
  QListWidgetItem* item = event->reason() == QContextMenuEvent::Mouse ? list->itemAt(event->pos())
                                                                      : list->currentItem();
  if (item == nullptr) return false;
  link_menu_position_ = list->row(item);
  const QPoint at = event->reason() == QContextMenuEvent::Mouse
                        ? event->globalPos()
                        : list->viewport()->mapToGlobal(list->visualItemRect(item).bottomLeft());
  link_menu_->popup(at);
  return true;
}

void MainWindow::CopyLinkAddress() {
  const auto lookup = link_address_lookup_;
  if (!lookup || link_menu_position_ < 0) return;
  QGuiApplication::clipboard()->setText(DecodeCp936(lookup(link_menu_position_)));
}

void MainWindow::RaiseListEvent(nb::ListId list) {
  std::function<void()> handler;
  switch (list) {
    case nb::ListId::kModels:
      handler = handlers_.model_selected;
      break;
    case nb::ListId::kVersions:
      handler = handlers_.version_selected;
      break;
    case nb::ListId::kLinks:
      handler = handlers_.link_selected;
      break;
  }
  if (handler) handler();
}

void MainWindow::QueueCategoryEvent() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        const std::function<void()> handler = handlers_.category_selected;
        if (handler) handler();
      },
      Qt::QueuedConnection);
}

void MainWindow::BindEvents(nb::BrowserEventHandlers handlers) {
  handlers_ = std::move(handlers);
}

void MainWindow::SetHomeLabelHandler(std::function<void()> handler) {
  home_label_->SetPressHandler(std::move(handler));
}

void MainWindow::SetAboutHandler(std::function<void()> handler) {
  about_handler_ = std::move(handler);
}

void MainWindow::InstallAboutItem() {
  about_installed_ = true;
}

void MainWindow::SetLinkAddressLookup(std::function<std::string(std::int32_t)> lookup) {
  link_address_lookup_ = std::move(lookup);
}

QListWidget* MainWindow::List(nb::ListId list) const {
  const std::size_t index = ListIndex(list);
  return index < lists_.size() ? lists_[index] : nullptr;
}

QComboBox* MainWindow::CategoryBox() const {
  return category_box_;
}

HomePageLabel* MainWindow::HomeLabel() const {
  return home_label_;
}

void MainWindow::ClearList(nb::ListId list) {
  if (QListWidget* widget = List(list)) widget->clear();
}

std::int32_t MainWindow::InsertListItem(nb::ListId list, std::int32_t position,
                                        std::string_view text) {
  QListWidget* widget = List(list);
  if (widget == nullptr || position < 0 || position > widget->count()) return -1;
  auto* item = new QListWidgetItem(ExpandTabs(DecodeCp936(text), *widget));
  item->setData(kBytesRole, ToByteArray(text));
  widget->insertItem(position, item);
  return position;
}

std::string MainWindow::ListItemText(nb::ListId list, std::int32_t position) const {
  const QListWidget* widget = List(list);
  if (widget == nullptr || position < 0 || position >= widget->count()) return {};
  return ToBytes(widget->item(position)->data(kBytesRole).toByteArray());
}

std::int32_t MainWindow::ListSelection(nb::ListId list) const {
  const QListWidget* widget = List(list);
  if (widget == nullptr) return -1;
  // The selected item, not the current one: Qt gives a list a current item
  // on focus without selecting it.
  const QList<QListWidgetItem*> selected = widget->selectedItems();
  return selected.isEmpty() ? -1 : widget->row(selected.front());
}

void MainWindow::SetListEnabled(nb::ListId list, bool enabled) {
  if (QListWidget* widget = List(list)) widget->setEnabled(enabled);
}

std::int32_t MainWindow::InsertCategory(std::int32_t position, std::string_view text) {
  if (position < 0 || position > category_box_->count()) return -1;
  const int before = category_box_->currentIndex();
  category_box_->insertItem(position, DecodeCp936(text), ToByteArray(text));
  // QComboBox selects the first entry put into an empty box; the category
  // box stays without a selection until the core selects one.
  if (before < 0 && category_box_->currentIndex() >= 0) {
    const QSignalBlocker blocker(category_box_);
    category_box_->setCurrentIndex(-1);
  }
  return position;
}

void MainWindow::SelectCategory(std::int32_t position) {
  const int count = category_box_->count();
  int target = position;
  if (count == 0 || position < 0) {
    target = -1;
  } else if (position > count - 1) {
    target = count - 1;
  }
  const QSignalBlocker blocker(category_box_);
  category_box_->setCurrentIndex(target);
}

std::int32_t MainWindow::CategorySelection() const {
  return category_box_->currentIndex();
}

std::string MainWindow::CategoryText() const {
  const int index = category_box_->currentIndex();
  if (index < 0) return {};
  return ToBytes(category_box_->itemData(index, kBytesRole).toByteArray());
}

void MainWindow::SetCategoryEnabled(bool enabled) {
  category_box_->setEnabled(enabled);
}

void MainWindow::SetStatusText(std::int32_t panel, std::string_view text) {
  if (panel != 0 && panel != 1) return;
  status_panels_[static_cast<std::size_t>(panel)]->setText(DecodeCp936(text));
}

void MainWindow::SetWindowVisible(bool visible) {
  setVisible(visible);
}

}  // namespace nb::shell
