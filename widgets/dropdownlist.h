// A drop-down list: the user can only pick one of its items, and every accepted pick is reported.
#pragma once

#include <QComboBox>

class DropDownList : public QComboBox {
  Q_OBJECT

 public:
  explicit DropDownList(QWidget* parent = nullptr);

  void showPopup() override;

 signals:
  // An item was accepted by the user, also when it was already the selected one. Delivered as a later
  // message, after the list has closed and the box shows the accepted item; never raised by the program's
  // own changes of the selection.
  void listItemSelected();
};
