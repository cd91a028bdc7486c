// Stand-ins for the platform's services: they answer from a table or as told,
// and record what the core asked of them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "nb/platform_services.h"

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

// Answers the connectivity probe as told, and records what it was asked.
class FixedProbe final : public nb::ConnectivityProbe {
 public:
  bool connected = true;
  std::vector<std::string> asked;
  bool ProbeConnectivity(std::string_view address) override {
    asked.emplace_back(address);
    return connected;
  }
};

}  // namespace nb_test
