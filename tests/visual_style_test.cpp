#include "visual_style.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace {

using nb::shell::ApplyVisualStyle;
using nb::shell::CurrentVisualScheme;
using nb::shell::kGroupBoxFrameColour;
using nb::shell::VisualStyleFrameColour;

// Every test leaves the look off, whatever it asserts, because the other
// tests of this binary expect the default drawing.
class VisualStyleTest : public ::testing::Test {
 protected:
  void TearDown() override { ApplyVisualStyle(0); }
};

QImage Grab(QWidget& widget) {
  widget.ensurePolished();
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Rgb(const QColor& colour) {
  return colour.rgb();
}

bool Contains(const QImage& image, const QColor& colour) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == Rgb(colour)) return true;
    }
  }
  return false;
}

// A widget that paints itself, like the window's home-page label.
class SelfDrawn final : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::yellow);
    QStyleOptionButton box;
    box.initFrom(this);
    box.rect = QRect(2, 2, 13, 13);
    box.state |= QStyle::State_On;
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, this);
  }
};

TEST_F(VisualStyleTest, SwitchingOnTwiceKeepsOneStyleAndOffReportsWhetherOneWasInPlace) {
  QStyle* const original = QApplication::style();
  ASSERT_EQ(CurrentVisualScheme(), 0);

  EXPECT_TRUE(ApplyVisualStyle(3));
  EXPECT_TRUE(ApplyVisualStyle(3));
  EXPECT_EQ(CurrentVisualScheme(), 3);
  const auto* flat = qobject_cast<QProxyStyle*>(QApplication::style());
  ASSERT_NE(flat, nullptr);
  EXPECT_EQ(qobject_cast<QProxyStyle*>(flat->baseStyle()), nullptr) << "proxies stacked";

  EXPECT_TRUE(ApplyVisualStyle(1));
  EXPECT_EQ(CurrentVisualScheme(), 1);
  EXPECT_EQ(QApplication::style(), flat) << "a new scheme replaces the colours only";

  EXPECT_TRUE(ApplyVisualStyle(0));
  EXPECT_EQ(CurrentVisualScheme(), 0);
  EXPECT_EQ(QApplication::style(), original);
  EXPECT_FALSE(ApplyVisualStyle(0));
  EXPECT_FALSE(ApplyVisualStyle(4));
  EXPECT_FALSE(ApplyVisualStyle(-1));
  EXPECT_EQ(QApplication::style(), original);
}

TEST_F(VisualStyleTest, CombosTheirOpenedListsAndGroupBoxesWearTheSchemeFrames) {
  const struct {
    std::int32_t scheme;
    QColor frame;
  } rows[] = {{1, QColor(123, 158, 189)}, {2, QColor(164, 185, 127)}, {3, QColor(198, 197, 215)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.scheme);
    EXPECT_EQ(VisualStyleFrameColour(row.scheme), row.frame);
    ASSERT_TRUE(ApplyVisualStyle(row.scheme));
    EXPECT_EQ(CurrentVisualScheme(), row.scheme);

    for (const bool editable : {false, true}) {
      SCOPED_TRACE(editable ? "editable" : "drop-down list");
      QComboBox combo;
      combo.setEditable(editable);
      combo.addItems({"BB5", "DCT4/WD2", "PHOENIX"});
      combo.resize(150, 24);
      const QImage image = Grab(combo);
      const int middle = image.height() / 2;
      EXPECT_EQ(image.pixel(0, middle), Rgb(row.frame));
      EXPECT_EQ(image.pixel(image.width() - 1, middle), Rgb(row.frame));
      EXPECT_EQ(image.pixel(image.width() / 2, 0), Rgb(row.frame));
      EXPECT_EQ(image.pixel(image.width() / 2, image.height() - 1), Rgb(row.frame));

      combo.show();
      combo.showPopup();
      QWidget* popup = combo.view()->parentWidget();
      ASSERT_NE(popup, nullptr);
      const QImage list = Grab(*popup);
      EXPECT_EQ(list.pixel(0, list.height() / 2), Rgb(row.frame));
      EXPECT_EQ(list.pixel(list.width() / 2, list.height() - 1), Rgb(row.frame));
      combo.hidePopup();
    }

    // The group box frame does not follow the scheme.
    QGroupBox group(QStringLiteral("H"));
    group.resize(120, 80);
    QPalette palette = group.palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    group.setPalette(palette);
    const QImage image = Grab(group);
    int top = -1;
    for (int y = 0; y < image.height() && top < 0; ++y) {
      if (image.pixel(1, y) == Rgb(kGroupBoxFrameColour)) top = y;
    }
    ASSERT_GT(top, 0) << "the top edge runs through the caption, below the box's top";
    const int bottom = image.height() - 1;
    EXPECT_EQ(image.pixel(0, (top + bottom) / 2), Rgb(kGroupBoxFrameColour));
    EXPECT_EQ(image.pixel(image.width() - 1, (top + bottom) / 2), Rgb(kGroupBoxFrameColour));
    EXPECT_EQ(image.pixel(image.width() / 2, bottom), Rgb(kGroupBoxFrameColour));
    EXPECT_NE(image.pixel(0, top), Rgb(kGroupBoxFrameColour)) << "corners are cut";
    EXPECT_NE(image.pixel(0, bottom), Rgb(kGroupBoxFrameColour)) << "corners are cut";
    EXPECT_EQ(image.pixel(4, top), Rgb(kGroupBoxFrameColour));
    EXPECT_NE(image.pixel(10, top), Rgb(kGroupBoxFrameColour)) << "the caption cuts the edge";

    // The caption is drawn in the text colour and starts 9 pixels in.
    int first_red = -1;
    for (int x = 0; x < image.width() && first_red < 0; ++x) {
      for (int y = 0; y < top + 8 && y < image.height(); ++y) {
        const QColor pixel(image.pixel(x, y));
        if (pixel.red() > 200 && pixel.green() < 120 && pixel.blue() < 120) first_red = x;
      }
    }
    EXPECT_GE(first_red, 9);
    EXPECT_LE(first_red, 11);
  }
}

TEST_F(VisualStyleTest, ReachesEveryQualifyingControlExistingOrCreatedLater) {
  const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> controls{
      {"push button", [] { return std::make_unique<QPushButton>("OK"); }},
      {"check box",
       [] {
         auto box = std::make_unique<QCheckBox>("check");
         box->setChecked(true);
         return box;
       }},
      {"radio button", [] { return std::make_unique<QRadioButton>("radio"); }},
      {"line edit", [] { return std::make_unique<QLineEdit>("text"); }},
      {"spin box", [] { return std::make_unique<QSpinBox>(); }},
  };
  const QColor frame = VisualStyleFrameColour(2);
  for (const auto& [name, make] : controls) {
    SCOPED_TRACE(name);
    const std::unique_ptr<QWidget> existing = make();
    existing->resize(existing->sizeHint());
    EXPECT_FALSE(Contains(Grab(*existing), frame));

    ASSERT_TRUE(ApplyVisualStyle(2));
    const std::unique_ptr<QWidget> later = make();
    later->resize(later->sizeHint());
    EXPECT_TRUE(Contains(Grab(*existing), frame));
    EXPECT_TRUE(Contains(Grab(*later), frame));
    ASSERT_TRUE(ApplyVisualStyle(0));
  }
}

TEST_F(VisualStyleTest, ListsStatusBarsAndSelfDrawnWidgetsKeepTheirOwnDrawing) {
  QListWidget list;
  list.addItems({"6300", "N95", "E71"});
  auto* checkable = new QListWidgetItem("checkable", &list);
  checkable->setCheckState(Qt::Checked);
  list.setCurrentRow(1);
  list.resize(140, 120);
  QStatusBar status;
  status.setSizeGripEnabled(false);
  status.showMessage(QStringLiteral("records"));
  status.resize(300, 22);
  SelfDrawn label;
  label.resize(60, 20);
  const std::vector<QWidget*> widgets{&list, &status, &label};

  std::vector<QImage> before;
  for (QWidget* widget : widgets) before.push_back(Grab(*widget));
  ASSERT_TRUE(ApplyVisualStyle(3));
  for (std::size_t i = 0; i < widgets.size(); ++i) {
    EXPECT_EQ(Grab(*widgets[i]), before[i]) << widgets[i]->metaObject()->className();
  }
}

TEST_F(VisualStyleTest, AMessageBoxShownAfterSwitchingOnHasAFlatButton) {
  ASSERT_TRUE(ApplyVisualStyle(3));
  QMessageBox box(QMessageBox::Information, "caption", "text", QMessageBox::Ok);
  box.show();
  QAbstractButton* button = box.button(QMessageBox::Ok);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->style(), QApplication::style());
  const QImage image = Grab(*button);
  EXPECT_EQ(image.pixel(0, image.height() / 2), Rgb(VisualStyleFrameColour(3)));
  box.hide();
}

TEST_F(VisualStyleTest, SwitchingOffRestoresTheOriginalDrawingAndGeometry) {
  QComboBox combo;
  combo.addItems({"BB5", "PHOENIX"});
  QGroupBox group(QStringLiteral("frame"));
  QPushButton button(QStringLiteral("OK"));
  QSpinBox spin;
  const std::vector<QWidget*> widgets{&combo, &group, &button, &spin};
  std::vector<QImage> before;
  std::vector<QSize> hints;
  for (QWidget* widget : widgets) {
    widget->resize(widget == &group ? QSize(120, 80) : widget->sizeHint());
    before.push_back(Grab(*widget));
    hints.push_back(widget->sizeHint());
  }

  ASSERT_TRUE(ApplyVisualStyle(3));
  for (std::size_t i = 0; i < widgets.size(); ++i) {
    SCOPED_TRACE(widgets[i]->metaObject()->className());
    EXPECT_NE(Grab(*widgets[i]), before[i]);
    EXPECT_EQ(widgets[i]->sizeHint(), hints[i]);
  }
  ASSERT_TRUE(ApplyVisualStyle(0));
  for (std::size_t i = 0; i < widgets.size(); ++i) {
    SCOPED_TRACE(widgets[i]->metaObject()->className());
    EXPECT_EQ(Grab(*widgets[i]), before[i]);
  }
}

}  // namespace
