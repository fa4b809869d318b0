#include "app/bindings.h"

#include "app/mainwindow.h"
#include "builders/handlers.h"
#include "catalogue/catalogue.h"
#include "output/output.h"

namespace {

using Handler = void (*)(Ui::MainWindow&);

template <class Control, class Event>
void bind(MainWindow& window, Control* control, Event event, Handler handler) {
  QObject::connect(control, event, &window, [&window, handler] { handler(window.ui); });
}

}  // namespace

void bindHandlers(MainWindow& window) {
  Ui::MainWindow& ui = window.ui;
  bind(window, &window, &MainWindow::created, windowCreated);
  bind(window, ui.按钮_增加字段, &QPushButton::clicked, addField);
  bind(window, ui.按钮_删除内容, &QPushButton::clicked, removeField);
  bind(window, ui.组合框_数据类型, &DropDownList::listItemSelected, dataTypeChosen);
  bind(window, ui.选择框_主键, &QCheckBox::clicked, primaryKeyClicked);
  bind(window, ui.按钮_生成SQL, &QPushButton::clicked, buildCreateTable);
  bind(window, ui.按钮_生成SQL_加字段, &QPushButton::clicked, buildAlterTable);
  bind(window, ui.按钮_生成SQL_增加, &QPushButton::clicked, buildInsert);
  bind(window, ui.按钮_生成SQL_删除, &QPushButton::clicked, buildDelete);
  bind(window, ui.按钮_生成SQL_修改, &QPushButton::clicked, buildUpdate);
  bind(window, ui.选择框_select1, &QCheckBox::clicked, firstConditionClicked);
  bind(window, ui.按钮_生成SQL_查询, &QPushButton::clicked, buildSelect);
  bind(window, ui.超级列表框_进阶SQL, &ReportList::currentRowChanged, catalogueRowChosen);
  bind(window, ui.按钮_复制, &QPushButton::clicked, copyOutput);
}
