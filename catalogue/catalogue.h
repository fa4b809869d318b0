// The catalogue of example statements on the page "进阶语句", its loading when the window is created, and the
// display of a chosen example.
#pragma once

#include "text/text.h"
#include "ui_mainwindow.h"

// 23 entries separated by CR LF, each an explanation, "@@" and the statement; 3421 bytes.
extern const TextView kCatalogueText;

// Where loadCatalogue's checks show in the run-time error report's location line.
inline constexpr int kLoadCatalogueRoutine = 31;
inline constexpr int kCheckEntry = 1;        // the entry number lies within the catalogue
inline constexpr int kCheckExplanation = 2;  // the entry has a first piece
inline constexpr int kCheckStatement = 3;    // the entry has a second piece

// Appends one row per entry: its number, the explanation and the statement. An entry without an explanation
// or a statement ends the program with the run-time error report.
void loadCatalogue(ReportList* list, TextView catalogue = kCatalogueText);

// The window was created: the first page comes to the front and the catalogue is filled.
void windowCreated(Ui::MainWindow& ui);

// A row became current: its statement goes into the output box.
void catalogueRowChosen(Ui::MainWindow& ui);
