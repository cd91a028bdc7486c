#include "nb/startup_sequence.h"

#include "nb/catalogue_fetching.h"
#include "nb/navigation.h"
#include "nb/source_configuration.h"
#include "nb/system_texts.h"

namespace nb {

void RunStartupSequence(BrowserContext& context, StartupShell& shell, ConnectivityProbe& probe,
                        std::string_view probe_address) {
  BrowserView& view = context.view;
  shell.InstallAboutItem();
  if (!probe.ProbeConnectivity(probe_address)) {
    // The one failure the user is told of; there is no retry, and the window
    // is shown by whoever created it once this returns.
    view.ClearList(ListId::kModels);
    view.InsertListItem(ListId::kModels, 0, texts::kNoConnection);
    view.SetListEnabled(ListId::kModels, false);
    view.SetListEnabled(ListId::kVersions, false);
    view.SetListEnabled(ListId::kLinks, false);
    view.SetCategoryEnabled(false);
    return;
  }
  LoadSourceConfiguration(context);
  view.InsertListItem(ListId::kModels, 0, texts::kLoading);
  // Shown before the first catalogue is fetched, so the user sees the loading text.
  view.SetWindowVisible(true);
  view.SetListEnabled(ListId::kVersions, false);
  view.SetListEnabled(ListId::kLinks, false);
  shell.ApplyVisualStyle(kStartupVisualScheme);
  if (context.state.source_mode == 1) {
    LoadConfiguredCatalogue(context);
    return;
  }
  std::int32_t position = 0;
  for (std::string_view entry : kBuiltInCategoryEntries) view.InsertCategory(position++, entry);
  // Selecting raises no category event, so the catalogue is loaded once, here.
  view.SelectCategory(0);
  LoadBuiltInCatalogue(context);
}

BrowserEventHandlers SelectionHandlers(BrowserContext& context) {
  return {
      .model_selected = [&context] { OnModelSelected(context); },
      .version_selected = [&context] { OnVersionSelected(context); },
      .link_selected = [&context] { OnLinkSelected(context); },
      .category_selected = [&context] { OnCategorySelected(context); },
  };
}

void OnHomeLabelPressed(BrowserContext& context) {
  context.opener.OpenInBrowser(HomePageAddress(context.sources));
}

}  // namespace nb
