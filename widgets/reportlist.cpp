#include "widgets/reportlist.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include "widgets/gbk.h"

namespace {
// Each cell keeps its exact bytes beside the shown text.
constexpr int kBytesRole = Qt::UserRole;

}  // namespace

ReportList::ReportList(QWidget* parent) : QTableWidget(parent) {
  verticalHeader()->hide();
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setSortingEnabled(false);
  setMouseTracking(false);
  setWordWrap(false);
  setTabKeyNavigation(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setMinimumSectionSize(0);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { onCurrentChanged(current); });
  // Without a current index set once, the first focus would make row 0 current silently.
  setCurrentIndex(QModelIndex());
}

void ReportList::setColumnLayout(int column, int width, Qt::Alignment alignment) {
  if (column < 0 || column >= columnCount()) return;
  horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
  horizontalHeader()->resizeSection(column, width);
  if (QTableWidgetItem* header = horizontalHeaderItem(column)) header->setTextAlignment(alignment);
  while (alignments_.size() < columnCount()) alignments_.append(Qt::AlignLeft | Qt::AlignVCenter);
  alignments_[column] = alignment | Qt::AlignVCenter;
}

int ReportList::appendRow() {
  const QScopedValueRollback program(programChange_, true);
  const int row = rowCount();
  insertRow(row);
  return row;
}

void ReportList::setCellText(int row, int column, TextView text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  const QScopedValueRollback program(programChange_, true);
  auto* cell = new QTableWidgetItem(toQString(text));
  cell->setData(kBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  cell->setTextAlignment(column < alignments_.size() ? alignments_[column]
                                                     : (Qt::AlignLeft | Qt::AlignVCenter));
  setItem(row, column, cell);
}

Text ReportList::cellText(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return Text();
  const QTableWidgetItem* cell = item(row, column);
  if (!cell) return Text();
  const QByteArray bytes = cell->data(kBytesRole).toByteArray();
  return Text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void ReportList::removeRowAt(int row) {
  if (row < 0 || row >= rowCount()) return;
  const QScopedValueRollback program(programChange_, true);
  const bool wasSelected = selectedRowIndex() == row;
  // Removing the current row would otherwise make the next row current and selected.
  if (currentIndex().isValid() && currentIndex().row() == row) selectionModel()->clearCurrentIndex();
  removeRow(row);
  if (wasSelected) clearSelection();
  lastCurrentRow_ = currentIndex().isValid() ? currentIndex().row() : -1;
}

int ReportList::selectedRowIndex() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void ReportList::onCurrentChanged(const QModelIndex& current) {
  const int row = current.isValid() ? current.row() : -1;
  const bool gained = row >= 0 && row != lastCurrentRow_;
  lastCurrentRow_ = row;
  if (!gained || programChange_) return;
  // During a click the list makes the row current before it selects it: raise the event once the click
  // has been handled, so that the row is then both current and selected.
  if (userEventDepth_ > 0) {
    rowEventPending_ = true;
    return;
  }
  emit currentRowChanged();
}

void ReportList::raisePendingRowEvent() {
  if (userEventDepth_ == 0 && rowEventPending_) {
    rowEventPending_ = false;
    emit currentRowChanged();
  }
}

void ReportList::mousePressEvent(QMouseEvent* event) {
  if (!indexAt(event->position().toPoint()).isValid()) {
    // A click on the empty area clears the selection and keeps the current row.
    setFocus(Qt::MouseFocusReason);
    clearSelection();
    return;
  }
  ++userEventDepth_;
  QTableWidget::mousePressEvent(event);
  --userEventDepth_;
  raisePendingRowEvent();
}

void ReportList::mouseMoveEvent(QMouseEvent* event) {
  // Dragging with a button held would move the selection from row to row.
  if (event->buttons() != Qt::NoButton) return;
  QTableWidget::mouseMoveEvent(event);
}

void ReportList::keyPressEvent(QKeyEvent* event) {
  ++userEventDepth_;
  QTableWidget::keyPressEvent(event);
  --userEventDepth_;
  raisePendingRowEvent();
}

QModelIndex ReportList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (action != MoveHome && action != MoveEnd) return QTableWidget::moveCursor(action, modifiers);
  // Home and End go to the first and the last row, as in a list; a table would only move along the row.
  const QModelIndex target = QTableWidget::moveCursor(action, modifiers | Qt::ControlModifier);
  if (!target.isValid()) return target;
  return model()->index(target.row(), currentIndex().isValid() ? currentIndex().column() : 0);
}
