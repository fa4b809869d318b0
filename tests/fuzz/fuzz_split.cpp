// splitText and joinText: the pieces joined with the delimiter give the text back (a delimiter at the very
// end gives no trailing piece), no piece holds a delimiter that starts at a character boundary, and joinText
// is concatenation.
#include <cstdlib>

#include "tests/fuzz/fuzz_input.h"
#include "text/text.h"

namespace {

// True when `d` occurs in `t` at a position where a character begins.
bool occursAtBoundary(const std::string& t, const std::string& d) {
  for (std::size_t i = 0; i + d.size() <= t.size();) {
    if (t.compare(i, d.size(), d) == 0) return true;
    i += static_cast<unsigned char>(t[i]) < 0x80 ? 1 : 2;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::string delimiter = in.text(3);
  const std::string text = in.rest();
  const PieceList pieces = splitText(text, delimiter);

  if (text.empty()) {
    if (pieces.count() != 0) std::abort();
    return 0;
  }
  if (delimiter.empty()) {
    if (pieces.count() != 1 || pieces.pieces()[0] != text) std::abort();
    return 0;
  }
  std::string joined;
  for (int i = 1; i <= pieces.count(); ++i) {
    if (i > 1) joined = joinText(joined, delimiter);
    joined = joinText(joined, pieces.at(i, 0, 0));
  }
  const bool endsWithDelimiter = joined.size() + delimiter.size() == text.size();
  if (joined != text && !(endsWithDelimiter && joined + delimiter == text)) std::abort();
  // Every piece but the last ends where a delimiter was found, so none can hold one at a boundary of its own
  // characters unless the walk inside the piece started off a boundary, which cannot happen for the first.
  if (pieces.count() > 0 && occursAtBoundary(pieces.pieces()[0], delimiter)) std::abort();
  return 0;
}
