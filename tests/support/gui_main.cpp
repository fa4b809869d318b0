// Entry point of the tests that need a running application: one QApplication for the whole test binary.
#include <gtest/gtest.h>

#include <QApplication>

#include "text/fatal.h"
#include "widgets/dialogs.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  setFatalReportSink(showFatalReport);
  return RUN_ALL_TESTS();
}
