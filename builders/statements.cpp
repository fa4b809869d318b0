#include "builders/compose.h"
#include "builders/handlers.h"
#include "widgets/controls.h"

void buildAlterTable(Ui::MainWindow& ui) {
  setText(ui.编辑框_输出, composeAlterTable(getText(ui.编辑框_加字段1), getText(ui.编辑框_加字段2),
                                            getText(ui.组合框_数据类型_加字段)));
}

void buildInsert(Ui::MainWindow& ui) {
  std::int32_t count = textToInt(getText(ui.编辑框_insert2));
  if (count == 0) count = 1;
  setText(ui.编辑框_输出, composeInsert(getText(ui.编辑框_insert1), count));
}

void buildDelete(Ui::MainWindow& ui) {
  setText(ui.编辑框_输出, composeDelete(getText(ui.编辑框_delete1), getText(ui.编辑框_delete2),
                                        getText(ui.组合框_delete), getText(ui.编辑框_delete3)));
}

void buildUpdate(Ui::MainWindow& ui) {
  const Text setColumn = getText(ui.编辑框_update2);
  const Text setOp = getText(ui.组合框_update1);
  const Text setValue = getText(ui.编辑框_update3);
  const Text whereColumn = getText(ui.编辑框_update4);
  const Text whereOp = getText(ui.组合框_update2);
  const Text whereValue = getText(ui.编辑框_update5);
  const Condition where{whereColumn, whereOp, whereValue};
  setText(ui.编辑框_输出, composeUpdate(getText(ui.编辑框_update1), {setColumn, setOp, setValue},
                                        isChecked(ui.选择框_update) != 0 ? &where : nullptr));
}

void firstConditionClicked(Ui::MainWindow& ui) {
  if (isChecked(ui.选择框_select1) != 0) {
    setDisabled(ui.选择框_select2, 0);
  } else {
    // The second condition is only available together with the first.
    setDisabled(ui.选择框_select2, 1);
    setChecked(ui.选择框_select2, 0);
  }
}

void buildSelect(Ui::MainWindow& ui) {
  const Text column1 = getText(ui.编辑框_select2), op1 = getText(ui.组合框_select1),
             value1 = getText(ui.编辑框_select3);
  const Text joiner = getText(ui.组合框_select2);
  const Text column2 = getText(ui.编辑框_select4), op2 = getText(ui.组合框_select3),
             value2 = getText(ui.编辑框_select5);
  const Text orderColumn = getText(ui.编辑框_select6), direction = getText(ui.组合框_select4);
  const Condition first{column1, op1, value1};
  const Condition second{column2, op2, value2};
  const Ordering ordering{orderColumn, direction};
  setText(ui.编辑框_输出,
          composeSelect(getText(ui.编辑框_select1), isChecked(ui.选择框_select1) != 0 ? &first : nullptr,
                        joiner, isChecked(ui.选择框_select2) != 0 ? &second : nullptr,
                        isChecked(ui.选择框_select3) != 0 ? &ordering : nullptr));
}
