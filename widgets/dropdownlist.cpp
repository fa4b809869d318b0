#include "widgets/dropdownlist.h"

#include <QAbstractItemView>

namespace {
// The closed box and its open list together take at most this height, measured from the top of the box.
constexpr int kMaxBoxAndListHeight = 160;
}  // namespace

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  connect(this, &QComboBox::activated, this, &DropDownList::listItemSelected, Qt::QueuedConnection);
}

void DropDownList::showPopup() {
  QComboBox::showPopup();
  QWidget* popup = view()->window();
  const int room = kMaxBoxAndListHeight - height();
  if (popup != window() && popup->height() > room) popup->resize(popup->width(), room);
}
