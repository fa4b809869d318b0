// The modal dialogs and the clipboard that handlers use, and the run-time error report's message box.
#pragma once

#include <QWidget>
#include <optional>

#include "text/text.h"

// Asks for one line of text in a modal dialog owned by `owner` (the active window when null), with the
// caption `title` ("请输入：" when absent or empty), the prompt, and `initial` in the edit box, all of it
// selected. On confirmation (the default button, Enter, Alt+O) stores the edit text unchanged into `target`
// and returns true; on Cancel, Esc, Alt+C or the close box returns false and leaves `target` as it was.
// `mode` 1 is plain text, the only mode there is.
bool inputBox(TextView prompt, std::optional<TextView> title, TextView initial, Text& target, int mode,
              QWidget* owner);

// Message box button codes.
enum MessageButton {
  kButtonOk = 0,
  kButtonCancel,
  kButtonAbort,
  kButtonRetry,
  kButtonIgnore,
  kButtonYes,
  kButtonNo
};

// Shows a task-modal message box with the caption `title` ("信息：" when absent). The style selects buttons
// and icon as a message box style does: low four bits 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore,
// 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel; icon 0x10 stop, 0x20 question, 0x30 warning, 0x40 information.
// Returns the code of the button that closed it.
int messageBox(TextView text, int style, std::optional<TextView> title, QWidget* owner);

// Replaces the clipboard's contents with the text as plain text, line breaks unchanged. Returns false, and
// changes nothing, when there is no clipboard to write to.
bool setClipboardText(TextView text);

// Shows the run-time error report in a message box captioned "错误" with the stop icon and waits for the
// user; without a running application it writes the report to stderr.
void showFatalReport(const Text& report);
