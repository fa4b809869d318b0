// The floor for start-up: a bare Qt window of the main window's size, shown centred, closed like it.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.setFixedSize(704, 506);
  const QRect screen = window.screen()->geometry();
  window.move((screen.width() - 704) / 2, (screen.height() - 506) / 2);
  window.show();
  return application.exec();
}
