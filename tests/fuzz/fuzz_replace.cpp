// replaceText and replacePairs against a reference that follows the scan step by step, slowly and plainly.
#include <cstdlib>
#include <optional>

#include "tests/fuzz/fuzz_input.h"
#include "text/text.h"

namespace {

bool sameFolded(unsigned char a, unsigned char b, bool matchCase) {
  auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; };
  return matchCase ? a == b : fold(a) == fold(b);
}

std::string reference(const std::string& s, const std::string& f, const std::string& r,
                      std::optional<int> start, std::optional<int> count, bool matchCase) {
  const std::size_t n = s.size(), m = f.size();
  const int sp = start.value_or(1);
  const std::size_t i0 = sp < 1 ? 0 : static_cast<std::size_t>(sp) - 1;
  if (n == 0 || m == 0 || i0 >= n || (count && *count == 0)) return s;
  int c = count.value_or(-1);
  std::string out = s.substr(0, i0);
  std::size_t i = i0;
  while (n - i >= m) {
    bool match = true;
    for (std::size_t k = 0; k < m && match; ++k)
      match = sameFolded(static_cast<unsigned char>(s[i + k]), static_cast<unsigned char>(f[k]), matchCase);
    if (match) {
      out += r;
      i += m;
      if (c > 0 && --c == 0) break;
    } else if (static_cast<unsigned char>(s[i]) < 0x80) {
      out += s[i];
      i += 1;
    } else if (i + 1 < n) {
      out += s.substr(i, 2);
      i += 2;
    } else {
      return out;  // a cut-off character is dropped and ends the scan
    }
  }
  return out + s.substr(i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const bool hasStart = in.flag(), hasCount = in.flag(), matchCase = in.flag();
  const std::optional<int> start = hasStart ? std::optional<int>(in.smallInt()) : std::nullopt;
  const std::optional<int> count = hasCount ? std::optional<int>(in.smallInt() % 4) : std::nullopt;
  const std::string find1 = in.text(4), repl1 = in.text(16), find2 = in.text(4), repl2 = in.text(16);
  const std::string source = in.rest();

  if (replaceText(source, find1, repl1, start, count, matchCase) !=
      reference(source, find1, repl1, start, count, matchCase))
    std::abort();

  const std::optional<int> pairsStart = (!start || *start == 0) ? std::optional<int>(1) : start;
  const std::string expected = reference(reference(source, find1, repl1, pairsStart, count, matchCase), find2,
                                         repl2, pairsStart, count, matchCase);
  if (replacePairs(source, count, start, matchCase, {{find1, repl1}, {find2, repl2}}) != expected)
    std::abort();
  return 0;
}
