#include "nb/system_texts.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The spellings are char8_t literals, so they are UTF-8 whatever character set
// the compiler is told to use for ordinary literals.
std::string_view Utf8(std::u8string_view spelling) {
  return {reinterpret_cast<const char*>(spelling.data()), spelling.size()};
}

#if defined(_WIN32)
// The system's own code page tables, independent of how the constants were
// written.
std::optional<std::string> ToCodePage936(std::string_view utf8) {
  const int length = static_cast<int>(utf8.size());
  const int wide_length =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (wide_length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wide_length);
  BOOL lossy = FALSE;
  const int narrow_length =
      ::WideCharToMultiByte(936, 0, wide.data(), wide_length, nullptr, 0, nullptr, &lossy);
  if (narrow_length <= 0 || lossy) return std::nullopt;
  std::string output(static_cast<std::size_t>(narrow_length), '\0');
  ::WideCharToMultiByte(936, 0, wide.data(), wide_length, output.data(), narrow_length, nullptr,
                        nullptr);
  return output;
}
#else
// glibc's own converter, independent of how the constants were written.
std::optional<std::string> ToCodePage936(std::string_view utf8) {
  const iconv_t converter = iconv_open("CP936", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) return std::nullopt;
  std::string input(utf8);
  std::string output(4 * utf8.size() + 4, '\0');
  char* in = input.data();
  std::size_t in_left = input.size();
  char* out = output.data();
  std::size_t out_left = output.size();
  const std::size_t converted = iconv(converter, &in, &in_left, &out, &out_left);
  iconv_close(converter);
  if (converted == static_cast<std::size_t>(-1) || in_left != 0) return std::nullopt;
  output.resize(output.size() - out_left);
  return output;
}
#endif

TEST(SystemTextsTest, EachTextIsTheCodePage936EncodingOfItsChineseSpelling) {
  struct Row {
    const char* name;
    std::string_view constant;
    std::u8string_view spelling;
  };
  const Row rows[] = {
      {"kDownloadPage", nb::texts::kDownloadPage, u8"点此进入下载页"},
      {"kLoading", nb::texts::kLoading, u8"正在加载数据......"},
      {"kNoConnection", nb::texts::kNoConnection, u8"无法连接网络......"},
      {"kRecordCountPrefix", nb::texts::kRecordCountPrefix, u8"当前共有"},
      {"kRecordCountSuffix", nb::texts::kRecordCountSuffix, u8"条记录"},
      {"kRecordNumberPrefix", nb::texts::kRecordNumberPrefix, u8"第"},
      {"kRecordNumberSuffix", nb::texts::kRecordNumberSuffix, u8"条"},
      {"kAboutItem", nb::texts::kAboutItem, u8"关于此程序"},
      {"kAboutCaption", nb::texts::kAboutCaption, u8"关于"},
      {"kAboutText", nb::texts::kAboutText, u8"QELVOR TOOL V1.0"},
      {"kModelFrame", nb::texts::kModelFrame, u8"机型"},
      {"kVersionFrame", nb::texts::kVersionFrame, u8"版本"},
      {"kLinkFrame", nb::texts::kLinkFrame, u8"下载链接 "},
      {"kWindowCaption", nb::texts::kWindowCaption, u8"NOKIA手机资料查阅器 BY QELVOR"},
      {"kCopyLinkAddress", nb::texts::kCopyLinkAddress, u8"复制链接地址"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<std::string> encoded = ToCodePage936(Utf8(row.spelling));
    ASSERT_TRUE(encoded.has_value()) << "the converter cannot convert the spelling to CP936";
    EXPECT_EQ(row.constant, *encoded);
  }
}

}  // namespace
