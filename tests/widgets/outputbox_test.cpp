// The output box as the user and the handlers meet it: the bytes that go in and come back, how it wraps and
// scrolls, and editing with keys, mouse, input methods, clipboard, undo and the context menu. Its lines are
// checked against the toolkit's own text edit, which the box used to be.
#include "widgets/outputbox.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QWheelEvent>
#include <memory>
#include <string>
#include <vector>

#include "builders/compose.h"
#include "widgets/gbk.h"

using namespace std::string_literals;

namespace {

void settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// The window around the box: it records the keys that reach it, so that a key the box does not take can be
// seen going on to the window.
class Host : public QWidget {
 public:
  std::vector<int> keys;

 protected:
  void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

// A key press, a key with modifiers, or text typed as a keyboard layout sends it.
struct Key {
  Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) : key(k), modifiers(m) {}
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  QString text;
};
Key typed(const QString& text) {
  Key k(Qt::Key_unknown);
  k.text = text;
  return k;
}

class OutputBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<Host>();
    host->setGeometry(100, 60, 700, 700);
    box = new OutputBox(host.get());
    box->setGeometry(18, 20, 656, 71);  // as in the window
    next = new QLineEdit(host.get());
    next->setGeometry(18, 100, 100, 20);
    host->show();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    box->setFocus();
    settle();
  }

  void TearDown() override {
    host.reset();
    settle();
  }

  // Keys go through the window system's window, as the keyboard sends them.
  void press(const Key& k) {
    if (k.key == Qt::Key_unknown) {
      for (QChar c : k.text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    } else {
      QTest::keyClick(host->windowHandle(), k.key, k.modifiers);
    }
    settle();
  }
  void press(std::initializer_list<Key> keys) {
    for (const Key& k : keys) press(k);
  }

  QString shown() const { return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Value); }
  qsizetype caret() const { return box->inputMethodQuery(Qt::ImAbsolutePosition).toInt(); }
  QString selection() const { return box->inputMethodQuery(Qt::ImCurrentSelection).toString(); }
  // The caret's rectangle in the coordinates of the box's viewport.
  QRect caretRect() const {
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().translated(-box->viewport()->pos());
  }
  bool caretInView() const { return box->viewport()->rect().contains(caretRect()); }
  QPoint caretPointAt(qsizetype position) {
    press({{Qt::Key_Home, Qt::ControlModifier}});
    while (caret() < position) press({{Qt::Key_Right}});
    return caretRect().center();
  }

  void click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(box->viewport(), Qt::LeftButton, modifiers, at);
    settle();
  }
  void drag(QPoint from, QPoint to) {
    QWidget* viewport = box->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
    settle();
  }

  std::unique_ptr<Host> host;
  OutputBox* box = nullptr;
  QLineEdit* next = nullptr;
};

Text gbk(const QString& text) {
  return fromQString(text);
}

// A statement of many short lines, taller than the box.
Text manyLines(int count) {
  Text text;
  for (int i = 0; i < count; ++i) text += "SELECT " + std::to_string(i) + " FROM t;\r\n";
  return text;
}

// ---------------------------------------------------------------------------------------------------------
// Bytes in and out.

TEST_F(OutputBoxTest, WrittenBytesComeBackUnchangedAndLineBreaksShowAsOne) {
  const struct {
    const char* what;
    Text bytes;
    QString shown;
  } cases[] = {
      {"CR LF pairs", "SELECT 1;\r\nSELECT 2;\r\n"s, QStringLiteral(u"SELECT 1;\nSELECT 2;\n")},
      {"lone CR and lone LF", "a\rb\nc"s, QStringLiteral(u"a\nb\nc")},
      {"CR CR LF", "a\r\r\nb"s, QStringLiteral(u"a\n\nb")},
      {"GBK text", "表名"s, QStringLiteral(u"表名")},
      {"invalid lead byte before a blank", "\x81\x20z"s, toQString("\x81\x20z"s)},
      {"lone trailing lead byte", "abc\x81"s, toQString("abc\x81"s)},
      {"four-byte character", "\x94\x39\xFC\x36"s, toQString("\x94\x39\xFC\x36"s)},
      {"empty after a text", ""s, QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    box->setBytes(c.bytes);
    EXPECT_EQ(box->bytes(), c.bytes);
    EXPECT_EQ(shown(), c.shown);
  }
}

TEST_F(OutputBoxTest, AfterAnEditTheShownTextComesBackWithCrLfAndUndoBringsBackTheWrittenBytes) {
  const Text written = "x\x81\ry\r\nz"s;
  box->setBytes(written);
  press({{Qt::Key_End, Qt::ControlModifier}, typed(QStringLiteral("1"))});
  const Text edited = gbk(toQString(written)
                              .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                              .replace(u'\r', u'\n')
                              .replace(QStringLiteral("\n"), QStringLiteral("\r\n")) +
                          QStringLiteral("1"));
  EXPECT_EQ(box->bytes(), edited);

  press({{Qt::Key_Z, Qt::ControlModifier}});
  EXPECT_EQ(box->bytes(), written) << "undone to the written text";
  press({{Qt::Key_Y, Qt::ControlModifier}});
  EXPECT_EQ(box->bytes(), edited) << "redone";

  // Written anew, the box holds the new bytes and nothing to undo.
  box->setBytes("new\r\n"s);
  press({{Qt::Key_Z, Qt::ControlModifier}});
  EXPECT_EQ(box->bytes(), "new\r\n"s);
}

TEST_F(OutputBoxTest, KeysThatChangeNothingLeaveTheBoxUnedited) {
  const Text written = "a\rb\x81"s;
  box->setBytes(written);
  QApplication::clipboard()->clear();
  press({{Qt::Key_Backspace},
         {Qt::Key_Z, Qt::ControlModifier},
         {Qt::Key_X, Qt::ControlModifier},
         {Qt::Key_V, Qt::ControlModifier},
         {Qt::Key_End, Qt::ControlModifier},
         {Qt::Key_Delete},
         {Qt::Key_C, Qt::ControlModifier}});
  EXPECT_EQ(box->bytes(), written);
}

// ---------------------------------------------------------------------------------------------------------
// Keys.

TEST_F(OutputBoxTest, KeysEditAsInAPlainTextBox) {
  const struct {
    const char* what;
    QString text;
    std::vector<Key> keys;
    QString shown;
    qsizetype caret;
    QString selection;
  } cases[] = {
      {"Backspace deletes the character before the caret",
       QStringLiteral(u"abc"),
       {{Qt::Key_End}, {Qt::Key_Backspace}},
       QStringLiteral(u"ab"),
       2,
       {}},
      {"Delete deletes the character after it",
       QStringLiteral(u"abc"),
       {{Qt::Key_Delete}},
       QStringLiteral(u"bc"),
       0,
       {}},
      {"Backspace deletes a character outside the BMP whole",
       QStringLiteral(u"a😀b"),
       {{Qt::Key_End}, {Qt::Key_Left}, {Qt::Key_Backspace}},
       QStringLiteral(u"ab"),
       1,
       {}},
      {"Right steps over a letter with its accent",
       QStringLiteral(u"e\u0301x"),
       {{Qt::Key_Right}},
       QStringLiteral(u"e\u0301x"),
       2,
       {}},
      {"Delete deletes a letter with its accent",
       QStringLiteral(u"e\u0301x"),
       {{Qt::Key_Delete}},
       QStringLiteral(u"x"),
       0,
       {}},
      {"Ctrl+Right moves to the next word",
       QStringLiteral(u"SELECT * FROM 学生 WHERE id=1"),
       {{Qt::Key_Right, Qt::ControlModifier},
        {Qt::Key_Right, Qt::ControlModifier},
        {Qt::Key_Right, Qt::ControlModifier}},
       QStringLiteral(u"SELECT * FROM 学生 WHERE id=1"),
       14,
       {}},
      {"Ctrl+Left moves back by words and punctuation",
       QStringLiteral(u"SELECT * FROM 学生 WHERE id=1"),
       {{Qt::Key_End}, {Qt::Key_Left, Qt::ControlModifier}, {Qt::Key_Left, Qt::ControlModifier}},
       QStringLiteral(u"SELECT * FROM 学生 WHERE id=1"),
       25,
       {}},
      {"Ctrl+Shift+Left selects the word before the caret",
       QStringLiteral(u"WHERE 姓名"),
       {{Qt::Key_End}, {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier}},
       QStringLiteral(u"WHERE 姓名"),
       6,
       QStringLiteral(u"姓名")},
      {"Ctrl+Backspace deletes back to the start of the word",
       QStringLiteral(u"SELECT name"),
       {{Qt::Key_End}, {Qt::Key_Backspace, Qt::ControlModifier}},
       QStringLiteral(u"SELECT "),
       7,
       {}},
      {"typing replaces the selection",
       QStringLiteral(u"abc"),
       {{Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Right, Qt::ShiftModifier}, typed(QStringLiteral(u"字"))},
       QStringLiteral(u"字c"),
       1,
       {}},
      {"Left ends a selection at its start",
       QStringLiteral(u"abcdef"),
       {{Qt::Key_Right},
        {Qt::Key_Right, Qt::ShiftModifier},
        {Qt::Key_Right, Qt::ShiftModifier},
        {Qt::Key_Left}},
       QStringLiteral(u"abcdef"),
       1,
       {}},
      {"Right ends a selection at its end",
       QStringLiteral(u"abcdef"),
       {{Qt::Key_Right},
        {Qt::Key_Right, Qt::ShiftModifier},
        {Qt::Key_Right, Qt::ShiftModifier},
        {Qt::Key_Right}},
       QStringLiteral(u"abcdef"),
       3,
       {}},
      {"Enter breaks the line",
       QStringLiteral(u"ab"),
       {{Qt::Key_Right}, {Qt::Key_Return}},
       QStringLiteral(u"a\nb"),
       2,
       {}},
      {"Enter on the keypad too",
       QStringLiteral(u"ab"),
       {{Qt::Key_Right}, {Qt::Key_Enter, Qt::KeypadModifier}},
       QStringLiteral(u"a\nb"),
       2,
       {}},
      {"Shift+Home selects to the start of the line",
       QStringLiteral(u"abc\ndef"),
       {{Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Home, Qt::ShiftModifier}},
       QStringLiteral(u"abc\ndef"),
       4,
       QStringLiteral(u"def")},
      {"Ctrl+Shift+Home selects to the start of the text",
       QStringLiteral(u"abc\ndef"),
       {{Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier}},
       QStringLiteral(u"abc\ndef"),
       0,
       QStringLiteral(u"abc\ndef")},
      {"Down keeps the column across a shorter line",
       QStringLiteral(u"aaaaaa\nxy\naaaaaa"),
       {{Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Down}, {Qt::Key_Down}},
       QStringLiteral(u"aaaaaa\nxy\naaaaaa"),
       14,
       {}},
      {"Up on the first line stays",
       QStringLiteral(u"abc"),
       {{Qt::Key_Right}, {Qt::Key_Up}},
       QStringLiteral(u"abc"),
       1,
       {}},
      {"Shift+Down selects to the next line",
       QStringLiteral(u"ab\ncd"),
       {{Qt::Key_Right}, {Qt::Key_Down, Qt::ShiftModifier}},
       QStringLiteral(u"ab\ncd"),
       4,
       QStringLiteral(u"b\nc")},
      {"Ctrl+A selects everything",
       QStringLiteral(u"ab\ncd"),
       {{Qt::Key_A, Qt::ControlModifier}},
       QStringLiteral(u"ab\ncd"),
       5,
       QStringLiteral(u"ab\ncd")},
      {"Backspace deletes a line break",
       QStringLiteral(u"ab\ncd"),
       {{Qt::Key_Down}, {Qt::Key_Backspace}},
       QStringLiteral(u"abcd"),
       2,
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    box->setBytes(gbk(c.text));
    for (const Key& k : c.keys) press(k);
    EXPECT_EQ(shown(), c.shown);
    EXPECT_EQ(caret(), c.caret);
    EXPECT_EQ(selection(), c.selection);
  }
}

TEST_F(OutputBoxTest, UndoAndRedoGoBackAndForthBySteps) {
  box->setBytes("SELECT"s);
  press({{Qt::Key_End},
         typed(QStringLiteral(" * FROM")),
         {Qt::Key_Home},
         typed(QStringLiteral("--")),
         {Qt::Key_End},
         {Qt::Key_Backspace},
         {Qt::Key_Backspace}});
  ASSERT_EQ(shown(), QStringLiteral("--SELECT * FR"));

  const QString steps[] = {QStringLiteral("--SELECT * FROM"), QStringLiteral("SELECT * FROM"),
                           QStringLiteral("SELECT")};
  for (const QString& step : steps) {
    press({{Qt::Key_Z, Qt::ControlModifier}});
    EXPECT_EQ(shown(), step);
  }
  EXPECT_EQ(box->bytes(), "SELECT"s);
  press({{Qt::Key_Z, Qt::ControlModifier}});
  EXPECT_EQ(shown(), QStringLiteral("SELECT")) << "nothing more to undo";

  press({{Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}});
  EXPECT_EQ(shown(), QStringLiteral("SELECT * FROM"));
  press({{Qt::Key_Y, Qt::ControlModifier}});
  EXPECT_EQ(shown(), QStringLiteral("--SELECT * FROM"));

  // A new edit drops what could have been redone.
  press({typed(QStringLiteral("x")), {Qt::Key_Y, Qt::ControlModifier}});
  EXPECT_EQ(shown(), QStringLiteral("--xSELECT * FROM"));
}

TEST_F(OutputBoxTest, TabMovesTheFocusOnAndEscGoesToTheWindow) {
  box->setBytes("abc"s);
  press({{Qt::Key_Escape}});
  EXPECT_EQ(host->keys, std::vector<int>{Qt::Key_Escape}) << "the box leaves Esc to the window";

  press({{Qt::Key_Tab}});
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(box->bytes(), "abc"s);
}

// ---------------------------------------------------------------------------------------------------------
// Clipboard and context menu.

TEST_F(OutputBoxTest, CopyCutAndPastePlainText) {
  QClipboard* clipboard = QApplication::clipboard();
  box->setBytes("ab\r\ncd"s);
  press({{Qt::Key_Right}, {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_C, Qt::ControlModifier}});
  EXPECT_EQ(clipboard->text(), QStringLiteral("b\nc"));

  press({{Qt::Key_X, Qt::ControlModifier}});
  EXPECT_EQ(shown(), QStringLiteral("ad"));

  // CR LF and lone CR from elsewhere become line breaks; zero characters cannot be part of a text.
  clipboard->setText(QStringLiteral("1\r\n2\r3") + QChar(0) + QStringLiteral("4"));
  press({{Qt::Key_V, Qt::ControlModifier}});
  EXPECT_EQ(shown(), QStringLiteral("a1\n2\n34d"));
  EXPECT_EQ(caret(), 7);
  EXPECT_EQ(box->bytes(), "a1\r\n2\r\n34d"s);

  press({{Qt::Key_Insert, Qt::ShiftModifier}});
  EXPECT_EQ(shown(), QStringLiteral("a1\n2\n341\n2\n34d"));
}

TEST_F(OutputBoxTest, ContextMenuOffersTheEditingCommands) {
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  box->setBytes("SELECT 1"s);
  press({{Qt::Key_Right, Qt::ShiftModifier}});
  const QPoint at(20, 10);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->viewport()->mapToGlobal(at));
  QApplication::sendEvent(box->viewport(), &event);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);

  QStringList entries;
  QList<bool> enabled;
  QAction* selectAll = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    const QString caption = action->text().section(u'\t', 0, 0).remove(u'&');
    entries << caption;
    enabled << action->isEnabled();
    if (caption == QStringLiteral("Select All")) selectAll = action;
  }
  EXPECT_EQ(entries, (QStringList{QStringLiteral("Undo"), QStringLiteral("Redo"), QStringLiteral("Cut"),
                                  QStringLiteral("Copy"), QStringLiteral("Paste"), QStringLiteral("Delete"),
                                  QStringLiteral("Select All")}));
  // Nothing to undo or redo yet; a selection to cut, copy and delete.
  EXPECT_EQ(enabled, (QList<bool>{false, false, true, true, true, true, true}));

  ASSERT_NE(selectAll, nullptr);
  selectAll->trigger();
  menu->close();
  settle();
  EXPECT_EQ(selection(), QStringLiteral("SELECT 1"));
}

// ---------------------------------------------------------------------------------------------------------
// Mouse.

TEST_F(OutputBoxTest, ClickPlacesTheCaretAndDragSelects) {
  box->setBytes("SELECT a\r\nFROM t"s);
  const QPoint third = caretPointAt(3);
  const QPoint secondLine = caretPointAt(11);
  press({{Qt::Key_End, Qt::ControlModifier}});

  click(third);
  EXPECT_EQ(caret(), 3);
  EXPECT_EQ(selection(), QString());

  click(secondLine, Qt::ShiftModifier);
  EXPECT_EQ(selection(), QStringLiteral("ECT a\nFR"));

  drag(secondLine, third);
  EXPECT_EQ(selection(), QStringLiteral("ECT a\nFR"));
  EXPECT_EQ(caret(), 3);

  // Below the text: the last line.
  click(QPoint(2, box->viewport()->height() - 2));
  EXPECT_EQ(caret(), 9);
}

TEST_F(OutputBoxTest, DoubleClickSelectsAWordAndATripleClickItsParagraph) {
  box->setBytes(gbk(QStringLiteral(u"INSERT INTO t(字段1,字段2)\r\nnext")));
  const QPoint inWord = caretPointAt(16);
  QTest::mouseDClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, inWord);
  settle();
  EXPECT_EQ(selection(), QStringLiteral(u"字段1"));

  QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, inWord);
  settle();
  EXPECT_EQ(selection(), QStringLiteral(u"INSERT INTO t(字段1,字段2)"));
}

// ---------------------------------------------------------------------------------------------------------
// Input methods.

TEST_F(OutputBoxTest, InputMethodsComposeAndCommitChineseText) {
  box->setBytes("SELECT "s);
  press({{Qt::Key_End}});
  const QRect before = caretRect();

  QInputMethodEvent composing(QStringLiteral("zi"), {});
  QApplication::sendEvent(box, &composing);
  EXPECT_EQ(box->bytes(), "SELECT "s) << "text being composed is not yet part of the text";

  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral(u"字段"));
  QApplication::sendEvent(box, &commit);
  EXPECT_EQ(shown(), QStringLiteral(u"SELECT 字段"));
  EXPECT_EQ(box->bytes(), "SELECT 字段"s);
  EXPECT_GT(caretRect().left(), before.left());
  EXPECT_TRUE(caretInView());

  EXPECT_EQ(box->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral(u"SELECT 字段"));
  EXPECT_EQ(box->inputMethodQuery(Qt::ImCursorPosition).toInt(), 9);
  EXPECT_TRUE(box->inputMethodQuery(Qt::ImEnabled).toBool());

  // A commit that replaces what stands before the caret.
  QInputMethodEvent replacing;
  replacing.setCommitString(QStringLiteral(u"表"), -2, 2);
  QApplication::sendEvent(box, &replacing);
  EXPECT_EQ(shown(), QStringLiteral(u"SELECT 表"));

  // The input method selects in the surrounding text.
  QInputMethodEvent selecting(QString(), {QInputMethodEvent::Attribute(QInputMethodEvent::Selection, 0, 6)});
  QApplication::sendEvent(box, &selecting);
  EXPECT_EQ(selection(), QStringLiteral("SELECT"));
}

TEST_F(OutputBoxTest, SurroundingTextStaysInTheParagraphAndBounded) {
  box->setBytes("first\r\n"s + Text(5000, 'x') + "\r\nlast"s);
  press({{Qt::Key_Down}, {Qt::Key_Right}, {Qt::Key_Right}});
  const QString surrounding = box->inputMethodQuery(Qt::ImSurroundingText).toString();
  EXPECT_FALSE(surrounding.contains(u'\n'));
  EXPECT_LT(surrounding.size(), 5000);
  EXPECT_EQ(box->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
}

// ---------------------------------------------------------------------------------------------------------
// Look, wrapping and scrolling.

TEST_F(OutputBoxTest, LooksLikeTheOutputBoxOfTheWindow) {
  box->setBytes("SELECT 1"s);
  EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(box->palette().color(QPalette::Inactive, QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 255));
  EXPECT_EQ(box->font(), host->font());
  EXPECT_EQ(box->frameWidth(), 1);
  EXPECT_TRUE(box->focusPolicy() & Qt::TabFocus);

  // Drawn: white inside, red text starting at the left.
  next->setFocus();  // no caret in the picture
  settle();
  const QImage picture = box->viewport()->grab().toImage();
  EXPECT_EQ(picture.pixelColor(picture.width() - 5, picture.height() - 5), QColor(255, 255, 255));
  int firstRed = -1;
  for (int x = 0; x < picture.width() && firstRed < 0; ++x)
    for (int y = 0; y < picture.height(); ++y)
      if (picture.pixelColor(x, y) == QColor(255, 0, 0)) {
        firstRed = x;
        break;
      }
  EXPECT_GE(firstRed, 0) << "red text";
  EXPECT_LT(firstRed, 10) << "left-aligned";

  // However long the text, no scroll bar shows.
  box->setBytes(manyLines(50));
  box->setFocus();
  press({{Qt::Key_End, Qt::ControlModifier}});
  EXPECT_FALSE(box->verticalScrollBar()->isVisible());
  EXPECT_FALSE(box->horizontalScrollBar()->isVisible());
}

// Lines break where the toolkit's text edit breaks them, at the same heights and with the caret at the same
// places, for every position of the text.
TEST_F(OutputBoxTest, WrapsAndPlacesTheCaretAsTheToolkitsTextEdit) {
  const QString texts[] = {
      toQString(composeInsert("students", 60)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
      QStringLiteral(
          u"SELECT * FROM 学生 WHERE 姓名='张三' AND 年龄>18 ORDER BY 学号 DESC;\n-- 这是一个很长很长的"
          u"注释，用来检查中文标点符号“引号”（括号）、顿号。以及自动换行的效果！\n\nUPDATE 表名 SET "
          u"字段名='字段值' WHERE id=1"),
      QStringLiteral(
          u"averylongwordwithoutanyplacetobreakitsothatithastobebrokenanywhereinsideitbecauseitdoesnotfit "
          u"on one line, then words; blanks   and more, fly-by-night well-known (a) [b] \"quoted\" "
          u"x-1 5% $5 a/b\nname\tINTEGER\tPRIMARY KEY"),
      // Kerned pairs: the lines fill up by their kerned widths.
      QStringLiteral(u"AVAVAVA WAVY TAVERN Tyyo. ").repeated(30),
  };
  box->setGeometry(18, 20, 656, 560);  // tall enough to show every line
  QTextEdit reference(host.get());
  reference.setGeometry(18, 20, 656, 560);
  reference.setLineWrapMode(QTextEdit::WidgetWidth);
  reference.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  reference.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  reference.lower();
  reference.show();
  // The window's own font, and the Chinese font that the program puts in when the system's font has no
  // Chinese characters (then Chinese comes from a fallback font with taller lines).
  std::vector<QFont> fonts = {host->font()};
  if (QFontDatabase::hasFamily(QStringLiteral("WenQuanYi Micro Hei")))
    fonts.push_back(QFont(QStringLiteral("WenQuanYi Micro Hei"), host->font().pointSize()));
  for (const QFont& font : fonts)
    for (const QString& text : texts) {
      SCOPED_TRACE(font.family().toStdString() + ": " + text.left(20).toStdString());
      box->setFont(font);
      reference.setFont(font);
      reference.setPlainText(text);
      box->setBytes(gbk(text));
      box->setFocus();
      press({{Qt::Key_Home, Qt::ControlModifier}});
      QTextCursor cursor(reference.document());
      int mismatches = 0;
      for (qsizetype position = 0; position <= text.size() && mismatches < 5; ++position) {
        ASSERT_EQ(caret(), position);
        cursor.setPosition(static_cast<int>(position));
        const QRect expected = reference.cursorRect(cursor);
        const QRect actual = caretRect();
        if (actual.top() != expected.top() || actual.height() != expected.height() ||
            std::abs(actual.left() - expected.left()) > 1) {
          ++mismatches;
          ADD_FAILURE() << "at " << position << ": " << actual.left() << "," << actual.top() << " h "
                        << actual.height() << ", text edit " << expected.left() << "," << expected.top()
                        << " h " << expected.height();
        }
        press({{Qt::Key_Right}});
      }
    }
}

TEST_F(OutputBoxTest, ScrollsOnlyToFollowTheCaretAndByTheWheel) {
  box->setBytes(manyLines(40));
  const QRect first = caretRect();
  for (int i = 0; i < 12; ++i) {
    press({{Qt::Key_Down}});
    EXPECT_TRUE(caretInView()) << "after Down " << i;
  }
  EXPECT_EQ(caretRect().bottom(), box->viewport()->height() - 1) << "scrolled just far enough";

  press({{Qt::Key_End, Qt::ControlModifier}});
  EXPECT_TRUE(caretInView());
  press({{Qt::Key_Home, Qt::ControlModifier}});
  EXPECT_TRUE(caretInView());
  EXPECT_EQ(caretRect().left(), first.left());

  // The wheel moves the view and leaves the caret where it is in the text.
  auto wheel = [&](int degrees) {
    const QPointF at(50, 30);
    QWheelEvent event(at, box->viewport()->mapToGlobal(at), QPoint(), QPoint(0, degrees * 8), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box->viewport(), &event);
    settle();
  };
  wheel(15);
  const QRect atTop = caretRect();
  wheel(-15);
  EXPECT_LT(caretRect().top(), atTop.top());
  EXPECT_EQ(caret(), 0);
  wheel(15);
  wheel(15);
  EXPECT_EQ(caretRect(), atTop) << "back at the top, and no further";
}

TEST_F(OutputBoxTest, HomeAndEndKeepToTheShownLine) {
  // One paragraph over several lines of the box.
  box->setBytes(composeInsert("t", 40));
  const int firstTop = caretRect().top();
  press({{Qt::Key_End}});
  const qsizetype wrap = caret();
  EXPECT_GT(wrap, 0);
  EXPECT_EQ(caretRect().top(), firstTop) << "at the end of the first line, not the start of the second";
  press({{Qt::Key_Right}});
  EXPECT_GT(caretRect().top(), firstTop);
  press({{Qt::Key_Home}});
  EXPECT_EQ(caret(), wrap);
  EXPECT_GT(caretRect().top(), firstTop) << "the start of the second line";
}

TEST_F(OutputBoxTest, PageDownAndPageUpMoveByTheView) {
  box->setBytes(manyLines(40));
  press({{Qt::Key_PageDown}});
  const qsizetype onePage = caret();
  EXPECT_GT(onePage, 0);
  EXPECT_TRUE(caretInView());
  press({{Qt::Key_PageDown}});
  EXPECT_GT(caret(), onePage);
  EXPECT_TRUE(caretInView());
  press({{Qt::Key_PageUp}, {Qt::Key_PageUp}});
  EXPECT_EQ(caret(), 0);
  press({{Qt::Key_PageDown, Qt::ShiftModifier}});
  EXPECT_EQ(selection().size(), onePage);
}

TEST_F(OutputBoxTest, TheCaretBlinks) {
  box->setBytes("SELECT"s);
  press({{Qt::Key_End}});
  const QRect spot = caretRect().adjusted(-1, 0, 1, 0);
  const QImage shown = box->viewport()->grab(spot).toImage();
  EXPECT_TRUE(QTest::qWaitFor([&] { return box->viewport()->grab(spot).toImage() != shown; }, 3000));
}

// ---------------------------------------------------------------------------------------------------------
// A statement of megabytes on one line: shown, edited and given back like any other text.

TEST_F(OutputBoxTest, AHugeStatementIsShownEditedAndGivenBack) {
  const Text statement = composeInsert("t", 200000);
  box->setBytes(statement);
  EXPECT_TRUE(box->bytes() == statement);
  EXPECT_TRUE(caretInView());

  press({{Qt::Key_End, Qt::ControlModifier}, typed(QStringLiteral(";"))});
  EXPECT_TRUE(caretInView());
  EXPECT_TRUE(box->bytes() == statement + ";");

  // In the middle of the long line.
  press({{Qt::Key_Home, Qt::ControlModifier},
         {Qt::Key_PageDown},
         {Qt::Key_PageDown},
         typed(QStringLiteral("X"))});
  EXPECT_TRUE(caretInView());
  EXPECT_EQ(box->bytes().size(), statement.size() + 2);
  const qsizetype typedAt = caret() - 1;
  EXPECT_GT(typedAt, 0);
  EXPECT_EQ(shown().at(typedAt), u'X');
  EXPECT_TRUE(shown().left(typedAt) == toQString(statement).left(typedAt));

  press({{Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier}});
  EXPECT_TRUE(box->bytes() == statement);
}

// ---------------------------------------------------------------------------------------------------------
// Accessibility.

TEST_F(OutputBoxTest, IsAnEditableTextForAssistiveTools) {
  box->setAccessibleName(QStringLiteral(u"输出：生成的 SQL 语句"));
  box->setBytes("ab\r\ncd"s);
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::EditableText);
  EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral(u"输出：生成的 SQL 语句"));
  EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("ab\ncd"));
  EXPECT_TRUE(accessible->state().editable);
  EXPECT_TRUE(accessible->state().multiLine);

  QAccessibleTextInterface* text = accessible->textInterface();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->characterCount(), 5);
  EXPECT_EQ(text->text(1, 4), QStringLiteral("b\nc"));
  text->setCursorPosition(4);
  EXPECT_EQ(caret(), 4);
  EXPECT_EQ(text->cursorPosition(), 4);
  text->setSelection(0, 1, 4);
  EXPECT_EQ(selection(), QStringLiteral("b\nc"));
  EXPECT_EQ(text->selectionCount(), 1);
  int start = -1;
  int end = -1;
  text->selection(0, &start, &end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 4);
  text->removeSelection(0);
  EXPECT_EQ(text->selectionCount(), 0);

  const QRect d = text->characterRect(4);
  EXPECT_TRUE(QRect(box->mapToGlobal(QPoint(0, 0)), box->size()).contains(d));
  EXPECT_EQ(text->offsetAtPoint(QPoint(d.left() + 1, d.center().y())), 4);
}

}  // namespace
