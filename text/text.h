// Texts of the program and the operations every statement is glued with.
//
// A text is a string of GBK bytes held in a std::string; it never holds a zero byte. An absent text is the
// same as the empty one, so every argument is a plain std::string_view and an empty view stands for both.
// Lengths and positions count bytes. Where an operation walks characters, a byte of 0x80 or above opens a
// two-byte character together with the byte after it (no table of valid GBK bytes is consulted); a last
// byte of 0x80 or above with nothing after it is a cut-off character.
//
// No operation here knows anything about SQL or about the window. None reports an error; when memory for a
// result cannot be obtained the program ends through fatalError (fatal.h).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using Text = std::string;
using TextView = std::string_view;

// An empty text with room for `bytes` bytes. When the machine cannot give that much memory the program ends
// with the allocation report, before asking for it: a request larger than the memory still available is
// refused up front rather than left to the system, which would end the process half-way.
Text reserveText(std::uint64_t bytes);

// The arguments one after the other, nothing between them. Measures every part first and fills one new text
// of the exact size.
Text joinText(std::initializer_list<TextView> parts);
template <class... Parts>
Text joinText(const Parts&... parts) {
  return joinText({TextView(parts)...});
}

// True when both hold the same bytes. Letter case matters; nothing is trimmed or normalised.
bool textEquals(TextView a, TextView b);

// Reads a decimal integer: full-width forms count as their one-byte counterparts, leading blanks (tab to
// carriage return and space) are passed over, one sign may follow, then digits up to the first non-digit.
// The value wraps modulo 2^32; text that is no number gives 0 (or the value of its leading digits).
std::int32_t textToInt(TextView text);

// The value in decimal, "-" before a negative one; the whole 32-bit range.
Text intToText(std::int32_t value);

// Replaces occurrences of `find` in `source`, scanning by characters from byte `start` (counted from 1;
// absent or below 1 means 1). `maxCount` limits the replacements to the leftmost ones when positive; absent
// or negative means every occurrence, 0 means none. Without `matchCase`, the 26 ASCII capitals fold to small
// letters byte by byte before comparing. Matches never overlap and inserted text is not scanned again.
// One forward pass.
Text replaceText(TextView source, TextView find, TextView replacement, std::optional<int> start,
                 std::optional<int> maxCount, bool matchCase);

struct FindReplace {
  TextView find;
  TextView replacement;
};

// Runs replaceText once for each pair in order (at most five), each on the result of the one before, with
// the same start position (absent or 0 means 1), maximum count and case flag (absent means false). A pair
// with an empty find text copies; an empty replacement deletes.
Text replacePairs(TextView text, std::optional<int> maxCount, std::optional<int> start,
                  std::optional<bool> matchCase, std::initializer_list<FindReplace> pairs);

// The pieces of a text cut at a delimiter, numbered from 1.
class PieceList {
 public:
  PieceList() = default;
  explicit PieceList(std::vector<Text> pieces) : pieces_(std::move(pieces)) {}

  int count() const { return static_cast<int>(pieces_.size()); }

  // Piece number i, 1 <= i <= count(). Outside that range the program ends with the run-time error report
  // (code 4 below 1, code 1 above the count), located at routine and position.
  const Text& at(int i, int routine, int position) const;

  const std::vector<Text>& pieces() const { return pieces_; }

 private:
  std::vector<Text> pieces_;
};

// Cuts `text` at every occurrence of `delimiter` (letter case matters), scanning by characters. An empty
// text gives no pieces, an empty delimiter one piece; adjacent delimiters give empty pieces, a delimiter at
// the very end gives no trailing empty piece. One forward pass.
PieceList splitText(TextView text, TextView delimiter);
