// The behaviour every BrowserView realisation owes the catalogue core, written
// once against the interface. A realisation's own test file instantiates it:
//
//   class MyHarness final : public nb_test::ViewHarness { ... };
//   using nb_test::BrowserViewContract;  // the suite is matched by this bare name
//   INSTANTIATE_TEST_SUITE_P(MyView, BrowserViewContract,
//                            ::testing::Values(nb_test::ViewRealisation{
//                                "MyView", [] { return std::make_unique<MyHarness>(); }}),
//                            nb_test::ViewRealisationName);
//
// Each test gets a fresh harness, so a realisation starts every test with an
// empty, enabled window.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "nb/browser_view.h"

namespace nb_test {

// One realisation of BrowserView, with its events bound to a counter.
class ViewHarness {
 public:
  virtual ~ViewHarness() = default;
  // A fresh view: no items, no entries, nothing selected, everything enabled.
  virtual nb::BrowserView& View() = 0;
  // Lets every pending event (queued ones included) run, then yields how many
  // of the four selection events have been raised since the harness was made.
  virtual int EventsRaised() = 0;
};

using ViewHarnessFactory = std::function<std::unique_ptr<ViewHarness>()>;

// The three lists, named for failure messages; tests loop over them alike.
struct ListRow {
  const char* name;
  nb::ListId list;
};
inline constexpr ListRow kLists[] = {
    {"model list", nb::ListId::kModels},
    {"version list", nb::ListId::kVersions},
    {"link list", nb::ListId::kLinks},
};

struct ViewRealisation {
  std::string name;  // a test-name fragment: letters, digits and '_' only
  ViewHarnessFactory make_harness;
};

// Keeps GoogleTest from dumping the factory's bytes into failure messages.
void PrintTo(const ViewRealisation& realisation, std::ostream* out);
// Names the instantiated tests after the realisation.
std::string ViewRealisationName(const ::testing::TestParamInfo<ViewRealisation>& info);

class BrowserViewContract : public ::testing::TestWithParam<ViewRealisation> {
 protected:
  void SetUp() override;
  // Every test ends by proving that nothing it did raised an event.
  void TearDown() override;

  nb::BrowserView& view() { return harness_->View(); }
  int EventsRaised() { return harness_->EventsRaised(); }

 private:
  std::unique_ptr<ViewHarness> harness_;
};

}  // namespace nb_test
