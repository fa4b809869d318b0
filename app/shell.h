// The life of the process: start-up, the message loop, the orderly end with its exit routines, and the
// closing of the main window by Esc.
#pragma once

#include <QObject>
#include <vector>

class MainWindow;
class QTabWidget;

// Routines that run once, in the order of registration, when the program ends in an orderly fashion.
class ExitRoutines {
 public:
  using Routine = void (*)();
  // Adding a routine that is already in the list leaves the list unchanged.
  void add(Routine routine);
  // Runs every routine once and empties the list.
  void runAll();
  std::size_t size() const { return routines_.size(); }

 private:
  std::vector<Routine> routines_;
};

// The window's own keys, on top of what the controls do with them: Esc without Ctrl, Shift or Alt closes the
// main window from the window or any of its controls (Esc in an open drop-down list or a dialog stays
// there); Enter or Return on a focused push button or check box presses it, as Space does; Ctrl+PgDn and
// Ctrl+PgUp switch the pages from any control (Ctrl+Tab is the tab control's own). Filters the
// application's key presses while it exists.
class WindowKeys : public QObject {
 public:
  WindowKeys(QWidget* window, QTabWidget* pages);
  ~WindowKeys() override;
  WindowKeys(const WindowKeys&) = delete;
  WindowKeys& operator=(const WindowKeys&) = delete;

  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  QWidget* window_;
  QTabWidget* pages_;
};

// Connects the handlers to the events of the window.
using BindHandlers = void (*)(MainWindow& window);

// Creates the main window from its layout (the run-time error report when it cannot be created), binds the
// handlers, raises `created`, then shows the window centred on the screen.
MainWindow* openMainWindow(BindHandlers bind);

// Start-up, message loop and shut-down; returns the exit code of the process (0 after the window closed).
int runMarlowen(int& argc, char** argv, BindHandlers bind);
