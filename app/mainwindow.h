// The main window: the form with every control in its start state, its fixed frame and place on the screen,
// and its `created` event.
#pragma once

#include <QWidget>

#include "ui_mainwindow.h"

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Outer size of the window, frame and title bar included.
  static constexpr int kOuterWidth = 704;
  static constexpr int kOuterHeight = 506;

  explicit MainWindow(QWidget* parent = nullptr);

  // Raises `created`: called once, after the window and its controls exist and before it is first shown.
  void raiseCreated() { emit created(); }

  // Fixes the outer size and centres the window on its screen; the frame is known once the window is shown.
  void placeOnScreen();

  Ui::MainWindow ui;

 signals:
  void created();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void placePageControls();
  bool pageControlsPlaced_ = false;
};
