// Conversions between the core's code page 936 byte texts and the UTF-16
// texts of the W functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace nb::windows {

// Catalogue and configuration texts are GBK bytes whatever the user's ANSI
// code page is, so the page is named rather than taken from CP_ACP.
inline constexpr UINT kCatalogueCodePage = 936;

namespace detail {

inline std::wstring Widen(std::string_view text, DWORD flags) {
  if (text.empty() || text.size() > 0x7fffffff) return {};
  const int length = static_cast<int>(text.size());
  const int wide_length =
      ::MultiByteToWideChar(kCatalogueCodePage, flags, text.data(), length, nullptr, 0);
  if (wide_length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  if (::MultiByteToWideChar(kCatalogueCodePage, flags, text.data(), length, wide.data(),
                            wide_length) != wide_length) {
    return {};
  }
  return wide;
}

}  // namespace detail

// Empty for the empty text and for bytes that are not valid in the page:
// a mangled address must not turn into some other address.
inline std::wstring WideFromCatalogueText(std::string_view text) {
  return detail::Widen(text, MB_ERR_INVALID_CHARS);
}

// For display only: bytes that are not valid in the page still show as
// something, while whoever shows them keeps the original bytes.
inline std::wstring DisplayTextFromCatalogue(std::string_view text) {
  return detail::Widen(text, 0);
}

inline std::string CatalogueTextFromWide(std::wstring_view wide) {
  if (wide.empty() || wide.size() > 0x7fffffff) return {};
  const int length = static_cast<int>(wide.size());
  const int narrow_length = ::WideCharToMultiByte(kCatalogueCodePage, 0, wide.data(), length,
                                                  nullptr, 0, nullptr, nullptr);
  if (narrow_length <= 0) return {};
  std::string narrow(static_cast<std::size_t>(narrow_length), '\0');
  if (::WideCharToMultiByte(kCatalogueCodePage, 0, wide.data(), length, narrow.data(),
                            narrow_length, nullptr, nullptr) != narrow_length) {
    return {};
  }
  return narrow;
}

}  // namespace nb::windows
