#include "byte_text.h"

#include <QStringDecoder>
#include <cstddef>

namespace nb::shell {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsLeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}
bool IsTrailByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// GB18030 is the only Chinese converter Qt can be relied on to offer (through
// ICU). It agrees with code page 936 on every two-byte pair, but also reads
// four-byte sequences that code page 936 does not have, so the text is cut
// into code-page-936 units first and only whole pairs go to the converter.
QString DecodePair(QStringDecoder& decoder, const char* pair) {
  if (!decoder.isValid()) return QString(kReplacement);
  QString decoded = decoder.decode(QByteArrayView(pair, 2));
  if (decoded.size() != 1 || decoded.front() == QChar(kReplacement)) return QString(kReplacement);
  return decoded;
}

}  // namespace

QString DecodeCp936(std::string_view bytes) {
  QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      text.append(QChar(byte));
      ++i;
    } else if (byte == 0x80) {
      // Windows' code page 936 gives the single byte 0x80 the euro sign.
      text.append(QChar(u'\u20AC'));
      ++i;
    } else if (IsLeadByte(byte) && i + 1 < bytes.size() &&
               IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      text.append(DecodePair(decoder, bytes.data() + i));
      i += 2;
    } else {
      // A lone lead byte or 0xFF: one replacement, and the next byte is read
      // on its own, so that no byte of the text is lost from view.
      text.append(QChar(kReplacement));
      ++i;
    }
  }
  return text;
}

QByteArray ToByteArray(std::string_view bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace nb::shell
