#include "tests/support/window_fixture.h"

#include <QAbstractItemView>
#include <QTimer>
#include <QWindow>

#include "widgets/controls.h"
#include "widgets/gbk.h"

Text gbk(const QString& text) {
  return fromQString(text);
}

void WindowTest::SetUp() {
  window.reset(openMainWindow(bindHandlers));
  keys = std::make_unique<WindowKeys>(window.get(), window->ui.高级选择夹1);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::TearDown() {
  keys.reset();
  window.reset();
  settle();
}

void WindowTest::settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void WindowTest::showPageOf(QWidget* widget) {
  QTabWidget* pages = window->ui.高级选择夹1;
  for (int i = 0; i < pages->count(); ++i) {
    if (pages->widget(i)->isAncestorOf(widget)) pages->setCurrentIndex(i);
  }
}

void WindowTest::click(QWidget* widget, QPoint at) {
  showPageOf(widget);
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.isNull() ? widget->rect().center() : at);
  settle();
}

void WindowTest::key(QWidget* target, Qt::Key k, Qt::KeyboardModifiers modifiers) {
  if (target) target->setFocus();
  QWidget* popup = QApplication::activePopupWidget();
  QWindow* w = popup ? popup->windowHandle() : window->windowHandle();
  QTest::keyClick(w, k, modifiers);
  settle();
}

void WindowTest::type(QWidget* target, const QString& text) {
  showPageOf(target);
  target->setFocus();
  // QTest::keyClicks passes each character through Latin-1, which loses Chinese and full-width characters:
  // those arrive as key events that carry the character as their text, as a keyboard layout sends them.
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(target, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
  settle();
}

void WindowTest::enter(QLineEdit* box, const QString& text) {
  showPageOf(box);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Delete);
  if (!text.isEmpty()) type(box, text);
  settle();
}

void WindowTest::pick(QComboBox* box, int index) {
  showPageOf(box);
  box->showPopup();
  settle();
  QAbstractItemView* list = box->view();
  const QRect item = list->visualRect(list->model()->index(index, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  settle();
}

void WindowTest::answerNextDialog(std::function<void(QWidget*)> answer) {
  *answered_ = false;
  auto timer = new QTimer(window.get());  // goes with the window, so that it cannot outlive the test
  auto answered = answered_;
  QString* title = &lastDialogTitle;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, answered, title] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    *title = dialog->windowTitle();
    *answered = true;
    answer(dialog);
  });
  timer->start(10);
}

Text WindowTest::output() {
  return getText(window->ui.编辑框_输出);
}

DialogWatch::DialogWatch() {
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible()) return;
    shown_.push_back(dialog->windowTitle());
    dialog->close();
  });
  timer_.start(10);
}
