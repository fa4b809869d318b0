// A report list: rows of cells under a header line, single full-row selection, and a row event that is
// raised only when a different row becomes current through the user.
#pragma once

#include <QTableWidget>

#include "text/text.h"

class ReportList : public QTableWidget {
  Q_OBJECT

 public:
  explicit ReportList(QWidget* parent = nullptr);

  // Fixes a column's width (0 hides it but keeps its texts) and the alignment of its header and cells.
  void setColumnLayout(int column, int width, Qt::Alignment alignment);

  // Appends an empty row, neither selected nor current; returns its index.
  int appendRow();
  // Replaces a cell's text; nothing happens outside the rows and columns of the list.
  void setCellText(int row, int column, TextView text);
  // Exactly the bytes stored by setCellText; empty for a cell never written or outside the list.
  Text cellText(int row, int column) const;
  // Removes a row; outside the rows nothing happens. Deleting the selected row leaves no row selected.
  void removeRowAt(int row);
  // The selected row, -1 when none.
  int selectedRowIndex() const;

 signals:
  // A row gained the current-row mark by a click or a key. When it is raised the row is already current and
  // selected. Never raised by the program's own changes of the rows.
  void currentRowChanged();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

 private:
  void onCurrentChanged(const QModelIndex& current);
  void raisePendingRowEvent();

  int lastCurrentRow_ = -1;
  bool programChange_ = false;  // rows are being changed by the program: no row event
  int userEventDepth_ = 0;      // inside the list's own handling of a click or key
  bool rowEventPending_ = false;
  QList<Qt::Alignment> alignments_;
};
