#include "app/shell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QTabWidget>
#include <algorithm>
#include <new>

#include "app/mainwindow.h"
#include "text/fatal.h"
#include "text/memory.h"
#include "widgets/dialogs.h"
#include "widgets/style.h"

void ExitRoutines::add(Routine routine) {
  if (std::find(routines_.begin(), routines_.end(), routine) == routines_.end()) routines_.push_back(routine);
}

void ExitRoutines::runAll() {
  std::vector<Routine> routines;
  routines.swap(routines_);
  for (Routine r : routines) r();
}

WindowKeys::WindowKeys(QWidget* window, QTabWidget* pages) : window_(window), pages_(pages) {
  qApp->installEventFilter(this);
}

WindowKeys::~WindowKeys() {
  qApp->removeEventFilter(this);
}

bool WindowKeys::eventFilter(QObject* target, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(target);
  // Keys in an open drop-down list or a dialog belong to that window.
  if (!widget || widget->window() != window_ || QApplication::activePopupWidget()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers held =
      key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);

  if (held == Qt::ControlModifier && (key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp)) {
    // Edit boxes keep Ctrl+PgDn and Ctrl+PgUp for themselves; in this window they switch pages from anywhere.
    const int step = key->key() == Qt::Key_PageDown ? 1 : -1;
    pages_->setCurrentIndex((pages_->currentIndex() + step + pages_->count()) % pages_->count());
    return true;
  }
  if (held != Qt::NoModifier) return false;
  if (key->key() == Qt::Key_Escape) {
    window_->close();
    return true;
  }
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button || !button->isEnabled() || !button->hasFocus()) return false;
    button->click();
    return true;
  }
  return false;
}

namespace {

// The program's exit routine: there is nothing to release beyond what the toolkit releases itself.
void onExit() {}

// Fonts named by the window that Linux desktops do not have: use an installed font with Chinese glyphs. The
// user-interface font too, when it has no Chinese glyphs of its own: every caption of the window is Chinese,
// and a font that has them spares the search for a fallback font at every text.
void substituteMissingFonts() {
  const QStringList cjk = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                           QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")};
  QFont::insertSubstitutions(QStringLiteral("SimSun"), cjk);
  QFont::insertSubstitutions(QStringLiteral("宋体"), cjk);
  QFont uiFont = QApplication::font();
  if (QFontDatabase::writingSystems(uiFont.family()).contains(QFontDatabase::SimplifiedChinese)) return;
  for (const QString& family : cjk) {
    if (QFontDatabase::hasFamily(family)) {
      uiFont.setFamilies({family});
      QApplication::setFont(uiFont);
      return;
    }
  }
}

}  // namespace

MainWindow* openMainWindow(BindHandlers bind) {
  MainWindow* window = nullptr;
  try {
    window = new MainWindow;
  } catch (const std::bad_alloc&) {
    fatalError("载入启动窗口失败", 0, 0, 0);
  }
  bind(*window);
  window->raiseCreated();
  window->show();
  window->placeOnScreen();
  return window;
}

int runMarlowen(int& argc, char** argv, BindHandlers bind) {
  keepFreedMemoryForReuse();
  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("marlowen"));
  useProgramStyle();
  setFatalReportSink(showFatalReport);
  ExitRoutines exitRoutines;
  exitRoutines.add(onExit);
  substituteMissingFonts();

  MainWindow* window = openMainWindow(bind);
  window->setAttribute(Qt::WA_DeleteOnClose);
  WindowKeys keys(window, window->ui.高级选择夹1);

  const int exitCode = application.exec();
  exitRoutines.runAll();
  return exitCode;
}
