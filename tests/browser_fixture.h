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
#include "temporary_folder.h"

namespace nb_test {

class ScriptedWeb final : public nb::WebFetcher {
 public:
  // Unlisted addresses answer with the empty block, as a failed fetch does.
  std::map<std::string, std::string, std::less<>> answers;
  std::vector<std::string> requests;
  // Runs inside each fetch, to look at the window while the fetch blocks it.
  std::function<void()> during_fetch;

  std::string WebFetch(std::string_view address) override {
    requests.emplace_back(address);
    if (during_fetch) during_fetch();
    const auto found = answers.find(address);
    return found == answers.end() ? std::string() : found->second;
  }
};

class RecordingOpener final : public nb::BrowserOpener {
 public:
  std::vector<std::string> opened;
  void OpenInBrowser(std::string_view address) override { opened.emplace_back(address); }
};

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
