// Code-page-936 byte texts where a person reads them: decoded for display,
// with the original bytes kept beside, so that a text handed back to the core
// is byte-identical to the one it gave, also when it does not decode.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace nb::shell {

// The text for display; bytes that are no code-page-936 character show as
// U+FFFD.
QString DecodeCp936(std::string_view bytes);

QByteArray ToByteArray(std::string_view bytes);
std::string ToBytes(const QByteArray& bytes);

}  // namespace nb::shell
