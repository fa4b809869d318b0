// Statements from click to output painted, in the real window (offscreen), and the INSERT text alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/bindings.h"
#include "app/mainwindow.h"
#include "app/shell.h"
#include "builders/compose.h"
#include "text/memory.h"
#include "widgets/controls.h"
#include "widgets/style.h"

namespace {

MainWindow* window = nullptr;

// Presses a button as the user does and waits until the window has painted the result.
void clickAndPaint(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
  QCoreApplication::processEvents();
  window->repaint();
}

// Accepts the next modal dialog as soon as it runs.
void acceptNextDialog() {
  QTimer::singleShot(0, qApp, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) QTest::keyClick(dialog, Qt::Key_Return);
  });
}

void BM_InsertText(benchmark::State& state) {
  const auto count = static_cast<std::int32_t>(state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    Text statement = composeInsert("students", count);
    bytes = statement.size();
    benchmark::DoNotOptimize(statement.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["ns_per_byte"] =
      benchmark::Counter(static_cast<double>(bytes) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_InsertText)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_InsertClickToShown(benchmark::State& state) {
  Ui::MainWindow& ui = window->ui;
  setCurrentPage(ui.高级选择夹1, 1);
  setText(ui.编辑框_insert2, intToText(static_cast<std::int32_t>(state.range(0))));
  for (auto _ : state) {
    clickAndPaint(ui.按钮_生成SQL_增加);
    state.PauseTiming();
    setText(ui.编辑框_输出, "");
    window->repaint();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertClickToShown)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Every other handler, click to output painted.
void BM_ClickToPainted(benchmark::State& state) {
  Ui::MainWindow& ui = window->ui;
  struct Case {
    QAbstractButton* button;
    int page;
    bool dialog;
  };
  const Case cases[] = {
      {ui.按钮_增加字段, 0, false},     {ui.按钮_删除内容, 0, false},
      {ui.按钮_生成SQL, 0, true},       {ui.按钮_生成SQL_加字段, 0, false},
      {ui.按钮_生成SQL_删除, 1, false}, {ui.按钮_生成SQL_修改, 1, false},
      {ui.选择框_select1, 1, false},    {ui.按钮_生成SQL_查询, 1, false},
      {ui.选择框_主键, 0, false},       {ui.按钮_复制, 1, true},
  };
  const Case& c = cases[state.range(0)];
  setCurrentPage(ui.高级选择夹1, c.page);
  setText(ui.编辑框_字段名, "id");
  for (auto _ : state) {
    if (c.dialog) acceptNextDialog();
    clickAndPaint(c.button);
  }
  state.SetLabel(c.button->accessibleName().toStdString());
}
BENCHMARK(BM_ClickToPainted)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

void BM_CatalogueRowToPainted(benchmark::State& state) {
  Ui::MainWindow& ui = window->ui;
  setCurrentPage(ui.高级选择夹1, 2);
  ReportList* list = ui.超级列表框_进阶SQL;
  int row = 0;
  for (auto _ : state) {
    row = (row + 1) % 8;
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    window->repaint();
  }
}
BENCHMARK(BM_CatalogueRowToPainted)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  keepFreedMemoryForReuse();  // as the program does
  QApplication application(argc, argv);
  useProgramStyle();
  window = openMainWindow(bindHandlers);
  WindowKeys keys(window, window->ui.高级选择夹1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  delete window;
  return 0;
}
