// The core's handlers bound to a window, for every window shell alike (Qt and
// Win32): the selection events, the home-page label, and the address the
// link list's 复制链接地址 copies.
#pragma once

#include <cstdint>
#include <string>

#include "nb/browser_context.h"
#include "nb/startup_sequence.h"

namespace nb::shell {

// `context` must outlive the window's handlers.
template <typename Window>
void BindCoreHandlers(Window& window, nb::BrowserContext& context) {
  window.BindEvents(nb::SelectionHandlers(context));
  window.SetHomeLabelHandler([&context] { nb::OnHomeLabelPressed(context); });
  window.SetLinkAddressLookup([&context](std::int32_t position) {
    return std::string(context.state.link_url_table.Read(position).value_or(""));
  });
}

}  // namespace nb::shell
