// The life of the process: start-up, the message loop, the orderly end with its exit routines, and the
// closing of the main window by Esc.
#pragma once

#include <QObject>
#include <vector>

class MainWindow;

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

// Closes the main window when Esc is pressed without Ctrl, Shift or Alt while the focus is in the window or
// any of its controls. Esc in an open drop-down list or in a dialog stays there.
class EscCloses : public QObject {
 public:
  explicit EscCloses(QWidget* window) : window_(window) {}
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  QWidget* window_;
};

// Connects the handlers to the events of the window.
using BindHandlers = void (*)(MainWindow& window);

// Start-up, message loop and shut-down; returns the exit code of the process (0 after the window closed).
int runMarlowen(int& argc, char** argv, BindHandlers bind);
