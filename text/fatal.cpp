#include "text/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace {

void writeToStderr(const Text& report) {
  std::fwrite(report.data(), 1, report.size(), stderr);
  std::fflush(stderr);
}

FatalReportSink currentSink = writeToStderr;

}  // namespace

Text fatalReportText(TextView message, int code, int routine, int position) {
  Text report = "\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!\r\n";  // 运行时出错!
  if (code != 0) {
    report += "\r\n\xb4\xed\xce\xf3\xb4\xfa\xc2\xeb\xa3\xba";  // 错误代码：
    report += intToText(code);
    report += "\r\n";
  }
  if (!message.empty()) {
    report += "\r\n\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2\xa3\xba";  // 错误信息：
    report += message;
    report += "\r\n";
  }
  report += joinText("\r\n", intToText(routine), ", ", intToText(position), "\r\n");
  return report;
}

void setFatalReportSink(FatalReportSink sink) {
  currentSink = sink ? sink : writeToStderr;
}

void fatalError(TextView message, int code, int routine, int position) {
  currentSink(fatalReportText(message, code, routine, position));
  // Ends at once: no exit routine runs and nothing is saved.
  std::_Exit(-1);
}

void allocationFailed(std::size_t bytes) {
  // "分配 %d 字节内存失败!" composed without asking for memory on the heap beyond a short text.
  char message[64];
  const int n =
      std::snprintf(message, sizeof message,
                    "\xb7\xd6\xc5\xe4 %zu \xd7\xd6\xbd\xda\xc4\xda\xb4\xe6\xca\xa7\xb0\xdc!", bytes);
  fatalError(TextView(message, static_cast<std::size_t>(n)), 0, 0, 0);
}
