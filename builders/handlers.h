// The handlers of the statement builders and of the field list: each reads the controls it names, and
// writes a statement or a message into the output box, or changes control states.
#pragma once

#include "ui_mainwindow.h"

// Field list editor on the page "创建表".
void addField(Ui::MainWindow& ui);
void removeField(Ui::MainWindow& ui);
void dataTypeChosen(Ui::MainWindow& ui);
void primaryKeyClicked(Ui::MainWindow& ui);

// CREATE TABLE from the field list, with the table name asked for in a dialog.
void buildCreateTable(Ui::MainWindow& ui);

// One-line statements.
void buildAlterTable(Ui::MainWindow& ui);
void buildInsert(Ui::MainWindow& ui);
void buildDelete(Ui::MainWindow& ui);
void buildUpdate(Ui::MainWindow& ui);

// SELECT with its optional clauses.
void firstConditionClicked(Ui::MainWindow& ui);
void buildSelect(Ui::MainWindow& ui);
