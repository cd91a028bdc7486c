#include "about_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string_view>

#include "nb/system_texts.h"

namespace {

QString Decode(std::string_view bytes) {
  QStringDecoder decoder("GB18030");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

struct SeenBox {
  bool found = false;
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  qsizetype button_count = 0;
  bool ok_button = false;
  Qt::WindowModality modality = Qt::NonModal;
  bool has_parent = true;
};

// ShowAboutBox blocks in the box's own loop, so the inspection runs from
// inside that loop and ends it with a click on OK.
void InspectModalBoxSoon(SeenBox& seen, int attempts_left) {
  QTimer::singleShot(10, [&seen, attempts_left] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (attempts_left > 0) InspectModalBoxSoon(seen, attempts_left - 1);
      return;
    }
    seen.found = true;
    seen.text = box->text();
    seen.caption = box->windowTitle();
    seen.icon = box->icon();
    seen.button_count = box->buttons().size();
    seen.ok_button = box->button(QMessageBox::Ok) != nullptr;
    seen.modality = box->windowModality();
    seen.has_parent = box->parentWidget() != nullptr;
    if (QAbstractButton* ok = box->button(QMessageBox::Ok); ok != nullptr) {
      QTest::mouseClick(ok, Qt::LeftButton);
    } else {
      box->reject();
    }
  });
}

TEST(AboutBoxTest, ShowsTheInformationBoxModalForTheApplicationUntilOkCloses) {
  SeenBox seen;
  InspectModalBoxSoon(seen, 200);
  nb::shell::ShowAboutBox();

  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, QStringLiteral("QELVOR TOOL V1.0"));
  EXPECT_EQ(seen.text, Decode(nb::texts::kAboutText));
  EXPECT_EQ(seen.caption, QString::fromUtf8(u8"关于"));
  EXPECT_EQ(seen.caption, Decode(nb::texts::kAboutCaption));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_EQ(seen.button_count, 1);
  EXPECT_TRUE(seen.ok_button);
  EXPECT_EQ(seen.modality, Qt::ApplicationModal);
  EXPECT_FALSE(seen.has_parent);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AboutBoxTest, ApplicationIconShowsSpannerPhoneScreenAndDiscOnTransparency) {
  const QIcon icon = nb::shell::ApplicationIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
  const QImage image = icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(image.size(), QSize(32, 32));
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0);

  // Enough opaque pixels of each part's colour to make it out.
  const struct {
    const char* part;
    std::function<bool(const QColor&)> matches;
  } parts[] = {
      {"gold spanner",
       [](const QColor& c) { return c.red() > 190 && c.green() > 130 && c.blue() < 90; }},
      {"dark blue phone",
       [](const QColor& c) { return c.blue() > 80 && c.blue() > c.red() + 50 && c.green() < 60; }},
      {"green screen",
       [](const QColor& c) {
         return c.green() > 170 && c.green() > c.red() + 60 && c.blue() < 100;
       }},
      {"silver disc",
       [](const QColor& c) {
         return c.red() > 150 && qAbs(c.red() - c.green()) < 12 && qAbs(c.green() - c.blue()) < 20;
       }},
  };
  for (const auto& part : parts) {
    int count = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const QColor colour = QColor::fromRgba(image.pixel(x, y));
        if (colour.alpha() == 255 && part.matches(colour)) ++count;
      }
    }
    EXPECT_GE(count, 12) << part.part;
  }
}

}  // namespace
