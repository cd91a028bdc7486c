// nokia-catalogue, run in-process: its output, its exit status, and its
// answers to bad arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue_tool.h"
#include "http_test_servers.h"

namespace nb::tool {
namespace {

const std::string kCatalogue =
    "<c>\r\n <m value=\"N95\"><v value=\"V 21\">"
    "<l value=\"http://h/d?a=1&amp;b=2\"> \xCF\xC2\xD4\xD8 </l><l value=\"http://h/e\"/>"
    "</v></m>\r\n <m value=\"6300\"/>\r\n <m value=\"E71\"/>\r\n</c>";

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args, const std::string& input = kCatalogue) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunCatalogueTool(args, in, out, err);
  return {status, out.str(), err.str()};
}

TEST(CatalogueTool, AnswersQueriesFromStandardInput) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{"check", "-"}, "ok: 3 models\n"},
      {{"count", "-"}, "0\n"},
      {{"count", "-", "1"}, "3\n"},
      {{"count", "-", "1", "1", "1"}, "2\n"},
      {{"count", "-", "1", "-1"}, "0\n"},
      {{"count", "-", "1", "4"}, "0\n"},
      {{"text", "-", "1", "1", "1", "1"}, "\xCF\xC2\xD4\xD8\n"},
      {{"text", "-", "1", "1", "1", "2"}, "\n"},
      {{"attr", "-", "value", "1", "2"}, "6300\n"},
      {{"attr", "-", "value", "1", "1", "1", "1"}, "http://h/d?a=1&b=2\n"},
      {{"attr", "-", "value"}, "\n"},
      {{"attr", "-", "missing", "1", "1"}, "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
  }
}

TEST(CatalogueTool, MalformedCatalogues) {
  const std::string broken = "<c>\n<m></M>\n</c>";
  const ToolRun check = RunTool({"check", "-"}, broken);
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(check.out, "malformed: end tag does not match the open element at line 2, column 4\n");

  // Queries never fail: they answer as the browser would, from an empty document.
  const ToolRun count = RunTool({"count", "-", "1"}, broken);
  EXPECT_EQ(count.status, 0);
  EXPECT_EQ(count.out, "0\n");

  const ToolRun tree = RunTool({"tree", "-"}, broken);
  EXPECT_EQ(tree.status, 1);
  EXPECT_EQ(tree.out, "");
  EXPECT_NE(tree.err.find("malformed: end tag does not match"), std::string::npos);
}

TEST(CatalogueTool, TreeShowsEveryModelVersionAndLink) {
  const std::string expected =
      "[1,1] value=\"N95\"\n"
      "  [1,1,1] value=\"V 21\"\n"
      "    [1,1,1,1] value=\"http://h/d?a=1&b=2\" text=\"\xCF\xC2\xD4\xD8\"\n"
      "    [1,1,1,2] value=\"http://h/e\" text=\"\"\n"
      "[1,2] value=\"6300\"\n"
      "[1,3] value=\"E71\"\n";
  EXPECT_EQ(RunTool({"tree", "-"}).out, expected);

  const ToolRun utf8 = RunTool({"tree", "-", "--utf8"});
  EXPECT_EQ(utf8.status, 0);
  EXPECT_NE(utf8.out.find("text=\"\xE4\xB8\x8B\xE8\xBD\xBD\""), std::string::npos)
      << "下载 in UTF-8";
  EXPECT_NE(
      RunTool({"tree", "-", "--utf8"}, "<c><m value=\"\x81 \"/></c>").out.find("\xEF\xBF\xBD"),
      std::string::npos)
      << "a byte that is no character shows as U+FFFD";
}

TEST(CatalogueTool, ReadsFilesByPath) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "nokia-catalogue-test.xml";
  std::ofstream(file, std::ios::binary) << kCatalogue;
  EXPECT_EQ(RunTool({"check", file.string()}, "").out, "ok: 3 models\n");
  std::filesystem::remove(file);

  const ToolRun missing = RunTool({"check", file.string()}, "");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
  const ToolRun directory = RunTool({"count", std::filesystem::temp_directory_path().string()}, "");
  EXPECT_EQ(directory.status, 2);
}

TEST(CatalogueTool, ReadsConfigurationsAsTheBrowserDoes) {
  const std::string config =
      "[menu]\r\n1 = BB5\r\n2=\"\xC6\xE4\xCB\xFB\"\r\n[1]\r\nURL1=http://a/1.xml\r\n"
      "url2=http://b/1.xml\r\n";
  EXPECT_EQ(RunTool({"ini", "-", "MENU", "2"}, config).out, "\xC6\xE4\xCB\xFB\n");
  EXPECT_EQ(RunTool({"ini", "-", "MENU", "9"}, config).out, "\n");
  EXPECT_EQ(RunTool({"sources", "-"}, config).out,
            "mode 1\n0\tBB5\thttp://a/1.xml,http://b/1.xml,\n1\t\xC6\xE4\xCB\xFB\t\n");
  EXPECT_EQ(RunTool({"sources", "-"}, "<html>404</html>").out, "mode 0\n");
}

TEST(CatalogueTool, FetchWritesTheBodyTheBrowserWouldGet) {
  nb::test::HttpTestServer server;
  ASSERT_TRUE(server.started());
  const ToolRun missing = RunTool({"fetch", "-v", server.Address("/missing")});
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.out, nb::test::kNotFoundBody) << "an error page is a body like any other";
  EXPECT_NE(missing.err.find("status: 404"), std::string::npos);
  EXPECT_NE(missing.err.find("bytes: " + std::to_string(nb::test::kNotFoundBody.size())),
            std::string::npos);

  const ToolRun refused = RunTool({"fetch", "-v", "file:///etc/passwd"});
  EXPECT_EQ(refused.status, 0);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("(not requested)"), std::string::npos);
}

TEST(CatalogueTool, UsageErrorsAreOneLineAndStatusTwo) {
  const std::vector<std::vector<std::string>> misuses = {
      {},
      {"frobnicate", "-"},
      {"check"},
      {"check", "-", "1"},
      {"attr", "-"},
      {"count", "-", "x1"},
      {"count", "-", "1.5"},
      {"count", "-", ""},
      {"count", "-", "99999999999"},
      {"text", "-", "--utf8"},
      {"ini", "-", "MENU"},
      {"sources"},
      {"sources", "-", "extra"},
      {"fetch"},
      {"fetch", "http://a/", "http://b/"},
  };
  for (const auto& args : misuses) {
    SCOPED_TRACE(testing::PrintToString(args));
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("nokia-catalogue: ", 0), 0u);
  }
}

}  // namespace
}  // namespace nb::tool
