#include "text/text.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "text/fatal.h"
#include "text/memory.h"

namespace {

bool opensTwoByteCharacter(unsigned char byte) {
  return byte >= 0x80;
}

// Length of the character starting at `i`: 1 or 2, or 0 when it is a cut-off character at the end.
std::size_t characterLength(TextView t, std::size_t i) {
  if (!opensTwoByteCharacter(static_cast<unsigned char>(t[i]))) return 1;
  return i + 1 < t.size() ? 2 : 0;
}

unsigned char foldAsciiCapital(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

bool matchesAt(TextView t, std::size_t i, TextView find, bool matchCase) {
  if (matchCase) return std::memcmp(t.data() + i, find.data(), find.size()) == 0;
  for (std::size_t k = 0; k < find.size(); ++k) {
    if (foldAsciiCapital(static_cast<unsigned char>(t[i + k])) !=
        foldAsciiCapital(static_cast<unsigned char>(find[k])))
      return false;
  }
  return true;
}

// Room for `bytes` bytes in a text, or the allocation report when memory cannot be had.
void reserveOrFail(Text& text, std::uint64_t bytes) {
  if (bytes >= text.max_size()) allocationFailed(bytes + 1);
  ensureMemoryFor(bytes + 1);
  try {
    text.reserve(static_cast<std::size_t>(bytes));
  } catch (const std::bad_alloc&) {
    allocationFailed(bytes + 1);
  } catch (const std::length_error&) {
    allocationFailed(bytes + 1);
  }
}

// Appends to a growing text, doubling its room so that building a text of n bytes costs O(n).
void appendGrowing(Text& out, TextView piece) {
  const std::size_t needed = out.size() + piece.size();
  if (needed > out.capacity()) reserveOrFail(out, std::max(needed, out.capacity() * 2));
  out.append(piece);
}

// The next position in [from, last] whose byte can begin a match of a text starting with `first`: the byte
// itself or, when letter case is ignored and it is a letter, its other case. `last` + 1 when there is none.
// memchr does the skipping, so that long stretches without a candidate cost next to nothing.
std::size_t nextCandidate(TextView t, std::size_t from, std::size_t last, unsigned char first,
                          bool matchCase) {
  if (from > last) return last + 1;
  const char* begin = t.data() + from;
  const std::size_t length = last - from + 1;
  const unsigned char folded = foldAsciiCapital(first);
  const bool bothCases = !matchCase && folded >= 'a' && folded <= 'z';
  const auto* hit = static_cast<const char*>(std::memchr(begin, bothCases ? folded : first, length));
  if (bothCases) {
    const auto* upper = static_cast<const char*>(std::memchr(begin, folded - ('a' - 'A'), length));
    if (!hit || (upper && upper < hit)) hit = upper;
  }
  return hit ? static_cast<std::size_t>(hit - t.data()) : last + 1;
}

// Whether position p begins a character, given that `known` (<= p) does. The position after a byte below
// 0x80 always begins one (that byte was a character or ended one); from there, bytes of 0x80 and above pair
// up, so p begins a character when an even number of them stands right before it.
bool beginsCharacter(TextView t, std::size_t known, std::size_t p) {
  std::size_t k = p;
  while (k > known && opensTwoByteCharacter(static_cast<unsigned char>(t[k - 1]))) --k;
  return (p - k) % 2 == 0;
}

// The two functions below read eight bytes as one little-endian number: the first byte is the lowest.
static_assert(std::endian::native == std::endian::little);

// Whether the eight bytes at p are all "0" to "9".
bool allDigits(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  return (x & 0xF0F0F0F0F0F0F0F0u) == 0x3030303030303030u &&
         ((x + 0x0606060606060606u) & 0xF0F0F0F0F0F0F0F0u) == 0x3030303030303030u;
}

// The value of eight decimal digits at p, the first the most significant.
std::uint32_t eightDigits(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  x -= 0x3030303030303030u;
  x = x * 10 + (x >> 8);  // pairs of digits
  x = (((x & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
       (((x >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >>
      32;
  return static_cast<std::uint32_t>(x);
}

}  // namespace

Text reserveText(std::uint64_t bytes) {
  Text out;
  reserveOrFail(out, bytes);
  return out;
}

Text joinText(std::initializer_list<TextView> parts) {
  std::size_t total = 0;
  for (TextView p : parts) total += p.size();
  Text out;
  reserveOrFail(out, total);
  for (TextView p : parts) out.append(p);
  return out;
}

bool textEquals(TextView a, TextView b) {
  return a == b;
}

std::int32_t textToInt(TextView text) {
  // Full-width forms read as their one-byte counterparts. The converted text is produced one character at a
  // time, as far as the parse reads it: it stops at the first byte that is no digit.
  std::size_t at = 0;
  auto nextByte = [&text, &at]() -> int {
    const std::size_t len = at < text.size() ? characterLength(text, at) : 0;
    if (len == 0) return -1;  // the end, or a cut-off character there, which is dropped
    const auto lead = static_cast<unsigned char>(text[at]);
    at += len;
    if (len == 1) return lead;
    const auto trail = static_cast<unsigned char>(text[at - 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return trail - 0x80;
    if (lead == 0xA1 && trail == 0xA1) return ' ';
    if (lead == 0xA1 && trail == 0xAB) return '~';
    if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) return '*';
    return lead;  // any other two-byte character: its first byte already ends the number
  };

  auto isBlank = [](int c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); };
  // One-byte blanks are passed over directly; the conversion is only needed from the first other byte on.
  while (at < text.size() && isBlank(static_cast<unsigned char>(text[at]))) ++at;
  int c = nextByte();
  while (isBlank(c)) c = nextByte();
  bool negative = false;
  if (c == '-' || c == '+') {
    negative = c == '-';
    c = nextByte();
  }
  std::uint32_t value = 0;  // unsigned arithmetic wraps modulo 2^32 as the conversion requires
  while (c >= '0' && c <= '9') {
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
    // Runs of one-byte digits go eight at a time; wrapping modulo 2^32 allows the grouping.
    while (text.size() - at >= 8 && allDigits(text.data() + at)) {
      value = value * 100000000u + eightDigits(text.data() + at);
      at += 8;
    }
    c = nextByte();
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text intToText(std::int32_t value) {
  char digits[12];
  std::size_t n = 0;
  // Work on the magnitude as unsigned so that -2147483648 converts too.
  std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10u);
    magnitude /= 10u;
  } while (magnitude != 0);
  if (value < 0) digits[n++] = '-';
  Text out;
  reserveOrFail(out, n);
  while (n > 0) out.push_back(digits[--n]);
  return out;
}

Text replaceText(TextView source, TextView find, TextView replacement, std::optional<int> start,
                 std::optional<int> maxCount, bool matchCase) {
  const std::size_t n = source.size();
  const std::size_t m = find.size();
  const int startPosition = start.value_or(1);
  const std::size_t i0 = startPosition < 1 ? 0 : static_cast<std::size_t>(startPosition) - 1;
  if (n == 0 || m == 0 || i0 >= n || (maxCount && *maxCount == 0)) return Text(source);

  int remaining = maxCount.value_or(-1);  // negative: no limit
  Text out;
  reserveOrFail(out, n);
  // i always begins a character. Between candidates the scan moves by whole characters without a match, so
  // it jumps to the next byte that can begin one and only checks there that a character begins.
  std::size_t i = i0;
  std::size_t copyFrom = 0;  // bytes from here up to i are unchanged source, appended in one piece
  const auto first = static_cast<unsigned char>(find[0]);
  while (n - i >= m) {
    const std::size_t c = nextCandidate(source, i, n - m, first, matchCase);
    if (c > n - m) {
      // No match is left. Moving on by characters, a one-byte find text would still reach the last byte;
      // when that byte is a cut-off character there, it is not kept.
      if (m == 1 && opensTwoByteCharacter(static_cast<unsigned char>(source[n - 1])) &&
          beginsCharacter(source, i, n - 1)) {
        appendGrowing(out, source.substr(copyFrom, n - 1 - copyFrom));
        return out;
      }
      break;
    }
    if (!beginsCharacter(source, i, c)) {
      i = c + 1;  // c is the second byte of a character
      continue;
    }
    if (matchesAt(source, c, find, matchCase)) {
      appendGrowing(out, source.substr(copyFrom, c - copyFrom));
      appendGrowing(out, replacement);
      i = c + m;
      copyFrom = i;
      if (remaining > 0 && --remaining == 0) break;
      continue;
    }
    const std::size_t len = characterLength(source, c);
    if (len == 0) {
      // A cut-off character at the end is not kept, and the scan ends after it.
      appendGrowing(out, source.substr(copyFrom, c - copyFrom));
      return out;
    }
    i = c + len;
  }
  appendGrowing(out, source.substr(copyFrom));
  return out;
}

Text replacePairs(TextView text, std::optional<int> maxCount, std::optional<int> start,
                  std::optional<bool> matchCase, std::initializer_list<FindReplace> pairs) {
  if (!start || *start == 0) start = 1;
  Text working(text);
  for (const FindReplace& pair : pairs)
    working = replaceText(working, pair.find, pair.replacement, start, maxCount, matchCase.value_or(false));
  return working;
}

const Text& PieceList::at(int i, int routine, int position) const {
  if (i < 1)
    fatalError(
        "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb1\xd8\xd0\xeb\xb4\xf3"
        "\xd3\xda\xb5\xc8\xd3\xda"
        "1",  // 数组成员引用下标必须大于等于1
        kErrorIndexBelowOne, routine, position);
  if (i > count())
    fatalError(
        "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb3\xac\xb3\xf6"
        "\xb6\xa8\xd2\xe5\xb7\xb6\xce\xa7",  // 数组成员引用下标超出定义范围
        kErrorIndexAboveCount, routine, position);
  return pieces_[static_cast<std::size_t>(i) - 1];
}

PieceList splitText(TextView text, TextView delimiter) {
  std::vector<Text> pieces;
  const std::size_t n = text.size();
  const std::size_t m = delimiter.size();
  if (n == 0) return PieceList();
  if (m == 0) {
    pieces.emplace_back(text);
    return PieceList(std::move(pieces));
  }
  auto addPiece = [&pieces](TextView piece) {
    try {
      pieces.emplace_back(piece);
    } catch (const std::bad_alloc&) {
      allocationFailed(piece.size() + 1);
    }
  };
  std::size_t pieceStart = 0;
  std::size_t i = 0;  // always begins a character
  const auto first = static_cast<unsigned char>(delimiter[0]);
  while (n - i >= m) {
    const std::size_t c = nextCandidate(text, i, n - m, first, true);
    if (c > n - m) break;
    if (!beginsCharacter(text, i, c)) {
      i = c + 1;
      continue;
    }
    if (std::memcmp(text.data() + c, delimiter.data(), m) == 0) {
      addPiece(text.substr(pieceStart, c - pieceStart));
      i = c + m;
      pieceStart = i;
      continue;
    }
    const std::size_t len = characterLength(text, c);
    if (len == 0) break;
    i = c + len;
  }
  if (pieceStart < n) addPiece(text.substr(pieceStart));
  return PieceList(std::move(pieces));
}
