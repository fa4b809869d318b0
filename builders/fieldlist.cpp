#include "builders/handlers.h"
#include "widgets/controls.h"

void addField(Ui::MainWindow& ui) {
  if (textEquals(getText(ui.编辑框_字段名), "")) {
    setText(ui.编辑框_输出, "字段名不能为空！");
    return;
  }
  const int row = insertRow(ui.超级列表框_字段);
  setCell(ui.超级列表框_字段, row, 0, getText(ui.编辑框_字段名));
  setCell(ui.超级列表框_字段, row, 1, joinText(" ", getText(ui.组合框_数据类型)));
  if (isChecked(ui.选择框_主键) != 0) setCell(ui.超级列表框_字段, row, 2, "√");
  if (isChecked(ui.选择框_自动增长) != 0) setCell(ui.超级列表框_字段, row, 3, "◎");
  setText(ui.编辑框_字段名, "");
  setFocus(ui.编辑框_字段名);
}

void removeField(Ui::MainWindow& ui) {
  deleteRow(ui.超级列表框_字段, selectedRow(ui.超级列表框_字段));
}

void dataTypeChosen(Ui::MainWindow& ui) {
  if (selectedIndex(ui.组合框_数据类型) != 0) {
    setChecked(ui.选择框_主键, 0);
    setDisabled(ui.选择框_主键, 1);
    setChecked(ui.选择框_自动增长, 0);
    setDisabled(ui.选择框_自动增长, 1);
  } else {
    // Only an INTEGER column can be a primary key; the auto-increment box follows the primary-key box.
    setChecked(ui.选择框_主键, 0);
    setDisabled(ui.选择框_主键, 0);
  }
}

void primaryKeyClicked(Ui::MainWindow& ui) {
  if (textEquals(getText(ui.组合框_数据类型), "INTEGER") && isChecked(ui.选择框_主键) == 1) {
    setDisabled(ui.选择框_自动增长, 0);
  } else {
    setDisabled(ui.选择框_自动增长, 1);
    setChecked(ui.选择框_自动增长, 0);
  }
}
