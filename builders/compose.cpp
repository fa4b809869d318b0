#include "builders/compose.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr TextView kPrimaryKeyMark = "√";
constexpr TextView kAutoIncrementMark = "◎";
constexpr TextView kColumnWord = "字段";
constexpr TextView kValueWord = "字段值";
constexpr TextView kInsertNote = "\r\n备注：如果要向表中的所有列添加值，则不需要指定列名称。";

// "<column><op>'<value>'" with the value's quotes doubled.
Text comparison(const Condition& c) {
  return joinText(c.column, c.op, "'", doubleQuotes(c.value), "'");
}

// Number of decimal digits of all the numbers 1 to count together.
std::uint64_t digitsUpTo(std::uint64_t count) {
  std::uint64_t total = 0;
  std::uint64_t low = 1;
  for (std::uint64_t digits = 1; low <= count; ++digits, low *= 10) {
    const std::uint64_t high = std::min(count, low * 10 - 1);
    total += (high - low + 1) * digits;
  }
  return total;
}

// The numbers 1, 2, 3 and so on as decimal text, each made from the one before by carrying in place.
class DecimalCounter {
 public:
  TextView next() {
    std::size_t i = sizeof digits_ - 1;
    while (digits_[i] == '9') digits_[i--] = '0';
    ++digits_[i];
    length_ = std::max(length_, sizeof digits_ - i);
    return TextView(digits_ + sizeof digits_ - length_, length_);
  }

 private:
  char digits_[10] = {'0', '0', '0', '0', '0', '0', '0', '0', '0', '0'};  // 2147483647 has ten digits
  std::size_t length_ = 0;
};

}  // namespace

Text doubleQuotes(TextView value) {
  std::size_t quotes = 0;
  for (char c : value) quotes += c == '\'';
  if (quotes == 0) return Text(value);
  Text out;
  out.reserve(value.size() + quotes);
  for (char c : value) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  return out;
}

Text composeAlterTable(TextView table, TextView column, TextView type) {
  return joinText("ALTER TABLE ", table, " ADD COLUMN ", column, " ", type);
}

Text composeInsert(TextView table, std::int32_t count) {
  const std::uint64_t n = count > 0 ? static_cast<std::uint64_t>(count) : 0;
  const std::uint64_t digits = digitsUpTo(n);
  const std::uint64_t separators = n > 0 ? n - 1 : 0;
  const std::uint64_t size = TextView("INSERT INTO ").size() + table.size() + 1 + n * kColumnWord.size() +
                             digits + separators + TextView(") VALUES('").size() + n * kValueWord.size() +
                             digits + separators * 3 + 2 + kInsertNote.size();
  Text out = reserveText(size);
  out.resize(static_cast<std::size_t>(size));
  char* w = out.data();
  auto put = [&w](TextView piece) {
    std::memcpy(w, piece.data(), piece.size());
    w += piece.size();
  };

  put("INSERT INTO ");
  put(table);
  put("(");
  // The counter is wider than the count, so that a count of 2147483647 ends.
  DecimalCounter column;
  for (std::int64_t i = 1; i <= count; ++i) {
    put(kColumnWord);
    put(column.next());
    if (i < count) put(",");
  }
  put(") VALUES('");
  DecimalCounter value;
  for (std::int64_t i = 1; i <= count; ++i) {
    put(kValueWord);
    put(value.next());
    if (i < count) put("','");
  }
  put("')");
  put(kInsertNote);
  return out;
}

Text composeDelete(TextView table, TextView column, TextView op, TextView value) {
  return joinText("DELETE FROM ", table, " WHERE ", comparison({column, op, value}));
}

Text composeUpdate(TextView table, const Condition& set, const Condition* where) {
  Text statement = joinText("UPDATE ", table, " SET ", comparison(set));
  if (where) statement = joinText(statement, " WHERE ", comparison(*where));
  return statement;
}

Text composeSelect(TextView table, const Condition* first, TextView joiner, const Condition* second,
                   const Ordering* ordering) {
  Text s = joinText("SELECT * FROM ", table);
  if (first) s = joinText(s, " WHERE ", comparison(*first));
  if (second) s = joinText(s, " ", joiner, " ", comparison(*second));
  if (ordering) s = joinText(s, " ORDER BY ", ordering->column, " ", ordering->direction);
  return s;
}

Text composeCreateTable(TextView table, TextView columns) {
  return joinText("CREATE TABLE ", table, "(", columns, ")");
}

Text composeColumnList(const std::vector<std::vector<Text>>& rows) {
  std::size_t size = 0;
  for (const auto& row : rows) {
    size += 1;
    for (const Text& cell : row) size += cell.size();
  }
  Text columns = reserveText(size);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (const Text& cell : rows[i]) columns.append(cell);
    if (i + 1 < rows.size()) columns.push_back(',');
  }
  return replacePairs(columns, std::nullopt, std::nullopt, std::nullopt,
                      {{kPrimaryKeyMark, " PRIMARY KEY"}, {kAutoIncrementMark, " AUTOINCREMENT"}});
}
