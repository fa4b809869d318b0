// Tests of the statements as functions of their texts: ALTER TABLE, INSERT, DELETE, UPDATE, SELECT, CREATE
// TABLE with its column list, and the doubling of single quotes in values.
//
// This file is compiled with GB18030 narrow literals, so a Chinese literal below is its GBK bytes.
#include "builders/compose.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/escaped.h"

namespace {

// The line that follows every INSERT statement.
constexpr TextView kInsertNote = "\r\n备注：如果要向表中的所有列添加值，则不需要指定列名称。";

std::size_t occurrences(TextView text, TextView part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != TextView::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

TEST(ComposeLiteralTest, NoteAndMarksAreGbkBytes) {
  EXPECT_EQ(Text(kInsertNote.substr(0, 8)), "\r\n\xB1\xB8\xD7\xA2\xA3\xBA");  // CR LF 备注：
  EXPECT_EQ(kInsertNote.size(), 2u + 27 * 2);                                 // 27 two-byte characters
  EXPECT_EQ(Text("√◎"), "\xA1\xCC\xA1\xF2");
}

TEST(DoubleQuotesTest, DoublesEverySingleQuoteAndNothingElse) {
  struct Case {
    TextView value;
    TextView expected;
  };
  const Case cases[] = {
      {"", ""},
      {"tom", "tom"},
      {"'", "''"},
      {"''", "''''"},
      {"O'Brien", "O''Brien"},
      {"'a'", "''a''"},
      {"a''b'", "a''''b''"},
      {"张'三", "张''三"},
      // Double quotes, backslashes and other punctuation are no concern of a single-quoted SQL text.
      {"\"x\" \\ % _ ; --", "\"x\" \\ % _ ; --"},
      {"\xA1\xAE", "\xA1\xAE"},  // the full-width quote ‘ is no single quote
  };
  for (const Case& c : cases) {
    EXPECT_EQ(doubleQuotes(c.value), Text(c.expected)) << escaped(c.value);
  }
}

TEST(ComposeAlterTableTest, PlacesTheThreeTextsAsTyped) {
  struct Case {
    TextView table, column, type, expected;
  };
  const Case cases[] = {
      {"student", "age", "INTEGER", "ALTER TABLE student ADD COLUMN age INTEGER"},
      {"表名", "字段名", "NONE", "ALTER TABLE 表名 ADD COLUMN 字段名 NONE"},
      {"", "", "TEXT", "ALTER TABLE  ADD COLUMN  TEXT"},
      // Names are never escaped, quotes included.
      {"O'T", "c'd", "REAL", "ALTER TABLE O'T ADD COLUMN c'd REAL"},
      {" a b ", "x", "BLOB", "ALTER TABLE  a b  ADD COLUMN x BLOB"},
  };
  for (const Case& c : cases) EXPECT_EQ(composeAlterTable(c.table, c.column, c.type), Text(c.expected));
}

TEST(ComposeInsertTest, SmallCounts) {
  struct Case {
    TextView table;
    std::int32_t count;
    TextView firstLine;
  };
  const Case cases[] = {
      {"t", 1, "INSERT INTO t(字段1) VALUES('字段值1')"},
      {"t", 3, "INSERT INTO t(字段1,字段2,字段3) VALUES('字段值1','字段值2','字段值3')"},
      {"学生", 2, "INSERT INTO 学生(字段1,字段2) VALUES('字段值1','字段值2')"},
      {"", 1, "INSERT INTO (字段1) VALUES('字段值1')"},
      // The table name is no value: its quote stays single.
      {"O'T", 1, "INSERT INTO O'T(字段1) VALUES('字段值1')"},
      // 0 reaches this function only from callers that do not turn it into 1 first: no placeholders, as for
      // every count below 1.
      {"t", 0, "INSERT INTO t() VALUES('')"},
      {"t", -1, "INSERT INTO t() VALUES('')"},
      {"t", -2, "INSERT INTO t() VALUES('')"},
      {"t", INT32_MIN, "INSERT INTO t() VALUES('')"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(composeInsert(c.table, c.count), Text(c.firstLine) + Text(kInsertNote)) << "count " << c.count;
  }
}

TEST(ComposeInsertTest, TenAndElevenCrossTheSecondDigit) {
  const Text statement = composeInsert("t", 11);
  EXPECT_NE(statement.find(",字段9,字段10,字段11) VALUES('字段值1',"), Text::npos);
  EXPECT_NE(statement.find("'字段值9','字段值10','字段值11')\r\n"), Text::npos);
}

// The exact size of the statement for a count n and a table name of `table` bytes, counted from its parts.
std::uint64_t insertSize(std::uint64_t table, std::uint64_t n) {
  std::uint64_t digits = 0;  // all the numbers 1..n written one after the other
  for (std::uint64_t width = 1, low = 1; low <= n; ++width, low *= 10) {
    const std::uint64_t high = std::min<std::uint64_t>(n, low * 10 - 1);
    digits += (high - low + 1) * width;
  }
  const std::uint64_t columns = 4 * n + digits + (n - 1);     // 字段i with "," between
  const std::uint64_t values = 6 * n + digits + 3 * (n - 1);  // 字段值i with "','" between
  return 12 + table + 1 + columns + 10 + values + 2 + kInsertNote.size();
}

TEST(ComposeInsertTest, AMillionPlaceholders) {
  const std::int32_t n = 1000000;
  const Text statement = composeInsert("big", n);

  // The size, with the numbers' digits counted one by one.
  std::uint64_t digits = 0;
  for (int i = 1; i <= n; ++i) digits += std::to_string(i).size();
  const std::uint64_t expected = 12 + 3 + 1 + (4ull * n + digits + (n - 1)) + 10 +
                                 (6ull * n + digits + 3ull * (n - 1)) + 2 + kInsertNote.size();
  EXPECT_EQ(statement.size(), expected);
  EXPECT_EQ(insertSize(3, n), expected);

  EXPECT_EQ(statement.rfind("INSERT INTO big(字段1,字段2,", 0), 0u);
  EXPECT_NE(statement.find(",字段999999,字段1000000) VALUES('字段值1','字段值2','"), Text::npos);
  const Text end = Text("'字段值999999','字段值1000000')") + Text(kInsertNote);
  ASSERT_GE(statement.size(), end.size());
  EXPECT_EQ(statement.substr(statement.size() - end.size()), end);
  EXPECT_EQ(occurrences(statement, ") VALUES('"), 1u);
  EXPECT_EQ(occurrences(statement, "','"), static_cast<std::size_t>(n - 1));
  EXPECT_EQ(occurrences(statement, "\r\n"), 1u);
}

// The largest count asks for more memory than a machine has: the program reports the exact size asked for
// (the text and its terminating zero) before asking, and ends.
TEST(ComposeInsertDeathTest, TheLargestCountReportsItsExactSize) {
  const std::uint64_t size = insertSize(1, INT32_MAX);
  std::uint64_t availableKib = 0;
  if (std::FILE* meminfo = std::fopen("/proc/meminfo", "r")) {
    char line[128];
    unsigned long long kib = 0;
    while (std::fgets(line, sizeof line, meminfo)) {
      if (std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1) availableKib = kib;
    }
    std::fclose(meminfo);
  }
  if (availableKib == 0 || availableKib * 1024 > size) GTEST_SKIP() << "this machine could hold the text";
  EXPECT_EXIT((void)composeInsert("t", INT32_MAX), ::testing::ExitedWithCode(255),
              " " + std::to_string(size + 1) + " ");
}

TEST(ComposeDeleteTest, QuotesTheValueOnly) {
  struct Case {
    TextView table, column, op, value, expected;
  };
  const Case cases[] = {
      {"t", "id", "=", "5", "DELETE FROM t WHERE id='5'"},
      {"表名", "字段名", "=", "字段值", "DELETE FROM 表名 WHERE 字段名='字段值'"},
      {"t", "a", ">", "1", "DELETE FROM t WHERE a>'1'"},
      {"t", "a", "<", "1", "DELETE FROM t WHERE a<'1'"},
      {"t", "a", ">=", "1", "DELETE FROM t WHERE a>='1'"},
      {"t", "a", "<=", "1", "DELETE FROM t WHERE a<='1'"},
      {"", "", "=", "", "DELETE FROM  WHERE =''"},
      {"学生", "姓名", "=", "张三", "DELETE FROM 学生 WHERE 姓名='张三'"},
      {" t ", " c ", "=", " v ", "DELETE FROM  t  WHERE  c =' v '"},
      {"people", "name", "=", "O'Brien", "DELETE FROM people WHERE name='O''Brien'"},
      {"t'x", "c'd", "=", "'", "DELETE FROM t'x WHERE c'd=''''"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(composeDelete(c.table, c.column, c.op, c.value), Text(c.expected)) << escaped(c.expected);
  }
}

TEST(ComposeUpdateTest, SetPartAndOptionalCondition) {
  struct Case {
    TextView table;
    Condition set;
    bool withWhere;
    Condition where;
    TextView expected;
  };
  const Case cases[] = {
      {"表名",
       {"字段名1", "=", "字段值1"},
       false,
       {"字段名2", "=", "字段值2"},
       "UPDATE 表名 SET 字段名1='字段值1'"},
      {"表名",
       {"字段名1", "=", "字段值1"},
       true,
       {"字段名2", "=", "字段值2"},
       "UPDATE 表名 SET 字段名1='字段值1' WHERE 字段名2='字段值2'"},
      // The SET operator comes from the comparison list; nothing objects.
      {"t", {"x", ">", "1"}, true, {"y", "<=", "2"}, "UPDATE t SET x>'1' WHERE y<='2'"},
      {"t", {"x", "=", "O'Brien"}, true, {"n", "=", "it's"}, "UPDATE t SET x='O''Brien' WHERE n='it''s'"},
      {"t'", {"x'", "=", "'"}, false, {}, "UPDATE t' SET x'=''''"},
      {"", {"", "=", ""}, true, {"", "=", ""}, "UPDATE  SET ='' WHERE =''"},
      {"学生",
       {"姓名", "=", "李四"},
       true,
       {"学号", ">=", "3"},
       "UPDATE 学生 SET 姓名='李四' WHERE 学号>='3'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(composeUpdate(c.table, c.set, c.withWhere ? &c.where : nullptr), Text(c.expected))
        << escaped(c.expected);
  }
}

TEST(ComposeSelectTest, EveryCombinationOfClauses) {
  const Condition first{"age", ">=", "18"};
  const Condition second{"name", "=", "O'Brien"};
  const Ordering ordering{"age", "DESC"};
  // Bit 0: first condition, bit 1: second condition, bit 2: ordering. The second condition is placed also
  // without the first: keeping it out is the check boxes' business.
  const TextView expected[8] = {
      "SELECT * FROM student",
      "SELECT * FROM student WHERE age>='18'",
      "SELECT * FROM student OR name='O''Brien'",
      "SELECT * FROM student WHERE age>='18' OR name='O''Brien'",
      "SELECT * FROM student ORDER BY age DESC",
      "SELECT * FROM student WHERE age>='18' ORDER BY age DESC",
      "SELECT * FROM student OR name='O''Brien' ORDER BY age DESC",
      "SELECT * FROM student WHERE age>='18' OR name='O''Brien' ORDER BY age DESC",
  };
  for (int mask = 0; mask < 8; ++mask) {
    EXPECT_EQ(composeSelect("student", (mask & 1) ? &first : nullptr, "OR", (mask & 2) ? &second : nullptr,
                            (mask & 4) ? &ordering : nullptr),
              Text(expected[mask]))
        << "clauses " << mask;
  }
}

TEST(ComposeSelectTest, TextsAsTypedAndValuesEscaped) {
  struct Case {
    TextView table;
    Condition first;
    TextView joiner;
    Condition second;
    Ordering ordering;
    TextView expected;
  };
  const Case cases[] = {
      {"student",
       {"age", ">=", "18"},
       "AND",
       {"name", "=", "tom"},
       {"age", "DESC"},
       "SELECT * FROM student WHERE age>='18' AND name='tom' ORDER BY age DESC"},
      {"表名",
       {"字段名1", "=", "字段值1"},
       "AND",
       {"字段名2", "=", "字段值2"},
       {"字段名3", "DESC"},
       "SELECT * FROM 表名 WHERE 字段名1='字段值1' AND 字段名2='字段值2' ORDER BY 字段名3 DESC"},
      {"学生",
       {"姓名", "<", "张'三"},
       "OR",
       {"地址", "<=", "'"},
       {"学号", "ASC"},
       "SELECT * FROM 学生 WHERE 姓名<'张''三' OR 地址<='''' ORDER BY 学号 ASC"},
      {"",
       {"", "=", ""},
       "AND",
       {"", "=", ""},
       {"", "DESC"},
       "SELECT * FROM  WHERE ='' AND ='' ORDER BY  DESC"},
      {"t'",
       {"c'", ">", "v"},
       "AND",
       {"d'", "=", "w"},
       {"o'", "ASC"},
       "SELECT * FROM t' WHERE c'>'v' AND d'='w' ORDER BY o' ASC"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(composeSelect(c.table, &c.first, c.joiner, &c.second, &c.ordering), Text(c.expected))
        << escaped(c.expected);
  }
}

TEST(ComposeCreateTableTest, ColumnListFromFieldRows) {
  using Rows = std::vector<std::vector<Text>>;
  struct Case {
    const char* what;
    Rows rows;
    TextView columns;
  };
  const Case cases[] = {
      {"worked example",
       {{"id", " INTEGER", "√", "◎"}, {"name", " TEXT", "", ""}},
       "id INTEGER PRIMARY KEY AUTOINCREMENT,name TEXT"},
      {"one NONE column", {{"a", " NONE", "", ""}}, "a NONE"},
      {"every type",
       {{"a", " INTEGER", "", ""},
        {"b", " TEXT", "", ""},
        {"c", " REAL", "", ""},
        {"d", " BLOB", "", ""},
        {"e", " NONE", "", ""}},
       "a INTEGER,b TEXT,c REAL,d BLOB,e NONE"},
      {"auto-increment without primary key", {{"x", " INTEGER", "", "◎"}}, "x INTEGER AUTOINCREMENT"},
      {"primary key last",
       {{"a", " TEXT", "", ""}, {"k", " INTEGER", "√", ""}},
       "a TEXT,k INTEGER PRIMARY KEY"},
      {"marks inside names are replaced too",
       {{"a√b", " TEXT", "", ""}, {"◎c", " REAL", "", ""}},
       "a PRIMARY KEYb TEXT, AUTOINCREMENTc REAL"},
      // 啊 is B0 A1 and 烫 CC CC: the bytes A1 CC of √ straddle two characters and are no mark.
      {"mark bytes across two characters", {{"啊烫", " TEXT", "", ""}}, "啊烫 TEXT"},
      {"Chinese names",
       {{"学号", " INTEGER", "√", "◎"}, {"姓名", " TEXT", "", ""}},
       "学号 INTEGER PRIMARY KEY AUTOINCREMENT,姓名 TEXT"},
      {"blank name and cells read as they are", {{" ", " TEXT", "", ""}}, "  TEXT"},
      {"no rows", {}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(composeColumnList(c.rows), Text(c.columns)) << c.what;
  }
}

TEST(ComposeCreateTableTest, WrapsTheColumnListAfterTheName) {
  EXPECT_EQ(composeCreateTable("test", "id INTEGER PRIMARY KEY AUTOINCREMENT,name TEXT"),
            "CREATE TABLE test(id INTEGER PRIMARY KEY AUTOINCREMENT,name TEXT)");
  EXPECT_EQ(composeCreateTable("", "a NONE"), "CREATE TABLE (a NONE)");
  EXPECT_EQ(composeCreateTable("学生表", "学号 INTEGER"), "CREATE TABLE 学生表(学号 INTEGER)");
  // The table name is no value: it is never escaped.
  EXPECT_EQ(composeCreateTable("O'T", "a TEXT"), "CREATE TABLE O'T(a TEXT)");
}

}  // namespace
