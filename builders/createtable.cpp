#include <optional>

#include "builders/compose.h"
#include "builders/handlers.h"
#include "widgets/controls.h"
#include "widgets/dialogs.h"

void buildCreateTable(Ui::MainWindow& ui) {
  ReportList* fields = ui.超级列表框_字段;
  const int n = rowCount(fields);
  if (n == 0) {
    setText(ui.编辑框_输出, "请至少添加1个字段！");
    return;
  }
  int primaryKeys = 0;
  for (int i = 1; i <= n; ++i) primaryKeys += textEquals(getCell(fields, i - 1, 2), "√") ? 1 : 0;
  if (primaryKeys > 1) {
    setText(ui.编辑框_输出, "只能设置1个字段为主键！");
    return;
  }

  Text tableName;
  // A cancelled dialog leaves the output box as it was.
  if (!inputBox("请输入表名，例如test", std::nullopt, "test", tableName, 1, nullptr)) return;

  std::vector<std::vector<Text>> rows;
  rows.reserve(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    rows.push_back({getCell(fields, i - 1, 0), getCell(fields, i - 1, 1), getCell(fields, i - 1, 2),
                    getCell(fields, i - 1, 3)});
  }
  setText(ui.编辑框_输出, composeCreateTable(tableName, composeColumnList(rows)));
}
