#include "widgets/outputbox.h"

#include <QPalette>

#include "widgets/gbk.h"

OutputBox::OutputBox(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab moves on to the next control, so that the keyboard can leave the box.
  setTabChangesFocus(true);
  QPalette p = palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Text, QColor(255, 0, 0));
    p.setColor(group, QPalette::Base, QColor(255, 255, 255));
  }
  setPalette(p);
}

void OutputBox::setBytes(TextView text) {
  written_.assign(text);
  QString shown = toQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setPlainText(shown);
  document()->setModified(false);
}

Text OutputBox::bytes() const {
  if (!document()->isModified()) return written_;
  // toRawText keeps what toPlainText would change (non-breaking spaces); paragraph and line separators are
  // the box's line breaks.
  QString shown = document()->toRawText();
  shown.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  shown.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return fromQString(shown);
}
