// SQLite as the judge of the statements: what the builders compose must be one statement that a real SQLite
// database accepts, and must mean what the user typed, quotes included.
//
// The program's texts are GBK; SQLite reads UTF-8, so every statement passes through the program's own
// conversion (toQString) on its way there. This file is compiled with GB18030 narrow literals.
#include <sqlite3.h>

#include <QLineEdit>
#include <QStyleOptionButton>
#include <string>
#include <vector>

#include "builders/compose.h"
#include "catalogue/catalogue.h"
#include "tests/support/window_fixture.h"
#include "widgets/controls.h"
#include "widgets/gbk.h"

namespace {

std::string utf8(TextView gbk) {
  return toQString(gbk).toUtf8().toStdString();
}

using Table = std::vector<std::vector<std::string>>;

// An in-memory database. Statements go in as GBK and results come out as UTF-8.
class Database {
 public:
  Database() { sqlite3_open(":memory:", &db_); }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs a statement; the empty text on success, otherwise SQLite's message and the statement.
  std::string exec(TextView gbk) {
    const std::string sql = utf8(gbk);
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return {};
    std::string error = std::string(message ? message : "?") + " in: " + sql;
    sqlite3_free(message);
    return error;
  }

  // Compiles one statement; the empty text when SQLite takes it and nothing is left after it.
  std::string prepare(TextView gbk) {
    const std::string sql = utf8(gbk);
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, &tail);
    std::string error;
    if (rc != SQLITE_OK) {
      error = std::string(sqlite3_errmsg(db_)) + " in: " + sql;
    } else if (!statement) {
      error = "no statement in: " + sql;
    } else if (tail && std::string(tail).find_first_not_of(" \t\r\n") != std::string::npos) {
      error = "text left after the statement: " + std::string(tail);
    }
    sqlite3_finalize(statement);
    return error;
  }

  // Runs a query to its end and gives its rows as texts ("NULL" for a null).
  Table query(TextView gbk) {
    Table rows;
    const std::string sql = utf8(gbk);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(db_) << " in: " << sql;
      return rows;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const unsigned char* text = sqlite3_column_text(statement, i);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
      }
      rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) ADD_FAILURE() << sqlite3_errmsg(db_) << " in: " << sql;
    sqlite3_finalize(statement);
    return rows;
  }

  // Inserts one text value with a bound parameter, outside any composed statement.
  void insertBound(const std::string& table, const std::string& column, const std::string& value) {
    const std::string sql = "INSERT INTO " + table + "(" + column + ") VALUES(?)";
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db_);
    sqlite3_bind_text(statement, 1, value.c_str(), -1, SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(db_);
    sqlite3_finalize(statement);
  }

  int changes() { return sqlite3_changes(db_); }

 private:
  sqlite3* db_ = nullptr;
};

// The columns of a table as SQLite sees them: name, declared type, place in the primary key.
Table columnsOf(Database& db, TextView table) {
  Table columns;
  for (const auto& row : db.query(joinText("SELECT name, type, pk FROM pragma_table_info('", table, "')")))
    columns.push_back(row);
  return columns;
}

bool hasSequenceTable(Database& db) {
  return db.query("SELECT name FROM sqlite_master WHERE name='sqlite_sequence'").size() == 1;
}

// The statement of an INSERT, without its note line.
Text firstLine(const Text& text) {
  return text.substr(0, text.find("\r\n"));
}

// ---------------------------------------------------------------------------------------------------------
// CREATE TABLE and ALTER TABLE

TEST(SqliteCreateTableTest, FieldListsBecomeTablesThatTakeNewColumns) {
  using Rows = std::vector<std::vector<Text>>;
  struct Case {
    const char* what;
    TextView table;
    Rows rows;
    Table columns;  // name, type, pk as SQLite reports them
    bool autoIncrement;
  };
  const Case cases[] = {
      {"worked example",
       "test",
       {{"id", " INTEGER", "√", "◎"}, {"name", " TEXT", "", ""}},
       {{"id", "INTEGER", "1"}, {"name", "TEXT", "0"}},
       true},
      {"every type, no primary key",
       "t",
       {{"a", " INTEGER", "", ""},
        {"b", " TEXT", "", ""},
        {"c", " REAL", "", ""},
        {"d", " BLOB", "", ""},
        {"e", " NONE", "", ""}},
       {{"a", "INTEGER", "0"},
        {"b", "TEXT", "0"},
        {"c", "REAL", "0"},
        {"d", "BLOB", "0"},
        {"e", "NONE", "0"}},
       false},
      {"primary key without auto-increment, last",
       "k",
       {{"x", " REAL", "", ""}, {"id", " INTEGER", "√", ""}},
       {{"x", "REAL", "0"}, {"id", "INTEGER", "1"}},
       false},
      {"a single NONE column", "n", {{"a", " NONE", "", ""}}, {{"a", "NONE", "0"}}, false},
      {"Chinese names",
       "学生表",
       {{"学号", " INTEGER", "√", "◎"}, {"姓名", " TEXT", "", ""}, {"成绩", " REAL", "", ""}},
       {{"学号", "INTEGER", "1"}, {"姓名", "TEXT", "0"}, {"成绩", "REAL", "0"}},
       true},
  };
  const TextView types[] = {"INTEGER", "TEXT", "REAL", "BLOB", "NONE"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Database db;
    ASSERT_EQ(db.exec(composeCreateTable(c.table, composeColumnList(c.rows))), "");
    // SQLite gives the names back in UTF-8.
    Table expected;
    for (const auto& column : c.columns) expected.push_back({utf8(column[0]), column[1], column[2]});
    EXPECT_EQ(columnsOf(db, c.table), expected);
    EXPECT_EQ(hasSequenceTable(db), c.autoIncrement);

    for (TextView type : types) {
      const Text column = joinText("added_", type);
      ASSERT_EQ(db.exec(composeAlterTable(c.table, column, type)), "");
      expected.push_back({column, std::string(type), "0"});
    }
    ASSERT_EQ(db.exec(composeAlterTable(c.table, "备注", "TEXT")), "");
    expected.push_back({utf8("备注"), "TEXT", "0"});
    EXPECT_EQ(columnsOf(db, c.table), expected);
  }
}

// ---------------------------------------------------------------------------------------------------------
// INSERT, DELETE, UPDATE and SELECT against a table that has the columns they name

TEST(SqliteInsertTest, TheStatementLineInsertsThePlaceholders) {
  for (int count : {1, 3, 12}) {
    SCOPED_TRACE(::testing::Message() << "count " << count);
    Database db;
    std::vector<std::vector<Text>> rows;
    std::vector<std::string> values;
    for (int i = 1; i <= count; ++i) {
      rows.push_back({joinText("字段", intToText(i)), " TEXT", "", ""});
      values.push_back(utf8(joinText("字段值", intToText(i))));
    }
    ASSERT_EQ(db.exec(composeCreateTable("学生", composeColumnList(rows))), "");
    const Text statement = firstLine(composeInsert("学生", count));
    EXPECT_EQ(db.prepare(statement), "");
    ASSERT_EQ(db.exec(statement), "");
    EXPECT_EQ(db.query("SELECT * FROM 学生"), Table{values});
  }
}

// Values that a user may type, each of which must reach the database as one quoted text.
const TextView kValues[] = {
    "18", "", "O'Brien", "'", "''", "张三", "it's 李四's", "x'; DROP TABLE people; --", "a' OR '1'='1"};
const TextView kOperators[] = {"=", ">", "<", ">=", "<="};

class SqliteStatementTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(db.exec("CREATE TABLE people(name TEXT, age INTEGER, 姓名 TEXT)"), ""); }
  Database db;
};

TEST_F(SqliteStatementTest, DeleteAndUpdateCompile) {
  for (TextView op : kOperators) {
    for (TextView value : kValues) {
      SCOPED_TRACE(utf8(joinText(op, " ", value)));
      EXPECT_EQ(db.prepare(composeDelete("people", "name", op, value)), "");
      EXPECT_EQ(db.prepare(composeDelete("people", "姓名", op, value)), "");
      const Condition set{"name", "=", value};
      const Condition where{"姓名", op, value};
      EXPECT_EQ(db.prepare(composeUpdate("people", set, nullptr)), "");
      EXPECT_EQ(db.prepare(composeUpdate("people", set, &where)), "");
    }
  }
}

TEST_F(SqliteStatementTest, SelectCompilesWithEveryClauseTheWindowAllows) {
  // The second condition comes only with the first.
  struct Clauses {
    bool first, second, ordering;
  };
  const Clauses combinations[] = {{false, false, false}, {true, false, false}, {true, true, false},
                                  {false, false, true},  {true, false, true},  {true, true, true}};
  int compiled = 0;
  for (const Clauses& k : combinations) {
    for (TextView joiner : {"AND", "OR"}) {
      for (TextView direction : {"DESC", "ASC"}) {
        for (TextView op : kOperators) {
          for (TextView value : kValues) {
            const Condition first{"name", op, value};
            const Condition second{"姓名", op, value};
            const Ordering ordering{"age", direction};
            const Text statement =
                composeSelect("people", k.first ? &first : nullptr, joiner, k.second ? &second : nullptr,
                              k.ordering ? &ordering : nullptr);
            EXPECT_EQ(db.prepare(statement), "");
            ++compiled;
          }
        }
      }
    }
  }
  EXPECT_EQ(compiled, 6 * 2 * 2 * 5 * 9);
}

// Without the doubled quote the value O'Brien would end the text after O; with it the database finds,
// changes and deletes exactly the row that holds O'Brien.
TEST_F(SqliteStatementTest, QuotedValuesFindTheirRows) {
  db.insertBound("people", "name", "O'Brien");
  db.insertBound("people", "name", "O");
  db.insertBound("people", "name", utf8("张'三"));

  const Condition obrien{"name", "=", "O'Brien"};
  EXPECT_EQ(db.query(composeSelect("people", &obrien, "AND", nullptr, nullptr)),
            (Table{{"O'Brien", "NULL", "NULL"}}));
  const Condition zhang{"name", "=", "张'三"};
  const Condition notO{"name", ">", "O"};
  EXPECT_EQ(db.query(composeSelect("people", &zhang, "AND", &notO, nullptr)),
            (Table{{utf8("张'三"), "NULL", "NULL"}}));

  ASSERT_EQ(db.exec(composeUpdate("people", {"name", "=", "O'Neil"}, &obrien)), "");
  EXPECT_EQ(db.changes(), 1);
  const Condition oneil{"name", "=", "O'Neil"};
  EXPECT_EQ(db.query(composeSelect("people", &oneil, "AND", nullptr, nullptr)),
            (Table{{"O'Neil", "NULL", "NULL"}}));

  // A value written to break out of its quotes stays a value: no row holds it, nothing is deleted.
  ASSERT_EQ(db.exec(composeDelete("people", "name", "=", "x' OR '1'='1")), "");
  EXPECT_EQ(db.changes(), 0);
  ASSERT_EQ(db.exec(composeDelete("people", "name", "=", "O'Neil")), "");
  EXPECT_EQ(db.changes(), 1);
  EXPECT_EQ(db.query("SELECT name FROM people ORDER BY name"), (Table{{"O"}, {utf8("张'三")}}));
}

// ---------------------------------------------------------------------------------------------------------
// The catalogue's statements

TEST(SqliteCatalogueTest, ExampleStatementsCompileAndRun) {
  Database db;
  ASSERT_EQ(db.exec("CREATE TABLE STUDENT(ID, NAME, AGE, ADDRESS, FEES);"
                    "CREATE TABLE DEPARTMENT(EMP_ID);"
                    "INSERT INTO STUDENT VALUES(1, 'a', 25, 'x', 20000), (2, 'b', 27, 'y', 12003), (3, 'a', "
                    "30, 'z', 300);"
                    "INSERT INTO DEPARTMENT VALUES(1), (3);"),
            "");
  const PieceList entries = splitText(kCatalogueText, "\r\n");
  ASSERT_EQ(entries.count(), 23);
  for (int entry = 2; entry <= 19; ++entry) {
    if (entry == 9) continue;  // an explanation in place of a statement
    const Text statement = splitText(entries.pieces()[entry - 1], "@@").pieces()[1];
    SCOPED_TRACE(::testing::Message() << "entry " << entry);
    EXPECT_EQ(db.prepare(statement), "");
    db.query(statement);
  }
  // A few results the explanations promise.
  EXPECT_EQ(db.query(splitText(entries.pieces()[1], "@@").pieces()[1]).size(), 1u);   // FEES LIKE '200%'
  EXPECT_EQ(db.query(splitText(entries.pieces()[11], "@@").pieces()[1]).size(), 2u);  // in DEPARTMENT
  EXPECT_EQ(db.query(splitText(entries.pieces()[12], "@@").pieces()[1]).size(), 3u);  // LIMIT 3
}

// ---------------------------------------------------------------------------------------------------------
// Statements built through the window

class SqliteWindowTest : public WindowTest {
 protected:
  void tick(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    click(box, box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center());
  }

  void addField(const QString& name, int type, bool primaryKey = false, bool autoIncrement = false) {
    enter(ui().编辑框_字段名, name);
    pick(ui().组合框_数据类型, type);
    if (primaryKey) tick(ui().选择框_主键);
    if (autoIncrement) tick(ui().选择框_自动增长);
    click(ui().按钮_增加字段);
  }

  // Builds CREATE TABLE, typing the table name into the dialog.
  void buildCreateTable(const QString& table) {
    answerNextDialog([table](QWidget* dialog) {
      if (auto* edit = dialog->findChild<QLineEdit*>()) {
        for (QChar c : table)
          QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(edit, Qt::Key_Return);
      }
      if (dialog->isVisible()) dialog->close();
    });
    click(ui().按钮_生成SQL);
    ASSERT_TRUE(dialogAnswered());
  }

  Database db;
};

TEST_F(SqliteWindowTest, CreateTableAndAlterTable) {
  addField(QStringLiteral("学号"), 0, true, true);
  addField(QStringLiteral("name"), 1);
  addField(QStringLiteral("score"), 2);
  addField(QStringLiteral("photo"), 3);
  addField(QStringLiteral("misc"), 4);
  buildCreateTable(QStringLiteral("学生表"));
  ASSERT_EQ(db.exec(output()), "");
  EXPECT_EQ(columnsOf(db, "学生表"), (Table{{utf8("学号"), "INTEGER", "1"},
                                            {"name", "TEXT", "0"},
                                            {"score", "REAL", "0"},
                                            {"photo", "BLOB", "0"},
                                            {"misc", "NONE", "0"}}));
  EXPECT_TRUE(hasSequenceTable(db));

  enter(ui().编辑框_加字段1, QStringLiteral("学生表"));
  enter(ui().编辑框_加字段2, QStringLiteral("地址"));
  pick(ui().组合框_数据类型_加字段, 1);
  click(ui().按钮_生成SQL_加字段);
  ASSERT_EQ(db.exec(output()), "");
  EXPECT_EQ(columnsOf(db, "学生表").back(), (std::vector<std::string>{utf8("地址"), "TEXT", "0"}));
}

TEST_F(SqliteWindowTest, InsertUpdateSelectDeleteWithTypedValues) {
  ASSERT_EQ(db.exec("CREATE TABLE student(字段1, 字段2, age, name)"), "");

  enter(ui().编辑框_insert1, QStringLiteral("student"));
  enter(ui().编辑框_insert2, QStringLiteral("2"));
  click(ui().按钮_生成SQL_增加);
  ASSERT_EQ(db.exec(firstLine(output())), "");

  enter(ui().编辑框_update1, QStringLiteral("student"));
  enter(ui().编辑框_update2, QStringLiteral("name"));
  enter(ui().编辑框_update3, QStringLiteral("O'Brien"));
  enter(ui().编辑框_update4, QStringLiteral("字段1"));
  enter(ui().编辑框_update5, QStringLiteral("字段值1"));
  tick(ui().选择框_update);
  click(ui().按钮_生成SQL_修改);
  ASSERT_EQ(db.exec(output()), "");
  EXPECT_EQ(db.changes(), 1);
  enter(ui().编辑框_update2, QStringLiteral("age"));
  enter(ui().编辑框_update3, QStringLiteral("18"));
  click(ui().按钮_生成SQL_修改);
  ASSERT_EQ(db.exec(output()), "");

  // The worked example, with the name that needs its quote doubled.
  enter(ui().编辑框_select1, QStringLiteral("student"));
  tick(ui().选择框_select1);
  enter(ui().编辑框_select2, QStringLiteral("age"));
  pick(ui().组合框_select1, 3);
  enter(ui().编辑框_select3, QStringLiteral("18"));
  tick(ui().选择框_select2);
  enter(ui().编辑框_select4, QStringLiteral("name"));
  enter(ui().编辑框_select5, QStringLiteral("O'Brien"));
  tick(ui().选择框_select3);
  enter(ui().编辑框_select6, QStringLiteral("age"));
  click(ui().按钮_生成SQL_查询);
  ASSERT_EQ(output(), "SELECT * FROM student WHERE age>='18' AND name='O''Brien' ORDER BY age DESC");
  EXPECT_EQ(db.query(output()), (Table{{utf8("字段值1"), utf8("字段值2"), "18", "O'Brien"}}));

  enter(ui().编辑框_delete1, QStringLiteral("student"));
  enter(ui().编辑框_delete2, QStringLiteral("name"));
  enter(ui().编辑框_delete3, QStringLiteral("O'Brien"));
  click(ui().按钮_生成SQL_删除);
  ASSERT_EQ(db.exec(output()), "");
  EXPECT_EQ(db.changes(), 1);
  EXPECT_TRUE(db.query("SELECT * FROM student").empty());
}

}  // namespace
