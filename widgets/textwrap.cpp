#include "widgets/textwrap.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr char32_t kFirstAscii = 0x20;
constexpr char32_t kLastAscii = 0x7E;
constexpr int kAsciiCount = static_cast<int>(kLastAscii - kFirstAscii + 1);
// Fonts that one text can take its characters from; more than this share the last entry.
constexpr std::size_t kMaxMetrics = 64;

bool isAsciiPrintable(char32_t c) {
  return c >= kFirstAscii && c <= kLastAscii;
}

// How far back the script run of a line's first characters is looked for.
constexpr qsizetype kScriptLookback = 64;
constexpr std::uint8_t kNoScript = 0xFF;

// A character of a script of its own starts a script run; the others join the run they stand in.
bool isStrong(std::uint8_t script) {
  return script != QChar::Script_Common && script != QChar::Script_Inherited &&
         script != QChar::Script_Unknown && script != kNoScript;
}

// Pairs that the shaper may kern: both from the same run of Latin, Greek, Cyrillic or general punctuation
// (CJK characters are shaped in runs of their own). Blanks and controls count, tabs do not.
bool mayKern(char32_t c) {
  return c >= kFirstAscii && c < 0x2E80 && c != 0x7F;
}

// Break opportunities are worked out for this many characters at a time, and trusted only this far from
// the end of that stretch.
constexpr qsizetype kWindow = 4096;
constexpr qsizetype kLookahead = 32;

bool isHangul(char16_t c) {
  return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7A3);
}

}  // namespace

TextWrap::TextWrap(const QString& text) : text_(text) {}

void TextWrap::setFont(const QFont& font) {
  font_ = font;
  clearMeasures();
  reset();
}

void TextWrap::setWidth(qreal width) {
  if (width == width_) return;
  width_ = width;
  reset();
}

void TextWrap::reset() {
  windowStart_ = 0;
  trustedEnd_ = 0;
  lines_.clear();
  frontier_ = 0;
  frontierTop_ = 0;
  complete_ = false;
}

void TextWrap::changedFrom(qsizetype position) {
  if (lines_.empty()) return;
  // The last line that starts at or before the change, then back over the lines whose breaking looked at
  // the changed characters; the lines above those are untouched.
  auto after = std::upper_bound(lines_.begin(), lines_.end(), position,
                                [](qsizetype p, const Stored& line) { return p < line.start; });
  std::size_t first = static_cast<std::size_t>(after - lines_.begin());
  if (first > 0) --first;
  while (first > 0 && lines_[first - 1].scanEnd > position) --first;
  if (lines_[first].scanEnd <= position) ++first;
  if (position < trustedEnd_ + kLookahead) trustedEnd_ = 0;
  if (first >= lines_.size()) return;
  frontier_ = lines_[first].start;
  frontierTop_ = lines_[first].top;
  lines_.resize(first);
  complete_ = false;
}

bool TextWrap::hasLine(int index) {
  while (!complete_ && lineCount() <= index) breakLine();
  return index >= 0 && index < lineCount();
}

TextWrap::Line TextWrap::line(int index) const {
  const Stored& stored = lines_[static_cast<std::size_t>(index)];
  Line line;
  line.start = stored.start;
  line.next = index + 1 < lineCount() ? lines_[static_cast<std::size_t>(index) + 1].start : frontier_;
  line.end = stored.hard ? line.next - 1 : line.next;
  line.top = stored.top;
  line.height = stored.height;
  return line;
}

int TextWrap::lineAt(qsizetype position) {
  while (!complete_ && frontier_ <= position) breakLine();
  auto after = std::upper_bound(lines_.begin(), lines_.end(), position,
                                [](qsizetype p, const Stored& line) { return p < line.start; });
  return std::max(0, static_cast<int>(after - lines_.begin()) - 1);
}

int TextWrap::lineAtY(qint64 y) {
  hasLine(0);
  while (!complete_ && frontierTop_ <= y) breakLine();
  auto after = std::upper_bound(lines_.begin(), lines_.end(), y,
                                [](qint64 value, const Stored& line) { return value < line.top; });
  return std::max(0, static_cast<int>(after - lines_.begin()) - 1);
}

int TextWrap::lastLine() {
  while (!complete_) breakLine();
  return lineCount() - 1;
}

qint64 TextWrap::height() {
  lastLine();
  return frontierTop_;
}

// ---------------------------------------------------------------------------------------------------------
// Characters: what a line may break around, and their widths.

bool TextWrap::breakBefore(qsizetype position, qsizetype lineStart) {
  if (position < windowStart_ || position >= trustedEnd_) {
    // From the line's start, far enough past the position that what follows it is known too.
    const qsizetype size = text_.size();
    const qsizetype wanted = std::max<qsizetype>(kWindow, 2 * (position - lineStart + kLookahead));
    const qsizetype end = std::min(size, lineStart + wanted);
    windowStart_ = lineStart;
    trustedEnd_ = end == size ? size + 1 : end - kLookahead;
    breaks_.assign(static_cast<std::size_t>(end - lineStart + 1), 0);
    const QChar* chars = text_.constData();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, chars + lineStart, end - lineStart);
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary()) {
      // Korean keeps its syllables together and breaks at blanks, as the text layout does.
      const qsizetype p = lineStart + at;
      if (p > 0 && p < size && isHangul(chars[p - 1].unicode()) && isHangul(chars[p].unicode())) continue;
      breaks_[static_cast<std::size_t>(at)] = 1;
    }
  }
  return breaks_[static_cast<std::size_t>(position - windowStart_)] != 0;
}

void TextWrap::clearMeasures() {
  const QFontMetricsF metrics(font_);
  metrics_.assign(1, Metrics{metrics.ascent(), metrics.descent(), metrics.leading()});
  tabStop_ = metrics.horizontalAdvance(QStringLiteral("\t"));
  if (!(tabStop_ > 0)) tabStop_ = 80;
  bmp_.assign(0x10000, Glyph());
  astral_.clear();
  kerning_.assign(static_cast<std::size_t>(kAsciiCount * kAsciiCount),
                  std::numeric_limits<float>::quiet_NaN());
  kerningOther_.clear();
}

const TextWrap::Glyph& TextWrap::glyph(char32_t c) {
  if (c < 0x10000) {
    Glyph& g = bmp_[c];
    if (!g.known) g = measure(c);
    return g;
  }
  auto found = astral_.find(c);
  if (found == astral_.end()) found = astral_.insert(c, measure(c));
  return *found;
}

TextWrap::Glyph TextWrap::measure(char32_t c) {
  Glyph glyph;
  glyph.known = true;
  glyph.script = static_cast<std::uint8_t>(QChar::script(c));
  const QString alone = QString::fromUcs4(&c, 1);
  // Marks that sit on the character before them take no room of their own.
  const QChar::Category category = QChar::category(c);
  if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
      category == QChar::Mark_Enclosing)
    glyph.kind = Kind::Mark;
  else if (QChar::isSpace(c))
    glyph.kind = Kind::Space;
  if (c != u'\t' && category != QChar::Mark_NonSpacing && category != QChar::Mark_Enclosing)
    glyph.advance = static_cast<float>(QFontMetricsF(font_).horizontalAdvance(alone));
  // The font that draws the character decides how high its line is.
  QTextLayout layout(alone, font_);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLeadingIncluded(true);
  layout.endLayout();
  const Metrics m{line.ascent(), line.descent(), line.leading()};
  auto same = std::find_if(metrics_.begin(), metrics_.end(), [&](const Metrics& known) {
    return known.ascent == m.ascent && known.descent == m.descent && known.leading == m.leading;
  });
  if (same != metrics_.end()) {
    glyph.metrics = static_cast<std::uint8_t>(same - metrics_.begin());
  } else if (metrics_.size() < kMaxMetrics) {
    glyph.metrics = static_cast<std::uint8_t>(metrics_.size());
    metrics_.push_back(m);
  } else {
    Metrics& last = metrics_.back();
    last = Metrics{std::max(last.ascent, m.ascent), std::max(last.descent, m.descent),
                   std::max(last.leading, m.leading)};
    glyph.metrics = static_cast<std::uint8_t>(kMaxMetrics - 1);
  }
  return glyph;
}

std::uint8_t TextWrap::scriptBefore(qsizetype position) {
  const QChar* chars = text_.constData();
  for (qsizetype i = position - 1; i >= 0 && i >= position - kScriptLookback; --i) {
    char32_t c = chars[i].unicode();
    if (c == u'\n') break;
    if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(chars[i - 1].unicode()))
      c = QChar::surrogateToUcs4(chars[--i].unicode(), static_cast<char16_t>(c));
    const std::uint8_t script = glyph(c).script;
    if (isStrong(script)) return script;
  }
  return kNoScript;
}

qreal TextWrap::kerning(char32_t a, char32_t b) {
  float* k;
  if (isAsciiPrintable(a) && isAsciiPrintable(b)) {
    k = &kerning_[static_cast<std::size_t>((a - kFirstAscii) * kAsciiCount + (b - kFirstAscii))];
  } else {
    auto found = kerningOther_.find(a << 16 | b);
    if (found == kerningOther_.end())
      found = kerningOther_.insert(a << 16 | b, std::numeric_limits<float>::quiet_NaN());
    k = &*found;
  }
  if (std::isnan(*k)) {
    const char32_t pair[2] = {a, b};
    const qreal both = QFontMetricsF(font_).horizontalAdvance(QString::fromUcs4(pair, 2));
    *k = static_cast<float>(both - glyph(a).advance - glyph(b).advance);
  }
  return *k;
}

int TextWrap::heightOf(std::uint64_t metricsUsed) const {
  qreal ascent = 0;
  qreal descent = 0;
  qreal leading = 0;
  for (std::size_t i = 0; i < metrics_.size(); ++i) {
    if (!(metricsUsed & (std::uint64_t{1} << i))) continue;
    ascent = std::max(ascent, metrics_[i].ascent);
    descent = std::max(descent, metrics_[i].descent);
    leading = std::max(leading, metrics_[i].leading);
  }
  return static_cast<int>(std::ceil(ascent + descent + leading));
}

// ---------------------------------------------------------------------------------------------------------
// Breaking.

void TextWrap::breakLine() {
  if (complete_) return;
  if (metrics_.empty()) clearMeasures();
  const QChar* chars = text_.constData();
  const qsizetype size = text_.size();
  const qsizetype start = frontier_;
  Stored line{start, 0, frontierTop_, 0, false};
  qsizetype next = 0;
  qreal x = 0;
  qsizetype lastBreak = -1;
  std::uint64_t used = 1;  // the box's own font always counts
  std::uint64_t usedAtBreak = 1;
  std::uint8_t run = scriptBefore(start);
  bool afterBlank = false;
  for (qsizetype i = start;;) {
    if (i >= size) {
      next = size;
      line.scanEnd = size + 1;  // text added at the end can change this line
      complete_ = true;
      break;
    }
    const char16_t unit = chars[i].unicode();
    if (unit == u'\n') {
      next = i + 1;
      line.scanEnd = i + 1;
      line.hard = true;
      break;
    }
    char32_t c = unit;
    qsizetype length = 1;
    if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(chars[i + 1].unicode())) {
      c = QChar::surrogateToUcs4(unit, chars[i + 1].unicode());
      length = 2;
    }
    const Glyph g = glyph(c);
    if (isStrong(g.script)) run = g.script;
    // The text layout ends a word at every blank, so a line may also break after blanks where the
    // Unicode rules would not (before a closing bracket, say).
    if (i > start && g.kind != Kind::Space && (afterBlank || breakBefore(i, start))) {
      lastBreak = i;
      usedAtBreak = used;
    }
    // The shaper puts the kerning of a pair into the advance of its first character.
    qreal advance;
    if (unit == u'\t') {
      // The next tab stop; the text layout divides in 1/64 pixels, rounding, so a tab that starts within
      // 1/128 of a stop's distance before the stop goes on to the one after.
      const qreal stops = std::floor(std::floor(x * 64 / tabStop_ + 0.5) / 64);
      advance = (stops + 1) * tabStop_ - x;
    } else {
      advance = g.advance;
      if (i + length < size && mayKern(c)) {
        // Only characters of one script run are shaped together; blanks, digits and punctuation belong to
        // the run before them (at the start of a paragraph, to the run after them).
        const char16_t following = chars[i + length].unicode();
        if (mayKern(following) && !QChar::isSurrogate(following)) {
          const std::uint8_t script = glyph(following).script;
          if (!isStrong(script) || run == kNoScript || script == run) advance += kerning(c, following);
        }
      }
    }
    if (i > start && g.kind != Kind::Space && g.kind != Kind::Mark && x + advance > width_) {
      line.scanEnd = i + length + 2;  // whether a break is allowed can depend on the next characters
      if (lastBreak > start) {
        next = lastBreak;
        used = usedAtBreak;
      } else {
        next = i;
      }
      break;
    }
    x += advance;
    used |= std::uint64_t{1} << g.metrics;
    afterBlank = g.kind == Kind::Space;
    i += length;
  }
  line.height = heightOf(used);
  lines_.push_back(line);
  frontier_ = next;
  frontierTop_ += line.height;
}
