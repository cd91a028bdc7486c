// browser-bench: the whole browser, offscreen, against loopback servers that
// serve generated catalogues of about 10 MB and 100 MB. It times what a user
// waits for — program start to the window shown, a category choice to the
// model list filled and the status bar set, a model choice to its versions
// listed — beside the fetch of the same bytes alone and the reader's load
// alone, so the cost the window adds is visible.
#include <httplib.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QListWidget>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "browser_session.h"
#include "catalogue_generator.h"
#include "curl_web_fetcher.h"
#include "nb/catalogue_document.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Notes when the window is first shown.
class ShowWatcher final : public QObject {
 public:
  Clock::time_point shown{};
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && shown == Clock::time_point{}) shown = Clock::now();
    return QObject::eventFilter(watched, event);
  }
};

class DiscardingOpener final : public nb::BrowserOpener {
 public:
  void OpenInBrowser(std::string_view) override {}
};

struct Catalogue {
  std::string name;
  std::string path;
  std::string bytes;
};

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);

  std::vector<Catalogue> catalogues = {
      {"generated-10MB", "/tools/c10.xml", nb::bench::GenerateCatalogue(10'000'000, 20100801)},
      {"generated-100MB", "/tools/c100.xml", nb::bench::GenerateCatalogue(100'000'000, 20100801)},
  };

  httplib::Server server;
  std::string config = "[MENU]\r\n";
  for (std::size_t i = 0; i < catalogues.size(); ++i) {
    config += std::to_string(i + 1) + "=" + catalogues[i].name + "\r\n";
  }
  const int port = server.bind_to_any_port("127.0.0.1");
  const std::string origin = "http://127.0.0.1:" + std::to_string(port);
  for (std::size_t i = 0; i < catalogues.size(); ++i) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely on "[" + string.
    config.append("[").append(std::to_string(i + 1)).append("]\r\nURL1=");
    config.append(origin).append(catalogues[i].path).append("\r\n");
    const std::string* bytes = &catalogues[i].bytes;
    server.Get(catalogues[i].path, [bytes](const httplib::Request&, httplib::Response& res) {
      res.set_content(*bytes, "application/xml");
    });
  }
  server.Get("/tools/config.ini", [&config](const httplib::Request&, httplib::Response& res) {
    res.set_content(config, "text/plain");
  });
  server.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok", "text/plain");
  });
  std::thread listener([&server] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  const std::string folder = "/tmp/browser-bench-" + std::to_string(::getpid());
  nb::shell::BrowserSettings settings;
  settings.sources = {origin, origin, std::filesystem::path(folder) / "Temp.temp"};
  settings.probe_address = origin + "/";
  std::filesystem::create_directories(folder);

  nb::CurlWebFetcher web;
  DiscardingOpener opener;
  ShowWatcher watcher;

  // Start: the configuration, the window shown, then the first catalogue.
  const auto start = Clock::now();
  nb::shell::BrowserSession session(settings, web, web, opener);
  nb::shell::MainWindow& window = session.window();
  window.installEventFilter(&watcher);
  session.LoadMainWindow();
  std::printf("start: window shown after %.1f ms, first catalogue (%s) listed after %.1f ms\n",
              std::chrono::duration<double, std::milli>(watcher.shown - start).count(),
              catalogues[0].name.c_str(), MillisecondsSince(start));

  QComboBox* box = window.CategoryBox();
  QListWidget* models = window.List(nb::ListId::kModels);
  QListWidget* versions = window.List(nb::ListId::kVersions);
  for (std::size_t i = 0; i < catalogues.size(); ++i) {
    const Catalogue& catalogue = catalogues[i];
    // The user picks the category by keyboard; its event is queued behind
    // the key press, as in the running program. The box is put next to the
    // entry first, so that one key press chooses it.
    const int entry = static_cast<int>(i);
    box->setFocus();
    box->setCurrentIndex(entry == 0 ? 1 : entry - 1);
    const auto choice = Clock::now();
    QTest::keyClick(box, entry == 0 ? Qt::Key_Up : Qt::Key_Down);
    QCoreApplication::sendPostedEvents();
    const double to_models = MillisecondsSince(choice);
    const int model_count = models->count();

    const auto model_choice = Clock::now();
    QTest::keyClick(models, Qt::Key_Home);
    const double to_versions = MillisecondsSince(model_choice);

    const auto fetch_start = Clock::now();
    const std::string fetched = web.WebFetch(origin + catalogue.path);
    const double fetch = MillisecondsSince(fetch_start);
    nb::CatalogueDocument document;
    const auto load_start = Clock::now();
    document.LoadFromBytes(fetched);
    const double load = MillisecondsSince(load_start);

    std::printf(
        "%s: category to models %.1f ms (fetch alone %.1f ms, load alone %.1f ms, window adds "
        "%.1f ms), model to versions %.2f ms\n",
        catalogue.name.c_str(), to_models, fetch, load, to_models - fetch - load, to_versions);
    std::printf("  %.1f MB, %d models listed, %d versions of the first, fetched %zu bytes\n",
                static_cast<double>(catalogue.bytes.size()) / 1e6, model_count, versions->count(),
                fetched.size());
  }

  server.stop();
  listener.join();
  std::filesystem::remove_all(folder);
  return 0;
}
