// The INI reader against the rules of the Windows profile reader: each table
// row is (file text, section, key, expected value).
#include "nb/ini_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "nb/file_bytes.h"
#include "temporary_folder.h"

namespace nb {
namespace {

struct Row {
  const char* rule;
  std::string text;
  std::string section;
  std::string key;
  std::string expected;
};

void CheckRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rule);
    EXPECT_EQ(IniFile::Parse(row.text).Value(row.section, row.key), row.expected);
  }
}

TEST(IniFile, NamesMatchWithoutRegardToAsciiCaseAndBlanks) {
  CheckRows({
      {"file in mixed case", "[Menu]\nuRl1=a\n", "MENU", "URL1", "a"},
      {"query in mixed case", "[MENU]\nURL1=a\n", "menu", "Url1", "a"},
      {"bytes from 0x80 are not folded", "[\xC0]\nk=v\n", "\xE0", "k", ""},
      {"bytes from 0x80 match exactly", "[\xC0]\nk=v\n", "\xC0", "k", "v"},
      {"blanks around the key name", "[s]\n \t key \t= v\n", "s", "key", "v"},
      {"blanks inside a key name stay", "[s]\na b=v\n", "s", "ab", ""},
      {"a key name with a blank inside", "[s]\na b=v\n", "s", "a b", "v"},
      {"blanks inside the brackets", "[ \ts\t ]\nk=v\n", "s", "k", "v"},
      {"blanks before the bracket", " \t[s]\nk=v\n", "s", "k", "v"},
      {"blanks around the queried names", "[s]\nk=v\n", " s\t", "\tk ", "v"},
      {"text after the bracket", "[s] ; note\nk=v\n", "s", "k", "v"},
      {"the last bracket ends the name", "[a]b]\nk=v\n", "a]b", "k", "v"},
      {"a bracket without its end is a key", "[s]\n[k=v\n", "s", "[k", "v"},
      {"an empty section name is never found", "[]\nk=v\n", "", "k", ""},
      {"a blank section name is never found", "[ ]\nk=v\n", " ", "k", ""},
      {"keys before the first section", "k=v\n[s]\n", "s", "k", ""},
      {"a key of an earlier section", "[s]\nk=v\n[t]\n", "t", "k", ""},
  });
}

TEST(IniFile, ValuesLoseBlanksAndOnePairOfQuotes) {
  CheckRows({
      {"blanks around the value", "[s]\nk= \t v w \t\n", "s", "k", "v w"},
      {"double quotes", "[s]\nk=\"v\"\n", "s", "k", "v"},
      {"single quotes", "[s]\nk='v'\n", "s", "k", "v"},
      {"blanks inside the quotes stay", "[s]\nk=  \" v \"  \n", "s", "k", " v "},
      {"only one pair", "[s]\nk=\"\"v\"\"\n", "s", "k", "\"v\""},
      {"mismatched quotes", "[s]\nk=\"v'\n", "s", "k", "\"v'"},
      {"opening quote only", "[s]\nk=\"v\n", "s", "k", "\"v"},
      {"closing quote only", "[s]\nk=v'\n", "s", "k", "v'"},
      {"one lone quote", "[s]\nk=\"\n", "s", "k", "\""},
      {"empty quotes", "[s]\nk=''\n", "s", "k", ""},
      {"quotes inside", "[s]\nk=a\"b\"\n", "s", "k", "a\"b\""},
      {"an equals sign in the value", "[s]\nk=a=b\n", "s", "k", "a=b"},
      {"a semicolon in the value", "[s]\nk=a;b\n", "s", "k", "a;b"},
      {"an empty value", "[s]\nk=\n", "s", "k", ""},
      {"commas stay", "[s]\nk=http://a/1,http://a/2\n", "s", "k", "http://a/1,http://a/2"},
  });
}

TEST(IniFile, LinesEndAtCrLfOrCrLf) {
  CheckRows({
      {"LF", "[s]\nk=v\nj=w\n", "s", "j", "w"},
      {"CR LF leaves no CR", "[s]\r\nk=v\r\nj=w\r\n", "s", "k", "v"},
      {"CR alone", "[s]\rk=v\rj=w\r", "s", "j", "w"},
      {"mixed", "[s]\rk=v\r\nj=w\nh=x", "s", "h", "x"},
      {"CR CR LF", "[s]\r\r\nk=v\r\r\n", "s", "k", "v"},
      {"no final line break", "[s]\nk=v", "s", "k", "v"},
  });
}

TEST(IniFile, IgnoredLinesShadowNothing) {
  CheckRows({
      {"comment line", "[s]\n;k=v\nk=w\n", "s", "k", "w"},
      {"comment after blanks", "[s]\n \t;k=v\nk=w\n", "s", "k", "w"},
      {"a commented section", "[s]\n;[t]\nk=v\n", "s", "k", "v"},
      {"a line without an equals sign", "[s]\nk\nk=v\n", "s", "k", "v"},
      {"blank lines", "\n\n[s]\n\n \t\nk=v\n", "s", "k", "v"},
  });
}

TEST(IniFile, OnlyTheFirstOfDuplicatesCounts) {
  CheckRows({
      {"duplicate key", "[s]\nk=first\nk=second\n", "s", "k", "first"},
      {"the first wins even when empty", "[s]\nk=\nk=second\n", "s", "k", ""},
      {"duplicate key in other case", "[s]\nK=first\nk=second\n", "s", "k", "first"},
      {"duplicate section", "[s]\nk=first\n[S]\nk=second\n", "s", "k", "first"},
      {"keys only in a repeated section", "[s]\nk=v\n[t]\n[s]\nj=w\n", "s", "j", ""},
      {"sections after a repeat", "[s]\n[s]\n[t]\nk=v\n", "t", "k", "v"},
  });
}

TEST(IniFile, MissingPartsReadAsEmpty) {
  CheckRows({
      {"empty text", "", "s", "k", ""},
      {"missing section", "[s]\nk=v\n", "t", "k", ""},
      {"missing key", "[s]\nk=v\n", "s", "j", ""},
      {"a prefix of the key", "[s]\nkey=v\n", "s", "ke", ""},
      {"a longer key", "[s]\nk=v\n", "s", "kk", ""},
  });
}

// The reader sees bytes, as the Windows reader does on a single-byte code
// page: a trailing byte of a GBK character that equals ']' or an ASCII letter
// acts as one. (0x3D '=' is not a GBK trailing byte; a lead byte before it is
// malformed text, and the '=' still splits the line.)
TEST(IniFile, Gbk) {
  CheckRows({
      {"GBK bytes come back unchanged", "[s]\nk=\xC4\xE3\xBA\xC3\n", "s", "k", "\xC4\xE3\xBA\xC3"},
      {"GBK section and key", "[\xB2\xE2]\n\xCA\xD4=v\n", "\xB2\xE2", "\xCA\xD4", "v"},
      {"an ideographic space is no blank", "[s]\nk=\xA1\xA1v\xA1\xA1\n", "s", "k",
       "\xA1\xA1v\xA1\xA1"},
      {"trailing ']' inside the brackets", "[\x81\x5D]\nk=v\n", "\x81]", "k", "v"},
      {"trailing ']' closes an unclosed header", "[\x81\x5D\nk=v\n", "\x81", "k", "v"},
      {"trailing '[' in a key", "[s]\n\x81\x5B=v\n", "s", "\x81[", "v"},
      {"'=' after a lead byte splits", "[s]\n\x81=v\n", "s", "\x81", "v"},
      {"trailing letters fold like ASCII", "[\x81\x41]\nk=v\n", "\x81\x61", "k", "v"},
  });
}

TEST(IniFile, ValuesAreCutTo10239Bytes) {
  const std::string exact(IniFile::kMaxValueBytes, 'x');
  CheckRows({
      {"10239 bytes", "[s]\nk=" + exact + "\n", "s", "k", exact},
      {"10240 bytes", "[s]\nk=" + exact + "y\n", "s", "k", exact},
      {"20000 bytes", "[s]\nk=" + std::string(20000, 'x') + "\n", "s", "k", exact},
      {"quotes go before the cut", "[s]\nk=\"" + exact + "\"\n", "s", "k", exact},
      {"quoted 10240 bytes", "[s]\nk='" + exact + "y'\n", "s", "k", exact},
      {"blanks go before the cut", "[s]\nk=   " + exact + "y   \n", "s", "k", exact},
      {"the cut may split a GBK character", "[s]\nk=" + exact.substr(1) + "\xC4\xE3\n", "s", "k",
       exact.substr(1) + "\xC4"},
  });
}

// The configuration's own shape at a size far beyond what any server sends:
// parsing and the lookups the source configuration makes stay fast.
TEST(IniFile, TenThousandCategories) {
  constexpr int kCategories = 10000;
  std::string text = "[MENU]\r\n";
  for (int k = 1; k <= kCategories; ++k) {
    text += std::to_string(k) + "=Category " + std::to_string(k) + "\r\n";
  }
  for (int k = 1; k <= kCategories; ++k) {
    text += "[" + std::to_string(k) + "]\r\n";
    for (int b = 1; b <= 3; ++b) {
      text += "URL" + std::to_string(b) + "=http://h/" + std::to_string(k) + "/" +
              std::to_string(b) + ".xml\r\n";
    }
  }
  const IniFile ini = IniFile::Parse(text);

  int categories = 0;
  int addresses = 0;
  for (int k = 1;; ++k) {
    const std::string name = ini.Value("menu", std::to_string(k));
    if (name.empty()) break;
    ++categories;
    for (int b = 1;; ++b) {
      const std::string address = ini.Value(std::to_string(k), "url" + std::to_string(b));
      if (address.empty()) break;
      ++addresses;
    }
  }
  EXPECT_EQ(categories, kCategories);
  EXPECT_EQ(addresses, 3 * kCategories);
  EXPECT_EQ(ini.Value("MENU", "10000"), "Category 10000");
  EXPECT_EQ(ini.Value("9999", "URL3"), "http://h/9999/3.xml");
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.empty()); }
  nb_test::TemporaryFolder temporary_;
  const std::filesystem::path& folder_ = temporary_.path();
};

TEST_F(IniFileOnDisk, ReadsWhatWasWritten) {
  const std::filesystem::path file = folder_ / "Temp.temp";
  ASSERT_TRUE(WriteFileBytes(file, "[MENU]\r\n1=BB5\r\n"));
  EXPECT_EQ(ReadIniValue(file, "MENU", "1"), "BB5");
  EXPECT_EQ(ReadIniFile(file).Value("menu", "1"), "BB5");
  EXPECT_EQ(ReadIniValue(file, "MENU", "2"), "");
}

TEST_F(IniFileOnDisk, MissingFilesAndLinksReadAsEmpty) {
  const std::filesystem::path real = folder_ / "real.ini";
  ASSERT_TRUE(WriteFileBytes(real, "[MENU]\n1=BB5\n"));
  const std::filesystem::path link = folder_ / "link.ini";
  if (!nb_test::MakeSymlink(real, link)) GTEST_SKIP() << nb_test::kNoSymlinkReason;
  EXPECT_EQ(ReadIniValue(link, "MENU", "1"), "");
  EXPECT_EQ(ReadIniValue(folder_ / "missing.ini", "MENU", "1"), "");
  EXPECT_EQ(ReadIniValue(folder_, "MENU", "1"), "");
}

}  // namespace
}  // namespace nb
