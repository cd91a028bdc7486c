// Start-up's remote configuration: which copy is used, what lands in the
// category box and in the category source table, and what stays on disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser_fixture.h"
#include "nb/file_bytes.h"
#include "nb/source_configuration.h"

namespace nb_test {
namespace {

const std::string kPrimaryConfig = std::string(kPrimary) + "/tools/config.ini";
const std::string kMirrorConfig = std::string(kMirror) + "/tools/config.ini";

class SourceConfiguration : public BrowserFixture {
 protected:
  std::vector<std::string> Slots(std::int32_t count) const {
    std::vector<std::string> slots;
    for (std::int32_t i = 0; i < count; ++i) {
      slots.emplace_back(state_->category_source_table.Read(i).value_or("refused"));
    }
    return slots;
  }
};

TEST_F(SourceConfiguration, FillsTheBoxAndTheTable) {
  struct Case {
    const char* name;
    std::string primary;
    std::string mirror;
    std::int32_t mode;
    std::vector<std::string> categories;
    std::vector<std::string> slots;  // of the categories shown, then one more
    bool mirror_asked;
  };
  const std::string usable =
      "[MENU]\r\n1=BB5\r\n2=\xC6\xE4\xCB\xFB\r\n[1]\r\nURL1=http://a/1.xml\r\n"
      "URL2=http://b/1.xml\r\n[2]\r\nURL1=http://a/2.xml\r\n";
  const std::vector<Case> cases = {
      {"a usable primary copy",
       usable,
       "[MENU]\n1=mirror\n",
       1,
       {"BB5", "\xC6\xE4\xCB\xFB"},
       {"http://a/1.xml,http://b/1.xml,", "http://a/2.xml,", ""},
       false},
      {"an error page from the primary",
       "<html><body>404 Not Found</body></html>",
       usable,
       1,
       {"BB5", "\xC6\xE4\xCB\xFB"},
       {"http://a/1.xml,http://b/1.xml,", "http://a/2.xml,", ""},
       true},
      {"both unreachable", "", "", 0, {}, {""}, true},
      {"an empty first name is not usable", "[MENU]\n1=\n2=x\n", "", 0, {}, {""}, true},
      {"numbering stops at the first gap",
       "[MENU]\n1=a\n2=b\n4=d\n[4]\nURL1=http://d/\n",
       "",
       1,
       {"a", "b"},
       {"", "", ""},
       false},
      {"addresses stop at the first gap",
       "[MENU]\n1=a\n[1]\nURL1=http://1/\nURL2=http://2/\nURL4=http://4/\n",
       "",
       1,
       {"a"},
       {"http://1/,http://2/,", ""},
       false},
      {"names match without regard to case",
       "[menu]\n1=a\n[1]\nurl1=http://1/\n",
       "",
       1,
       {"a"},
       {"http://1/,", ""},
       false},
      {"a comma in a value is kept",
       "[MENU]\n1=a\n[1]\nURL1=http://1/,http://2/\n",
       "",
       1,
       {"a"},
       {"http://1/,http://2/,", ""},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    *state_ = nb::BrowserState{};
    view_ = nb::InMemoryView();
    web_.requests.clear();
    web_.answers = {{kPrimaryConfig, c.primary}, {kMirrorConfig, c.mirror}};
    nb::LoadSourceConfiguration(context_);
    EXPECT_EQ(state_->source_mode, c.mode);
    EXPECT_EQ(view_.Categories(), c.categories);
    EXPECT_EQ(view_.CategorySelection(), c.categories.empty() ? -1 : 0);
    EXPECT_EQ(Slots(static_cast<std::int32_t>(c.slots.size())), c.slots);
    std::vector<std::string> requests = {kPrimaryConfig};
    if (c.mirror_asked) requests.push_back(kMirrorConfig);
    EXPECT_EQ(web_.requests, requests);
    EXPECT_EQ(nb::ReadFileBytes(sources_.config_file), c.mirror_asked ? c.mirror : c.primary)
        << "the last download stays on disk";
    EXPECT_EQ(view_.WindowVisible(), false);
  }
}

TEST_F(SourceConfiguration, CategoriesPastTheHundredthHaveNoSlot) {
  std::string ini = "[MENU]\n";
  for (int k = 1; k <= 101; ++k) ini += std::to_string(k) + "=c" + std::to_string(k) + "\n";
  for (int k = 1; k <= 101; ++k) {
    ini += "[" + std::to_string(k) + "]\nURL1=http://h/" + std::to_string(k) + "\n";
  }
  web_.answers[kPrimaryConfig] = ini;
  nb::LoadSourceConfiguration(context_);
  EXPECT_EQ(view_.CategoryCount(), 101);
  EXPECT_EQ(view_.Categories().back(), "c101");
  EXPECT_EQ(Slots(100).front(), "http://h/1,");
  EXPECT_EQ(Slots(100).back(), "http://h/100,");
  EXPECT_EQ(state_->category_source_table.Read(100), std::nullopt);
}

TEST_F(SourceConfiguration, TenThousandCategoriesLoad) {
  std::string ini = "[MENU]\n";
  constexpr int kCategories = 10'000;
  for (int k = 1; k <= kCategories; ++k) ini += std::to_string(k) + "=c" + std::to_string(k) + "\n";
  for (int k = 1; k <= kCategories; ++k) {
    ini += "[" + std::to_string(k) + "]\n";
    for (int b = 1; b <= 3; ++b)
      ini += "URL" + std::to_string(b) + "=http://h/" + std::to_string(b) + "\n";
  }
  web_.answers[kPrimaryConfig] = ini;
  nb::LoadSourceConfiguration(context_);
  EXPECT_EQ(view_.CategoryCount(), kCategories);
  EXPECT_EQ(Slots(100)[99], "http://h/1,http://h/2,http://h/3,");
}

}  // namespace
}  // namespace nb_test
