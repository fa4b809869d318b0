#include "widgets/controls.h"

#include <limits>

#include "widgets/gbk.h"

namespace {
// A one-line box keeps the bytes written into it until the user edits it, so that texts that the toolkit
// would show differently still read back unchanged.
constexpr const char* kBytesProperty = "marlowenBytes";
}  // namespace

Text getText(const QLineEdit* box) {
  if (!box->isModified()) {
    const QVariant kept = box->property(kBytesProperty);
    if (kept.isValid()) {
      const QByteArray bytes = kept.toByteArray();
      return Text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
  }
  return fromQString(box->text());
}

Text getText(const OutputBox* box) {
  return box->bytes();
}

Text getText(const QComboBox* box) {
  if (box->currentIndex() < 0) return Text();
  return fromQString(box->currentText());
}

void setText(QLineEdit* box, TextView text) {
  box->setText(toQString(text));
  box->setProperty(kBytesProperty, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void setText(OutputBox* box, TextView text) {
  box->setBytes(text);
}

int isChecked(const QCheckBox* box) {
  return box->isChecked() ? 1 : 0;
}

void setChecked(QCheckBox* box, int checked) {
  box->setChecked(checked != 0);
}

void setDisabled(QWidget* control, int disabled) {
  control->setDisabled(disabled != 0);
}

int selectedIndex(const QComboBox* box) {
  return box->currentIndex();
}

void setCurrentPage(QTabWidget* pages, int index) {
  pages->setCurrentIndex(index);
}

int insertRow(ReportList* list) {
  return list->appendRow();
}

void setCell(ReportList* list, int row, int column, TextView text) {
  list->setCellText(row, column, text);
}

Text getCell(const ReportList* list, int row, int column) {
  return list->cellText(row, column);
}

int rowCount(const ReportList* list) {
  return list->rowCount();
}

void deleteRow(ReportList* list, int row) {
  list->removeRowAt(row);
}

int selectedRow(const ReportList* list) {
  return list->selectedRowIndex();
}

void setFocus(QWidget* control) {
  control->setFocus(Qt::OtherFocusReason);
}

void removeLengthLimit(QLineEdit* box) {
  box->setMaxLength(std::numeric_limits<int>::max());
}
