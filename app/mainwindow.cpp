#include "app/mainwindow.h"

#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTabBar>

#include "widgets/controls.h"

namespace {

struct ColumnLayout {
  int width;
  Qt::Alignment alignment;
};

void layOutColumns(ReportList* list, std::initializer_list<ColumnLayout> columns) {
  int column = 0;
  for (const ColumnLayout& c : columns) list->setColumnLayout(column++, c.width, c.alignment);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  ui.setupUi(this);
  setWindowIcon(QIcon(QStringLiteral(":/marlowen.png")));

  // The tab captions have a font of their own; the rest of the window keeps the system's.
  QFont captions(QStringLiteral("SimSun"));
  captions.setPixelSize(15);
  captions.setWeight(QFont::Normal);
  ui.高级选择夹1->tabBar()->setFont(captions);
  ui.高级选择夹1->tabBar()->setFocusPolicy(Qt::NoFocus);
  ui.高级选择夹1->setFocusPolicy(Qt::NoFocus);

  for (QLineEdit* box : findChildren<QLineEdit*>()) removeLengthLimit(box);

  const Qt::Alignment left = Qt::AlignLeft;
  layOutColumns(ui.超级列表框_字段, {{70, left}, {80, left}, {50, left}, {50, left}});
  layOutColumns(ui.超级列表框_进阶SQL, {{50, left}, {570, left}, {0, Qt::AlignHCenter}});
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  placePageControls();
}

// The places of the page controls are given relative to the tab control itself, tab strip included; a page
// starts below the strip, so its controls move up and left by the page's offset, once the strip is laid out.
void MainWindow::placePageControls() {
  if (pageControlsPlaced_) return;
  pageControlsPlaced_ = true;
  // All pages share the place of the current one.
  QTabWidget* pages = ui.高级选择夹1;
  const QPoint offset = pages->currentWidget()->mapTo(pages, QPoint(0, 0));
  for (int i = 0; i < pages->count(); ++i) {
    for (QWidget* control : pages->widget(i)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      control->move(control->pos() - offset);
  }
}

void MainWindow::placeOnScreen() {
  const QSize frame = frameGeometry().size() - geometry().size();
  setFixedSize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
  if (QScreen* s = screen()) {
    const QRect area = s->geometry();
    move(area.x() + (area.width() - kOuterWidth) / 2, area.y() + (area.height() - kOuterHeight) / 2);
  }
}
