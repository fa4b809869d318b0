// The control operations and the control events on the widget classes of the window, driven with real clicks
// and keys: what each operation gives back and changes, and exactly when each event is raised.
#include "widgets/controls.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/dropdownlist.h"
#include "widgets/gbk.h"
#include "widgets/outputbox.h"
#include "widgets/reportlist.h"

using namespace std::string_literals;

namespace {

void settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// A shown, active top-level window that holds the controls under test, so that focus, keys and popups work
// as in the main window.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<QWidget>();
    host->setGeometry(100, 60, 520, 460);
  }

  void TearDown() override {
    host.reset();
    settle();
  }

  void showHost() {
    host->show();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
  }

  // A key as the keyboard sends it: to the open popup, or to the focus widget of the host window.
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* popup = QApplication::activePopupWidget();
    QTest::keyClick(popup ? popup->windowHandle() : host->windowHandle(), k, modifiers);
    settle();
  }

  // A click as the mouse sends it, through the window system: popups and modal windows see it first.
  void clickThroughWindow(QWidget* widget) {
    QTest::mouseClick(host->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(host.get(), widget->rect().center()));
    settle();
  }

  std::unique_ptr<QWidget> host;
};

// ---------------------------------------------------------------------------------------------------------
// Texts between the program's GBK bytes and the toolkit's strings.

struct Conversion {
  const char* what;
  Text bytes;
  QString string;
};

TEST(GbkConversionTest, RoundTripsBothWays) {
  const Conversion cases[] = {
      {"empty", ""s, QString()},
      {"ASCII", "INSERT INTO t VALUES(1);"s, QStringLiteral("INSERT INTO t VALUES(1);")},
      {"GBK characters", "\xB1\xED\xC3\xFB"s, QStringLiteral(u"表名")},
      {"literal compiled as GBK", "字段名，【】："s, QStringLiteral(u"字段名，【】：")},
      {"line breaks", "a\r\nb\n"s, QStringLiteral(u"a\r\nb\n")},
      {"euro sign, two bytes", "\xA2\xE3"s, QStringLiteral(u"\u20AC")},
      {"emoji outside the BMP", "\x94\x39\xFC\x36"s, QString::fromUtf16(u"\U0001F600")},
      {"CJK extension A, four bytes", "\x81\x39\xEE\x39"s, QStringLiteral(u"\u3400")},
      {"yen sign, four bytes", "\x81\x30\x84\x36"s, QStringLiteral(u"\u00A5")},
  };
  for (const Conversion& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(toQString(c.bytes), c.string);
    EXPECT_EQ(fromQString(c.string), c.bytes);
  }
}

TEST(GbkConversionTest, DropsZeroCharacters) {
  const QChar withZeros[] = {u'\0', u'a', u'\0', u'\0', QChar(0x8868), u'\0'};
  EXPECT_EQ(fromQString(QStringView(withZeros, 6)), "a表"s);
  const QChar onlyZeros[] = {u'\0', u'\0'};
  EXPECT_EQ(fromQString(QStringView(onlyZeros, 2)), ""s);
}

TEST(GbkConversionTest, TrailingLoneLeadByteIsNotHeldBackForTheNextText) {
  const QString cutOff = toQString("abc\x81"s);
  EXPECT_TRUE(cutOff.startsWith(QStringLiteral("abc")));
  EXPECT_LE(cutOff.size(), 4);
  // The next conversion starts afresh: the lead byte does not pair with its first byte.
  EXPECT_EQ(toQString("\xB1\xED"s), QStringLiteral(u"表"));
}

// ---------------------------------------------------------------------------------------------------------
// Edit boxes: the one-line boxes and the multi-line output box.

class EditBoxTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    line = new QLineEdit(host.get());
    line->setGeometry(10, 10, 300, 20);
    removeLengthLimit(line);
    output = new OutputBox(host.get());
    output->setGeometry(10, 40, 400, 120);
    showHost();
  }

  QLineEdit* line = nullptr;
  OutputBox* output = nullptr;
};

TEST_F(EditBoxTest, SetTextThenGetTextGivesBackTheBytes) {
  const struct {
    const char* what;
    Text text;
  } cases[] = {
      {"GBK text", "表名"s},
      {"CR LF pairs", "CREATE TABLE t(\r\na INTEGER\r\n);\r\n"s},
      {"only line breaks", "\r\n\r\n"s},
      {"lone LF and lone CR", "a\nb\rc"s},
      {"blanks around", "  x  "s},
      {"invalid lead byte before a blank", "\x81\x20z"s},
      {"lone trailing lead byte", "abc\x81"s},
      {"bytes that are no character", "\x80\xFF\xFF"s},
      {"four-byte character", "\x94\x39\xFC\x36"s},
      {"long text", Text(100000, 'x') + "表"},
      {"empty after a non-empty text", ""s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    setText(line, c.text);
    EXPECT_EQ(getText(line), c.text) << "one-line box";
    setText(output, c.text);
    EXPECT_EQ(getText(output), c.text) << "output box";
  }
}

TEST_F(EditBoxTest, OutputBoxGivesTheShownTextWithCrLfAfterTheUserTyped) {
  setText(output, "a\r\nb"s);
  setFocus(output);
  key(Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(output, QStringLiteral("c"));
  key(Qt::Key_Return);
  QTest::keyClicks(output, QStringLiteral("d"));
  key(Qt::Key_Return, Qt::ShiftModifier);  // a line break inside the paragraph
  QTest::keyClicks(output, QStringLiteral("e"));
  EXPECT_EQ(getText(output), "a\r\nbc\r\nd\r\ne"s);

  // Written again by the program, the box gives back exactly the new bytes.
  setText(output, "x\x81"s);
  EXPECT_EQ(getText(output), "x\x81"s);
}

TEST_F(EditBoxTest, OutputBoxEditThenUndoGivesTheWrittenText) {
  setText(output, "SELECT 1;\r\nSELECT 2;"s);
  setFocus(output);
  QTest::keyClicks(output, QStringLiteral("X"));
  EXPECT_EQ(getText(output), "XSELECT 1;\r\nSELECT 2;"s);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(getText(output), "SELECT 1;\r\nSELECT 2;"s);
}

TEST_F(EditBoxTest, OneLineBoxGivesWhatTheUserTyped) {
  setText(line, "表名"s);
  setFocus(line);
  key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(line, QStringLiteral("abc "));
  // Chinese text arrives from the input method.
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral(u"字段"));
  QApplication::sendEvent(line, &commit);
  EXPECT_EQ(getText(line), "abc 字段"s);

  setText(line, "\x81"s);
  EXPECT_EQ(getText(line), "\x81"s);
}

TEST_F(EditBoxTest, InputIsNotCutAtTheToolkitsDefaultLimit) {
  // Typing key by key lays the line out anew for every key: paste most of it, then type on beyond 32767.
  QApplication::clipboard()->setText(QString(39990, u'k'));
  setFocus(line);
  key(Qt::Key_V, Qt::ControlModifier);
  QTest::keyClicks(line, QStringLiteral("0123456789"));
  EXPECT_EQ(getText(line), Text(39990, 'k') + "0123456789");
}

// ---------------------------------------------------------------------------------------------------------
// Check boxes.

class CheckBoxTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    box = new QCheckBox(QStringLiteral(u"主键"), host.get());
    box->setGeometry(10, 10, 80, 24);
    other = new QPushButton(QStringLiteral("other"), host.get());
    other->setGeometry(10, 50, 70, 28);
    QObject::connect(box, &QCheckBox::clicked, box, [this] { clicks.push_back(isChecked(box)); });
    showHost();
  }

  void clickBox() {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(7, box->height() / 2));
    settle();
  }

  QCheckBox* box = nullptr;
  QPushButton* other = nullptr;
  std::vector<int> clicks;  // isChecked inside each clicked handler
};

TEST_F(CheckBoxTest, ClickedComesAfterTheToggle) {
  clickBox();
  clickBox();
  setFocus(box);
  key(Qt::Key_Space);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(isChecked(box), 1);
}

TEST_F(CheckBoxTest, SetCheckedRaisesNothing) {
  setChecked(box, 7);
  EXPECT_EQ(isChecked(box), 1);
  setChecked(box, 0);
  EXPECT_EQ(isChecked(box), 0);
  setChecked(box, -1);
  EXPECT_EQ(isChecked(box), 1);
  settle();
  EXPECT_TRUE(clicks.empty());
}

TEST_F(CheckBoxTest, DisabledBoxKeepsItsStateAndIgnoresTheUser) {
  setChecked(box, 1);
  setDisabled(box, 1);
  EXPECT_EQ(isChecked(box), 1);
  EXPECT_FALSE(box->isEnabled());
  clickBox();
  setFocus(other);
  key(Qt::Key_Tab);
  key(Qt::Key_Space);
  EXPECT_EQ(isChecked(box), 1);
  EXPECT_TRUE(clicks.empty());

  // The program can still change it; enabling keeps the state.
  setChecked(box, 0);
  EXPECT_EQ(isChecked(box), 0);
  setDisabled(box, 0);
  EXPECT_EQ(isChecked(box), 0);
  clickBox();
  EXPECT_EQ(clicks, std::vector<int>{1});
}

// ---------------------------------------------------------------------------------------------------------
// Drop-down lists.

struct Pick {
  int index;
  Text text;
  bool listClosed;
  bool operator==(const Pick&) const = default;
};

void PrintTo(const Pick& p, std::ostream* os) {
  *os << "{" << p.index << ", \"" << p.text << "\", " << (p.listClosed ? "closed" : "open") << "}";
}

class DropDownListTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    box = new DropDownList(host.get());
    box->setGeometry(10, 10, 100, 23);
    for (const char* item : {"INTEGER", "TEXT", "REAL", "BLOB", "NONE"}) box->addItem(toQString(item));
    elsewhere = new QLineEdit(host.get());
    elsewhere->setGeometry(10, 380, 100, 20);
    QObject::connect(box, &DropDownList::listItemSelected, box, [this] {
      picks.push_back({selectedIndex(box), getText(box),
                       !box->view()->isVisible() && QApplication::activePopupWidget() == nullptr});
    });
    // Runs inside the box's own processing of the acceptance.
    QObject::connect(box, &QComboBox::activated, box,
                     [this] { raisedDuringAcceptance.push_back(static_cast<int>(picks.size())); });
    showHost();
  }

  void open() {
    QTest::mouseClick(box, Qt::LeftButton);
    settle();
    ASSERT_TRUE(box->view()->isVisible());
  }

  // Moves the pointer over an item of the open list, as a user's hand does, and clicks it there.
  void clickItem(int index) {
    QWidget* viewport = box->view()->viewport();
    const QPoint item = box->view()->visualRect(box->view()->model()->index(index, 0)).center();
    for (const QPoint at : {item + QPoint(30, 0), item}) {
      QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, item);
  }

  DropDownList* box = nullptr;
  QLineEdit* elsewhere = nullptr;
  std::vector<Pick> picks;
  std::vector<int> raisedDuringAcceptance;  // picks already raised when the box reported the acceptance
};

TEST_F(DropDownListTest, PickIsRaisedOnceAfterTheListClosed) {
  open();
  clickItem(1);
  // Not raised from inside the acceptance: it waits for the next turn of the message loop.
  EXPECT_EQ(raisedDuringAcceptance, std::vector<int>{0});
  EXPECT_TRUE(picks.empty());
  settle();
  EXPECT_EQ(picks, (std::vector<Pick>{{1, "TEXT", true}}));
}

TEST_F(DropDownListTest, PickingTheSelectedItemAgainRaisesAgain) {
  open();
  clickItem(0);  // already selected at the start
  settle();
  open();
  clickItem(1);
  settle();
  open();
  clickItem(1);
  settle();
  EXPECT_EQ(picks, (std::vector<Pick>{{0, "INTEGER", true}, {1, "TEXT", true}, {1, "TEXT", true}}));
}

TEST_F(DropDownListTest, KeyboardAcceptanceRaisesOnce) {
  open();
  key(Qt::Key_Down);
  key(Qt::Key_Down);
  key(Qt::Key_Return);
  EXPECT_EQ(picks, (std::vector<Pick>{{2, "REAL", true}}));

  // With the list closed, an arrow key picks the next item.
  setFocus(box);
  key(Qt::Key_Down);
  EXPECT_EQ(picks, (std::vector<Pick>{{2, "REAL", true}, {3, "BLOB", true}}));
}

TEST_F(DropDownListTest, ClosingTheListWithoutAPickRaisesNothing) {
  open();
  key(Qt::Key_Down);
  key(Qt::Key_Escape);
  EXPECT_FALSE(box->view()->isVisible());

  open();
  clickThroughWindow(elsewhere);
  EXPECT_FALSE(box->view()->isVisible());

  EXPECT_TRUE(picks.empty());
  EXPECT_EQ(selectedIndex(box), 0);
  EXPECT_EQ(getText(box), "INTEGER"s);
}

TEST_F(DropDownListTest, ProgramChangesRaiseNothing) {
  box->setCurrentIndex(3);
  settle();
  EXPECT_EQ(selectedIndex(box), 3);
  EXPECT_EQ(getText(box), "BLOB"s);
  box->setCurrentIndex(-1);
  settle();
  EXPECT_EQ(selectedIndex(box), -1);
  EXPECT_EQ(getText(box), ""s);
  EXPECT_TRUE(picks.empty());
}

TEST_F(DropDownListTest, BoxAndOpenListTakeAtMost160Pixels) {
  for (int i = 0; i < 20; ++i) box->addItem(QString::number(i));
  open();
  const QWidget* popup = box->view()->window();
  const int boxTop = box->mapToGlobal(QPoint(0, 0)).y();
  EXPECT_GE(popup->geometry().top(), boxTop);
  EXPECT_LE(popup->geometry().bottom() + 1 - boxTop, 160);
  EXPECT_GT(popup->height(), 0);
  key(Qt::Key_Escape);
}

// ---------------------------------------------------------------------------------------------------------
// Report lists.

class ReportListTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    list = new ReportList(host.get());
    list->setGeometry(10, 10, 400, 420);
    list->setColumnCount(3);
    list->setHorizontalHeaderLabels(
        {QStringLiteral(u"序号"), QStringLiteral(u"语句说明"), QStringLiteral("SQL")});
    list->setColumnLayout(0, 50, Qt::AlignLeft);
    list->setColumnLayout(1, 300, Qt::AlignLeft);
    list->setColumnLayout(2, 0, Qt::AlignHCenter);
    button = new QPushButton(QStringLiteral("button"), host.get());
    button->setGeometry(420, 10, 70, 28);
    QObject::connect(list, &ReportList::currentRowChanged, list,
                     [this] { raised.push_back(selectedRow(list)); });
    showHost();
  }

  // Rows "r0", "r1", ... in column 0.
  void fill(int rows) {
    for (int i = 0; i < rows; ++i) setCell(list, insertRow(list), 0, "r" + std::to_string(i));
  }

  std::vector<Text> column0() const {
    std::vector<Text> texts;
    for (int row = 0; row < rowCount(list); ++row) texts.push_back(getCell(list, row, 0));
    return texts;
  }

  QPoint rowPoint(int row) const { return list->visualRect(list->model()->index(row, 1)).center(); }

  void clickRow(int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rowPoint(row));
    settle();
  }

  void clickEmptyArea() {
    const QPoint below(20, list->viewport()->height() - 5);
    ASSERT_FALSE(list->indexAt(below).isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    settle();
  }

  ReportList* list = nullptr;
  QPushButton* button = nullptr;
  std::vector<int> raised;  // selectedRow inside each currentRowChanged handler
};

TEST_F(ReportListTest, InsertRowAppendsEmptyRows) {
  EXPECT_EQ(insertRow(list), 0);
  EXPECT_EQ(insertRow(list), 1);
  setCell(list, 1, 1, "second"s);
  EXPECT_EQ(insertRow(list), 2);
  EXPECT_EQ(rowCount(list), 3);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_EQ(getCell(list, row, column), row == 1 && column == 1 ? "second"s : ""s)
          << row << "," << column;
    }
  }
  EXPECT_EQ(selectedRow(list), -1);
}

TEST_F(ReportListTest, CellsOutsideTheListAreEmptyAndCannotBeWritten) {
  fill(2);
  setCell(list, 1, 2, "SELECT * FROM t;\r\n"s);
  const struct {
    int row;
    int column;
    Text text;
  } reads[] = {
      {0, 0, "r0"}, {1, 2, "SELECT * FROM t;\r\n"}, {1, 1, ""}, {-1, 0, ""}, {2, 0, ""}, {0, 3, ""},
      {0, -1, ""},
  };
  for (const auto& r : reads) EXPECT_EQ(getCell(list, r.row, r.column), r.text) << r.row << "," << r.column;

  const struct {
    int row;
    int column;
  } writes[] = {{-1, 0}, {2, 0}, {0, 3}, {0, -1}, {-1, -1}};
  for (const auto& w : writes) setCell(list, w.row, w.column, "x"s);
  EXPECT_EQ(rowCount(list), 2);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_NE(getCell(list, row, column), "x"s) << row << "," << column;
    }
  }
}

TEST_F(ReportListTest, CellsKeepTheirBytes) {
  fill(1);
  const Text texts[] = {"表名"s, "a\x81"s, "\x80\xFF"s, "\x94\x39\xFC\x36"s, Text(100000, 'y')};
  for (const Text& text : texts) {
    setCell(list, 0, 1, text);
    EXPECT_EQ(getCell(list, 0, 1), text);
  }
}

TEST_F(ReportListTest, ColumnOfWidthZeroStaysHiddenAndKeepsItsTexts) {
  fill(2);
  setCell(list, 1, 2, "UPDATE t SET a=1;"s);
  list->resize(600, 420);
  settle();
  EXPECT_EQ(list->columnWidth(2), 0);
  EXPECT_FALSE(list->isColumnHidden(2));
  EXPECT_EQ(getCell(list, 1, 2), "UPDATE t SET a=1;"s);
}

TEST_F(ReportListTest, DeleteRowRemovesOnlyRowsInsideTheList) {
  fill(3);
  deleteRow(list, -1);
  deleteRow(list, 3);
  EXPECT_EQ(column0(), (std::vector<Text>{"r0", "r1", "r2"}));
  clickRow(0);
  deleteRow(list, 0);
  EXPECT_EQ(column0(), (std::vector<Text>{"r1", "r2"}));
  EXPECT_EQ(selectedRow(list), -1);
}

// The scenario of a user working through a list; every step names the events it raises.
TEST_F(ReportListTest, RowEventOnlyWhenAnotherRowBecomesCurrent) {
  fill(8);
  const struct {
    const char* step;
    std::function<void()> act;
    std::vector<int> raised;
    int selectedAfter;
  } steps[] = {
      {"click row 2", [&] { clickRow(2); }, {2}, 2},
      {"click row 2 again", [&] { clickRow(2); }, {}, 2},
      {"click below the rows", [&] { clickEmptyArea(); }, {}, -1},
      {"click the current row 2 once more", [&] { clickRow(2); }, {}, 2},
      {"click row 5", [&] { clickRow(5); }, {5}, 5},
      {"Down", [&] { key(Qt::Key_Down); }, {6}, 6},
      {"Up", [&] { key(Qt::Key_Up); }, {5}, 5},
      {"End", [&] { key(Qt::Key_End); }, {7}, 7},
      {"Down on the last row", [&] { key(Qt::Key_Down); }, {}, 7},
      {"Home", [&] { key(Qt::Key_Home); }, {0}, 0},
      {"click row 0", [&] { clickRow(0); }, {}, 0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    raised.clear();
    s.act();
    EXPECT_EQ(raised, s.raised);
    EXPECT_EQ(selectedRow(list), s.selectedAfter);
  }
}

TEST_F(ReportListTest, RowIsAlreadySelectedWhenTheEventIsRaised) {
  fill(6);
  clickRow(1);
  clickRow(4);
  key(Qt::Key_Up);
  EXPECT_EQ(raised, (std::vector<int>{1, 4, 3}));
}

TEST_F(ReportListTest, FirstFocusMakesNoRowCurrent) {
  fill(3);
  setFocus(button);
  key(Qt::Key_Tab);
  ASSERT_TRUE(list->hasFocus());
  setFocus(button);
  setFocus(list);
  settle();
  EXPECT_TRUE(raised.empty());
  EXPECT_EQ(selectedRow(list), -1);
  // The first Down goes to the first row, which was not current before.
  key(Qt::Key_Down);
  EXPECT_EQ(raised, std::vector<int>{0});
}

TEST_F(ReportListTest, FirstClickOnRowZeroRaisesAfterFocus) {
  fill(3);
  setFocus(button);
  setFocus(list);
  settle();
  clickRow(0);
  EXPECT_EQ(raised, std::vector<int>{0});
}

TEST_F(ReportListTest, DraggingWithTheButtonHeldKeepsThePressedRow) {
  fill(6);
  QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, rowPoint(0));
  QTest::mouseMove(list->viewport(), rowPoint(1));
  QTest::mouseMove(list->viewport(), rowPoint(3));
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, rowPoint(3));
  settle();
  EXPECT_EQ(raised, std::vector<int>{0});
  EXPECT_EQ(selectedRow(list), 0);
}

TEST_F(ReportListTest, DeletingTheCurrentRowSelectsNoOtherRow) {
  fill(4);
  clickRow(1);
  deleteRow(list, 1);
  EXPECT_EQ(column0(), (std::vector<Text>{"r0", "r2", "r3"}));
  EXPECT_EQ(selectedRow(list), -1);
  // The row that moved into its place did not become current: clicking it raises the event.
  clickRow(1);
  EXPECT_EQ(raised, (std::vector<int>{1, 1}));
  EXPECT_EQ(getCell(list, selectedRow(list), 0), "r2"s);
}

TEST_F(ReportListTest, DeletingARowAboveKeepsTheCurrentRow) {
  fill(4);
  clickRow(2);
  deleteRow(list, 0);
  EXPECT_EQ(selectedRow(list), 1);
  EXPECT_EQ(getCell(list, 1, 0), "r2"s);
  clickRow(1);  // still the current row
  clickRow(2);  // the row that now has the number the current row had before
  EXPECT_EQ(raised, (std::vector<int>{2, 2}));
}

TEST_F(ReportListTest, ProgramChangesOfTheRowsRaiseNothing) {
  setFocus(list);
  fill(3);
  settle();
  clickRow(1);
  raised.clear();
  insertRow(list);
  setCell(list, 1, 1, "changed"s);
  setCell(list, 3, 0, "r3"s);
  deleteRow(list, 0);
  deleteRow(list, 0);  // the current row
  deleteRow(list, 1);
  settle();
  EXPECT_TRUE(raised.empty());
  EXPECT_EQ(column0(), std::vector<Text>{"r2"});
  EXPECT_EQ(selectedRow(list), -1);
}

TEST_F(ReportListTest, SelectionStaysWhenTheFocusLeaves) {
  fill(3);
  std::vector<int> seenByButton;
  QObject::connect(button, &QPushButton::clicked, button, [&] { seenByButton.push_back(selectedRow(list)); });
  clickRow(1);
  QTest::mouseClick(button, Qt::LeftButton);
  settle();
  EXPECT_TRUE(button->hasFocus());
  EXPECT_EQ(seenByButton, std::vector<int>{1});
  EXPECT_EQ(selectedRow(list), 1);
  // Coming back to the list changes nothing either.
  key(Qt::Key_Tab);
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(selectedRow(list), 1);
  EXPECT_EQ(raised, std::vector<int>{1});
}

TEST_F(ReportListTest, HeaderClickSortsNothing) {
  fill(3);
  setCell(list, 0, 0, "z"s);
  clickRow(2);
  QHeaderView* header = list->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
  settle();
  EXPECT_EQ(column0(), (std::vector<Text>{"z", "r1", "r2"}));
  EXPECT_EQ(selectedRow(list), 2);
  EXPECT_EQ(raised, std::vector<int>{2});
}

}  // namespace
