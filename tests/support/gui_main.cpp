// Entry point of the tests that need a running application: one QApplication for the whole test binary.
#include <gtest/gtest.h>

#include <QApplication>

#include "text/fatal.h"
#include "widgets/dialogs.h"
#include "widgets/style.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  useProgramStyle();
  setFatalReportSink(showFatalReport);
  return RUN_ALL_TESTS();
}
