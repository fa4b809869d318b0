#include "widgets/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "text/memory.h"

namespace {

constexpr const char* kCodec = "GB18030";

// One converter each way, created once; Stateless so that a trailing lone lead byte is not held back for a
// next call that never comes.
QStringDecoder& decoder() {
  static QStringDecoder d(kCodec, QStringConverter::Flag::Stateless);
  return d;
}

QStringEncoder& encoder() {
  static QStringEncoder e(kCodec, QStringConverter::Flag::Stateless);
  return e;
}

}  // namespace

QString toQString(TextView text) {
  if (text.empty()) return QString();
  // At most one UTF-16 unit per byte: a text the machine cannot hold twice over is refused up front.
  ensureMemoryFor(std::uint64_t{2} * text.size());
  return decoder().decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

Text fromQString(QStringView string) {
  if (string.isEmpty()) return Text();
  QString withoutZeros;
  if (string.contains(QChar(u'\0'))) {
    withoutZeros = string.toString();
    withoutZeros.remove(QChar(u'\0'));
    string = withoutZeros;
  }
  const QByteArray bytes = encoder().encode(string);
  return Text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
