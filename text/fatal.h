// The run-time error report: the one way the program ends on an unrecoverable error.
//
// The report text is composed here; showing it is left to a sink that the shell installs (a system message
// box once the window system is up). After the sink returns the process ends with exit code -1, and no exit
// routine runs.
#pragma once

#include <cstddef>

#include "text/text.h"

// Error codes of the report.
inline constexpr int kErrorIndexAboveCount = 1;
inline constexpr int kErrorIndexBelowOne = 4;

// "运行时出错!" and, each after an empty line, the error code line (when the code is not 0), the message line
// (when the message is not empty) and the "routine, position" line; every line break is CR LF.
Text fatalReportText(TextView message, int code, int routine, int position);

using FatalReportSink = void (*)(const Text& report);

// Installs the routine that shows the report; nullptr restores the default, which writes it to stderr.
void setFatalReportSink(FatalReportSink sink);

// Shows the report through the sink and ends the process with exit code -1.
[[noreturn]] void fatalError(TextView message, int code, int routine, int position);

// The report for memory that could not be obtained: "分配 %d 字节内存失败!" with the bytes asked for.
[[noreturn]] void allocationFailed(std::size_t bytes);
