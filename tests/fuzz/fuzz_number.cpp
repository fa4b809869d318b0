// textToInt, intToText and textEquals: numbers written by intToText read back unchanged, any text reads as a
// plain reference parser of the converted text says, and textEquals is byte equality.
#include <cstdlib>
#include <cstring>

#include "tests/fuzz/fuzz_input.h"
#include "text/text.h"

namespace {

std::int32_t reference(const std::string& t) {
  std::string c;
  for (std::size_t i = 0; i < t.size();) {
    const auto b = static_cast<unsigned char>(t[i]);
    if (b < 0x80) {
      c += t[i++];
      continue;
    }
    if (i + 1 >= t.size()) break;
    const auto b2 = static_cast<unsigned char>(t[i + 1]);
    if (b == 0xA3 && b2 >= 0xA1 && b2 <= 0xFE)
      c += static_cast<char>(b2 - 0x80);
    else if (b == 0xA1 && b2 == 0xA1)
      c += ' ';
    else if (b == 0xA1 && b2 == 0xAB)
      c += '~';
    else if (b == 0xA1 && (b2 == 0xEE || b2 == 0xEF))
      c += '*';
    else
      c += t.substr(i, 2);
    i += 2;
  }
  std::size_t i = c.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (c[i] == '+' || c[i] == '-') negative = c[i++] == '-';
  unsigned long long value = 0;
  for (; i < c.size() && c[i] >= '0' && c[i] <= '9'; ++i)
    value = (value * 10 + static_cast<unsigned>(c[i] - '0')) % (1ull << 32);
  if (negative) value = ((1ull << 32) - value) % (1ull << 32);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  std::uint32_t bits = 0;
  for (int k = 0; k < 4; ++k) bits = bits << 8 | in.byte();
  const auto value = static_cast<std::int32_t>(bits);
  const Text written = intToText(value);
  if (textToInt(written) != value || written != std::to_string(value)) std::abort();

  const std::string a = in.text(8);
  const std::string text = in.rest();
  if (textToInt(text) != reference(text)) std::abort();
  if (textEquals(a, text) != (a == text) || !textEquals(text, Text(text))) std::abort();
  return 0;
}
