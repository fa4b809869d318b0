#include "widgets/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <cstdio>

#include "widgets/controls.h"
#include "widgets/gbk.h"

namespace {

QString captionOr(std::optional<TextView> title, const QString& fallback) {
  return title && !title->empty() ? toQString(*title) : fallback;
}

// The input dialog, laid out in dialog units of a 9-point font (one unit is 1.5 pixels at 96 dpi).
class InputDialog : public QDialog {
 public:
  InputDialog(const QString& caption, const QString& prompt, const QString& initial, QWidget* owner)
      : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint) {
    setObjectName(QStringLiteral("inputBox"));
    setWindowTitle(caption);
    setFixedSize(du(252), du(92));

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(du(7), du(7), du(238), du(35));

    auto* promptLabel = new QLabel(prompt, this);
    promptLabel->setObjectName(QStringLiteral("prompt"));
    promptLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    promptLabel->setWordWrap(true);
    promptLabel->setTextFormat(Qt::PlainText);
    promptLabel->setGeometry(du(12), du(11), du(229), du(27));

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("edit"));
    removeLengthLimit(edit_);
    edit_->setGeometry(du(7), du(45), du(238), du(12));
    edit_->setText(initial);

    auto* ok = new QPushButton(QStringLiteral("确认输入(&O)"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(du(63), du(66), du(55), du(19));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(du(134), du(66), du(55), du(19));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(edit_, ok);
    setTabOrder(ok, cancel);

    edit_->selectAll();  // typing replaces the initial text; the caret stays in view at its end
    edit_->setFocus();
    if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
  }

  QString text() const { return edit_->text(); }

 private:
  static int du(int units) { return units * 3 / 2; }
  QLineEdit* edit_;
};

}  // namespace

bool inputBox(TextView prompt, std::optional<TextView> title, TextView initial, Text& target, int /*mode*/,
              QWidget* owner) {
  if (!owner) owner = QApplication::activeWindow();
  InputDialog dialog(captionOr(title, QStringLiteral("请输入：")), toQString(prompt), toQString(initial),
                     owner);
  dialog.setWindowModality(Qt::ApplicationModal);
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  // The owner is active again afterwards also where no window manager hands the activation back.
  if (owner) owner->activateWindow();
  if (!confirmed) return false;
  target = fromQString(dialog.text());
  return true;
}

int messageBox(TextView text, int style, std::optional<TextView> title, QWidget* owner) {
  using B = QMessageBox::StandardButton;
  static const QMessageBox::StandardButtons kButtons[] = {
      B::Ok,          B::Ok | B::Cancel,   B::Abort | B::Retry | B::Ignore, B::Yes | B::No | B::Cancel,
      B::Yes | B::No, B::Retry | B::Cancel};
  static const QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                             QMessageBox::Question, QMessageBox::Warning,
                                             QMessageBox::Information};
  const int buttonStyle = style & 0xF;
  const int iconStyle = (style >> 4) & 0xF;
  QMessageBox box(iconStyle < 5 ? kIcons[iconStyle] : QMessageBox::NoIcon,
                  captionOr(title, QStringLiteral("信息：")), toQString(text),
                  buttonStyle < 6 ? kButtons[buttonStyle] : B::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);  // every window of the program waits for the box
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case B::Cancel:
      return kButtonCancel;
    case B::Abort:
      return kButtonAbort;
    case B::Retry:
      return kButtonRetry;
    case B::Ignore:
      return kButtonIgnore;
    case B::Yes:
      return kButtonYes;
    case B::No:
      return kButtonNo;
    default:
      return kButtonOk;
  }
}

bool setClipboardText(TextView text) {
  QClipboard* clipboard =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
  if (!clipboard) return false;
  const QString shown = toQString(text);
  clipboard->setText(shown, QClipboard::Clipboard);
  // The toolkit's clipboard reports nothing: read the text back to tell whether it was taken.
  return clipboard->text(QClipboard::Clipboard) == shown;
}

void showFatalReport(const Text& report) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    std::fwrite(report.data(), 1, report.size(), stderr);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), toQString(report), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}
