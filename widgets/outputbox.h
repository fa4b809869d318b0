// The multi-line output box: red text on white, word wrap, no scroll bars, and exact bytes back.
#pragma once

#include <QTextEdit>

#include "text/text.h"

class OutputBox : public QTextEdit {
  Q_OBJECT

 public:
  explicit OutputBox(QWidget* parent = nullptr);

  // Replaces the whole text. The bytes are kept, so that reading the box before the user edits it gives
  // back exactly what was written, CR LF pairs included.
  void setBytes(TextView text);

  // The written bytes while the box is unedited; after an edit, the shown text with every line break as
  // CR LF.
  Text bytes() const;

 private:
  Text written_;
};
