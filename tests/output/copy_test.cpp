// Tests of the copy button: what reaches the clipboard, and the confirmation that follows.
//
// This file is compiled with GB18030 narrow literals, so a Chinese narrow literal is its GBK bytes.
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "tests/support/window_fixture.h"
#include "widgets/controls.h"
#include "widgets/gbk.h"

namespace {

// What the confirmation showed.
struct BoxSeen {
  QString text;
  int buttons = 0;
  bool icon = false;
};

class CopyTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  }

  static QString clipboardText() { return QGuiApplication::clipboard()->text(); }

  // Clicks the copy button and answers the confirmation, if one comes, with its OK button.
  std::shared_ptr<BoxSeen> copyAndConfirm() {
    auto seen = std::make_shared<BoxSeen>();
    answerNextDialog([seen](QWidget* dialog) {
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        seen->text = box->text();
        seen->buttons = static_cast<int>(box->buttons().size());
        seen->icon = box->icon() != QMessageBox::NoIcon;
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) QTest::mouseClick(ok, Qt::LeftButton);
      }
      if (dialog->isVisible()) dialog->close();
    });
    click(ui().按钮_复制);
    return seen;
  }

  // Types into the output box after emptying it: Return starts a new line.
  void typeIntoOutput(const QStringList& lines) {
    OutputBox* box = ui().编辑框_输出;
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0) QTest::keyClick(box, Qt::Key_Return);
      type(box, lines[i]);
    }
  }
};

TEST_F(CopyTest, AnEmptyOutputCopiesNothingAndShowsNothing) {
  ASSERT_EQ(output(), "");
  {
    DialogWatch watch;
    click(ui().按钮_复制);
    EXPECT_TRUE(watch.shown().isEmpty()) << "a box was shown";
  }
  EXPECT_EQ(clipboardText(), QStringLiteral("before"));

  // Emptied by the user after a statement: still nothing.
  click(ui().按钮_生成SQL_加字段);
  typeIntoOutput({});
  ASSERT_EQ(output(), "");
  {
    DialogWatch watch;
    click(ui().按钮_复制);
    EXPECT_TRUE(watch.shown().isEmpty()) << "a box was shown";
  }
  EXPECT_EQ(clipboardText(), QStringLiteral("before"));
}

TEST_F(CopyTest, ABuilderMessageIsCopiedAndConfirmed) {
  click(ui().按钮_增加字段);  // the field name box is empty at start
  ASSERT_EQ(output(), "字段名不能为空！");
  const std::shared_ptr<BoxSeen> seen = copyAndConfirm();
  ASSERT_TRUE(dialogAnswered());
  EXPECT_EQ(lastDialogTitle, QStringLiteral("信息："));
  EXPECT_EQ(seen->text, QStringLiteral("SQL语句已成功复制。"));
  EXPECT_EQ(seen->buttons, 1);
  EXPECT_FALSE(seen->icon);
  EXPECT_EQ(clipboardText(), QStringLiteral("字段名不能为空！"));
  EXPECT_EQ(fromQString(clipboardText()), "字段名不能为空！");
  // The output box keeps its text.
  EXPECT_EQ(output(), "字段名不能为空！");
}

TEST_F(CopyTest, LineBreaksReachTheClipboardUnchanged) {
  struct Case {
    const char* what;
    Text text;
  };
  const Case cases[] = {
      {"two lines", "SELECT 1;\r\nSELECT 2;"},
      {"a Chinese line and a trailing break", "第一行\r\n第二行 'x'\r\n"},
      {"an empty line between", "a\r\n\r\nb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setText(ui().编辑框_输出, c.text);
    copyAndConfirm();
    ASSERT_TRUE(dialogAnswered());
    EXPECT_EQ(fromQString(clipboardText()), c.text);
    EXPECT_EQ(clipboardText(), toQString(c.text));
  }
}

TEST_F(CopyTest, TheInsertStatementIsCopiedWithItsNoteLine) {
  click(ui().按钮_生成SQL_增加);
  const Text statement = output();
  ASSERT_NE(statement.find("\r\n"), Text::npos);
  copyAndConfirm();
  ASSERT_TRUE(dialogAnswered());
  EXPECT_EQ(fromQString(clipboardText()), statement);
  EXPECT_EQ(clipboardText(),
            QStringLiteral("INSERT INTO 表名(字段1) "
                           "VALUES('字段值1')\r\n备注：如果要向表中的所有列添加值，则不需要指定列名称。"));
}

TEST_F(CopyTest, TextTypedIntoTheOutputBoxIsCopiedExactly) {
  click(ui().按钮_生成SQL_删除);
  typeIntoOutput({QStringLiteral("SELECT * FROM 学生"), QStringLiteral("  WHERE 姓名='张三' ")});
  ASSERT_EQ(output(), "SELECT * FROM 学生\r\n  WHERE 姓名='张三' ");
  copyAndConfirm();
  ASSERT_TRUE(dialogAnswered());
  EXPECT_EQ(clipboardText(), QStringLiteral("SELECT * FROM 学生\r\n  WHERE 姓名='张三' "));

  // Editing a builder's statement in place: the copy takes the text as shown at that moment.
  click(ui().按钮_生成SQL_删除);
  OutputBox* box = ui().编辑框_输出;
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  type(box, QStringLiteral(" LIMIT 1"));
  copyAndConfirm();
  ASSERT_TRUE(dialogAnswered());
  EXPECT_EQ(clipboardText(), QStringLiteral("DELETE FROM 表名 WHERE 字段名='字段值' LIMIT 1"));
}

}  // namespace
