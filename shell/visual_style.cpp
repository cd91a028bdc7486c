#include "visual_style.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

namespace nb::shell {
namespace {

// The popup of a combo box is a private Qt class; its name is the only handle on it.
bool IsComboPopup(const QWidget* widget) {
  return widget != nullptr && widget->inherits("QComboBoxPrivateContainer");
}

// Exactly the qualifying controls: list views, status bars and custom widgets
// reach the same primitives (a checkable list item draws a check box, for
// one), so everything else must fall through to the base drawing.
bool Qualifies(const QWidget* widget) {
  return qobject_cast<const QPushButton*>(widget) != nullptr ||
         qobject_cast<const QCheckBox*>(widget) != nullptr ||
         qobject_cast<const QRadioButton*>(widget) != nullptr ||
         qobject_cast<const QGroupBox*>(widget) != nullptr ||
         qobject_cast<const QLineEdit*>(widget) != nullptr ||
         qobject_cast<const QComboBox*>(widget) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(widget) != nullptr || IsComboPopup(widget);
}

// Only a disabled control shades its frame, so that the scheme colour stays
// exact wherever the control can be used.
QColor StateFrameColour(QColor colour, QStyle::State state) {
  return (state & QStyle::State_Enabled) ? colour : colour.lighter(115);
}

void DrawFlatFrame(QPainter* painter, const QRect& rect, const QColor& colour) {
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(colour);
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->restore();
}

class FlatVisualStyle final : public QProxyStyle {
 public:
  FlatVisualStyle(QStyle* base, std::int32_t scheme) : QProxyStyle(base), scheme_(scheme) {}

  void SetScheme(std::int32_t scheme) { scheme_ = scheme; }
  std::int32_t Scheme() const { return scheme_; }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (!Qualifies(widget)) {
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
    }
    switch (element) {
      case PE_PanelButtonCommand:
        if (qobject_cast<const QPushButton*>(widget) != nullptr) {
          DrawButtonPanel(option, painter);
          return;
        }
        break;
      case PE_FrameDefaultButton:
        if (qobject_cast<const QPushButton*>(widget) != nullptr) return;
        break;
      case PE_IndicatorCheckBox:
        DrawCheckIndicator(option, painter);
        return;
      case PE_IndicatorRadioButton:
        DrawRadioIndicator(option, painter);
        return;
      case PE_PanelLineEdit:
        if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
            frame != nullptr && frame->lineWidth > 0) {
          painter->fillRect(option->rect, option->palette.base());
          DrawFlatFrame(painter, option->rect, Colour(option->state));
          return;
        }
        break;
      case PE_FrameLineEdit:
        DrawFlatFrame(painter, option->rect, Colour(option->state));
        return;
      default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    QProxyStyle::drawControl(element, option, painter, widget);
    // The opened list keeps the base look inside and gets the scheme's frame
    // on the one-pixel margin its container reserves around the list.
    if (element == CE_ShapedFrame && IsComboPopup(widget)) {
      DrawFlatFrame(painter, option->rect, Colour(option->state));
    }
  }

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    if (Qualifies(widget)) {
      if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
          combo != nullptr && control == CC_ComboBox) {
        DrawComboBox(combo, painter, widget);
        return;
      }
      if (const auto* group = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
          group != nullptr && control == CC_GroupBox) {
        DrawGroupBox(group, painter, widget);
        return;
      }
      if (const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option);
          spin != nullptr && control == CC_SpinBox) {
        DrawSpinBox(spin, painter, widget);
        return;
      }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
  }

 private:
  QColor Colour(State state) const {
    return StateFrameColour(VisualStyleFrameColour(scheme_), state);
  }

  static QBrush PanelBrush(const QStyleOption* option) {
    if (option->state & (State_Sunken | State_On)) {
      return option->palette.button().color().darker(110);
    }
    if ((option->state & State_MouseOver) && (option->state & State_Enabled)) {
      return option->palette.button().color().lighter(104);
    }
    return option->palette.button();
  }

  void DrawButtonPanel(const QStyleOption* option, QPainter* painter) const {
    painter->fillRect(option->rect, PanelBrush(option));
    DrawFlatFrame(painter, option->rect, Colour(option->state));
  }

  void DrawCheckIndicator(const QStyleOption* option, QPainter* painter) const {
    const QRect box = option->rect;
    painter->fillRect(box, option->palette.base());
    DrawFlatFrame(painter, box, Colour(option->state));
    const QColor mark = option->palette.text().color();
    painter->save();
    if (option->state & State_NoChange) {
      painter->fillRect(box.adjusted(3, 3, -3, -3), mark);
    } else if (option->state & State_On) {
      painter->setRenderHint(QPainter::Antialiasing, true);
      painter->setPen(QPen(mark, 1.6));
      const QRectF r = QRectF(box).adjusted(3, 3, -3, -3);
      const QPointF points[] = {{r.left(), r.center().y()},
                                {r.left() + r.width() * 0.4, r.bottom()},
                                {r.right(), r.top()}};
      painter->drawPolyline(points, 3);
    }
    painter->restore();
  }

  void DrawRadioIndicator(const QStyleOption* option, QPainter* painter) const {
    // An aliased ring keeps its pixels in the exact scheme colour.
    const QRect ring = option->rect.adjusted(0, 0, -1, -1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Colour(option->state));
    painter->setBrush(option->palette.base());
    painter->drawEllipse(ring);
    if (option->state & State_On) {
      painter->setRenderHint(QPainter::Antialiasing, true);
      painter->setPen(Qt::NoPen);
      painter->setBrush(option->palette.text());
      const QRectF dot = QRectF(ring).adjusted(0.5, 0.5, 0.5, 0.5);
      const qreal inset = dot.width() * 0.3;
      painter->drawEllipse(dot.adjusted(inset, inset, -inset, -inset));
    }
    painter->restore();
  }

  void DrawComboBox(const QStyleOptionComboBox* combo, QPainter* painter,
                    const QWidget* widget) const {
    painter->fillRect(combo->rect, combo->editable ? combo->palette.base() : PanelBrush(combo));
    DrawFlatFrame(painter, combo->rect, Colour(combo->state));
    if (combo->subControls & SC_ComboBoxArrow) {
      QStyleOption arrow = *combo;
      arrow.rect = subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
      arrow.state &= ~(State_Sunken | State_On);
      proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
    }
  }

  void DrawSpinBox(const QStyleOptionSpinBox* spin, QPainter* painter,
                   const QWidget* widget) const {
    if (spin->frame) painter->fillRect(spin->rect, spin->palette.base());
    const QColor colour = Colour(spin->state);
    const struct {
      SubControl part;
      PrimitiveElement arrow;
      QAbstractSpinBox::StepEnabledFlag step;
    } buttons[] = {{SC_SpinBoxUp, PE_IndicatorArrowUp, QAbstractSpinBox::StepUpEnabled},
                   {SC_SpinBoxDown, PE_IndicatorArrowDown, QAbstractSpinBox::StepDownEnabled}};
    for (const auto& button : buttons) {
      if (!(spin->subControls & button.part) || spin->buttonSymbols == QAbstractSpinBox::NoButtons)
        continue;
      QStyleOption part = *spin;
      part.rect = subControlRect(CC_SpinBox, spin, button.part, widget);
      if (!(spin->stepEnabled & button.step)) part.state &= ~State_Enabled;
      painter->fillRect(part.rect, spin->palette.button());
      painter->save();
      painter->setPen(colour);
      painter->drawLine(part.rect.topLeft(), part.rect.bottomLeft());
      painter->restore();
      proxy()->drawPrimitive(button.arrow, &part, painter, widget);
    }
    if (spin->frame) DrawFlatFrame(painter, spin->rect, colour);
  }

  // Frame and caption only: the contents rectangle, the check box of a
  // checkable group and the label's hit area keep the base geometry.
  void DrawGroupBox(const QStyleOptionGroupBox* group, QPainter* painter,
                    const QWidget* widget) const {
    const QRect frame = subControlRect(CC_GroupBox, group, SC_GroupBoxFrame, widget);
    QRect label = subControlRect(CC_GroupBox, group, SC_GroupBoxLabel, widget);
    const bool has_caption = (group->subControls & SC_GroupBoxLabel) && !group->text.isEmpty();
    const bool checkable = (group->subControls & SC_GroupBoxCheckBox) != 0;
    if (has_caption && !checkable && (group->textAlignment & Qt::AlignLeft)) {
      label.moveLeft(group->rect.left() + 9);
    }
    // The caption sits across the top edge, centred on it vertically; the
    // base style may put it above the frame, so the edge comes down to it.
    const bool edge_through_label = has_caption || checkable;
    const int top = edge_through_label ? std::max(frame.top(), label.center().y()) : frame.top();
    const QRect caption = label;
    QRect gap =
        checkable ? caption.united(subControlRect(CC_GroupBox, group, SC_GroupBoxCheckBox, widget))
                  : caption;
    gap.adjust(-2, 0, 2, 0);

    if (!(group->features & QStyleOptionFrame::Flat) || has_caption) {
      painter->save();
      painter->setRenderHint(QPainter::Antialiasing, false);
      painter->setPen(kGroupBoxFrameColour);
      const int left = frame.left();
      const int right = frame.right();
      const int bottom = frame.bottom();
      if (edge_through_label) {
        if (gap.left() > left + 1) painter->drawLine(left + 1, top, gap.left() - 1, top);
        if (gap.right() < right - 1) painter->drawLine(gap.right() + 1, top, right - 1, top);
      } else {
        painter->drawLine(left + 1, top, right - 1, top);
      }
      if (!(group->features & QStyleOptionFrame::Flat)) {
        painter->drawLine(left + 1, bottom, right - 1, bottom);
        painter->drawLine(left, top + 1, left, bottom - 1);
        painter->drawLine(right, top + 1, right, bottom - 1);
      }
      painter->restore();
    }

    if (checkable) {
      QStyleOption box = *group;
      box.rect = subControlRect(CC_GroupBox, group, SC_GroupBoxCheckBox, widget);
      proxy()->drawPrimitive(PE_IndicatorCheckBox, &box, painter, widget);
    }
    if (has_caption) {
      painter->save();
      painter->setPen(group->textColor.isValid() ? group->textColor
                                                 : group->palette.windowText().color());
      const int alignment = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic;
      painter->drawText(caption, alignment, group->text);
      painter->restore();
    }
  }

  std::int32_t scheme_;
};

// One style per application: the proxy in place, and the style it stands in
// for, owned by the proxy rather than the application, so that setting the
// proxy does not delete it and restoring hands back the very same object.
struct StyleState {
  QPointer<FlatVisualStyle> flat;
  QPointer<QStyle> previous;
};

StyleState& State() {
  static StyleState state;
  return state;
}

bool InPlace() {
  const StyleState& state = State();
  return state.flat != nullptr && QApplication::style() == state.flat;
}

void RepaintAll() {
  for (QWidget* widget : QApplication::allWidgets()) widget->update();
}

}  // namespace

QColor VisualStyleFrameColour(std::int32_t scheme) {
  switch (scheme) {
    case 1:
      return {123, 158, 189};
    case 2:
      return {164, 185, 127};
    case 3:
      return {198, 197, 215};
    default:
      return {};
  }
}

bool ApplyVisualStyle(std::int32_t scheme) {
  StyleState& state = State();
  const bool on = scheme >= 1 && scheme <= 3;
  if (on && InPlace()) {
    state.flat->SetScheme(scheme);
    RepaintAll();
    return true;
  }
  if (on) {
    QStyle* current = QApplication::style();
    // The proxy draws over a fresh instance of the same style: a QProxyStyle
    // takes its base style for good, and the current one must stay intact.
    QStyle* base = QStyleFactory::create(current->name());
    if (base == nullptr) base = QStyleFactory::create(QStringLiteral("Fusion"));
    state.flat = new FlatVisualStyle(base, scheme);
    current->setParent(state.flat);
    state.previous = current;
    QApplication::setStyle(state.flat);
    return true;
  }
  if (!InPlace()) return false;
  if (state.previous != nullptr) {
    QApplication::setStyle(state.previous);
  } else {
    QApplication::setStyle(QStyleFactory::create(state.flat->baseStyle()->name()));
  }
  state.previous = nullptr;
  return true;
}

std::int32_t CurrentVisualScheme() {
  return InPlace() ? State().flat->Scheme() : 0;
}

}  // namespace nb::shell
