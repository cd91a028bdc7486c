// The Qt window owes the core the same view behaviour as every other
// realisation: the shared contract suite, run against the real widgets.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "browser_view_contract.h"
#include "main_window.h"

namespace {

class QtWindowHarness final : public nb_test::ViewHarness {
 public:
  QtWindowHarness() : window_("HOME.EXAMPLE V1.0") {
    const auto count = [this] { ++raised_; };
    window_.BindEvents({count, count, count, count});
  }
  nb::BrowserView& View() override { return window_; }
  int EventsRaised() override {
    // The category event is a posted event; let it (and anything else) run.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return raised_;
  }

 private:
  nb::shell::MainWindow window_;
  int raised_ = 0;
};

}  // namespace

using nb_test::BrowserViewContract;
INSTANTIATE_TEST_SUITE_P(QtMainWindow, BrowserViewContract,
                         ::testing::Values(nb_test::ViewRealisation{
                             "QtMainWindow", [] { return std::make_unique<QtWindowHarness>(); }}),
                         nb_test::ViewRealisationName);
