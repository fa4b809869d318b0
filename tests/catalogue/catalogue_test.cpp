// Tests of the catalogue of example statements: its text, its loading into the list when the window is
// created, the statement that a chosen row puts into the output box, and the run-time error report for an
// entry that lacks a piece.
//
// This file is compiled with GB18030 narrow literals, so a Chinese narrow literal is its GBK bytes.
#include "catalogue/catalogue.h"

#include <locale.h>

#include <QHeaderView>
#include <clocale>
#include <cstdio>
#include <string>

#include "tests/support/window_fixture.h"
#include "text/fatal.h"
#include "widgets/controls.h"

namespace {

constexpr int kEntries = 23;

std::size_t occurrences(TextView text, TextView part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != TextView::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

// The entries whose statement repeats the explanation.
bool explainsOnly(int entry) {
  return entry == 1 || entry == 9 || entry == 20 || entry == 21 || entry == 22;
}

// The statements of the entries that have one, by entry number.
struct Example {
  int entry;
  TextView statement;
};
const Example kStatements[] = {
    {2, "SELECT * FROM STUDENT WHERE FEES LIKE '200%'"},
    {3, "SELECT * FROM STUDENT WHERE FEES LIKE '%200%'"},
    {4, "SELECT * FROM STUDENT WHERE FEES LIKE '_00%'"},
    {5, "SELECT * FROM STUDENT WHERE FEES LIKE '2_%_%'"},
    {6, "SELECT * FROM STUDENT WHERE FEES LIKE '%2'"},
    {7, "SELECT * FROM STUDENT WHERE FEES LIKE '_2%3'"},
    {8, "SELECT * FROM STUDENT WHERE FEES LIKE '2___3'"},
    {10, "SELECT * FROM STUDENT WHERE AGE IN (25,27,30)"},
    {11, "SELECT * FROM STUDENT WHERE AGE NOT IN (25,27)"},
    {12, "SELECT ID,AGE,NAME,ADDRESS FROM STUDENT WHERE ID IN (SELECT EMP_ID FROM  DEPARTMENT )"},
    {13, "SELECT * FROM STUDENT LIMIT 3"},
    {14, "SELECT * FROM STUDENT LIMIT 2 OFFSET 1"},
    {15, "SELECT * FROM STUDENT ORDER BY ADDRESS, FEES DESC"},
    {16, "SELECT NAME, SUM(FEES) FROM STUDENT GROUP BY NAME"},
    {17, "SELECT NAME, SUM(FEES) AS TOTAL_FEES FROM STUDENT GROUP BY NAME ORDER BY TOTAL_FEES DESC"},
    {18, "SELECT NAME, COUNT(NAME) AS TOTAL_NUMBER FROM STUDENT GROUP BY NAME"},
    {19, "SELECT NAME, COUNT(NAME) AS TOTAL_NUMBER FROM STUDENT GROUP BY NAME HAVING COUNT(NAME) < 2"},
    {23, "SELECT DISTINCT NAME FROM STUDENT(备注：也可加 WHERE [CONDITION])"},
};

constexpr TextView kWildcards =
    "与LIKE操作符一起使用的两个通配符：百分号(％)表示零个，一个或多个数字或字符。下划线(_)"
    "表示一个数字或字符。";
constexpr TextView kAggregates =
    "聚合函数：MIN()函数用于查询某列的最低(最小)值。MAX()函数用于查询某列的最高(最大)值。AVG()"
    "函数用于查询某列的平均值。";

// ---------------------------------------------------------------------------------------------------------
// The text

TEST(CatalogueTextTest, SizeAndLayout) {
  EXPECT_EQ(kCatalogueText.size(), 3421u);
  EXPECT_NE(kCatalogueText.substr(kCatalogueText.size() - 2), "\r\n");  // no line break after the last entry
  const PieceList entries = splitText(kCatalogueText, "\r\n");
  ASSERT_EQ(entries.count(), kEntries);
  for (int i = 1; i <= kEntries; ++i) {
    SCOPED_TRACE(::testing::Message() << "entry " << i);
    const Text& entry = entries.pieces()[static_cast<std::size_t>(i) - 1];
    ASSERT_EQ(occurrences(entry, "@@"), 1u);
    const PieceList pieces = splitText(entry, "@@");
    ASSERT_EQ(pieces.count(), 2);
    EXPECT_FALSE(pieces.pieces()[0].empty());
    if (explainsOnly(i)) {
      EXPECT_EQ(pieces.pieces()[1], pieces.pieces()[0]);
    } else {
      EXPECT_EQ(pieces.pieces()[1].rfind("SELECT ", 0), 0u);
    }
  }
}

TEST(CatalogueTextTest, StatementsAndCorrectedExplanations) {
  const PieceList entries = splitText(kCatalogueText, "\r\n");
  ASSERT_EQ(entries.count(), kEntries);
  auto piece = [&](int entry, int n) { return splitText(entries.pieces()[entry - 1], "@@").pieces()[n - 1]; };
  for (const Example& e : kStatements) EXPECT_EQ(piece(e.entry, 2), Text(e.statement)) << "entry " << e.entry;

  EXPECT_EQ(piece(1, 1), Text(kWildcards));
  // The third aggregate of entry 20 is AVG(), in both columns, and no MAX() explains the average.
  EXPECT_EQ(piece(20, 1), Text(kAggregates));
  EXPECT_EQ(piece(20, 2), Text(kAggregates));
  EXPECT_EQ(occurrences(kCatalogueText, "MAX()函数用于查询某列的平均值"), 0u);
  EXPECT_EQ(occurrences(kCatalogueText, "AVG()函数用于查询某列的平均值"), 2u);
  // Entry 13 speaks of the LIMIT clause.
  EXPECT_EQ(piece(13, 1), "使用LIMIT子句，根据需要的行数从STUDENT表中返回指定记录数量。");
  EXPECT_EQ(occurrences(kCatalogueText, "子名"), 0u);
}

// ---------------------------------------------------------------------------------------------------------
// Loading other texts into a list of its own

class LoadCatalogueTest : public ::testing::Test {
 protected:
  LoadCatalogueTest() { list.setColumnCount(3); }

  std::vector<std::vector<Text>> rows() const {
    std::vector<std::vector<Text>> out;
    for (int r = 0; r < rowCount(&list); ++r)
      out.push_back({getCell(&list, r, 0), getCell(&list, r, 1), getCell(&list, r, 2)});
    return out;
  }

  ReportList list;
};

TEST_F(LoadCatalogueTest, OneRowPerEntryNumberedFromOne) {
  loadCatalogue(&list, "a@@b\r\n说明@@SELECT 1\r\nx@@y@@z");
  // A third piece is not looked at.
  const std::vector<std::vector<Text>> expected = {
      {"1", "a", "b"}, {"2", "说明", "SELECT 1"}, {"3", "x", "y"}};
  EXPECT_EQ(rows(), expected);
  // The list is not emptied first.
  loadCatalogue(&list, "c@@d");
  ASSERT_EQ(rowCount(&list), 4);
  EXPECT_EQ(rows()[3], (std::vector<Text>{"1", "c", "d"}));
}

TEST_F(LoadCatalogueTest, TheCatalogueItself) {
  loadCatalogue(&list);
  ASSERT_EQ(rowCount(&list), kEntries);
  for (const Example& e : kStatements) EXPECT_EQ(getCell(&list, e.entry - 1, 2), Text(e.statement));
  EXPECT_EQ(getCell(&list, 0, 1), Text(kWildcards));
  EXPECT_EQ(getCell(&list, 19, 2), Text(kAggregates));
}

// The three checks are told apart by their positions in the report's location line.
static_assert(kCheckEntry != kCheckExplanation && kCheckExplanation != kCheckStatement &&
              kCheckEntry != kCheckStatement);

// The list being loaded in the death-test child, so that the report sink can tell how far loading went.
const ReportList* loading = nullptr;

// Writes the report to stderr in the child, followed by the number of rows and the number in column 0 of
// the last row at the moment the report is shown.
void reportToStderr(const Text& report) {
  std::fwrite(report.data(), 1, report.size(), stderr);
  const int rows = rowCount(loading);
  const std::string state =
      "rows " + std::to_string(rows) + ", number '" + getCell(loading, rows - 1, 0) + "'";
  std::fputs(state.c_str(), stderr);
  std::fflush(stderr);
}

// "错误代码：<code>", anything, the location line "<routine>, <position>", then the rows appended so far.
std::string reportPattern(int code, int position, int rows) {
  return std::string("错误代码：") + std::to_string(code) + "\r\n(.|\r|\n)*\r\n" +
         std::to_string(kLoadCatalogueRoutine) + ", " + std::to_string(position) + "\r\nrows " +
         std::to_string(rows) + ", number '" + std::to_string(rows) + "'$";
}

// The report is GBK bytes: the expected report is matched byte by byte, which a UTF-8 locale would not do.
// Switches this thread's character classification to the C locale for as long as it lives.
class ByteLocale {
 public:
  ByteLocale() : c_(newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr))), saved_(uselocale(c_)) {}
  ~ByteLocale() {
    uselocale(saved_);
    freelocale(c_);
  }
  ByteLocale(const ByteLocale&) = delete;
  ByteLocale& operator=(const ByteLocale&) = delete;

 private:
  locale_t c_;
  locale_t saved_;
};

class LoadCatalogueDeathTest : public LoadCatalogueTest {
 protected:
  ByteLocale bytes;
};

TEST_F(LoadCatalogueDeathTest, AnEntryWithoutSeparatorEndsAtTheThirdCheck) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        loading = &list;
        setFatalReportSink(&reportToStderr);
        loadCatalogue(&list, "a@@b\r\nc");
      },
      ::testing::ExitedWithCode(255), reportPattern(kErrorIndexAboveCount, kCheckStatement, 2));
}

TEST_F(LoadCatalogueDeathTest, AnEmptyEntryEndsAtTheSecondCheck) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        loading = &list;
        setFatalReportSink(&reportToStderr);
        loadCatalogue(&list, "a@@b\r\n\r\nc@@d");
      },
      ::testing::ExitedWithCode(255), reportPattern(kErrorIndexAboveCount, kCheckExplanation, 2));
}

// ---------------------------------------------------------------------------------------------------------
// The list in the window

class CatalogueWindowTest : public WindowTest {
 protected:
  ReportList* list() { return ui().超级列表框_进阶SQL; }

  // Clicks a row in its visible explanation column, scrolling it into view first as the user would.
  void clickRow(int row) {
    const QModelIndex index = list()->model()->index(row, 1);
    list()->scrollTo(index);
    click(list()->viewport(), list()->visualRect(index).center());
  }

  Text statementOf(int entry) {
    return splitText(splitText(kCatalogueText, "\r\n").pieces()[entry - 1], "@@").pieces()[1];
  }
};

TEST_F(CatalogueWindowTest, CreatedWindowShowsTheFirstPageAndTheFilledList) {
  EXPECT_EQ(ui().高级选择夹1->currentIndex(), 0);
  ASSERT_EQ(rowCount(list()), kEntries);
  for (int r = 0; r < kEntries; ++r) {
    EXPECT_EQ(getCell(list(), r, 0), intToText(r + 1));
    EXPECT_EQ(getCell(list(), r, 2), statementOf(r + 1)) << "row " << r;
  }
  // The statement column is there, holds the statements, and takes no room.
  EXPECT_EQ(list()->columnCount(), 3);
  EXPECT_EQ(list()->horizontalHeader()->sectionSize(0), 50);
  EXPECT_EQ(list()->horizontalHeader()->sectionSize(1), 570);
  EXPECT_EQ(list()->horizontalHeader()->sectionSize(2), 0);
  EXPECT_EQ(getCell(list(), 1, 2), "SELECT * FROM STUDENT WHERE FEES LIKE '200%'");
  // Filling the list chose no row.
  EXPECT_EQ(selectedRow(list()), -1);
  EXPECT_EQ(output(), "");
}

TEST_F(CatalogueWindowTest, ChoosingRowsPutsTheirStatements) {
  setText(ui().编辑框_输出, "earlier");
  clickRow(1);
  EXPECT_EQ(output(), "SELECT * FROM STUDENT WHERE FEES LIKE '200%'");
  key(list(), Qt::Key_Down);
  EXPECT_EQ(output(), "SELECT * FROM STUDENT WHERE FEES LIKE '%200%'");
  key(list(), Qt::Key_Down);
  EXPECT_EQ(output(), "SELECT * FROM STUDENT WHERE FEES LIKE '_00%'");
  key(list(), Qt::Key_Up);
  EXPECT_EQ(output(), "SELECT * FROM STUDENT WHERE FEES LIKE '%200%'");
}

TEST_F(CatalogueWindowTest, ExactRows) {
  struct Case {
    int row;
    TextView output;
  };
  const Case cases[] = {
      {0, kWildcards},
      {11, "SELECT ID,AGE,NAME,ADDRESS FROM STUDENT WHERE ID IN (SELECT EMP_ID FROM  DEPARTMENT )"},
      {12, "SELECT * FROM STUDENT LIMIT 3"},
      {19, kAggregates},
      {22, "SELECT DISTINCT NAME FROM STUDENT(备注：也可加 WHERE [CONDITION])"},
  };
  for (const Case& c : cases) {
    clickRow(c.row);
    EXPECT_EQ(output(), Text(c.output)) << "row " << c.row + 1;
  }
}

TEST_F(CatalogueWindowTest, ClickingTheCurrentRowAgainKeepsABuilderOutput) {
  clickRow(1);
  ASSERT_EQ(output(), "SELECT * FROM STUDENT WHERE FEES LIKE '200%'");
  click(ui().按钮_生成SQL_删除);
  const Text built = "DELETE FROM 表名 WHERE 字段名='字段值'";
  ASSERT_EQ(output(), built);
  clickRow(1);
  EXPECT_EQ(output(), built);
  // Another row does replace it.
  clickRow(3);
  EXPECT_EQ(output(), "SELECT * FROM STUDENT WHERE FEES LIKE '_00%'");
}

}  // namespace
