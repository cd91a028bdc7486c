#include "home_page_label.h"

#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "byte_text.h"

namespace nb::shell {

namespace {

const QColor kTextColour(128, 128, 255);

}  // namespace

HomePageLabel::HomePageLabel(std::string_view text, QWidget* parent)
    : QWidget(parent), text_(DecodeCp936(text)) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  // The frame behind shows through: the label draws nothing but its text.
  setAutoFillBackground(false);
}

void HomePageLabel::SetPressHandler(std::function<void()> handler) {
  press_handler_ = std::move(handler);
}

QString HomePageLabel::Text() const {
  return text_;
}

void HomePageLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(kTextColour);
  // No Qt::TextShowMnemonic: an '&' in the address is drawn as it stands.
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}

void HomePageLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  event->accept();
  // A copy, so that a handler which replaces the handler finishes safely.
  const std::function<void()> handler = press_handler_;
  if (handler) handler();
}

}  // namespace nb::shell
