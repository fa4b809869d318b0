#include "output/output.h"

#include <optional>

#include "widgets/controls.h"
#include "widgets/dialogs.h"

void copyOutput(Ui::MainWindow& ui) {
  if (textEquals(getText(ui.编辑框_输出), "")) return;
  if (setClipboardText(getText(ui.编辑框_输出))) messageBox("SQL语句已成功复制。", 0, std::nullopt, nullptr);
}
