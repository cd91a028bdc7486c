// The About box: "QELVOR TOOL V1.0", captioned "关于", with the information
// icon and one OK button, modal for the whole application; and the
// application's icon.
#pragma once

#include <QIcon>

class QWidget;

namespace nb::shell {

// Returns when the box has been closed.
void ShowAboutBox();

// The 32 x 32 application icon: a gold spanner, a dark blue phone with a
// green screen and a silver disc.
QIcon ApplicationIcon();

}  // namespace nb::shell
