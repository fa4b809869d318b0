#include "widgets/outputbox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QTextCharFormat>
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>

#include "widgets/gbk.h"

namespace {

// The toolkit's text edit keeps this margin around its text, and scrolls this far for one wheel step.
constexpr int kMargin = 4;
constexpr int kWheelStep = 20;
// Shaped lines kept at most (the view shows a handful).
constexpr std::size_t kCachedLayouts = 64;
// Input methods see this much text on each side of the caret, within its paragraph.
constexpr qsizetype kSurrounding = 1024;
constexpr int kDragScrollInterval = 50;

bool isBlank(QChar c) {
  return c.isSpace() && c != u'\n';
}

// Punctuation that ends a word for word-wise moving, as in the toolkit's text edit.
bool isWordSeparator(QChar c) {
  static constexpr char16_t kSeparators[] = u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\";
  return c.unicode() < 0x80 &&
         std::char_traits<char16_t>::find(kSeparators, std::size(kSeparators) - 1, c.unicode()) != nullptr;
}

// A character that belongs to the character before it: combining marks, joiners, variation selectors and
// skin-tone modifiers.
bool continuesCluster(char32_t c) {
  switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
      return true;
    default:
      return c == 0x200D || (c >= 0x1F3FB && c <= 0x1F3FF);
  }
}

// The code point that starts at the position, and how many UTF-16 units it takes.
char32_t codePointAt(const QString& text, qsizetype at, qsizetype* length = nullptr) {
  const QChar c = text.at(at);
  qsizetype units = 1;
  char32_t result = c.unicode();
  if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
    units = 2;
    result = QChar::surrogateToUcs4(c, text.at(at + 1));
  }
  if (length) *length = units;
  return result;
}

// The written text as shown: CR LF, a lone CR and the Unicode line and paragraph separators each become
// one line break. Done in place: a statement can be tens of megabytes.
void normalizeLineBreaks(QString& text) {
  const qsizetype size = text.size();
  const QChar* chars = text.constData();
  qsizetype first = 0;
  while (first < size) {
    const char16_t c = chars[first].unicode();
    if (c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) break;
    ++first;
  }
  if (first == size) return;
  QChar* out = text.data();
  qsizetype written = first;
  for (qsizetype i = first; i < size; ++i) {
    const char16_t c = out[i].unicode();
    if (c == u'\r') {
      out[written++] = u'\n';
      if (i + 1 < size && out[i + 1] == u'\n') ++i;
    } else if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      out[written++] = u'\n';
    } else {
      out[written++] = out[i];
    }
  }
  text.truncate(written);
}

// Text from outside (typed, pasted, committed by an input method) as the box holds it: line breaks as
// '\n', and no zero characters, which a text of the program cannot hold.
QString plainText(QString text) {
  text.remove(QChar(u'\0'));
  normalizeLineBreaks(text);
  return text;
}

// Keys typed as text, as the toolkit's text edit accepts them; a tab moves the focus instead.
bool isTextInput(const QKeyEvent* event) {
  const QString text = event->text();
  if (text.isEmpty()) return false;
  const QChar c = text.at(0);
  if (c.category() == QChar::Other_Format) return true;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier))
    return false;
  if (c.isPrint() || c.category() == QChar::Other_PrivateUse) return true;
  return c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate();
}

bool isRedo(const QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  return event->matches(QKeySequence::Redo) ||
         (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
         (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier));
}

int toInt(qsizetype value) {
  return static_cast<int>(std::min<qsizetype>(value, std::numeric_limits<int>::max()));
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Accessibility: an editable text whose value is the whole text.

class OutputBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit OutputBoxAccessible(OutputBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text type) const override {
    if (type == QAccessible::Value) return box()->text_;
    return QAccessibleWidget::text(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
  }

  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !box()->hasSelection()) return;
    *startOffset = toInt(box()->selectionStart());
    *endOffset = toInt(box()->selectionEnd());
  }
  int selectionCount() const override { return box()->hasSelection() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex == 0) box()->setCursor(box()->cursor_, false, false);
  }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex != 0) return;
    box()->anchor_ = clamp(startOffset);
    box()->setCursor(clamp(endOffset), true, false);
  }
  int cursorPosition() const override { return toInt(box()->cursor_); }
  void setCursorPosition(int position) override { box()->setCursor(clamp(position), false, false); }
  QString text(int startOffset, int endOffset) const override {
    const qsizetype start = clamp(startOffset);
    return box()->text_.mid(start, std::max<qsizetype>(0, clamp(endOffset) - start));
  }
  int characterCount() const override { return toInt(box()->text_.size()); }
  QRect characterRect(int offset) const override {
    OutputBox* b = box();
    const qsizetype position = clamp(offset);
    const int index = b->wrap_.lineAt(position);
    const TextWrap::Line line = b->wrap_.line(index);
    QRect rect = b->cursorRect(position, index);
    if (position < line.end) rect.setRight(b->cursorRect(position + 1, index).left() - 1);
    return QRect(b->viewport()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    OutputBox* b = box();
    const QPoint inside = b->viewport()->mapFromGlobal(point);
    if (!b->viewport()->rect().contains(inside)) return -1;
    return toInt(b->positionAt(inside).first);
  }
  void scrollToSubstring(int startIndex, int /*endIndex*/) override {
    OutputBox* b = box();
    const TextWrap::Line line = b->wrap_.line(b->wrap_.lineAt(clamp(startIndex)));
    const qint64 top = kMargin + line.top;
    const int visible = b->viewport()->height();
    if (top < b->scrollY_ || top + line.height > b->scrollY_ + visible) b->scrollY_ = top;
    b->clampScroll();
    b->viewport()->update();
  }
  QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
    // Plain text: one run without attributes.
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
  }

 private:
  OutputBox* box() const { return static_cast<OutputBox*>(widget()); }
  qsizetype clamp(int offset) const { return std::clamp<qsizetype>(offset, 0, box()->text_.size()); }
};

namespace {

QAccessibleInterface* accessibleOutputBox(const QString& className, QObject* object) {
  if (className == QLatin1String("OutputBox"))
    if (auto* box = qobject_cast<OutputBox*>(object)) return new OutputBoxAccessible(box);
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Setting up, and the text in and out.

OutputBox::OutputBox(QWidget* parent) : QAbstractScrollArea(parent), wrap_(text_) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(accessibleOutputBox);
    return true;
  }();
  Q_UNUSED(factoryInstalled);

  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setInputMethodHints(Qt::ImhMultiLine);
  viewport()->setCursor(Qt::IBeamCursor);
  QPalette p = palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Text, QColor(255, 0, 0));
    p.setColor(group, QPalette::Base, QColor(255, 255, 255));
  }
  setPalette(p);
  wrap_.setFont(font());
  wrap_.setWidth(textWidth());
}

OutputBox::~OutputBox() = default;

void OutputBox::setBytes(TextView text) {
  // Whatever is being composed ends with the text it was composed in.
  if (!preedit_.isEmpty() && hasFocus()) QGuiApplication::inputMethod()->reset();
  written_.assign(text);
  QString shown = toQString(text);
  normalizeLineBreaks(shown);
  const QString before = QAccessible::isActive() ? text_ : QString();
  text_ = std::move(shown);
  preedit_.clear();
  preeditFormats_.clear();
  edits_.clear();
  applied_ = 0;
  mergeOpen_ = false;
  cursor_ = anchor_ = 0;
  atLineEnd_ = false;
  preferredX_ = -1;
  scrollY_ = 0;
  wrap_.reset();
  layouts_.clear();
  restartBlink();
  updateMicroFocus();
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleTextUpdateEvent event(this, 0, before, text_);
    QAccessible::updateAccessibility(&event);
  }
}

Text OutputBox::bytes() const {
  // Unedited while no edit is in effect: every edit since the text was written has been undone.
  if (applied_ == 0) return written_;
  QString shown = text_;
  shown.replace(u'\n', QStringLiteral("\r\n"));
  return fromQString(shown);
}

QString OutputBox::selectedText() const {
  return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

// ---------------------------------------------------------------------------------------------------------
// Lines and places.

qreal OutputBox::textWidth() const {
  return std::max(0, viewport()->width() - 2 * kMargin);
}

QTextLayout* OutputBox::lineLayout(int index) const {
  const TextWrap::Line line = wrap_.line(index);
  for (const LineLayout& cached : layouts_)
    if (cached.start == line.start && cached.end == line.end) return cached.layout.get();
  if (layouts_.size() >= kCachedLayouts) layouts_.clear();
  auto layout = std::make_unique<QTextLayout>(text_.mid(line.start, line.end - line.start), font());
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  QTextLine shaped = layout->createLine();
  shaped.setLeadingIncluded(true);
  shaped.setLineWidth(textWidth());
  shaped.setPosition(QPointF(0, 0));
  layout->endLayout();
  layouts_.push_back(LineLayout{line.start, line.end, std::move(layout)});
  return layouts_.back().layout.get();
}

int OutputBox::caretLine() const {
  int index = wrap_.lineAt(cursor_);
  if (atLineEnd_ && index > 0) {
    const TextWrap::Line above = wrap_.line(index - 1);
    if (!above.hardBreak() && above.next == cursor_) --index;
  }
  return index;
}

qreal OutputBox::xAt(int index, qsizetype position) const {
  const TextWrap::Line line = wrap_.line(index);
  const qsizetype inLine = std::clamp(position, line.start, line.end) - line.start;
  // Blanks that hang past the end of a line do not carry the caret out of the box.
  return std::min(lineLayout(index)->lineAt(0).cursorToX(static_cast<int>(inLine)), textWidth());
}

std::pair<qsizetype, bool> OutputBox::positionInLine(int index, qreal x) const {
  const TextWrap::Line line = wrap_.line(index);
  const int inLine = lineLayout(index)->lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters);
  const qsizetype position = std::min(line.start + inLine, line.end);
  return {position, position == line.next && !line.hardBreak()};
}

std::pair<qsizetype, bool> OutputBox::positionAt(QPointF viewportPoint) const {
  const qint64 y = scrollY_ + static_cast<qint64>(std::floor(viewportPoint.y())) - kMargin;
  const int index = y < 0 ? 0 : wrap_.lineAtY(y);
  return positionInLine(index, viewportPoint.x() - kMargin);
}

QRect OutputBox::cursorRect(qsizetype position, int index) const {
  const TextWrap::Line line = wrap_.line(index);
  const int x = kMargin + static_cast<int>(xAt(index, position));
  const qint64 top = kMargin + line.top - scrollY_;
  const int width = std::max(1, style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
  return QRect(x, static_cast<int>(top), width, line.height);
}

QRect OutputBox::caretRect() const {
  const int index = caretLine();
  QRect rect = cursorRect(cursor_, index);
  if (!preedit_.isEmpty()) {
    // The caret inside the text being composed.
    const TextWrap::Line line = wrap_.line(index);
    QTextLayout layout(text_.mid(line.start, line.end - line.start), font());
    layout.setPreeditArea(static_cast<int>(cursor_ - line.start), preedit_);
    layout.beginLayout();
    QTextLine shaped = layout.createLine();
    shaped.setLineWidth(textWidth());
    layout.endLayout();
    const qreal x = shaped.cursorToX(static_cast<int>(cursor_ - line.start) + preeditCursor_);
    rect.moveLeft(kMargin + static_cast<int>(std::min(x, textWidth())));
  }
  return rect;
}

qsizetype OutputBox::previousCodePoint(qsizetype position) const {
  if (position <= 0) return 0;
  --position;
  if (position > 0 && text_.at(position).isLowSurrogate() && text_.at(position - 1).isHighSurrogate())
    --position;
  return position;
}

qsizetype OutputBox::nextCharacter(qsizetype position) const {
  const qsizetype size = text_.size();
  if (position >= size) return size;
  if (text_.at(position) == u'\n') return position + 1;
  qsizetype length = 0;
  char32_t c = codePointAt(text_, position, &length);
  position += length;
  while (position < size && text_.at(position) != u'\n') {
    const bool joined = c == 0x200D;  // what follows a joiner belongs to it
    c = codePointAt(text_, position, &length);
    if (!joined && !continuesCluster(c)) break;
    position += length;
  }
  return position;
}

qsizetype OutputBox::previousCharacter(qsizetype position) const {
  position = previousCodePoint(position);
  while (position > 0 && text_.at(position) != u'\n') {
    const qsizetype before = previousCodePoint(position);
    if (!continuesCluster(codePointAt(text_, position)) && codePointAt(text_, before) != 0x200D) break;
    position = before;
  }
  return position;
}

qsizetype OutputBox::nextWord(qsizetype position) const {
  const qsizetype size = text_.size();
  if (position >= size) return size;
  if (text_.at(position) == u'\n') return position + 1;
  auto inParagraph = [&](qsizetype at) { return at < size && text_.at(at) != u'\n'; };
  if (isWordSeparator(text_.at(position))) {
    ++position;
    while (inParagraph(position) && isWordSeparator(text_.at(position))) ++position;
  } else {
    while (inParagraph(position) && !isBlank(text_.at(position)) && !isWordSeparator(text_.at(position)))
      ++position;
  }
  while (inParagraph(position) && isBlank(text_.at(position))) ++position;
  return position;
}

qsizetype OutputBox::previousWord(qsizetype position) const {
  if (position <= 0) return 0;
  if (text_.at(position - 1) == u'\n') return position - 1;
  auto inParagraph = [&](qsizetype at) { return at > 0 && text_.at(at - 1) != u'\n'; };
  while (inParagraph(position) && isBlank(text_.at(position - 1))) --position;
  if (inParagraph(position) && isWordSeparator(text_.at(position - 1))) {
    --position;
    while (inParagraph(position) && isWordSeparator(text_.at(position - 1))) --position;
  } else {
    while (inParagraph(position) && !isBlank(text_.at(position - 1)) &&
           !isWordSeparator(text_.at(position - 1)))
      --position;
  }
  return position;
}

std::pair<qsizetype, qsizetype> OutputBox::wordAt(qsizetype position) const {
  const qsizetype size = text_.size();
  // The character under the point, or the one before it at the end of a paragraph.
  qsizetype at = position;
  if (at >= size || text_.at(at) == u'\n') {
    if (at == 0 || text_.at(at - 1) == u'\n') return {position, position};
    --at;
  }
  auto kind = [](QChar c) { return isBlank(c) ? 0 : isWordSeparator(c) ? 1 : 2; };
  const int k = kind(text_.at(at));
  qsizetype start = at;
  while (start > 0 && text_.at(start - 1) != u'\n' && kind(text_.at(start - 1)) == k) --start;
  qsizetype end = at + 1;
  while (end < size && text_.at(end) != u'\n' && kind(text_.at(end)) == k) ++end;
  return {start, end};
}

std::pair<qsizetype, qsizetype> OutputBox::paragraphAt(qsizetype position) const {
  const qsizetype start = position == 0 ? 0 : text_.lastIndexOf(u'\n', position - 1) + 1;
  const qsizetype end = text_.indexOf(u'\n', position);
  return {start, end < 0 ? text_.size() : end};
}

std::pair<qsizetype, qsizetype> OutputBox::surroundingRange() const {
  qsizetype start = cursor_;
  while (start > 0 && cursor_ - start < kSurrounding && text_.at(start - 1) != u'\n') --start;
  qsizetype end = cursor_;
  while (end < text_.size() && end - cursor_ < kSurrounding && text_.at(end) != u'\n') ++end;
  return {start, end};
}

// ---------------------------------------------------------------------------------------------------------
// Caret and selection.

void OutputBox::setCursor(qsizetype position, bool keepAnchor, bool atLineEnd) {
  cursor_ = position;
  if (!keepAnchor) anchor_ = position;
  atLineEnd_ = atLineEnd;
  mergeOpen_ = false;
  caretMoved();
}

void OutputBox::caretMoved() {
  ensureCaretVisible();
  restartBlink();
  updateMicroFocus();
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleTextCursorEvent event(this, toInt(cursor_));
    QAccessible::updateAccessibility(&event);
  }
}

void OutputBox::move(Motion motion, bool select) {
  qsizetype position = cursor_;
  bool lineEnd = false;
  bool vertical = false;
  if (!select && hasSelection() && (motion == Motion::NextChar || motion == Motion::PreviousChar)) {
    position = motion == Motion::NextChar ? selectionEnd() : selectionStart();
  } else {
    switch (motion) {
      case Motion::NextChar:
        position = nextCharacter(cursor_);
        break;
      case Motion::PreviousChar:
        position = previousCharacter(cursor_);
        break;
      case Motion::NextWord:
        position = nextWord(cursor_);
        break;
      case Motion::PreviousWord:
        position = previousWord(cursor_);
        break;
      case Motion::LineDown:
      case Motion::LineUp: {
        const int index = caretLine();
        const int target = index + (motion == Motion::LineDown ? 1 : -1);
        if (target < 0 || !wrap_.hasLine(target)) return;  // the caret stays, as does the selection
        if (preferredX_ < 0) preferredX_ = xAt(index, cursor_);
        std::tie(position, lineEnd) = positionInLine(target, preferredX_);
        vertical = true;
        break;
      }
      case Motion::LineStart:
        position = wrap_.line(caretLine()).start;
        break;
      case Motion::LineEnd: {
        const TextWrap::Line line = wrap_.line(caretLine());
        position = line.end;
        lineEnd = !line.hardBreak();
        break;
      }
      case Motion::ParagraphStart:
        position = paragraphAt(cursor_).first;
        break;
      case Motion::ParagraphEnd:
        position = paragraphAt(cursor_).second;
        break;
      case Motion::TextStart:
        position = 0;
        break;
      case Motion::TextEnd:
        position = text_.size();
        break;
      case Motion::PageDown:
      case Motion::PageUp:
        moveByPage(motion == Motion::PageDown ? 1 : -1, select);
        return;
    }
  }
  if (!vertical) preferredX_ = -1;
  setCursor(position, select, lineEnd);
}

void OutputBox::moveByPage(int direction, bool select) {
  // Down (or up) by the lines that fill the view, keeping the caret's column; the view follows by a page
  // when there are lines beyond.
  const int index = caretLine();
  if (preferredX_ < 0) preferredX_ = xAt(index, cursor_);
  const int visible = viewport()->height();
  const qint64 startTop = wrap_.line(index).top;
  int target = index;
  bool turnPage = false;
  for (;;) {
    const int next = target + direction;
    if (next < 0 || !wrap_.hasLine(next)) break;
    if (std::llabs(wrap_.line(target).top - startTop) >= visible) {
      turnPage = true;
      break;
    }
    target = next;
  }
  if (turnPage) {
    scrollY_ += direction * visible;
    clampScroll();
  }
  const auto [position, lineEnd] = positionInLine(target, preferredX_);
  setCursor(position, select, lineEnd);
}

void OutputBox::selectAll() {
  // The view stays where it is, as in the toolkit's text edit.
  anchor_ = 0;
  cursor_ = text_.size();
  atLineEnd_ = false;
  mergeOpen_ = false;
  preferredX_ = -1;
  restartBlink();
  updateMicroFocus();
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleTextSelectionEvent event(this, 0, toInt(cursor_));
    event.setCursorPosition(toInt(cursor_));
    QAccessible::updateAccessibility(&event);
  }
}

void OutputBox::ensureCaretVisible() {
  const TextWrap::Line line = wrap_.line(caretLine());
  const qint64 top = kMargin + line.top;
  const qint64 bottom = top + line.height;
  const int visible = viewport()->height();
  // As little as shows the caret's line; the margin above the first line scrolls away with it, as in the
  // toolkit's text edit.
  if (top < scrollY_)
    scrollY_ = top;
  else if (bottom > scrollY_ + visible)
    scrollY_ = bottom - visible;
  clampScroll();
}

void OutputBox::clampScroll() {
  const int visible = viewport()->height();
  if (scrollY_ > 0) {
    // Lines down to the bottom of the view tell whether the text reaches that far.
    wrap_.lineAtY(scrollY_ + visible);
    if (wrap_.complete()) scrollY_ = std::min(scrollY_, wrap_.height() + 2 * kMargin - visible);
  }
  scrollY_ = std::max<qint64>(0, scrollY_);
}

void OutputBox::restartBlink() {
  caretShown_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (hasFocus() && flash >= 2)
    blinkTimer_.start(flash / 2, this);
  else
    blinkTimer_.stop();
}

// ---------------------------------------------------------------------------------------------------------
// Changes of the text.

void OutputBox::replace(qsizetype from, qsizetype to, const QString& with, EditKind kind) {
  if (from == to && with.isEmpty()) return;
  Edit edit{from, text_.mid(from, to - from), with, cursor_, anchor_, 0, kind};
  bool merged = false;
  // A line break typed or deleted is an undo step of its own, as in the toolkit's text edit.
  const bool lineBreak = with.contains(u'\n') || edit.removed.contains(u'\n');
  if (mergeOpen_ && !lineBreak && applied_ > 0 && applied_ == edits_.size()) {
    Edit& last = edits_.back();
    if (last.kind == kind && kind == EditKind::Typing && edit.removed.isEmpty() &&
        from == last.position + last.inserted.size()) {
      last.inserted += with;
      merged = true;
    } else if (last.kind == kind && kind == EditKind::Backspace && with.isEmpty() && to == last.position) {
      last.removed.prepend(edit.removed);
      last.position = from;
      merged = true;
    } else if (last.kind == kind && kind == EditKind::Delete && with.isEmpty() && from == last.position) {
      last.removed += edit.removed;
      merged = true;
    }
  }
  applyChange(from, to - from, with);
  if (!merged) {
    edits_.resize(applied_);
    edits_.push_back(std::move(edit));
    ++applied_;
  }
  const qsizetype after = from + with.size();
  edits_.back().cursorAfter = after;
  cursor_ = anchor_ = after;
  // Typed text keeps the caret after it, at the end of its line when the line wraps right there.
  if (kind != EditKind::Delete) atLineEnd_ = true;
  preferredX_ = -1;
  caretMoved();
  mergeOpen_ = kind != EditKind::Other && !lineBreak;
}

void OutputBox::applyChange(qsizetype position, qsizetype removeLength, const QString& insert) {
  const bool accessible = QAccessible::isActive();
  const QString removed = accessible ? text_.mid(position, removeLength) : QString();
  text_.replace(position, removeLength, insert);
  wrap_.changedFrom(position);
  layouts_.clear();
  viewport()->update();
  if (accessible) {
    QAccessibleTextUpdateEvent event(this, toInt(position), removed, insert);
    QAccessible::updateAccessibility(&event);
  }
}

void OutputBox::insertText(const QString& text, EditKind kind) {
  const QString plain = plainText(text);
  if (plain.isEmpty()) return;
  replace(selectionStart(), selectionEnd(), plain, kind);
}

void OutputBox::deleteSelection(EditKind kind) {
  replace(selectionStart(), selectionEnd(), QString(), kind);
}

void OutputBox::undo() {
  if (applied_ == 0) return;
  const Edit& edit = edits_[--applied_];
  applyChange(edit.position, edit.inserted.size(), edit.removed);
  cursor_ = edit.cursorBefore;
  anchor_ = edit.anchorBefore;
  atLineEnd_ = false;
  mergeOpen_ = false;
  preferredX_ = -1;
  caretMoved();
}

void OutputBox::redo() {
  if (applied_ >= edits_.size()) return;
  const Edit& edit = edits_[applied_++];
  applyChange(edit.position, edit.removed.size(), edit.inserted);
  cursor_ = anchor_ = edit.cursorAfter;
  atLineEnd_ = false;
  mergeOpen_ = false;
  preferredX_ = -1;
  caretMoved();
}

void OutputBox::copy() const {
  if (hasSelection()) QGuiApplication::clipboard()->setText(selectedText());
}

void OutputBox::cut() {
  if (!hasSelection()) return;
  copy();
  deleteSelection(EditKind::Other);
}

void OutputBox::paste(bool fromSelection) {
  const QString text =
      QGuiApplication::clipboard()->text(fromSelection ? QClipboard::Selection : QClipboard::Clipboard);
  insertText(text, EditKind::Other);
}

// ---------------------------------------------------------------------------------------------------------
// Keys and input methods.

bool OutputBox::isEditingKey(QKeyEvent* event) {
  static constexpr QKeySequence::StandardKey kKeys[] = {
      QKeySequence::Copy,
      QKeySequence::Cut,
      QKeySequence::Paste,
      QKeySequence::Undo,
      QKeySequence::Redo,
      QKeySequence::SelectAll,
      QKeySequence::Delete,
      QKeySequence::Backspace,
      QKeySequence::DeleteStartOfWord,
      QKeySequence::DeleteEndOfWord,
      QKeySequence::MoveToNextChar,
      QKeySequence::MoveToPreviousChar,
      QKeySequence::MoveToNextWord,
      QKeySequence::MoveToPreviousWord,
      QKeySequence::MoveToNextLine,
      QKeySequence::MoveToPreviousLine,
      QKeySequence::MoveToNextPage,
      QKeySequence::MoveToPreviousPage,
      QKeySequence::MoveToStartOfLine,
      QKeySequence::MoveToEndOfLine,
      QKeySequence::MoveToStartOfBlock,
      QKeySequence::MoveToEndOfBlock,
      QKeySequence::MoveToStartOfDocument,
      QKeySequence::MoveToEndOfDocument,
      QKeySequence::SelectNextChar,
      QKeySequence::SelectPreviousChar,
      QKeySequence::SelectNextWord,
      QKeySequence::SelectPreviousWord,
      QKeySequence::SelectNextLine,
      QKeySequence::SelectPreviousLine,
      QKeySequence::SelectNextPage,
      QKeySequence::SelectPreviousPage,
      QKeySequence::SelectStartOfLine,
      QKeySequence::SelectEndOfLine,
      QKeySequence::SelectStartOfBlock,
      QKeySequence::SelectEndOfBlock,
      QKeySequence::SelectStartOfDocument,
      QKeySequence::SelectEndOfDocument,
      QKeySequence::InsertParagraphSeparator,
      QKeySequence::InsertLineSeparator,
  };
  for (QKeySequence::StandardKey key : kKeys)
    if (event->matches(key)) return true;
  return isRedo(event) || isTextInput(event) ||
         (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier));
}

bool OutputBox::handleKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo)) {
    undo();
  } else if (isRedo(event)) {
    redo();
  } else if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else if (event->matches(QKeySequence::Copy)) {
    copy();
  } else if (event->matches(QKeySequence::Cut)) {
    cut();
  } else if (event->matches(QKeySequence::Paste)) {
    paste();
  } else if (event->matches(QKeySequence::Delete)) {
    if (hasSelection())
      deleteSelection(EditKind::Other);
    else
      replace(cursor_, nextCharacter(cursor_), QString(), EditKind::Delete);
  } else if (event->matches(QKeySequence::Backspace) ||
             (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier))) {
    if (hasSelection())
      deleteSelection(EditKind::Other);
    else
      replace(previousCodePoint(cursor_), cursor_, QString(), EditKind::Backspace);
  } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
    if (hasSelection())
      deleteSelection(EditKind::Other);
    else
      replace(previousWord(cursor_), cursor_, QString(), EditKind::Other);
  } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
    if (hasSelection())
      deleteSelection(EditKind::Other);
    else
      replace(cursor_, nextWord(cursor_), QString(), EditKind::Other);
  } else if (event->matches(QKeySequence::InsertParagraphSeparator) ||
             event->matches(QKeySequence::InsertLineSeparator) ||
             ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
              !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))) {
    insertText(QStringLiteral("\n"), EditKind::Other);
  } else {
    struct Binding {
      QKeySequence::StandardKey move;
      QKeySequence::StandardKey select;
      Motion motion;
    };
    static constexpr Binding kMotions[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Motion::NextChar},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Motion::PreviousChar},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Motion::NextWord},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Motion::PreviousWord},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Motion::LineDown},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Motion::LineUp},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Motion::LineStart},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Motion::LineEnd},
        {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock, Motion::ParagraphStart},
        {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, Motion::ParagraphEnd},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Motion::TextStart},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Motion::TextEnd},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Motion::PageDown},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Motion::PageUp},
    };
    for (const Binding& binding : kMotions) {
      if (event->matches(binding.move)) {
        move(binding.motion, false);
        return true;
      }
      if (event->matches(binding.select)) {
        move(binding.motion, true);
        return true;
      }
    }
    if (!isTextInput(event)) return false;
    insertText(event->text(), EditKind::Typing);
  }
  return true;
}

void OutputBox::keyPressEvent(QKeyEvent* event) {
  // Keys the box has no use for (Esc above all, which closes the window) go on to the window.
  if (handleKey(event))
    event->accept();
  else
    event->ignore();
}

void OutputBox::inputMethodEvent(QInputMethodEvent* event) {
  const bool committing = !event->commitString().isEmpty() || event->replacementLength() > 0;
  if (committing) {
    qsizetype from = cursor_ + event->replacementStart();
    qsizetype to = from + event->replacementLength();
    if (hasSelection() && event->replacementStart() == 0 && event->replacementLength() == 0) {
      from = selectionStart();
      to = selectionEnd();
    }
    from = std::clamp<qsizetype>(from, 0, text_.size());
    to = std::clamp<qsizetype>(to, from, text_.size());
    replace(from, to, plainText(event->commitString()), EditKind::Typing);
  } else if (hasSelection() && !event->preeditString().isEmpty()) {
    deleteSelection(EditKind::Other);
  }
  preedit_ = event->preeditString();
  preeditCursor_ = static_cast<int>(preedit_.size());
  preeditCursorVisible_ = true;
  preeditFormats_.clear();
  for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
    switch (attribute.type) {
      case QInputMethodEvent::Selection: {
        // Relative to the surrounding text that the input method was given.
        const qsizetype origin = surroundingRange().first;
        anchor_ = std::clamp<qsizetype>(origin + attribute.start, 0, text_.size());
        cursor_ = std::clamp<qsizetype>(origin + attribute.start + attribute.length, 0, text_.size());
        atLineEnd_ = false;
        mergeOpen_ = false;
        break;
      }
      case QInputMethodEvent::Cursor:
        preeditCursor_ = attribute.start;
        preeditCursorVisible_ = attribute.length != 0;
        break;
      case QInputMethodEvent::TextFormat: {
        const QTextCharFormat format = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
        if (format.isValid()) {
          QTextLayout::FormatRange range;
          range.start = attribute.start;
          range.length = attribute.length;
          range.format = format;
          preeditFormats_.append(range);
        }
        break;
      }
      default:
        break;
    }
  }
  caretMoved();
  event->accept();
}

QVariant OutputBox::inputMethodQuery(Qt::InputMethodQuery query) const {
  const auto [from, to] = surroundingRange();
  switch (query) {
    case Qt::ImEnabled:
      return true;
    case Qt::ImCursorRectangle:
      return caretRect().translated(viewport()->pos());
    case Qt::ImAnchorRectangle:
      return cursorRect(anchor_, wrap_.lineAt(anchor_)).translated(viewport()->pos());
    case Qt::ImFont:
      return font();
    case Qt::ImCursorPosition:
      return toInt(cursor_ - from);
    case Qt::ImAnchorPosition:
      return toInt(std::clamp(anchor_, from, to) - from);
    case Qt::ImSurroundingText:
      return text_.mid(from, to - from);
    case Qt::ImTextBeforeCursor:
      return text_.mid(from, cursor_ - from);
    case Qt::ImTextAfterCursor:
      return text_.mid(cursor_, to - cursor_);
    case Qt::ImCurrentSelection:
      return selectedText();
    case Qt::ImMaximumTextLength:
      return QVariant();
    case Qt::ImAbsolutePosition:
      return toInt(cursor_);
    case Qt::ImHints:
      return static_cast<int>(inputMethodHints());
    case Qt::ImReadOnly:
      return false;
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

bool OutputBox::event(QEvent* event) {
  // Editing keys belong to the box, not to shortcuts of the window.
  if (event->type() == QEvent::ShortcutOverride && isEditingKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse, wheel and context menu.

void OutputBox::mousePressEvent(QMouseEvent* event) {
  const QPointF point = event->position();
  if (event->button() == Qt::LeftButton) {
    if (sinceDoubleClick_.isValid() && sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
        (point - doubleClickPoint_).manhattanLength() < QApplication::startDragDistance()) {
      // A third click takes the whole paragraph.
      sinceDoubleClick_.invalidate();
      const auto [start, end] = paragraphAt(positionAt(point).first);
      anchor_ = start;
      preferredX_ = -1;
      setCursor(end, true, false);
      selecting_ = false;
      return;
    }
    const auto [position, lineEnd] = positionAt(point);
    preferredX_ = -1;
    setCursor(position, event->modifiers() & Qt::ShiftModifier, lineEnd);
    selecting_ = true;
    selectingWords_ = false;
    dragPoint_ = point;
  } else if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
    const auto [position, lineEnd] = positionAt(point);
    setCursor(position, false, lineEnd);
    paste(true);
  } else {
    event->ignore();
  }
}

void OutputBox::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
  dragPoint_ = event->position();
  const bool outside = dragPoint_.y() < 0 || dragPoint_.y() >= viewport()->height();
  if (outside && !dragScrollTimer_.isActive())
    dragScrollTimer_.start(kDragScrollInterval, this);
  else if (!outside)
    dragScrollTimer_.stop();
  const auto [position, lineEnd] = positionAt(dragPoint_);
  if (selectingWords_) {
    const auto [wordStart, wordEnd] = wordAt(position);
    if (position < clickedWord_.first) {
      anchor_ = clickedWord_.second;
      setCursor(wordStart, true, false);
    } else {
      anchor_ = clickedWord_.first;
      setCursor(std::max(wordEnd, clickedWord_.second), true, false);
    }
  } else {
    setCursor(position, true, lineEnd);
  }
}

void OutputBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  selecting_ = false;
  dragScrollTimer_.stop();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (hasSelection() && clipboard->supportsSelection())
    clipboard->setText(selectedText(), QClipboard::Selection);
}

void OutputBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  clickedWord_ = wordAt(positionAt(event->position()).first);
  anchor_ = clickedWord_.first;
  preferredX_ = -1;
  setCursor(clickedWord_.second, true, false);
  selecting_ = true;
  selectingWords_ = true;
  sinceDoubleClick_.start();
  doubleClickPoint_ = event->position();
}

void OutputBox::wheelEvent(QWheelEvent* event) {
  const QPoint pixels = event->pixelDelta();
  qint64 delta = pixels.y() != 0 ? -pixels.y()
                                 : -static_cast<qint64>(event->angleDelta().y()) * kWheelStep *
                                       QApplication::wheelScrollLines() / 120;
  const int page = std::max(1, viewport()->height());
  delta = std::clamp<qint64>(delta, -page, page);
  const qint64 before = scrollY_;
  scrollY_ += delta;
  clampScroll();
  if (scrollY_ == before) {
    event->ignore();
    return;
  }
  viewport()->update();
  event->accept();
}

void OutputBox::contextMenuEvent(QContextMenuEvent* event) {
  // The entries and their translations are those of the toolkit's own text edit.
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const bool showKeys = QGuiApplication::styleHints()->showShortcutsInContextMenus();
  auto add = [&](const char* caption, QKeySequence::StandardKey key, bool enabled, auto slot) {
    QString text = QCoreApplication::translate("QWidgetTextControl", caption);
    if (showKeys && key != QKeySequence::UnknownKey)
      text += u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
    QAction* action = menu->addAction(text);
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, slot);
  };
  const bool selection = hasSelection();
  add("&Undo", QKeySequence::Undo, applied_ > 0, [this] { undo(); });
  add("&Redo", QKeySequence::Redo, applied_ < edits_.size(), [this] { redo(); });
  menu->addSeparator();
  add("Cu&t", QKeySequence::Cut, selection, [this] { cut(); });
  add("&Copy", QKeySequence::Copy, selection, [this] { copy(); });
  add("&Paste", QKeySequence::Paste, !QGuiApplication::clipboard()->text().isEmpty(), [this] { paste(); });
  add("Delete", QKeySequence::UnknownKey, selection, [this] { deleteSelection(EditKind::Other); });
  menu->addSeparator();
  add("Select All", QKeySequence::SelectAll, !text_.isEmpty(), [this] { selectAll(); });
  menu->popup(event->globalPos());
  event->accept();
}

// ---------------------------------------------------------------------------------------------------------
// Focus, timers, size, font and painting.

void OutputBox::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  restartBlink();
  viewport()->update();
}

void OutputBox::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  blinkTimer_.stop();
  viewport()->update();
}

void OutputBox::timerEvent(QTimerEvent* event) {
  if (event->timerId() == blinkTimer_.timerId()) {
    caretShown_ = !caretShown_;
    viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
  } else if (event->timerId() == dragScrollTimer_.timerId()) {
    // The point is above or below the view: selecting on to the line there scrolls it into the view.
    const auto [position, lineEnd] = positionAt(dragPoint_);
    setCursor(position, true, lineEnd);
  } else {
    QAbstractScrollArea::timerEvent(event);
  }
}

void OutputBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (textWidth() != wrap_.width()) {
    wrap_.setWidth(textWidth());
    layouts_.clear();
  }
  clampScroll();
}

void OutputBox::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    wrap_.setFont(font());
    layouts_.clear();
    clampScroll();
  }
  viewport()->update();
}

void OutputBox::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect area = event->rect();
  const QPalette& colors = palette();
  const QColor textColor = colors.color(QPalette::Text);
  // The selection is drawn in the active colours while the box has the focus.
  const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
  QTextCharFormat selected;
  selected.setBackground(colors.brush(group, QPalette::Highlight));
  selected.setForeground(colors.brush(group, QPalette::HighlightedText));
  const qsizetype selectionFrom = selectionStart();
  const qsizetype selectionTo = selectionEnd();
  const int caret =
      hasFocus() && caretShown_ && (preedit_.isEmpty() || preeditCursorVisible_) ? caretLine() : -1;
  const int cursorWidth = std::max(1, style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
  painter.setPen(textColor);

  const qint64 firstY = std::max<qint64>(0, scrollY_ + area.top() - kMargin);
  for (int index = wrap_.lineAtY(firstY); wrap_.hasLine(index); ++index) {
    const TextWrap::Line line = wrap_.line(index);
    const qint64 top = kMargin + line.top - scrollY_;
    if (top > area.bottom()) break;
    const QPointF origin(kMargin, static_cast<qreal>(top));
    const int caretInLine = static_cast<int>(cursor_ - line.start);

    std::unique_ptr<QTextLayout> composing;
    QTextLayout* layout;
    if (!preedit_.isEmpty() && index == caretLine()) {
      // The text being composed stands at the caret, in the input method's formats.
      composing = std::make_unique<QTextLayout>(text_.mid(line.start, line.end - line.start), font());
      QTextOption option;
      option.setWrapMode(QTextOption::NoWrap);
      option.setTextDirection(Qt::LeftToRight);
      composing->setTextOption(option);
      composing->setPreeditArea(caretInLine, preedit_);
      QList<QTextLayout::FormatRange> formats = preeditFormats_;
      for (QTextLayout::FormatRange& range : formats) range.start += caretInLine;
      composing->setFormats(formats);
      composing->beginLayout();
      QTextLine shaped = composing->createLine();
      shaped.setLeadingIncluded(true);
      shaped.setLineWidth(textWidth());
      composing->endLayout();
      layout = composing.get();
    } else {
      layout = lineLayout(index);
    }

    QList<QTextLayout::FormatRange> selections;
    const qsizetype from = std::max(selectionFrom, line.start);
    const qsizetype to = std::min(selectionTo, line.end);
    if (from < to) {
      QTextLayout::FormatRange range;
      range.start = static_cast<int>(from - line.start);
      range.length = static_cast<int>(to - from);
      range.format = selected;
      selections.append(range);
    }
    layout->draw(&painter, origin, selections);
    if (line.hardBreak() && selectionFrom <= line.end && selectionTo > line.end) {
      // A selected line break shows as a blank's width of selection after the line.
      const qreal x = kMargin + layout->lineAt(0).naturalTextWidth();
      const qreal blank = QFontMetricsF(font()).horizontalAdvance(u' ');
      painter.fillRect(QRectF(x, static_cast<qreal>(top), blank, line.height), selected.background());
    }
    if (index == caret) {
      const int position = caretInLine + (preedit_.isEmpty() ? 0 : preeditCursor_);
      if (layout->lineAt(0).cursorToX(position) <= textWidth()) {
        layout->drawCursor(&painter, origin, position, cursorWidth);
      } else {
        // Past blanks that hang out of the box: at its right edge, drawn the way the text layout draws it.
        painter.save();
        if (painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
          painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.fillRect(QRectF(kMargin + textWidth(), static_cast<qreal>(top), cursorWidth, line.height),
                         textColor);
        painter.restore();
      }
    }
  }
}
