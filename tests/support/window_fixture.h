// A test fixture that opens the real main window with every handler bound, as the program starts it, and
// helpers that drive it the way a user does: clicks, keys, picks in drop-down lists, and answers to dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/bindings.h"
#include "app/mainwindow.h"
#include "app/shell.h"
#include "text/text.h"

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Ui::MainWindow& ui() { return window->ui; }

  // Clicks a widget in its middle (or at `at`) with the left button, after bringing its page to the front.
  void click(QWidget* widget, QPoint at = QPoint());
  // Sends a key the way the keyboard does: to the window system's window, so that event filters and popups
  // see it as they see a real key.
  void key(QWidget* target, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Types text into a widget (replacing nothing: select first where needed).
  void type(QWidget* target, const QString& text);
  // Replaces the text of an edit box as the user does: everything selected, deleted, then the new text typed.
  void enter(QLineEdit* box, const QString& text);
  // Opens a drop-down list, picks the item with the mouse in the opened list, and lets queued events run.
  void pick(QComboBox* box, int index);
  // Shows the page that holds the widget.
  void showPageOf(QWidget* widget);

  // Runs `answer` on the next modal dialog once it is visible and active; returns a check that it ran.
  // The answer gets the dialog widget.
  void answerNextDialog(std::function<void(QWidget*)> answer);
  bool dialogAnswered() const { return *answered_; }
  // The caption and text of the last dialog answered.
  QString lastDialogTitle;

  // Lets posted and queued events run.
  static void settle();

  // The output box text as bytes.
  Text output();

  std::unique_ptr<MainWindow> window;
  std::unique_ptr<WindowKeys> keys;

 private:
  std::shared_ptr<bool> answered_ = std::make_shared<bool>(false);
};

// Closes any modal dialog that shows up while it lives, and remembers its caption: for actions that must not
// ask or show anything.
class DialogWatch {
 public:
  DialogWatch();
  const QStringList& shown() const { return shown_; }

 private:
  QTimer timer_;
  QStringList shown_;
};

// UTF-8 source text as the program's GBK bytes.
Text gbk(const QString& text);
