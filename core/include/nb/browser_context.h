// The one object handed to every handler of the catalogue core: it reaches the
// state, the window and the platform only through this, so the core holds no
// globals and a test can give each handler a view, a state and stand-in
// services of its own.
#pragma once

#include "nb/browser_state.h"
#include "nb/browser_view.h"
#include "nb/catalogue_sources.h"
#include "nb/platform_services.h"

namespace nb {

struct BrowserContext {
  BrowserState& state;
  BrowserView& view;
  WebFetcher& web;
  BrowserOpener& opener;
  const CatalogueSources& sources;
};

}  // namespace nb
