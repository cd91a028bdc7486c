// A whole catalogue core on the in-memory view, with stand-in platform
// services that answer from a table and record what was asked of them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "nb/browser_context.h"
#include "nb/in_memory_view.h"
#include "stand_in_services.h"
#include "temporary_folder.h"

namespace nb_test {

inline constexpr std::string_view kPrimary = "http://primary.test";
inline constexpr std::string_view kMirror = "http://mirror.test";

class BrowserFixture : public ::testing::Test {
 protected:
  BrowserFixture();

  // A catalogue of `models` models, model m holding `versions` versions,
  // each holding `links` links; every value names its position ("m2v1l3").
  static std::string Catalogue(int models, int versions, int links);
  // Binds the view's four events to the core's handlers.
  void BindHandlers();

  TemporaryFolder folder_;
  std::unique_ptr<nb::BrowserState> state_ = nb::CreateBrowserState();
  nb::InMemoryView view_;
  ScriptedWeb web_;
  RecordingOpener opener_;
  nb::CatalogueSources sources_;
  nb::BrowserContext context_{*state_, view_, web_, opener_, sources_};
};

}  // namespace nb_test
