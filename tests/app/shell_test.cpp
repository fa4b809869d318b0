// The life of the process: start-up order, the orderly end with exit code 0, and the run-time error report
// with exit code -1. Each case runs the program's own start-up in a child process of its own.
#include "app/shell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/bindings.h"
#include "app/mainwindow.h"
#include "text/fatal.h"
#include "widgets/dialogs.h"
#include "widgets/gbk.h"

namespace {

int argc = 1;
char arg0[] = "marlowen";
char* argv[] = {arg0, nullptr};

// Runs the program as main() does, with `extra` bound after the program's own handlers.
template <class Extra>
int runWith(Extra extra) {
  static Extra* current = nullptr;
  current = &extra;
  return runMarlowen(argc, argv, [](MainWindow& window) {
    bindHandlers(window);
    (*current)(window);
  });
}

// Presses a key on the main window once the loop runs.
void pressLater(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTimer::singleShot(50, &window,
                     [&window, key, modifiers] { QTest::keyClick(window.windowHandle(), key, modifiers); });
}

TEST(ShellTest, CreatedRunsBeforeTheWindowIsShownWithPageZeroAndTheCatalogue) {
  EXPECT_EXIT(
      {
        const int code = runWith([](MainWindow& window) {
          QObject::connect(&window, &MainWindow::created, &window, [&window] {
            std::fprintf(stderr, "visible=%d page=%d rows=%d\n", window.isVisible() ? 1 : 0,
                         window.ui.高级选择夹1->currentIndex(), window.ui.超级列表框_进阶SQL->rowCount());
          });
          pressLater(window, Qt::Key_Escape);
        });
        std::exit(code);
      },
      ::testing::ExitedWithCode(0), "visible=0 page=0 rows=23");
}

TEST(ShellTest, EscFromTheOutputBoxEndsTheProcessWithZero) {
  EXPECT_EXIT(
      {
        const int code = runWith([](MainWindow& window) {
          QTimer::singleShot(20, &window, [&window] {
            window.ui.编辑框_输出->setFocus();
            QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
          });
        });
        std::exit(code);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(ShellTest, ShiftEscKeepsTheWindowOpenAndCloseEndsWithZero) {
  EXPECT_EXIT(
      {
        const int code = runWith([](MainWindow& window) {
          pressLater(window, Qt::Key_Escape, Qt::ShiftModifier);
          QTimer::singleShot(200, &window, [&window] {
            std::fprintf(stderr, "open-after-shift-esc=%d\n", window.isVisible() ? 1 : 0);
            window.close();
          });
        });
        std::exit(code);
      },
      ::testing::ExitedWithCode(0), "open-after-shift-esc=1");
}

// Every handler once, from start to close: in the sanitizer build LeakSanitizer checks at the exit of the
// child that nothing the run allocated was lost.
TEST(ShellTest, StartEveryHandlerAndCloseEndsCleanly) {
  EXPECT_EXIT(
      {
        const int code = runWith([](MainWindow& window) {
          auto* answer = new QTimer(&window);
          QObject::connect(answer, &QTimer::timeout, answer, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) QTest::keyClick(dialog, Qt::Key_Return);
          });
          answer->start(0);
          QTimer::singleShot(20, &window, [&window] {
            Ui::MainWindow& ui = window.ui;
            ui.编辑框_字段名->setText(QStringLiteral("id"));
            QAbstractButton* buttons[] = {ui.选择框_主键,         ui.按钮_增加字段,     ui.按钮_生成SQL,
                                          ui.按钮_生成SQL_加字段, ui.按钮_生成SQL_增加, ui.按钮_生成SQL_删除,
                                          ui.按钮_生成SQL_修改,   ui.选择框_select1,    ui.按钮_生成SQL_查询,
                                          ui.按钮_复制,           ui.按钮_删除内容};
            for (QAbstractButton* b : buttons) {
              for (int page = 0; page < ui.高级选择夹1->count(); ++page) {
                if (ui.高级选择夹1->widget(page)->isAncestorOf(b)) ui.高级选择夹1->setCurrentIndex(page);
              }
              QTest::mouseClick(b, Qt::LeftButton);
            }
            emit ui.组合框_数据类型->activated(1);
            ui.高级选择夹1->setCurrentIndex(2);
            ReportList* list = ui.超级列表框_进阶SQL;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualRect(list->model()->index(1, 1)).center());
            QTimer::singleShot(50, &window,
                               [&window] { QTest::keyClick(window.windowHandle(), Qt::Key_Escape); });
          });
        });
        std::exit(code);
      },
      ::testing::ExitedWithCode(0), "");
}

int exitRoutineCalls = 0;
void countCall() {
  ++exitRoutineCalls;
}
int order = 0;
int firstAt = 0, secondAt = 0;
void first() {
  firstAt = ++order;
}
void second() {
  secondAt = ++order;
}

TEST(ShellTest, ExitRoutinesRunOnceInOrderAndAreNotAddedTwice) {
  ExitRoutines routines;
  routines.add(countCall);
  routines.add(first);
  routines.add(countCall);
  routines.add(second);
  EXPECT_EQ(routines.size(), 3u);
  routines.runAll();
  routines.runAll();
  EXPECT_EQ(exitRoutineCalls, 1);
  EXPECT_EQ(firstAt, 1);
  EXPECT_EQ(secondAt, 2);
}

struct FatalCase {
  const char* name;
  TextView message;
  int code;
  int routine;
  int position;
};

class FatalReportTest : public ::testing::TestWithParam<FatalCase> {};

// The report box is answered from inside the child: it must be captioned "错误", carry the stop icon and
// only an OK button, and show the report text; then the process ends with -1 (255 to the parent).
TEST_P(FatalReportTest, ShowsTheReportInAStopBoxAndEndsWithMinusOne) {
  const FatalCase c = GetParam();
  EXPECT_EXIT(
      {
        QApplication application(argc, argv);
        setFatalReportSink(showFatalReport);
        const QString expected = toQString(fatalReportText(c.message, c.code, c.routine, c.position));
        auto* timer = new QTimer(&application);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, expected] {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          if (!box || !box->isVisible()) return;
          timer->stop();
          const bool caption = box->windowTitle() == QStringLiteral("错误");
          const bool icon = box->icon() == QMessageBox::Critical;
          const bool buttons = box->standardButtons() == QMessageBox::Ok;
          const bool text = box->text() == expected;
          std::fprintf(stderr, "caption=%d icon=%d buttons=%d text=%d\n", caption, icon, buttons, text);
          QTest::keyClick(box, Qt::Key_Return);
        });
        timer->start(10);
        std::atexit([] { std::fprintf(stderr, "exit routine ran\n"); });
        fatalError(c.message, c.code, c.routine, c.position);
      },
      ::testing::ExitedWithCode(255), "caption=1 icon=1 buttons=1 text=1\n$");
}

INSTANTIATE_TEST_SUITE_P(
    EveryError, FatalReportTest,
    ::testing::Values(FatalCase{"IndexAboveCount", "数组成员引用下标超出定义范围", 1, 31, 3},
                      FatalCase{"IndexBelowOne", "数组成员引用下标必须大于等于1", 4, 31, 1},
                      FatalCase{"Allocation", "分配 100 字节内存失败!", 0, 0, 0},
                      FatalCase{"WindowNotCreated", "载入启动窗口失败", 0, 0, 0}),
    [](const ::testing::TestParamInfo<FatalCase>& info) { return std::string(info.param.name); });

}  // namespace
