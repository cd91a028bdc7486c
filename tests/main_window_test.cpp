// The Qt main window as a person meets it: where its controls sit, what they
// show, and which of the user's clicks and keys raise which event.
#include "main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "browser_view_contract.h"
#include "byte_text.h"
#include "home_page_label.h"
#include "nb/system_texts.h"

namespace {

using nb::ListId;
using nb::shell::DecodeCp936;
using nb::shell::MainWindow;

using nb_test::kLists;
using nb_test::ListRow;

// A handler run, with the selection it found when it ran.
using Seen = std::pair<std::string, std::int32_t>;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : window_("HOME.EXAMPLE V1.0") {
    window_.BindEvents(
        {ListRecorder(kLists[0]), ListRecorder(kLists[1]), ListRecorder(kLists[2]),
         [this] { seen_.emplace_back("category box", window_.CategorySelection()); }});
  }

  void TearDown() override {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->hide();
  }

  std::function<void()> ListRecorder(const ListRow& row) {
    return [this, row] { seen_.emplace_back(row.name, window_.ListSelection(row.list)); };
  }

  void Show() {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  void ShowActive() {
    Show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  void FillList(ListId list, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      const auto position = window_.List(list)->count();
      ASSERT_EQ(window_.InsertListItem(list, position, text), position);
    }
  }

  void FillCategories(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      const auto position = window_.CategoryBox()->count();
      ASSERT_EQ(window_.InsertCategory(position, text), position);
    }
  }

  void ClickItem(ListId list, int row) {
    QListWidget* widget = window_.List(list);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(widget->item(row)).center());
  }

  // Through the window system, so that Qt turns the right button into a
  // context-menu request as it does for a real mouse.
  void RightClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(window_.windowHandle(), Qt::RightButton, {}, widget->mapTo(&window_, at));
  }

  std::vector<Seen> RunPostedEvents() {
    QCoreApplication::sendPostedEvents();
    return seen_;
  }

  QWidget* Child(const char* name) { return window_.findChild<QWidget*>(QLatin1String(name)); }

  MainWindow window_;
  std::vector<Seen> seen_;
};

QMenu* OpenMenu() {
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QStringList ActionTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions()) texts.push_back(action->text());
  return texts;
}

void ClickAction(QMenu* menu, int index) {
  QTest::mouseClick(menu, Qt::LeftButton, {},
                    menu->actionGeometry(menu->actions()[index]).center());
}

TEST_F(MainWindowTest, IsOneFixedCaptionedWindowCentredOnTheScreen) {
  EXPECT_EQ(window_.windowTitle(), QString::fromUtf8(u8"NOKIA手机资料查阅器 BY QELVOR"));
  EXPECT_EQ(window_.size(), QSize(436, 306));
  EXPECT_EQ(window_.minimumSize(), QSize(436, 306)) << "the user cannot resize it";
  EXPECT_EQ(window_.maximumSize(), QSize(436, 306));
  EXPECT_FALSE(window_.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window_.windowFlags() & Qt::WindowMinimizeButtonHint);

  Show();
  const QRect screen = window_.screen()->geometry();
  const QRect outer = window_.frameGeometry();
  EXPECT_EQ(outer.left(), screen.left() + (screen.width() - outer.width()) / 2);
  EXPECT_EQ(outer.top(), screen.top() + (screen.height() - outer.height()) / 2);
}

TEST_F(MainWindowTest, EveryControlSitsAtItsPlaceInTheClientArea) {
  struct Place {
    const char* name;
    const char* parent;  // empty: the window itself
    QRect window_rect;
  };
  const Place places[] = {
      {"outerFrame", "", QRect(-2, -7, 506, 321)},
      {"categoryBox", "outerFrame", QRect(11, 8, 125, 20)},
      {"homeLabel", "outerFrame", QRect(286, 11, 143, 13)},
      {"modelFrame", "outerFrame", QRect(7, 32, 169, 251)},
      {"versionFrame", "outerFrame", QRect(184, 32, 130, 251)},
      {"linkFrame", "outerFrame", QRect(322, 32, 107, 249)},
      {"modelList", "", QRect(14, 47, 154, 227)},
      {"versionList", "", QRect(190, 48, 117, 226)},
      {"linkList", "", QRect(330, 48, 90, 225)},
      {"statusPanel0", "statusBar", QRect(0, 286, 247, 20)},
      {"statusPanel1", "statusBar", QRect(247, 286, 189, 20)},
  };
  Show();
  for (const Place& place : places) {
    SCOPED_TRACE(place.name);
    QWidget* widget = Child(place.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(QRect(widget->mapTo(&window_, QPoint(0, 0)), widget->size()), place.window_rect);
    QWidget* parent = *place.parent ? Child(place.parent) : &window_;
    EXPECT_EQ(widget->parentWidget(), parent);
  }
  // The lists lie in front of their frames: the point under a list's centre
  // belongs to the list.
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    QListWidget* list = window_.List(row.list);
    QWidget* hit = window_.childAt(list->geometry().center());
    EXPECT_TRUE(hit == list || list->isAncestorOf(hit));
  }
  // The status bar runs along the bottom edge across the whole width.
  EXPECT_EQ(Child("statusBar")->geometry(), QRect(0, 286, 436, 20));
}

TEST_F(MainWindowTest, FramesCarryTheirCaptionsAndControlsTheirNames) {
  struct Caption {
    const char* frame;
    const char8_t* caption;
  };
  const Caption captions[] = {
      {"outerFrame", u8""},
      {"modelFrame", u8"机型"},
      {"versionFrame", u8"版本"},
      {"linkFrame", u8"下载链接 "},
  };
  for (const Caption& c : captions) {
    SCOPED_TRACE(c.frame);
    EXPECT_EQ(window_.findChild<QGroupBox*>(QLatin1String(c.frame))->title(),
              QString::fromUtf8(c.caption));
  }

  struct Name {
    QWidget* control;
    const char8_t* name;
  };
  const Name names[] = {
      {window_.CategoryBox(), u8"分类"},
      {window_.List(ListId::kModels), u8"机型"},
      {window_.List(ListId::kVersions), u8"版本"},
      {window_.List(ListId::kLinks), u8"下载链接"},
  };
  for (const Name& n : names) {
    SCOPED_TRACE(n.control->objectName().toStdString());
    EXPECT_EQ(n.control->accessibleName(), QString::fromUtf8(n.name));
  }
}

TEST_F(MainWindowTest, TabPassesFromTheCategoryBoxThroughTheThreeListsOnly) {
  ShowActive();
  window_.CategoryBox()->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), window_.CategoryBox());
  const std::vector<QWidget*> expected = {window_.List(ListId::kModels),
                                          window_.List(ListId::kVersions),
                                          window_.List(ListId::kLinks), window_.CategoryBox()};
  for (QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, ListsAndCategoryBoxUseFontFAndTallerItems) {
  struct Height {
    const char* name;
    QAbstractItemView* view;
    int extra;
  };
  FillCategories({"BB5"});
  const Height heights[] = {
      {"model list", window_.List(ListId::kModels), 2},
      {"version list", window_.List(ListId::kVersions), 1},
      {"link list", window_.List(ListId::kLinks), 1},
      {"category box", window_.CategoryBox()->view(), 1},
  };
  for (const ListRow& row : kLists) FillList(row.list, {"6300"});
  Show();
  for (const Height& h : heights) {
    SCOPED_TRACE(h.name);
    const QFont font = h.view->font();
    if (font.family() == QLatin1String("Microsoft Sans Serif") ||
        font.family() == QLatin1String("Liberation Sans")) {
      EXPECT_EQ(font.pixelSize(), 12);
    } else {
      EXPECT_EQ(font, QApplication::font()) << "without font F, the default font";
    }
    const QModelIndex first = h.view->model()->index(0, 0);
    EXPECT_EQ(h.view->sizeHintForIndex(first).height(), QFontMetrics(font).height() + h.extra);
  }
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    const QListWidget* list = window_.List(row.list);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->frameStyle(), QFrame::Box | QFrame::Plain);
    EXPECT_EQ(list->lineWidth(), 1);
    EXPECT_EQ(list->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(list->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
  }
  EXPECT_FALSE(window_.CategoryBox()->isEditable());
}

// The display shows what the bytes mean; the core gets the bytes back.
TEST_F(MainWindowTest, ItemsShowDecodedTextAndKeepTheirBytes) {
  struct Case {
    std::string bytes;
    const char8_t* shown;
  };
  const Case cases[] = {
      {std::string(nb::texts::kDownloadPage), u8"点此进入下载页"},
      {"\xFF\x81 N95", u8"\uFFFD\uFFFD N95"},
      {"A\xB5", u8"A\uFFFD"},
      {"a&b", u8"a&b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    ASSERT_EQ(window_.InsertListItem(ListId::kModels, 0, c.bytes), 0);
    EXPECT_EQ(window_.List(ListId::kModels)->item(0)->text(), QString::fromUtf8(c.shown));
    EXPECT_EQ(window_.ListItemText(ListId::kModels, 0), c.bytes);
    ASSERT_EQ(window_.InsertCategory(0, c.bytes), 0);
    window_.SelectCategory(0);
    EXPECT_EQ(window_.CategoryBox()->currentText(), QString::fromUtf8(c.shown));
    EXPECT_EQ(window_.CategoryText(), c.bytes);
  }

  // A tab is shown as blanks up to a tab stop, and kept as a tab.
  ASSERT_EQ(window_.InsertListItem(ListId::kLinks, 0, "MCU\tV20"), 0);
  const QString shown = window_.List(ListId::kLinks)->item(0)->text();
  EXPECT_FALSE(shown.contains(QLatin1Char('\t')));
  EXPECT_TRUE(shown.startsWith(QLatin1String("MCU ")));
  EXPECT_TRUE(shown.endsWith(QLatin1String(" V20")));
  EXPECT_EQ(window_.ListItemText(ListId::kLinks, 0), "MCU\tV20");
}

TEST_F(MainWindowTest, StatusTextGoesToItsPanelAsPlainText) {
  window_.SetStatusText(0, std::string(nb::texts::kRecordCountPrefix) + "12" +
                               std::string(nb::texts::kRecordCountSuffix));
  window_.SetStatusText(1, "<b>2</b>");
  window_.SetStatusText(2, "elsewhere");
  const auto* panel0 = window_.findChild<QLabel*>(QStringLiteral("statusPanel0"));
  const auto* panel1 = window_.findChild<QLabel*>(QStringLiteral("statusPanel1"));
  EXPECT_EQ(panel0->text(), QString::fromUtf8(u8"当前共有12条记录"));
  EXPECT_EQ(panel1->text(), QStringLiteral("<b>2</b>"));
  EXPECT_EQ(panel1->textFormat(), Qt::PlainText);
}

TEST(ByteText, DecodingGivesOneReplacementPerByteThatIsNoCharacter) {
  struct Case {
    std::string bytes;
    const char8_t* decoded;
  };
  const Case cases[] = {
      {"", u8""},
      {"Nokia 6300", u8"Nokia 6300"},
      {std::string(nb::texts::kLoading), u8"正在加载数据......"},
      {"\xB5\xE3", u8"点"},
      {"\x81", u8"\uFFFD"},
      {"\xFF\xFE", u8"\uFFFD\uFFFD"},
      {"A\xB5", u8"A\uFFFD"},
      {"\x81\x7Fz", u8"\uFFFD\x7Fz"},            // 0x7F is no trail byte
      {"\x81\x30\x81\x30", u8"\uFFFD0\uFFFD0"},  // GB18030 only, not code page 936
      {"\xE4\xB8\xAD", u8"\u6D93\uFFFD"},        // UTF-8 bytes read as code page 936
      {"\x80", u8"\u20AC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(DecodeCp936(c.bytes), QString::fromUtf8(c.decoded));
  }
}

TEST_F(MainWindowTest, EachClickOnAListItemRaisesItsEventAtOnce) {
  Show();
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    seen_.clear();
    FillList(row.list, {"a", "b", "c"});

    ClickItem(row.list, 1);
    EXPECT_EQ(seen_, (std::vector<Seen>{{row.name, 1}})) << "run inside the click";
    ClickItem(row.list, 1);  // the item already selected
    ClickItem(row.list, 2);
    const std::vector<Seen> expected = {{row.name, 1}, {row.name, 1}, {row.name, 2}};
    EXPECT_EQ(seen_, expected);
    EXPECT_EQ(RunPostedEvents(), expected) << "nothing was queued";
  }
}

TEST_F(MainWindowTest, KeysThatMoveTheSelectionRaiseTheListEvent) {
  struct Press {
    Qt::Key key;
    std::int32_t selected;  // -1: the key changes nothing and raises nothing
  };
  const Press presses[] = {
      {Qt::Key_Down, 1},  {Qt::Key_Down, 2},   {Qt::Key_End, 5},
      {Qt::Key_Down, -1}, {Qt::Key_Home, 0},   {Qt::Key_PageDown, 5},
      {Qt::Key_Up, 4},    {Qt::Key_PageUp, 0}, {Qt::Key_Up, -1},
  };
  Show();
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    FillList(row.list, {"0", "1", "2", "3", "4", "5"});
    QListWidget* list = window_.List(row.list);
    ClickItem(row.list, 0);
    for (const Press& press : presses) {
      SCOPED_TRACE(QTest::toString(press.key));
      seen_.clear();
      QTest::keyClick(list, press.key);
      if (press.selected < 0) {
        EXPECT_TRUE(seen_.empty());
      } else {
        EXPECT_EQ(seen_, (std::vector<Seen>{{row.name, press.selected}}));
      }
    }
  }
}

TEST_F(MainWindowTest, ADisabledListRaisesNothing) {
  Show();
  for (const ListRow& row : kLists) {
    SCOPED_TRACE(row.name);
    FillList(row.list, {"a", "b"});
    window_.SetListEnabled(row.list, false);
    ClickItem(row.list, 1);
    QTest::keyClick(window_.List(row.list), Qt::Key_Down);
    EXPECT_EQ(window_.ListSelection(row.list), -1);
    EXPECT_TRUE(RunPostedEvents().empty());

    window_.SetListEnabled(row.list, true);
    ClickItem(row.list, 1);
    EXPECT_EQ(seen_, (std::vector<Seen>{{row.name, 1}}));
    seen_.clear();
  }
}

TEST_F(MainWindowTest, ACategoryChoiceIsQueuedBehindTheBoxsOwnHandling) {
  struct Choice {
    const char* name;
    std::function<void(QComboBox*)> choose;
    std::int32_t selected;
  };
  // Qt takes a release at the point of the opening click, within a double
  // click's time, for the end of that click; so the list opened by a click
  // is chosen from away from that point, and the list opened by F4 anywhere.
  const auto choose_in_popup = [](Qt::Key open_key, int row) {
    return [open_key, row](QComboBox* box) {
      if (open_key == Qt::Key_unknown) {
        QTest::mouseClick(box, Qt::LeftButton);
      } else {
        QTest::keyClick(box, open_key);
      }
      QAbstractItemView* popup = box->view();
      ASSERT_TRUE(popup->isVisible()) << "the box opens its list";
      const QRect item = popup->visualRect(popup->model()->index(row, 0));
      QTest::mouseMove(popup->viewport(), item.center());
      QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, item.center());
    };
  };
  const Choice choices[] = {
      {"mouse in the list opened by a click", choose_in_popup(Qt::Key_unknown, 2), 2},
      {"mouse on the entry already selected", choose_in_popup(Qt::Key_F4, 2), 2},
      {"Enter in the opened list",
       [](QComboBox* box) {
         box->showPopup();
         QTest::keyClick(box->view(), Qt::Key_Up);
         QTest::keyClick(box->view(), Qt::Key_Return);
       },
       1},
      {"Enter on the entry already selected",
       [](QComboBox* box) {
         box->showPopup();
         QTest::keyClick(box->view(), Qt::Key_Return);
       },
       1},
      {"Down on the closed box", [](QComboBox* box) { QTest::keyClick(box, Qt::Key_Down); }, 2},
      {"Home on the closed box", [](QComboBox* box) { QTest::keyClick(box, Qt::Key_Home); }, 0},
  };
  FillCategories({"BB5", "DCT4/WD2", "PHOENIX"});
  window_.SelectCategory(0);
  Show();
  for (const Choice& choice : choices) {
    SCOPED_TRACE(choice.name);
    seen_.clear();
    choice.choose(window_.CategoryBox());
    EXPECT_FALSE(window_.CategoryBox()->view()->isVisible());
    EXPECT_EQ(window_.CategorySelection(), choice.selected);
    EXPECT_TRUE(seen_.empty()) << "not run inside the box's handling";
    EXPECT_EQ(RunPostedEvents(), (std::vector<Seen>{{"category box", choice.selected}}));
  }

  seen_.clear();
  window_.SetCategoryEnabled(false);
  QTest::keyClick(window_.CategoryBox(), Qt::Key_Down);
  QTest::mouseClick(window_.CategoryBox(), Qt::LeftButton);
  EXPECT_FALSE(window_.CategoryBox()->view()->isVisible());
  EXPECT_EQ(window_.CategorySelection(), 0);
  EXPECT_TRUE(RunPostedEvents().empty()) << "a disabled box raises nothing";
}

TEST_F(MainWindowTest, TheLinkMenuCopiesTheStoredAddressWithoutChoosingTheLink) {
  std::vector<std::int32_t> asked;
  window_.SetLinkAddressLookup([&asked](std::int32_t position) {
    asked.push_back(position);
    return "http://files.example/" + std::to_string(position) + "\xD6\xD0";
  });
  FillList(ListId::kLinks, {"a", "b", "c"});
  Show();
  QListWidget* links = window_.List(ListId::kLinks);

  RightClick(links->viewport(), links->visualItemRect(links->item(1)).center());
  QMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ActionTexts(menu), QStringList{QString::fromUtf8(u8"复制链接地址")});
  EXPECT_EQ(window_.ListSelection(ListId::kLinks), -1) << "the right button chooses nothing";

  ClickAction(menu, 0);
  EXPECT_EQ(asked, std::vector<std::int32_t>{1});
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(u8"http://files.example/1中"));
  EXPECT_EQ(window_.ListSelection(ListId::kLinks), -1);
  EXPECT_TRUE(RunPostedEvents().empty());
}

TEST_F(MainWindowTest, TheAboutItemIsOfferedOnlyOnceInstalledAndRunsItsHandler) {
  int about_runs = 0;
  window_.SetAboutHandler([&about_runs] { ++about_runs; });
  FillList(ListId::kModels, {"6300"});
  Show();
  struct Spot {
    const char* name;
    QWidget* widget;
    QPoint at;
  };
  const Spot spots[] = {
      {"window background", &window_, QPoint(430, 20)},
      {"model frame", Child("modelFrame"), QPoint(5, 5)},
      {"link frame", Child("linkFrame"), QPoint(100, 240)},
      {"model list item", window_.List(ListId::kModels), QPoint(10, 8)},
  };
  for (const Spot& spot : spots) {
    SCOPED_TRACE(spot.name);
    RightClick(spot.widget, spot.at);
    EXPECT_EQ(OpenMenu(), nullptr) << "no About item before InstallAboutItem";
  }

  window_.InstallAboutItem();
  for (const Spot& spot : spots) {
    SCOPED_TRACE(spot.name);
    const int before = about_runs;
    RightClick(spot.widget, spot.at);
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(ActionTexts(menu), QStringList{QString::fromUtf8(u8"关于此程序")});
    ClickAction(menu, 0);
    EXPECT_EQ(about_runs, before + 1);
    EXPECT_EQ(OpenMenu(), nullptr);
  }

  // The keyboard's menu key, with a list holding the focus: the window
  // system turns it into this event for the focus widget (the offscreen
  // platform has no menu key of its own).
  QListWidget* list = window_.List(ListId::kModels);
  QContextMenuEvent menu_key(QContextMenuEvent::Keyboard, QPoint(4, 4),
                             list->mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(list, &menu_key);
  QMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ActionTexts(menu), QStringList{QString::fromUtf8(u8"关于此程序")});
  EXPECT_TRUE(RunPostedEvents().empty());
}

TEST_F(MainWindowTest, TheLabelRunsItsHandlerOnThePressAlsoWithEverythingElseDisabled) {
  int presses = 0;
  window_.SetHomeLabelHandler([&presses] { ++presses; });
  Show();
  nb::shell::HomePageLabel* label = window_.HomeLabel();

  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(presses, 1) << "on the press, before any release";
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(label, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(presses, 1) << "the release and the right button do nothing";

  for (const ListRow& row : kLists) window_.SetListEnabled(row.list, false);
  window_.SetCategoryEnabled(false);
  EXPECT_TRUE(label->isEnabled());
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(presses, 2);
  EXPECT_TRUE(seen_.empty());
}

TEST_F(MainWindowTest, TheLabelShowsItsTextInLightBlueUnderAHandPointer) {
  Show();
  const nb::shell::HomePageLabel* label = window_.HomeLabel();
  EXPECT_EQ(label->Text(), QStringLiteral("HOME.EXAMPLE V1.0"));
  EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
  EXPECT_FALSE(label->font().underline());

  const QImage image =
      window_.grab(QRect(label->mapTo(&window_, QPoint(0, 0)), label->size())).toImage();
  int text_pixels = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == QColor(128, 128, 255)) ++text_pixels;
    }
  }
  EXPECT_GT(text_pixels, 10) << "the glyphs' full strokes are RGB(128, 128, 255)";
}

}  // namespace
