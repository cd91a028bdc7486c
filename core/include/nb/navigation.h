// From a model to its versions, from a version to its links, from a link to
// the web browser.
#pragma once

#include "nb/browser_context.h"

namespace nb {

// The handler of the model list's selection: lists the chosen model's versions.
void OnModelSelected(BrowserContext& context);
// The handler of the version list's selection: lists the chosen version's
// links and stores their addresses.
void OnVersionSelected(BrowserContext& context);
// The handler of the link list's selection: opens the link when its item shows
// the download-page text.
void OnLinkSelected(BrowserContext& context);

}  // namespace nb
