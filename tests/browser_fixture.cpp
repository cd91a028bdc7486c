#include "browser_fixture.h"

#include "nb/catalogue_fetching.h"
#include "nb/navigation.h"

namespace nb_test {

BrowserFixture::BrowserFixture() {
  sources_.primary_server = kPrimary;
  sources_.mirror_server = kMirror;
  sources_.config_file = folder_.path() / "Temp.temp";
}

void BrowserFixture::BindHandlers() {
  view_.BindEvents({
      .model_selected = [this] { nb::OnModelSelected(context_); },
      .version_selected = [this] { nb::OnVersionSelected(context_); },
      .link_selected = [this] { nb::OnLinkSelected(context_); },
      .category_selected = [this] { nb::OnCategorySelected(context_); },
  });
}

std::string BrowserFixture::Catalogue(int models, int versions, int links) {
  std::string out = "<catalogue>\r\n";
  for (int m = 1; m <= models; ++m) {
    const std::string model = "m" + std::to_string(m);
    out += " <model value=\"" + model + "\">";
    for (int v = 1; v <= versions; ++v) {
      const std::string version = model + "v" + std::to_string(v);
      out += "<version value=\"" + version + "\">";
      for (int k = 1; k <= links; ++k) {
        out += "<link value=\"http://dl.test/" + version + "l" + std::to_string(k) + "\"/>";
      }
      out += "</version>";
    }
    out += "</model>\r\n";
  }
  return out + "</catalogue>";
}

}  // namespace nb_test
