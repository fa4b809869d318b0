// Tests of the statement builders and of the field list through the real window: typing into the boxes,
// ticking the check boxes, picking in the drop-down lists and clicking the buttons, as the user does, and
// reading what the handlers leave in the output box and the field list.
//
// This file is compiled with GB18030 narrow literals, so a Chinese narrow literal is its GBK bytes; what is
// typed is written as a QString.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "tests/support/window_fixture.h"
#include "widgets/controls.h"
#include "widgets/gbk.h"

namespace {

using EditBox = QLineEdit* Ui::MainWindow::*;
using DropDown = DropDownList* Ui::MainWindow::*;
using CheckBox = QCheckBox* Ui::MainWindow::*;
using Button = QPushButton* Ui::MainWindow::*;

using Rows = std::vector<std::vector<Text>>;

constexpr TextView kInsertNote = "\r\n备注：如果要向表中的所有列添加值，则不需要指定列名称。";
// What a builder on another page left in the output box before the action under test.
constexpr TextView kEarlierOutput = "ALTER TABLE 表名 ADD COLUMN 字段名 INTEGER";

// A field as the user sets it up in 分组框1.
struct Field {
  QString name;
  int type;  // index in 组合框_数据类型: INTEGER, TEXT, REAL, BLOB, NONE
  bool primaryKey = false;
  bool autoIncrement = false;
};

class HandlersTest : public WindowTest {
 protected:
  // Clicks a check box on its indicator.
  void tick(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    click(box, box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center());
  }

  // Sets a check box to a state by clicking it when it differs.
  void tickTo(QCheckBox* box, bool checked) {
    if (box->isChecked() != checked) tick(box);
  }

  // Adds a field through the controls of 分组框1. An auto-increment mark without a primary key is reached
  // the one way the window allows: both ticked, then INTEGER picked once more, which unticks only the
  // primary key.
  void addField(const Field& f) {
    enter(ui().编辑框_字段名, f.name);
    pick(ui().组合框_数据类型, f.type);
    if (f.autoIncrement && !f.primaryKey) {
      tickTo(ui().选择框_主键, true);
      tickTo(ui().选择框_自动增长, true);
      pick(ui().组合框_数据类型, 0);
    } else {
      tickTo(ui().选择框_主键, f.primaryKey);
      tickTo(ui().选择框_自动增长, f.autoIncrement);
    }
    ASSERT_EQ(isChecked(ui().选择框_主键), f.primaryKey ? 1 : 0) << f.name.toStdString();
    ASSERT_EQ(isChecked(ui().选择框_自动增长), f.autoIncrement ? 1 : 0) << f.name.toStdString();
    click(ui().按钮_增加字段);
  }

  Rows fieldRows() {
    Rows rows;
    ReportList* list = ui().超级列表框_字段;
    for (int r = 0; r < rowCount(list); ++r) {
      rows.push_back({getCell(list, r, 0), getCell(list, r, 1), getCell(list, r, 2), getCell(list, r, 3)});
    }
    return rows;
  }

  void clickFieldRow(int row) {
    ReportList* list = ui().超级列表框_字段;
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    click(list->viewport(), list->visualRect(index).center());
  }

  // Produces an output with a builder of page "创建表" so that the action under test has something to
  // replace or to keep.
  void produceEarlierOutput() {
    click(ui().按钮_生成SQL_加字段);
    ASSERT_EQ(output(), Text(kEarlierOutput));
  }
};

// ---------------------------------------------------------------------------------------------------------
// One-line statements and SELECT: a table of user actions and the statement expected after the button.

struct Entry {
  EditBox box;
  QString text;
};
struct Pick {
  DropDown list;
  int index;
};

struct BuildCase {
  const char* name;
  Button button;
  std::vector<Entry> entries;
  std::vector<Pick> picks;
  std::vector<CheckBox> ticks;  // clicked in this order, after the entries and picks
  TextView expected;
};

void PrintTo(const BuildCase& c, std::ostream* os) {
  *os << c.name;
}

class BuildTest : public HandlersTest, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(BuildTest, WritesTheStatementInPlaceOfTheEarlierOutput) {
  const BuildCase& c = GetParam();
  produceEarlierOutput();
  for (const Entry& e : c.entries) enter(ui().*e.box, e.text);
  for (const Pick& p : c.picks) pick(ui().*p.list, p.index);
  for (CheckBox box : c.ticks) tick(ui().*box);
  click(ui().*c.button);
  EXPECT_EQ(output(), Text(c.expected));
  // A second press gives the same text again, not twice the text.
  click(ui().*c.button);
  EXPECT_EQ(output(), Text(c.expected));
}

using M = Ui::MainWindow;

const BuildCase kAlterCases[] = {
    {"AlterStartTexts", &M::按钮_生成SQL_加字段, {}, {}, {}, "ALTER TABLE 表名 ADD COLUMN 字段名 INTEGER"},
    {"AlterTyped",
     &M::按钮_生成SQL_加字段,
     {{&M::编辑框_加字段1, QStringLiteral("student")}, {&M::编辑框_加字段2, QStringLiteral("age")}},
     {{&M::组合框_数据类型_加字段, 1}},
     {},
     "ALTER TABLE student ADD COLUMN age TEXT"},
    {"AlterReal",
     &M::按钮_生成SQL_加字段,
     {},
     {{&M::组合框_数据类型_加字段, 2}},
     {},
     "ALTER TABLE 表名 ADD COLUMN 字段名 REAL"},
    {"AlterBlob",
     &M::按钮_生成SQL_加字段,
     {},
     {{&M::组合框_数据类型_加字段, 3}},
     {},
     "ALTER TABLE 表名 ADD COLUMN 字段名 BLOB"},
    {"AlterNone",
     &M::按钮_生成SQL_加字段,
     {},
     {{&M::组合框_数据类型_加字段, 4}},
     {},
     "ALTER TABLE 表名 ADD COLUMN 字段名 NONE"},
    {"AlterChineseAndQuoteInNames",
     &M::按钮_生成SQL_加字段,
     {{&M::编辑框_加字段1, QStringLiteral("学生")}, {&M::编辑框_加字段2, QStringLiteral("O'x")}},
     {},
     {},
     "ALTER TABLE 学生 ADD COLUMN O'x INTEGER"},
    {"AlterEmptied",
     &M::按钮_生成SQL_加字段,
     {{&M::编辑框_加字段1, QString()}, {&M::编辑框_加字段2, QString()}},
     {},
     {},
     "ALTER TABLE  ADD COLUMN  INTEGER"},
};
INSTANTIATE_TEST_SUITE_P(Alter, BuildTest, ::testing::ValuesIn(kAlterCases),
                         [](const auto& info) { return std::string(info.param.name); });

const Text kInsertStart = Text("INSERT INTO 表名(字段1) VALUES('字段值1')") + Text(kInsertNote);
const Text kInsertOne = Text("INSERT INTO t(字段1) VALUES('字段值1')") + Text(kInsertNote);
const Text kInsertThree =
    Text("INSERT INTO t(字段1,字段2,字段3) VALUES('字段值1','字段值2','字段值3')") + Text(kInsertNote);
const Text kInsertNone = Text("INSERT INTO t() VALUES('')") + Text(kInsertNote);
const Text kInsertChinese =
    Text("INSERT INTO 学生(字段1,字段2) VALUES('字段值1','字段值2')") + Text(kInsertNote);
const Text kInsertQuote = Text("INSERT INTO O'T(字段1) VALUES('字段值1')") + Text(kInsertNote);

const BuildCase kInsertCases[] = {
    // "字段数量" is no number: a count of 0, which becomes 1.
    {"InsertStartTexts", &M::按钮_生成SQL_增加, {}, {}, {}, kInsertStart},
    {"InsertZero",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("t")}, {&M::编辑框_insert2, QStringLiteral("0")}},
     {},
     {},
     kInsertOne},
    {"InsertEmptiedCount",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("t")}, {&M::编辑框_insert2, QString()}},
     {},
     {},
     kInsertOne},
    {"InsertThree",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("t")}, {&M::编辑框_insert2, QStringLiteral("3")}},
     {},
     {},
     kInsertThree},
    {"InsertBlanksAndTail",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("t")}, {&M::编辑框_insert2, QStringLiteral(" 3个")}},
     {},
     {},
     kInsertThree},
    {"InsertFullWidthDigit",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("t")}, {&M::编辑框_insert2, QStringLiteral("３")}},
     {},
     {},
     kInsertThree},
    {"InsertNegative",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("t")}, {&M::编辑框_insert2, QStringLiteral("-2")}},
     {},
     {},
     kInsertNone},
    {"InsertFullWidthNegative",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("t")}, {&M::编辑框_insert2, QStringLiteral("－２")}},
     {},
     {},
     kInsertNone},
    {"InsertChineseTable",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("学生")}, {&M::编辑框_insert2, QStringLiteral("2")}},
     {},
     {},
     kInsertChinese},
    {"InsertQuoteInTableName",
     &M::按钮_生成SQL_增加,
     {{&M::编辑框_insert1, QStringLiteral("O'T")}, {&M::编辑框_insert2, QStringLiteral("1")}},
     {},
     {},
     kInsertQuote},
};
INSTANTIATE_TEST_SUITE_P(Insert, BuildTest, ::testing::ValuesIn(kInsertCases),
                         [](const auto& info) { return std::string(info.param.name); });

const BuildCase kDeleteCases[] = {
    {"DeleteStartTexts", &M::按钮_生成SQL_删除, {}, {}, {}, "DELETE FROM 表名 WHERE 字段名='字段值'"},
    {"DeleteTyped",
     &M::按钮_生成SQL_删除,
     {{&M::编辑框_delete1, QStringLiteral("t")},
      {&M::编辑框_delete2, QStringLiteral("id")},
      {&M::编辑框_delete3, QStringLiteral("5")}},
     {{&M::组合框_delete, 0}},
     {},
     "DELETE FROM t WHERE id='5'"},
    {"DeleteGreater",
     &M::按钮_生成SQL_删除,
     {},
     {{&M::组合框_delete, 1}},
     {},
     "DELETE FROM 表名 WHERE 字段名>'字段值'"},
    {"DeleteLess",
     &M::按钮_生成SQL_删除,
     {},
     {{&M::组合框_delete, 2}},
     {},
     "DELETE FROM 表名 WHERE 字段名<'字段值'"},
    {"DeleteGreaterOrEqual",
     &M::按钮_生成SQL_删除,
     {},
     {{&M::组合框_delete, 3}},
     {},
     "DELETE FROM 表名 WHERE 字段名>='字段值'"},
    {"DeleteLessOrEqual",
     &M::按钮_生成SQL_删除,
     {},
     {{&M::组合框_delete, 4}},
     {},
     "DELETE FROM 表名 WHERE 字段名<='字段值'"},
    {"DeleteChinese",
     &M::按钮_生成SQL_删除,
     {{&M::编辑框_delete1, QStringLiteral("学生")},
      {&M::编辑框_delete2, QStringLiteral("姓名")},
      {&M::编辑框_delete3, QStringLiteral("张三")}},
     {},
     {},
     "DELETE FROM 学生 WHERE 姓名='张三'"},
    {"DeleteBlanksKept",
     &M::按钮_生成SQL_删除,
     {{&M::编辑框_delete1, QStringLiteral(" t ")},
      {&M::编辑框_delete2, QStringLiteral("a b")},
      {&M::编辑框_delete3, QStringLiteral("  ")}},
     {},
     {},
     "DELETE FROM  t  WHERE a b='  '"},
    {"DeleteQuotes",
     &M::按钮_生成SQL_删除,
     {{&M::编辑框_delete1, QStringLiteral("t'x")},
      {&M::编辑框_delete2, QStringLiteral("c'd")},
      {&M::编辑框_delete3, QStringLiteral("O'Brien")}},
     {},
     {},
     "DELETE FROM t'x WHERE c'd='O''Brien'"},
    {"DeleteEmptied",
     &M::按钮_生成SQL_删除,
     {{&M::编辑框_delete1, QString()}, {&M::编辑框_delete2, QString()}, {&M::编辑框_delete3, QString()}},
     {},
     {},
     "DELETE FROM  WHERE =''"},
};
INSTANTIATE_TEST_SUITE_P(Delete, BuildTest, ::testing::ValuesIn(kDeleteCases),
                         [](const auto& info) { return std::string(info.param.name); });

const BuildCase kUpdateCases[] = {
    {"UpdateStartTextsWithoutCondition",
     &M::按钮_生成SQL_修改,
     {},
     {},
     {},
     "UPDATE 表名 SET 字段名1='字段值1'"},
    {"UpdateStartTextsWithCondition",
     &M::按钮_生成SQL_修改,
     {},
     {},
     {&M::选择框_update},
     "UPDATE 表名 SET 字段名1='字段值1' WHERE 字段名2='字段值2'"},
    {"UpdateConditionTickedAndUnticked",
     &M::按钮_生成SQL_修改,
     {},
     {},
     {&M::选择框_update, &M::选择框_update},
     "UPDATE 表名 SET 字段名1='字段值1'"},
    {"UpdateOperators",
     &M::按钮_生成SQL_修改,
     {{&M::编辑框_update1, QStringLiteral("t")},
      {&M::编辑框_update2, QStringLiteral("x")},
      {&M::编辑框_update3, QStringLiteral("1")},
      {&M::编辑框_update4, QStringLiteral("y")},
      {&M::编辑框_update5, QStringLiteral("2")}},
     {{&M::组合框_update1, 1}, {&M::组合框_update2, 4}},
     {&M::选择框_update},
     "UPDATE t SET x>'1' WHERE y<='2'"},
    {"UpdateQuotesInBothValues",
     &M::按钮_生成SQL_修改,
     {{&M::编辑框_update1, QStringLiteral("people")},
      {&M::编辑框_update2, QStringLiteral("name")},
      {&M::编辑框_update3, QStringLiteral("O'Brien")},
      {&M::编辑框_update4, QStringLiteral("note")},
      {&M::编辑框_update5, QStringLiteral("it's")}},
     {},
     {&M::选择框_update},
     "UPDATE people SET name='O''Brien' WHERE note='it''s'"},
    {"UpdateQuoteOnlyValueWithoutCondition",
     &M::按钮_生成SQL_修改,
     {{&M::编辑框_update3, QStringLiteral("'")}},
     {},
     {},
     "UPDATE 表名 SET 字段名1=''''"},
    {"UpdateChinese",
     &M::按钮_生成SQL_修改,
     {{&M::编辑框_update1, QStringLiteral("学生")},
      {&M::编辑框_update2, QStringLiteral("姓名")},
      {&M::编辑框_update3, QStringLiteral("李四")},
      {&M::编辑框_update4, QStringLiteral("学号")},
      {&M::编辑框_update5, QStringLiteral("３")}},
     {{&M::组合框_update2, 3}},
     {&M::选择框_update},
     "UPDATE 学生 SET 姓名='李四' WHERE 学号>='３'"},
    {"UpdateEmptied",
     &M::按钮_生成SQL_修改,
     {{&M::编辑框_update1, QString()},
      {&M::编辑框_update2, QString()},
      {&M::编辑框_update3, QString()},
      {&M::编辑框_update4, QString()},
      {&M::编辑框_update5, QString()}},
     {},
     {&M::选择框_update},
     "UPDATE  SET ='' WHERE =''"},
};
INSTANTIATE_TEST_SUITE_P(Update, BuildTest, ::testing::ValuesIn(kUpdateCases),
                         [](const auto& info) { return std::string(info.param.name); });

const BuildCase kSelectCases[] = {
    {"SelectStartTextsNoClause", &M::按钮_生成SQL_查询, {}, {}, {}, "SELECT * FROM 表名"},
    {"SelectWorkedExample",
     &M::按钮_生成SQL_查询,
     {{&M::编辑框_select1, QStringLiteral("student")},
      {&M::编辑框_select2, QStringLiteral("age")},
      {&M::编辑框_select3, QStringLiteral("18")},
      {&M::编辑框_select4, QStringLiteral("name")},
      {&M::编辑框_select5, QStringLiteral("tom")},
      {&M::编辑框_select6, QStringLiteral("age")}},
     {{&M::组合框_select1, 3}, {&M::组合框_select2, 0}, {&M::组合框_select3, 0}, {&M::组合框_select4, 0}},
     {&M::选择框_select1, &M::选择框_select2, &M::选择框_select3},
     "SELECT * FROM student WHERE age>='18' AND name='tom' ORDER BY age DESC"},
    {"SelectStartTextsAllClauses",
     &M::按钮_生成SQL_查询,
     {},
     {},
     {&M::选择框_select1, &M::选择框_select2, &M::选择框_select3},
     "SELECT * FROM 表名 WHERE 字段名1='字段值1' AND 字段名2='字段值2' ORDER BY 字段名3 DESC"},
    {"SelectFirstConditionOnly",
     &M::按钮_生成SQL_查询,
     {{&M::编辑框_select3, QStringLiteral("O'Brien")}},
     {{&M::组合框_select1, 2}},
     {&M::选择框_select1},
     "SELECT * FROM 表名 WHERE 字段名1<'O''Brien'"},
    {"SelectBothConditionsWithOr",
     &M::按钮_生成SQL_查询,
     {{&M::编辑框_select1, QStringLiteral("学生")},
      {&M::编辑框_select2, QStringLiteral("姓名")},
      {&M::编辑框_select3, QStringLiteral("张'三")},
      {&M::编辑框_select4, QStringLiteral("年龄")},
      {&M::编辑框_select5, QStringLiteral("20")}},
     {{&M::组合框_select1, 0}, {&M::组合框_select2, 1}, {&M::组合框_select3, 1}},
     {&M::选择框_select1, &M::选择框_select2},
     "SELECT * FROM 学生 WHERE 姓名='张''三' OR 年龄>'20'"},
    {"SelectOrderingOnlyAscending",
     &M::按钮_生成SQL_查询,
     {{&M::编辑框_select6, QStringLiteral("id")}},
     {{&M::组合框_select4, 1}},
     {&M::选择框_select3},
     "SELECT * FROM 表名 ORDER BY id ASC"},
    {"SelectFirstConditionAndOrdering",
     &M::按钮_生成SQL_查询,
     {},
     {{&M::组合框_select1, 4}},
     {&M::选择框_select1, &M::选择框_select3},
     "SELECT * FROM 表名 WHERE 字段名1<='字段值1' ORDER BY 字段名3 DESC"},
    // The second box is greyed out until the first is ticked: a click on it changes nothing.
    {"SelectSecondConditionAloneIsUnavailable",
     &M::按钮_生成SQL_查询,
     {},
     {},
     {&M::选择框_select2},
     "SELECT * FROM 表名"},
    // Unticking the first condition unticks the second as well.
    {"SelectFirstConditionUntickedDropsBoth",
     &M::按钮_生成SQL_查询,
     {},
     {},
     {&M::选择框_select1, &M::选择框_select2, &M::选择框_select1},
     "SELECT * FROM 表名"},
    // Ticking the first one again brings the second back unticked.
    {"SelectFirstConditionTickedAgain",
     &M::按钮_生成SQL_查询,
     {},
     {},
     {&M::选择框_select1, &M::选择框_select2, &M::选择框_select1, &M::选择框_select1},
     "SELECT * FROM 表名 WHERE 字段名1='字段值1'"},
    {"SelectEmptied",
     &M::按钮_生成SQL_查询,
     {{&M::编辑框_select1, QString()},
      {&M::编辑框_select2, QString()},
      {&M::编辑框_select3, QString()},
      {&M::编辑框_select4, QString()},
      {&M::编辑框_select5, QString()},
      {&M::编辑框_select6, QString()}},
     {},
     {&M::选择框_select1, &M::选择框_select2, &M::选择框_select3},
     "SELECT * FROM  WHERE ='' AND ='' ORDER BY  DESC"},
};
INSTANTIATE_TEST_SUITE_P(Select, BuildTest, ::testing::ValuesIn(kSelectCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HandlersTest, SelectInterlockStepByStep) {
  QCheckBox* first = ui().选择框_select1;
  QCheckBox* second = ui().选择框_select2;
  struct Step {
    QCheckBox* clicked;
    bool firstChecked, secondEnabled, secondChecked;
  };
  // The start state first, then one line per click.
  EXPECT_FALSE(first->isChecked());
  EXPECT_FALSE(second->isEnabled());
  EXPECT_FALSE(second->isChecked());
  const Step steps[] = {
      {second, false, false, false},                                // greyed out: nothing happens
      {first, true, true, false},                                   // available, still unticked
      {second, true, true, true},    {first, false, false, false},  // greyed out and unticked
      {second, false, false, false},                                // greyed out: nothing happens
      {first, true, true, false},                                   // available again, unticked
  };
  int n = 0;
  for (const Step& s : steps) {
    tick(s.clicked);
    SCOPED_TRACE(::testing::Message() << "after click " << ++n);
    EXPECT_EQ(isChecked(first), s.firstChecked ? 1 : 0);
    EXPECT_EQ(second->isEnabled(), s.secondEnabled);
    EXPECT_EQ(isChecked(second), s.secondChecked ? 1 : 0);
  }
}

// ---------------------------------------------------------------------------------------------------------
// Field list

TEST_F(HandlersTest, AddingWithAnEmptyNameReportsAndChangesNothing) {
  produceEarlierOutput();
  tick(ui().选择框_主键);
  click(ui().按钮_增加字段);
  EXPECT_EQ(output(), "字段名不能为空！");
  EXPECT_TRUE(fieldRows().empty());
  EXPECT_EQ(isChecked(ui().选择框_主键), 1);
  EXPECT_TRUE(ui().选择框_自动增长->isEnabled());

  // A name typed and deleted again is just as empty.
  enter(ui().编辑框_字段名, QStringLiteral("id"));
  enter(ui().编辑框_字段名, QString());
  produceEarlierOutput();
  click(ui().按钮_增加字段);
  EXPECT_EQ(output(), "字段名不能为空！");
  EXPECT_TRUE(fieldRows().empty());
}

TEST_F(HandlersTest, AddingAppendsRowsWithTheirCells) {
  produceEarlierOutput();
  addField({QStringLiteral("id"), 0, true, true});
  // The name box is emptied and has the focus; both boxes stay ticked for the next field.
  EXPECT_EQ(getText(ui().编辑框_字段名), "");
  EXPECT_TRUE(ui().编辑框_字段名->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), ui().编辑框_字段名);
  EXPECT_EQ(isChecked(ui().选择框_主键), 1);
  EXPECT_EQ(isChecked(ui().选择框_自动增长), 1);

  addField({QStringLiteral("name"), 1});
  addField({QStringLiteral("姓名"), 4});
  addField({QStringLiteral("  "), 2});  // blanks only: a name like any other
  addField({QStringLiteral("x"), 0, false, true});
  addField({QStringLiteral("name"), 3});  // duplicate names are accepted
  addField({QStringLiteral("k"), 0, true});
  const Rows expected = {
      {"id", " INTEGER", "√", "◎"}, {"name", " TEXT", "", ""},  {"姓名", " NONE", "", ""},
      {"  ", " REAL", "", ""},      {"x", " INTEGER", "", "◎"}, {"name", " BLOB", "", ""},
      {"k", " INTEGER", "√", ""},
  };
  EXPECT_EQ(fieldRows(), expected);
  // A successful addition leaves the output box alone.
  EXPECT_EQ(output(), Text(kEarlierOutput));
}

TEST_F(HandlersTest, RemovingTakesTheSelectedRowOnly) {
  for (const char16_t* name : {u"a", u"b", u"c", u"d"}) addField({QString::fromUtf16(name), 1});
  const Rows all = fieldRows();
  ASSERT_EQ(all.size(), 4u);

  // Nothing selected yet: nothing is removed.
  click(ui().按钮_删除内容);
  EXPECT_EQ(fieldRows(), all);

  // The row clicked stays selected while the button takes the focus, and only it goes.
  clickFieldRow(1);
  ASSERT_EQ(selectedRow(ui().超级列表框_字段), 1);
  click(ui().按钮_删除内容);
  EXPECT_EQ(fieldRows(), (Rows{all[0], all[2], all[3]}));
  // No other row is selected in its place: a second click removes nothing.
  EXPECT_EQ(selectedRow(ui().超级列表框_字段), -1);
  click(ui().按钮_删除内容);
  EXPECT_EQ(fieldRows(), (Rows{all[0], all[2], all[3]}));

  // The last row and then the first.
  clickFieldRow(2);
  click(ui().按钮_删除内容);
  EXPECT_EQ(fieldRows(), (Rows{all[0], all[2]}));
  clickFieldRow(0);
  click(ui().按钮_删除内容);
  EXPECT_EQ(fieldRows(), (Rows{all[2]}));
}

TEST_F(HandlersTest, RemovingAfterTheSelectionWasClearedRemovesNothing) {
  for (const char16_t* name : {u"a", u"b"}) addField({QString::fromUtf16(name), 1});
  ReportList* list = ui().超级列表框_字段;
  clickFieldRow(0);
  ASSERT_EQ(selectedRow(list), 0);
  const QRect last = list->visualRect(list->model()->index(1, 0));
  const QPoint below(last.center().x(), last.bottom() + 4);
  ASSERT_TRUE(list->viewport()->rect().contains(below));
  click(list->viewport(), below);
  ASSERT_EQ(selectedRow(list), -1);
  click(ui().按钮_删除内容);
  EXPECT_EQ(fieldRows().size(), 2u);
}

TEST_F(HandlersTest, ChoosingATypeOtherThanIntegerUnticksAndGreysBothBoxes) {
  const char* const names[] = {"INTEGER", "TEXT", "REAL", "BLOB", "NONE"};
  for (int type = 1; type <= 4; ++type) {
    SCOPED_TRACE(names[type]);
    pick(ui().组合框_数据类型, 0);
    tick(ui().选择框_主键);
    tick(ui().选择框_自动增长);
    ASSERT_EQ(isChecked(ui().选择框_自动增长), 1);
    pick(ui().组合框_数据类型, type);
    EXPECT_EQ(getText(ui().组合框_数据类型), names[type]);
    EXPECT_EQ(isChecked(ui().选择框_主键), 0);
    EXPECT_FALSE(ui().选择框_主键->isEnabled());
    EXPECT_EQ(isChecked(ui().选择框_自动增长), 0);
    EXPECT_FALSE(ui().选择框_自动增长->isEnabled());
    // A greyed-out box does not answer clicks.
    tick(ui().选择框_主键);
    EXPECT_EQ(isChecked(ui().选择框_主键), 0);
    EXPECT_FALSE(ui().选择框_自动增长->isEnabled());
  }
}

TEST_F(HandlersTest, TypeAndPrimaryKeyInterlocksStepByStep) {
  QCheckBox* pk = ui().选择框_主键;
  QCheckBox* ai = ui().选择框_自动增长;
  struct Step {
    const char* what;
    std::function<void()> act;
    bool pkChecked, pkEnabled, aiChecked, aiEnabled;
  };
  const Step steps[] = {
      {"start", [] {}, false, true, false, false},
      {"tick primary key", [&] { tick(pk); }, true, true, false, true},
      {"tick auto-increment", [&] { tick(ai); }, true, true, true, true},
      {"untick primary key", [&] { tick(pk); }, false, true, false, false},
      {"tick primary key again", [&] { tick(pk); }, true, true, false, true},
      {"tick auto-increment again", [&] { tick(ai); }, true, true, true, true},
      {"pick TEXT", [&] { pick(ui().组合框_数据类型, 1); }, false, false, false, false},
      // INTEGER brings back the primary-key box only.
      {"pick INTEGER", [&] { pick(ui().组合框_数据类型, 0); }, false, true, false, false},
      {"tick primary key", [&] { tick(pk); }, true, true, false, true},
      {"tick auto-increment", [&] { tick(ai); }, true, true, true, true},
      // Picking the selected INTEGER again unticks the primary key and leaves auto-increment as it is.
      {"pick INTEGER again", [&] { pick(ui().组合框_数据类型, 0); }, false, true, true, true},
      // Unticking auto-increment by hand is still possible; the primary key box stays as it is.
      {"untick auto-increment", [&] { tick(ai); }, false, true, false, true},
      {"tick auto-increment", [&] { tick(ai); }, false, true, true, true},
  };
  for (const Step& s : steps) {
    s.act();
    SCOPED_TRACE(s.what);
    EXPECT_EQ(isChecked(pk), s.pkChecked ? 1 : 0);
    EXPECT_EQ(pk->isEnabled(), s.pkEnabled);
    EXPECT_EQ(isChecked(ai), s.aiChecked ? 1 : 0);
    EXPECT_EQ(ai->isEnabled(), s.aiEnabled);
  }
  // A field added now carries the auto-increment mark without the primary-key mark.
  enter(ui().编辑框_字段名, QStringLiteral("x"));
  click(ui().按钮_增加字段);
  EXPECT_EQ(fieldRows(), (Rows{{"x", " INTEGER", "", "◎"}}));
}

// ---------------------------------------------------------------------------------------------------------
// CREATE TABLE

enum class Answer { NoDialog, OkButton, Enter, TypeThenEnter, EmptyThenOk, CancelButton, Escape, CloseBox };

struct CreateCase {
  const char* name;
  std::vector<Field> fields;  // the list as built by the user
  Answer answer;
  QString typed;  // for TypeThenEnter
  TextView expected;
};

void PrintTo(const CreateCase& c, std::ostream* os) {
  *os << c.name;
}

class CreateTableTest : public HandlersTest, public ::testing::WithParamInterface<CreateCase> {};

QPushButton* buttonCaptioned(QWidget* dialog, const QString& caption) {
  for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
    if (b->text() == caption) return b;
  }
  return nullptr;
}

// What the dialog showed when it came up.
struct DialogSeen {
  QString editText, selectedText, prompt;
};

TEST_P(CreateTableTest, BuildsFromTheFieldList) {
  const CreateCase& c = GetParam();
  for (const Field& f : c.fields) addField(f);
  ASSERT_EQ(fieldRows().size(), c.fields.size());
  produceEarlierOutput();

  if (c.answer == Answer::NoDialog) {
    DialogWatch watch;
    click(ui().按钮_生成SQL);
    EXPECT_TRUE(watch.shown().isEmpty()) << "a dialog was shown";
    EXPECT_EQ(output(), Text(c.expected));
    return;
  }

  auto seen = std::make_shared<DialogSeen>();
  const Answer answer = c.answer;
  const QString typed = c.typed;
  answerNextDialog([seen, answer, typed](QWidget* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>();
    if (!edit) {
      dialog->close();
      return;
    }
    seen->editText = edit->text();
    seen->selectedText = edit->selectedText();
    for (QLabel* label : dialog->findChildren<QLabel*>()) seen->prompt += label->text();
    switch (answer) {
      case Answer::OkButton:
        QTest::mouseClick(buttonCaptioned(dialog, QStringLiteral("确认输入(&O)")), Qt::LeftButton);
        break;
      case Answer::Enter:
        QTest::keyClick(edit, Qt::Key_Return);
        break;
      case Answer::TypeThenEnter:
        // The initial text is selected: what is typed replaces it.
        for (QChar ch : typed)
          QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::keyClick(edit, Qt::Key_Return);
        break;
      case Answer::EmptyThenOk:
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::mouseClick(buttonCaptioned(dialog, QStringLiteral("确认输入(&O)")), Qt::LeftButton);
        break;
      case Answer::CancelButton:
        QTest::mouseClick(buttonCaptioned(dialog, QStringLiteral("取消(&C)")), Qt::LeftButton);
        break;
      case Answer::Escape:
        QTest::keyClick(edit, Qt::Key_Escape);
        break;
      case Answer::CloseBox:
        dialog->close();
        break;
      case Answer::NoDialog:
        break;
    }
    // Whatever the answer, the dialog must not stay open.
    if (dialog->isVisible()) dialog->close();
  });
  click(ui().按钮_生成SQL);
  ASSERT_TRUE(dialogAnswered()) << "no dialog was shown";
  EXPECT_EQ(lastDialogTitle, QStringLiteral("请输入："));
  EXPECT_EQ(seen->editText, QStringLiteral("test"));
  EXPECT_EQ(seen->selectedText, QStringLiteral("test"));
  EXPECT_TRUE(seen->prompt.contains(QStringLiteral("请输入表名，例如test")));
  EXPECT_EQ(output(), Text(c.expected));
}

const std::vector<Field> kWorkedFields = {{QStringLiteral("id"), 0, true, true}, {QStringLiteral("name"), 1}};

const CreateCase kCreateCases[] = {
    {"NoRows", {}, Answer::NoDialog, {}, "请至少添加1个字段！"},
    {"TwoPrimaryKeys",
     {{QStringLiteral("a"), 0, true}, {QStringLiteral("b"), 1}, {QStringLiteral("c"), 0, true}},
     Answer::NoDialog,
     {},
     "只能设置1个字段为主键！"},
    {"ConfirmedWithTheButton",
     kWorkedFields,
     Answer::OkButton,
     {},
     "CREATE TABLE test(id INTEGER PRIMARY KEY AUTOINCREMENT,name TEXT)"},
    {"ConfirmedWithEnter", {{QStringLiteral("a"), 4}}, Answer::Enter, {}, "CREATE TABLE test(a NONE)"},
    {"TypedName", kWorkedFields, Answer::TypeThenEnter, QStringLiteral("学生表"),
     "CREATE TABLE 学生表(id INTEGER PRIMARY KEY AUTOINCREMENT,name TEXT)"},
    {"TypedNameWithBlanks",
     {{QStringLiteral("a"), 2}},
     Answer::TypeThenEnter,
     QStringLiteral(" t 1 "),
     "CREATE TABLE  t 1 (a REAL)"},
    {"EmptiedName",
     kWorkedFields,
     Answer::EmptyThenOk,
     {},
     "CREATE TABLE (id INTEGER PRIMARY KEY AUTOINCREMENT,name TEXT)"},
    {"CancelledWithTheButton", kWorkedFields, Answer::CancelButton, {}, kEarlierOutput},
    {"CancelledWithEscape", kWorkedFields, Answer::Escape, {}, kEarlierOutput},
    {"CancelledWithTheCloseBox", kWorkedFields, Answer::CloseBox, {}, kEarlierOutput},
    {"OnePrimaryKeyAmongOthers",
     {{QStringLiteral("a"), 1}, {QStringLiteral("k"), 0, true}, {QStringLiteral("c"), 3}},
     Answer::Enter,
     {},
     "CREATE TABLE test(a TEXT,k INTEGER PRIMARY KEY,c BLOB)"},
    {"AutoIncrementWithoutPrimaryKey",
     {{QStringLiteral("x"), 0, false, true}},
     Answer::Enter,
     {},
     "CREATE TABLE test(x INTEGER AUTOINCREMENT)"},
    {"MarksTypedInsideNames",
     {{QStringLiteral("a√b"), 1}, {QStringLiteral("◎c"), 2}},
     Answer::Enter,
     {},
     "CREATE TABLE test(a PRIMARY KEYb TEXT, AUTOINCREMENTc REAL)"},
    {"ChineseNames",
     {{QStringLiteral("学号"), 0, true, true}, {QStringLiteral("姓名"), 1}},
     Answer::Enter,
     {},
     "CREATE TABLE test(学号 INTEGER PRIMARY KEY AUTOINCREMENT,姓名 TEXT)"},
};
INSTANTIATE_TEST_SUITE_P(CreateTable, CreateTableTest, ::testing::ValuesIn(kCreateCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The statement replaces an earlier message, and a second build after removing a primary key goes through.
TEST_F(HandlersTest, CreateTableReplacesAnEarlierMessage) {
  click(ui().按钮_生成SQL);
  EXPECT_EQ(output(), "请至少添加1个字段！");
  addField({QStringLiteral("a"), 0, true});
  addField({QStringLiteral("b"), 0, true});
  {
    DialogWatch watch;
    click(ui().按钮_生成SQL);
    EXPECT_TRUE(watch.shown().isEmpty());
  }
  EXPECT_EQ(output(), "只能设置1个字段为主键！");
  clickFieldRow(1);
  click(ui().按钮_删除内容);
  answerNextDialog([](QWidget* dialog) {
    if (auto* edit = dialog->findChild<QLineEdit*>()) QTest::keyClick(edit, Qt::Key_Return);
    if (dialog->isVisible()) dialog->close();
  });
  click(ui().按钮_生成SQL);
  ASSERT_TRUE(dialogAnswered());
  EXPECT_EQ(output(), "CREATE TABLE test(a INTEGER PRIMARY KEY)");
}

}  // namespace
