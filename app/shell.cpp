#include "app/shell.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <algorithm>
#include <new>

#include "app/mainwindow.h"
#include "text/fatal.h"
#include "widgets/dialogs.h"

void ExitRoutines::add(Routine routine) {
  if (std::find(routines_.begin(), routines_.end(), routine) == routines_.end()) routines_.push_back(routine);
}

void ExitRoutines::runAll() {
  std::vector<Routine> routines;
  routines.swap(routines_);
  for (Routine r : routines) r();
}

bool EscCloses::eventFilter(QObject* target, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers held =
      key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  if (key->key() != Qt::Key_Escape || held != Qt::NoModifier) return false;
  auto* widget = qobject_cast<QWidget*>(target);
  if (!widget || widget->window() != window_) return false;
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  window_->close();
  return true;
}

namespace {

// The program's exit routine: there is nothing to release beyond what the toolkit releases itself.
void onExit() {}

// Fonts named by the window that Linux desktops do not have: use an installed font with Chinese glyphs.
void substituteMissingFonts() {
  const QStringList cjk = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                           QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")};
  QFont::insertSubstitutions(QStringLiteral("SimSun"), cjk);
  QFont::insertSubstitutions(QStringLiteral("宋体"), cjk);
}

}  // namespace

int runMarlowen(int& argc, char** argv, BindHandlers bind) {
  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("marlowen"));
  setFatalReportSink(showFatalReport);
  ExitRoutines exitRoutines;
  exitRoutines.add(onExit);
  substituteMissingFonts();

  MainWindow* window = nullptr;
  try {
    window = new MainWindow;
  } catch (const std::bad_alloc&) {
    fatalError("载入启动窗口失败", 0, 0, 0);
  }
  window->setAttribute(Qt::WA_DeleteOnClose);
  bind(*window);
  EscCloses escCloses(window);
  application.installEventFilter(&escCloses);

  window->raiseCreated();
  window->show();
  window->placeOnScreen();

  const int exitCode = application.exec();
  exitRoutines.runAll();
  return exitCode;
}
