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
// (No four-byte sequence can form from whole pairs: its second byte would be
// a digit, which is no trail byte.) One converter serves the whole run, since
// opening one costs far more than decoding an item and the window decodes
// every item it shows; being stateless, one call never leaks into the next.
QStringDecoder& Gb18030() {
  static QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
  return decoder;
}

// Decodes `pairs` whole pairs starting at `run`, appending one character each.
void AppendPairs(QString& text, const char* run, std::size_t pairs) {
  QStringDecoder& decoder = Gb18030();
  if (decoder.isValid()) {
    const QString decoded = decoder.decode(QByteArrayView(run, static_cast<qsizetype>(2 * pairs)));
    if (static_cast<std::size_t>(decoded.size()) == pairs) {
      text.append(decoded);
      return;
    }
  }
  // A converter that is missing, or that did not give one character a pair:
  // pair by pair, a replacement for each pair it cannot give.
  for (std::size_t k = 0; k < pairs; ++k) {
    const QString decoded =
        decoder.isValid() ? decoder.decode(QByteArrayView(run + 2 * k, 2)) : QString();
    text.append(decoded.size() == 1 ? decoded.front() : QChar(kReplacement));
  }
}

}  // namespace

QString DecodeCp936(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  auto pair_at = [&](std::size_t i) {
    return IsLeadByte(at(i)) && i + 1 < bytes.size() && IsTrailByte(at(i + 1));
  };
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char byte = at(i);
    if (byte < 0x80) {
      std::size_t end = i + 1;
      while (end < bytes.size() && at(end) < 0x80) ++end;
      text.append(QLatin1String(bytes.data() + i, static_cast<qsizetype>(end - i)));
      i = end;
    } else if (byte == 0x80) {
      // Windows' code page 936 gives the single byte 0x80 the euro sign.
      text.append(QChar(u'\u20AC'));
      ++i;
    } else if (pair_at(i)) {
      std::size_t end = i + 2;
      while (end < bytes.size() && pair_at(end)) end += 2;
      AppendPairs(text, bytes.data() + i, (end - i) / 2);
      i = end;
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
