// Input meant to break the program, through the real window: huge texts, bytes that are no GBK, characters
// outside GBK, zero characters, extreme counts, thousands of clicks and fields. Each must give the described
// result or the run-time error report, never a crash, a hang or a silent loss of what the user typed.
#include <QClipboard>
#include <QElapsedTimer>
#include <QTimer>

#include "tests/support/window_fixture.h"
#include "text/fatal.h"
#include "widgets/controls.h"
#include "widgets/dialogs.h"
#include "widgets/gbk.h"

namespace {

class HostileInputTest : public WindowTest {
 protected:
  // Puts a text on the clipboard and pastes it into a box with Ctrl+V, replacing its contents.
  void paste(QLineEdit* box, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    showPageOf(box);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  }

  // Accepts every modal dialog that opens while the test runs.
  void acceptEveryDialog() {
    auto* timer = new QTimer(window.get());
    QObject::connect(timer, &QTimer::timeout, timer, [] {
      if (QWidget* dialog = QApplication::activeModalWidget()) QTest::keyClick(dialog, Qt::Key_Return);
    });
    timer->start(0);
  }
};

TEST_F(HostileInputTest, OneMegabyteNamesAndValuesArriveWhole) {
  const QString big(1 << 20, QChar(u'表'));
  paste(ui().编辑框_delete1, big);
  paste(ui().编辑框_delete3, big + QStringLiteral("'"));
  click(ui().按钮_生成SQL_删除);
  const Text expected = joinText("DELETE FROM ", gbk(big), " WHERE 字段名='", gbk(big), "'''");
  EXPECT_EQ(output().size(), expected.size());
  EXPECT_TRUE(output() == expected);
}

TEST_F(HostileInputTest, BytesThatAreNoGbkComeBackUnchanged) {
  // Cut-off lead bytes, lead bytes without a valid trail byte, 0x80 and 0xFF.
  const Text odd[] = {"\x81", "a\xFF", "\x80\x80", "\x81\x7F\xFE", "\xA1"};
  for (const Text& value : odd) {
    setText(ui().编辑框_delete3, value);
    click(ui().按钮_生成SQL_删除);
    EXPECT_EQ(output(), joinText("DELETE FROM 表名 WHERE 字段名='", value, "'"));
  }
}

TEST_F(HostileInputTest, EmojiAndFourByteCharactersSurviveToTheClipboard) {
  const QString typed = QStringLiteral("😀𠀀€");  // an emoji, a CJK extension B character, the euro sign
  paste(ui().编辑框_delete3, typed);
  click(ui().按钮_生成SQL_删除);
  EXPECT_EQ(toQString(output()), QStringLiteral("DELETE FROM 表名 WHERE 字段名='😀𠀀€'"));
  answerNextDialog([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
  click(ui().按钮_复制);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("DELETE FROM 表名 WHERE 字段名='😀𠀀€'"));
}

TEST_F(HostileInputTest, PastedZeroCharactersAreDroppedAndTheRestKept) {
  paste(ui().编辑框_delete3, QString::fromUtf16(u"a\0b\0", 4));
  click(ui().按钮_生成SQL_删除);
  EXPECT_EQ(output(), "DELETE FROM 表名 WHERE 字段名='ab'");
}

TEST_F(HostileInputTest, MostNegativeCountBuildsNoPlaceholders) {
  setText(ui().编辑框_insert2, "-2147483648");
  click(ui().按钮_生成SQL_增加);
  EXPECT_EQ(output(),
            "INSERT INTO 表名() VALUES('')\r\n备注：如果要向表中的所有列添加值，则不需要指定列名称。");
}

// A count whose statement needs more memory than the machine has is refused before the memory is asked for:
// the allocation report, exit code -1, rather than being killed by the system half-way.
class HugeCountTest : public HostileInputTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(HugeCountTest, EndsWithTheAllocationReport) {
  EXPECT_EXIT(
      {
        setFatalReportSink([](const Text& report) { std::fwrite(report.data(), 1, report.size(), stderr); });
        setText(ui().编辑框_insert2, GetParam());
        QTest::mouseClick(ui().按钮_生成SQL_增加, Qt::LeftButton);
        std::exit(0);
      },
      ::testing::ExitedWithCode(255), "\r\n0, 0\r\n$");
}

INSTANTIATE_TEST_SUITE_P(CountsBeyondMemory, HugeCountTest, ::testing::Values("2147483647", "99999999999"));

TEST_F(HostileInputTest, AThousandRapidClicksOnEveryButton) {
  acceptEveryDialog();
  setText(ui().编辑框_字段名, "id");
  QAbstractButton* buttons[] = {
      ui().按钮_增加字段,       ui().按钮_删除内容,     ui().选择框_主键,       ui().按钮_生成SQL,
      ui().按钮_生成SQL_加字段, ui().按钮_生成SQL_增加, ui().按钮_生成SQL_删除, ui().按钮_生成SQL_修改,
      ui().选择框_select1,      ui().按钮_生成SQL_查询, ui().按钮_复制};
  for (QAbstractButton* button : buttons) {
    showPageOf(button);
    for (int i = 0; i < 1000; ++i) QTest::mouseClick(button, Qt::LeftButton);
    settle();
  }
  // The first click added the field and emptied the name; the other 999 reported the empty name.
  EXPECT_EQ(rowCount(ui().超级列表框_字段), 1);
  EXPECT_EQ(output(), "SELECT * FROM 表名");
  EXPECT_EQ(isChecked(ui().选择框_select1), 0);  // an even number of toggles
  EXPECT_FALSE(ui().选择框_select2->isEnabled());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(HostileInputTest, TenThousandFieldsAddedThenRemoved) {
  ReportList* fields = ui().超级列表框_字段;
  for (int i = 1; i <= 10000; ++i) {
    setText(ui().编辑框_字段名, joinText("f", intToText(i)));
    QTest::mouseClick(ui().按钮_增加字段, Qt::LeftButton);
  }
  ASSERT_EQ(rowCount(fields), 10000);
  EXPECT_EQ(getCell(fields, 9999, 0), "f10000");

  // The whole list goes into one statement.
  answerNextDialog([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
  click(ui().按钮_生成SQL);
  ASSERT_TRUE(dialogAnswered());
  EXPECT_EQ(output().substr(0, 28), "CREATE TABLE test(f1 INTEGER");
  EXPECT_EQ(output().substr(output().size() - 16), ",f10000 INTEGER)");

  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < 10000; ++i) {
    fields->scrollToTop();
    const QRect first = fields->visualRect(fields->model()->index(0, 0));
    QTest::mouseClick(fields->viewport(), Qt::LeftButton, Qt::NoModifier, first.center());
    QTest::mouseClick(ui().按钮_删除内容, Qt::LeftButton);
  }
  EXPECT_EQ(rowCount(fields), 0);
  EXPECT_EQ(selectedRow(fields), -1);
  EXPECT_LT(timer.elapsed(), 60000) << "removing 10,000 rows one by one";
}

}  // namespace
