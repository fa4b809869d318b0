// The statements as functions of the texts they are made of: no window, no controls.
//
// Every text placed between single quotes has each single quote doubled, so that a value reaches the
// database exactly as typed; table names, column names and operators are placed as typed.
#pragma once

#include <cstdint>
#include <vector>

#include "text/text.h"

// The value with every single quote doubled.
Text doubleQuotes(TextView value);

// "ALTER TABLE t ADD COLUMN c type".
Text composeAlterTable(TextView table, TextView column, TextView type);

// "INSERT INTO t(字段1,...) VALUES('字段值1',...)", a line break and the note on the column list. A count
// below 1 gives empty placeholder lists. Built in one text of the exact size; when that size exceeds the
// memory the machine can give, the program reports a failed allocation before asking for it.
Text composeInsert(TextView table, std::int32_t count);

// "DELETE FROM t WHERE c<op>'v'".
Text composeDelete(TextView table, TextView column, TextView op, TextView value);

struct Condition {
  TextView column;
  TextView op;
  TextView value;
};

// "UPDATE t SET c<op>'v'" and, when a condition is given, " WHERE c<op>'v'".
Text composeUpdate(TextView table, const Condition& set, const Condition* where);

struct Ordering {
  TextView column;
  TextView direction;
};

// "SELECT * FROM t", then " WHERE" with the first condition, " AND"/" OR" with the second, and " ORDER BY",
// each only when given.
Text composeSelect(TextView table, const Condition* first, TextView joiner, const Condition* second,
                   const Ordering* ordering);

// "CREATE TABLE t(columns)".
Text composeCreateTable(TextView table, TextView columns);

// The column list from the cells of the field rows: each row's cells glued together, rows separated by ",",
// then the marks turned into " PRIMARY KEY" and " AUTOINCREMENT".
Text composeColumnList(const std::vector<std::vector<Text>>& rows);
