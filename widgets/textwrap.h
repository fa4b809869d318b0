// The lines of a plain text wrapped to a width, worked out from the top and only as far as they are asked
// for.
//
// The text holds '\n' as its only line break. A line ends after its line break, or at the last place where
// the Unicode line-breaking rules allow a break (after blanks, between CJK characters, ...) before the
// first character that no longer fits; a word longer than the whole line is broken anywhere. Blanks at the
// end of a line hang past the width. These are the rules of the toolkit's own text layout, which also
// supplies the break opportunities, a few thousand characters at a time.
//
// Widths are the font's advances, measured once per character and kept, with the kerning between
// non-CJK characters, so that breaking costs a few tens of nanoseconds per character however long the
// paragraph is (a 26 MB statement on one line breaks in well under a second). A line is as high as the
// toolkit makes it: the tallest of the fonts that draw its characters (Chinese characters may come from a
// fallback font), rounded up to whole pixels.
//
// After an edit only the lines that looked at the changed characters are dropped; the lines above stay.
#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

class TextWrap {
 public:
  struct Line {
    qsizetype start = 0;  // first character
    qsizetype end = 0;    // end of the shown characters: the line break, or the start of the next line
    qsizetype next = 0;   // start of the next line (after the line break, if any)
    qint64 top = 0;       // pixels from the top of the first line
    int height = 0;
    bool hardBreak() const { return next > end; }
  };

  // The text is read in place; it must outlive this object.
  explicit TextWrap(const QString& text);

  void setFont(const QFont& font);
  // Width available to a line, in pixels.
  void setWidth(qreal width);
  qreal width() const { return width_; }
  // The whole text was replaced.
  void reset();
  // The text changed from `position` on; everything before it is as it was.
  void changedFrom(qsizetype position);

  // Breaks lines until line `index` exists; false when the text has fewer lines.
  bool hasLine(int index);
  // The line; it must exist (hasLine).
  Line line(int index) const;
  // The line that holds the position: a position at a wrap belongs to the line after it, the position of a
  // line break to the line that it ends.
  int lineAt(qsizetype position);
  // The line that covers the height y (pixels from the top of the first line): the first line above 0, the
  // last one below the text.
  int lineAtY(qint64 y);
  int lastLine();
  // Height of all lines together.
  qint64 height();
  // Lines broken so far, and whether that is all of them.
  int lineCount() const { return static_cast<int>(lines_.size()); }
  bool complete() const { return complete_; }

 private:
  enum class Kind : std::uint8_t { Other, Space, Mark };
  struct Glyph {
    float advance = 0;
    std::uint8_t metrics = 0;  // index into metrics_
    Kind kind = Kind::Other;   // blanks hang at the end of a line; a mark stays with the character before it
    bool known = false;
    std::uint8_t script = 0;  // QChar::Script
  };
  struct Metrics {
    qreal ascent;
    qreal descent;
    qreal leading;
  };
  struct Stored {
    qsizetype start;
    qsizetype scanEnd;  // one past the last character looked at to break this line (text size + 1 at its end)
    qint64 top;
    int height;
    bool hard;
  };

  // Whether a line may break before the character at `position`, looked up in the window of break
  // opportunities, which is worked out anew from `lineStart` when it does not reach the position.
  bool breakBefore(qsizetype position, qsizetype lineStart);
  const Glyph& glyph(char32_t c);
  Glyph measure(char32_t c);
  qreal kerning(char32_t a, char32_t b);
  // The script of the run that the text before the position ends in, within its paragraph.
  std::uint8_t scriptBefore(qsizetype position);
  int heightOf(std::uint64_t metricsUsed) const;
  void clearMeasures();
  // Breaks the line that starts at the frontier.
  void breakLine();

  const QString& text_;
  QFont font_;
  qreal width_ = 0;
  qreal tabStop_ = 80;
  std::vector<Metrics> metrics_;
  std::vector<Glyph> bmp_;  // by UTF-16 code unit, filled as characters are met
  QHash<char32_t, Glyph> astral_;
  std::vector<float> kerning_;           // printable ASCII pairs; NaN until measured
  QHash<char32_t, float> kerningOther_;  // other pairs that may kern, both below U+2E80

  std::vector<std::uint8_t> breaks_;  // break allowed before windowStart_ + index
  qsizetype windowStart_ = 0;
  qsizetype trustedEnd_ = 0;  // positions from here on need more text after them than the window has

  std::vector<Stored> lines_;
  qsizetype frontier_ = 0;  // start of the first line not broken yet
  qint64 frontierTop_ = 0;
  bool complete_ = false;
};
