// What happens between the window's creation and its first catalogue: the
// About item, the connectivity check, the remote configuration, the loading
// text, the window shown, the flat style and the first load. Toolkit-free, so
// every window shell runs the same sequence and the tests run it in memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "nb/browser_context.h"
#include "nb/browser_events.h"

namespace nb {

// What one build of the program is pointed at: the catalogue servers and the
// address the start-up requests to learn whether the network is reachable.
struct BrowserSettings {
  CatalogueSources sources;
  std::string probe_address;
};

// What the start-up needs from the window beyond BrowserView.
class StartupShell {
 public:
  virtual ~StartupShell() = default;
  // Offers the About item (关于此程序) to the user.
  virtual void InstallAboutItem() = 0;
  // Switches the flat look on in scheme 1, 2 or 3, or off for any other number.
  virtual bool ApplyVisualStyle(std::int32_t scheme) = 0;
};

// The scheme the start-up switches on: silver.
inline constexpr std::int32_t kStartupVisualScheme = 3;

// The built-in categories as the category box shows them, by position.
inline constexpr std::string_view kBuiltInCategoryEntries[] = {"BB5", "DCT4/WD2", "PHOENIX",
                                                               "Care Suite"};

// The handler of the window's created event, run while the window is hidden.
void RunStartupSequence(BrowserContext& context, StartupShell& shell, ConnectivityProbe& probe,
                        std::string_view probe_address);

// The handlers every window shell binds to its four selection events: the
// lists to the navigation, the category box to the catalogue fetching. They
// keep a reference to `context`, which must outlive them.
BrowserEventHandlers SelectionHandlers(BrowserContext& context);

// The handler of a press of the left button on the home-page label.
void OnHomeLabelPressed(BrowserContext& context);

}  // namespace nb
