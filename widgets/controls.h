// The operations through which handlers read and change the controls of the window.
//
// No operation reports an error: a row or column that does not exist gives the empty text or -1, or the
// operation does nothing. Texts go in and come out as GBK bytes; none of these operations raises an event
// that a handler listens to.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include "text/text.h"
#include "widgets/outputbox.h"
#include "widgets/reportlist.h"

// The whole text of an edit box, or the shown text of a combo box (empty when nothing is selected).
Text getText(const QLineEdit* box);
Text getText(const OutputBox* box);
Text getText(const QComboBox* box);

// Replaces the whole text of an edit box.
void setText(QLineEdit* box, TextView text);
void setText(OutputBox* box, TextView text);

// 1 when checked, 0 when not.
int isChecked(const QCheckBox* box);
// Nonzero checks, 0 unchecks; also on a disabled box.
void setChecked(QCheckBox* box, int checked);
// Nonzero disables, 0 enables; a check box keeps its checked state.
void setDisabled(QWidget* control, int disabled);

// Index of the selected item, -1 when none.
int selectedIndex(const QComboBox* box);

// Makes the page with this index current.
void setCurrentPage(QTabWidget* pages, int index);

int insertRow(ReportList* list);
void setCell(ReportList* list, int row, int column, TextView text);
Text getCell(const ReportList* list, int row, int column);
int rowCount(const ReportList* list);
void deleteRow(ReportList* list, int row);
int selectedRow(const ReportList* list);

void setFocus(QWidget* control);

// Prepares a one-line edit box for any length of text (the toolkit would cut typing at 32767 characters).
void removeLengthLimit(QLineEdit* box);
