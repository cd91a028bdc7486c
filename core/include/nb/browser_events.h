// The four selection events of the window and the handlers bound to them.
//
// Whoever realises BrowserView binds these. The list events run their handler
// at once; the category event is queued and runs once the window has finished
// handling the notification of the choice.
#pragma once

#include <functional>

namespace nb {

struct BrowserEventHandlers {
  std::function<void()> model_selected;
  std::function<void()> version_selected;
  std::function<void()> link_selected;
  std::function<void()> category_selected;
};

}  // namespace nb
