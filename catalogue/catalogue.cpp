#include "catalogue/catalogue.h"

#include "widgets/controls.h"

void loadCatalogue(ReportList* list, TextView catalogue) {
  const PieceList lines = splitText(catalogue, "\r\n");
  for (int i = 1; i <= lines.count(); ++i) {
    const int row = insertRow(list);
    const PieceList pieces = splitText(lines.at(i, kLoadCatalogueRoutine, kCheckEntry), "@@");
    setCell(list, row, 0, intToText(i));
    setCell(list, row, 1, pieces.at(1, kLoadCatalogueRoutine, kCheckExplanation));
    setCell(list, row, 2, pieces.at(2, kLoadCatalogueRoutine, kCheckStatement));
  }
}

void windowCreated(Ui::MainWindow& ui) {
  setCurrentPage(ui.高级选择夹1, 0);
  loadCatalogue(ui.超级列表框_进阶SQL);
}

void catalogueRowChosen(Ui::MainWindow& ui) {
  const int index = selectedRow(ui.超级列表框_进阶SQL);
  setText(ui.编辑框_输出, getCell(ui.超级列表框_进阶SQL, index, 2));
}
