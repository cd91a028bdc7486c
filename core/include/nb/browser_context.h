// The one object handed to every handler of the catalogue core: it reaches the
// state and the window only through this, so the core holds no globals and a
// test can give each handler a view and a state of its own.
#pragma once

#include "nb/browser_state.h"
#include "nb/browser_view.h"

namespace nb {

struct BrowserContext {
  BrowserState& state;
  BrowserView& view;
};

}  // namespace nb
