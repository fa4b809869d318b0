// The multi-line output box: red text on white, word wrap, no scroll bars, and exact bytes back.
//
// A plain-text editor of its own rather than the toolkit's text edit, which lays out a whole paragraph at
// once and takes tens of seconds for a statement of several megabytes on one line. Here the text is one
// string, its lines are broken only as far down as the view and the caret need (TextWrap), and only the
// lines in view are shaped and drawn, so that showing and editing cost the same for any length of text.
// It looks and edits like the toolkit's text edit: same margins, line heights, wrapping, caret, selection,
// keys, mouse, input methods, clipboard, undo and context menu.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "text/text.h"
#include "widgets/textwrap.h"

class OutputBox : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit OutputBox(QWidget* parent = nullptr);
  ~OutputBox() override;

  // Replaces the whole text. The bytes are kept, so that reading the box before the user edits it gives
  // back exactly what was written, CR LF pairs included.
  void setBytes(TextView text);

  // The written bytes while the box is unedited; after an edit, the shown text with every line break as
  // CR LF.
  Text bytes() const;

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  friend class OutputBoxAccessible;

  enum class Motion {
    NextChar,
    PreviousChar,
    NextWord,
    PreviousWord,
    LineDown,
    LineUp,
    LineStart,
    LineEnd,
    ParagraphStart,
    ParagraphEnd,
    TextStart,
    TextEnd,
    PageDown,
    PageUp
  };
  // Consecutive edits of one kind at one place undo together.
  enum class EditKind { Typing, Backspace, Delete, Other };
  struct Edit {
    qsizetype position;
    QString removed;
    QString inserted;
    qsizetype cursorBefore;
    qsizetype anchorBefore;
    qsizetype cursorAfter;
    EditKind kind;
  };
  struct LineLayout {
    qsizetype start;
    qsizetype end;
    std::unique_ptr<QTextLayout> layout;
  };

  bool hasSelection() const { return cursor_ != anchor_; }
  qsizetype selectionStart() const { return std::min(cursor_, anchor_); }
  qsizetype selectionEnd() const { return std::max(cursor_, anchor_); }
  QString selectedText() const;

  // Lines and places, in the coordinates of the text area (the viewport without its margin).
  qreal textWidth() const;
  QTextLayout* lineLayout(int index) const;
  int caretLine() const;
  qreal xAt(int index, qsizetype position) const;
  std::pair<qsizetype, bool> positionInLine(int index, qreal x) const;
  std::pair<qsizetype, bool> positionAt(QPointF viewportPoint) const;
  QRect cursorRect(qsizetype position, int index) const;  // in viewport coordinates
  QRect caretRect() const;
  qsizetype nextCharacter(qsizetype position) const;
  qsizetype previousCharacter(qsizetype position) const;
  qsizetype previousCodePoint(qsizetype position) const;
  qsizetype nextWord(qsizetype position) const;
  qsizetype previousWord(qsizetype position) const;
  std::pair<qsizetype, qsizetype> wordAt(qsizetype position) const;
  std::pair<qsizetype, qsizetype> paragraphAt(qsizetype position) const;
  std::pair<qsizetype, qsizetype> surroundingRange() const;

  // Caret and selection.
  void setCursor(qsizetype position, bool keepAnchor, bool atLineEnd);
  void move(Motion motion, bool select);
  void moveByPage(int direction, bool select);
  void selectAll();
  void caretMoved();
  void ensureCaretVisible();
  void clampScroll();
  void restartBlink();

  // Changes of the text, all through replace(), which records them for undo.
  void replace(qsizetype from, qsizetype to, const QString& with, EditKind kind);
  void applyChange(qsizetype position, qsizetype removeLength, const QString& insert);
  void insertText(const QString& text, EditKind kind);
  void deleteSelection(EditKind kind);
  void undo();
  void redo();
  void copy() const;
  void cut();
  void paste(bool fromSelection = false);
  bool handleKey(QKeyEvent* event);
  static bool isEditingKey(QKeyEvent* event);

  QString text_;  // the shown text; '\n' is its only line break
  Text written_;
  mutable TextWrap wrap_;
  mutable std::vector<LineLayout> layouts_;  // shaped lines in and near the view
  qsizetype cursor_ = 0;
  qsizetype anchor_ = 0;
  bool atLineEnd_ = false;  // a caret at a wrap stands at the end of the line above, not the start of its own
  qreal preferredX_ = -1;   // kept while moving up and down
  qint64 scrollY_ = 0;      // pixels of the text above the view

  std::vector<Edit> edits_;
  std::size_t applied_ = 0;  // edits in effect; those after them can be redone
  bool mergeOpen_ = false;

  QString preedit_;
  int preeditCursor_ = 0;
  bool preeditCursorVisible_ = true;
  QList<QTextLayout::FormatRange> preeditFormats_;

  QBasicTimer blinkTimer_;
  bool caretShown_ = true;
  QBasicTimer dragScrollTimer_;
  QPointF dragPoint_;
  bool selecting_ = false;
  bool selectingWords_ = false;
  std::pair<qsizetype, qsizetype> clickedWord_;
  QElapsedTimer sinceDoubleClick_;
  QPointF doubleClickPoint_;
};
