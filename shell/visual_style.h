// The flat look of the application's combo boxes, their opened lists and its
// group boxes (and every other qualifying control: push buttons, check boxes,
// radio buttons, line edits, spin boxes), in one of three colour schemes.
#pragma once

#include <QColor>
#include <cstdint>

namespace nb::shell {

// Frame colours of combo boxes and opened lists: 1 blue RGB(123, 158, 189),
// 2 olive RGB(164, 185, 127), 3 silver RGB(198, 197, 215).
QColor VisualStyleFrameColour(std::int32_t scheme);
// Group boxes, in every scheme: RGB(191, 184, 191), corners cut.
inline const QColor kGroupBoxFrameColour{191, 184, 191};

// Schemes 1 to 3 switch the look on for every qualifying control of the
// application, also those created later, and yield true (switching on twice
// leaves one style in place). Any other number gives every control its own
// drawing back and yields whether a style was in place.
bool ApplyVisualStyle(std::int32_t scheme);

// The scheme in place, or 0 when the look is off.
std::int32_t CurrentVisualScheme();

}  // namespace nb::shell
