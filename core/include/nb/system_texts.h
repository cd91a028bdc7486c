// The texts the program itself shows or compares, as code-page-936 bytes.
//
// Everything the core handles is a byte text in code page 936; these literals
// are spelled as bytes so that no source-file encoding or compiler setting can
// change them. tests/system_texts_test.cpp proves each one equals the
// code-page-936 encoding of its Chinese spelling.
#pragma once

#include <string_view>

namespace nb::texts {

// 点此进入下载页: shown for a link with no label, and the mark of a link that opens.
inline constexpr std::string_view kDownloadPage =
    "\xB5\xE3\xB4\xCB\xBD\xF8\xC8\xEB\xCF\xC2\xD4\xD8\xD2\xB3";
// 正在加载数据......: the model list while a catalogue is on its way.
inline constexpr std::string_view kLoading =
    "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xCA\xFD\xBE\xDD......";
// 无法连接网络......: the model list when the connectivity probe failed.
inline constexpr std::string_view kNoConnection =
    "\xCE\xDE\xB7\xA8\xC1\xAC\xBD\xD3\xCD\xF8\xC2\xE7......";
// 当前共有 + count + 条记录: status panel 0.
inline constexpr std::string_view kRecordCountPrefix = "\xB5\xB1\xC7\xB0\xB9\xB2\xD3\xD0";
inline constexpr std::string_view kRecordCountSuffix = "\xCC\xF5\xBC\xC7\xC2\xBC";
// 第 + number + 条: status panel 1.
inline constexpr std::string_view kRecordNumberPrefix = "\xB5\xDA";
inline constexpr std::string_view kRecordNumberSuffix = "\xCC\xF5";
// 关于此程序: the About item of the system menu.
inline constexpr std::string_view kAboutItem = "\xB9\xD8\xD3\xDA\xB4\xCB\xB3\xCC\xD0\xF2";
// 关于: the About box's caption.
inline constexpr std::string_view kAboutCaption = "\xB9\xD8\xD3\xDA";
// QELVOR TOOL V1.0: the About box's text.
inline constexpr std::string_view kAboutText = "QELVOR TOOL V1.0";
// Captions of the three list frames: 机型, 版本, and 下载链接 with its trailing blank.
inline constexpr std::string_view kModelFrame = "\xBB\xFA\xD0\xCD";
inline constexpr std::string_view kVersionFrame = "\xB0\xE6\xB1\xBE";
inline constexpr std::string_view kLinkFrame = "\xCF\xC2\xD4\xD8\xC1\xB4\xBD\xD3 ";
// NOKIA手机资料查阅器 BY QELVOR: the window's caption.
inline constexpr std::string_view kWindowCaption =
    "NOKIA\xCA\xD6\xBB\xFA\xD7\xCA\xC1\xCF\xB2\xE9\xD4\xC4\xC6\xF7 BY QELVOR";
// 复制链接地址: the link list's context-menu item that copies an address.
inline constexpr std::string_view kCopyLinkAddress =
    "\xB8\xB4\xD6\xC6\xC1\xB4\xBD\xD3\xB5\xD8\xD6\xB7";

}  // namespace nb::texts
