// The conversion between the program's texts and Qt's strings: any string the user can type comes back
// unchanged through the bytes (a zero character is dropped), and any bytes convert without harm and are
// stable after one round.
#include <QList>
#include <QString>
#include <cstdlib>

#include "widgets/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes as a text.
  const Text bytes(reinterpret_cast<const char*>(data), size);
  const Text once = fromQString(toQString(bytes));
  if (once.find('\0') != Text::npos) std::abort();
  if (fromQString(toQString(once)) != once) std::abort();

  // The bytes as UTF-16 code units: a string a user could type, once lone surrogates are made whole.
  QString typed;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    typed.append(QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8)));
  const QList<uint> codePoints = typed.toUcs4();  // lone surrogates become U+FFFD
  typed = QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.data()), codePoints.size());
  QString expected = typed;
  expected.remove(QChar(u'\0'));
  if (toQString(fromQString(typed)) != expected) std::abort();
  return 0;
}
