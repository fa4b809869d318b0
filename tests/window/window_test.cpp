// The main window as the program opens it: the start state of every control that handlers read, the frame
// and the places of the controls, closing by Esc, and the dialogs and the clipboard that handlers use.
#include <QAbstractItemView>
#include <QClipboard>
#include <QDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTimer>
#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/window_fixture.h"
#include "widgets/controls.h"
#include "widgets/dialogs.h"
#include "widgets/gbk.h"

using namespace std::string_literals;

namespace {

using Form = Ui::MainWindow;

// A control of the form, for tables of controls of different kinds.
using Get = QWidget* (*)(Form&);
#define CONTROL(name) [](Form& form) -> QWidget* { return form.name; }

// The name of a control for failure messages.
std::string nameOf(const QWidget* control) {
  return control->objectName().toStdString();
}

// ---------------------------------------------------------------------------------------------------------
// Start state.

TEST_F(WindowTest, EditBoxesHoldTheirStartTexts) {
  const struct {
    QLineEdit* Form::*box;
    Text text;
    Qt::Alignment alignment;
  } boxes[] = {
      {&Form::编辑框_字段名, "", Qt::AlignLeft},
      {&Form::编辑框_加字段1, "表名", Qt::AlignHCenter},
      {&Form::编辑框_加字段2, "字段名", Qt::AlignHCenter},
      {&Form::编辑框_insert1, "表名", Qt::AlignHCenter},
      {&Form::编辑框_insert2, "字段数量", Qt::AlignHCenter},
      {&Form::编辑框_delete1, "表名", Qt::AlignHCenter},
      {&Form::编辑框_delete2, "字段名", Qt::AlignHCenter},
      {&Form::编辑框_delete3, "字段值", Qt::AlignHCenter},
      {&Form::编辑框_update1, "表名", Qt::AlignHCenter},
      {&Form::编辑框_update2, "字段名1", Qt::AlignHCenter},
      {&Form::编辑框_update3, "字段值1", Qt::AlignHCenter},
      {&Form::编辑框_update4, "字段名2", Qt::AlignHCenter},
      {&Form::编辑框_update5, "字段值2", Qt::AlignHCenter},
      {&Form::编辑框_select1, "表名", Qt::AlignHCenter},
      {&Form::编辑框_select2, "字段名1", Qt::AlignHCenter},
      {&Form::编辑框_select3, "字段值1", Qt::AlignHCenter},
      {&Form::编辑框_select4, "字段名2", Qt::AlignHCenter},
      {&Form::编辑框_select5, "字段值2", Qt::AlignHCenter},
      {&Form::编辑框_select6, "字段名3", Qt::AlignHCenter},
  };
  for (const auto& b : boxes) {
    const QLineEdit* box = ui().*b.box;
    SCOPED_TRACE(nameOf(box));
    EXPECT_EQ(getText(box), b.text);
    EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, b.alignment);
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(box->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(box->hasSelectedText());
  }
  EXPECT_EQ(output(), ""s);
}

TEST_F(WindowTest, DropDownListsShowTheirFirstItem) {
  const std::vector<Text> types = {"INTEGER", "TEXT", "REAL", "BLOB", "NONE"};
  const std::vector<Text> operators = {"=", ">", "<", ">=", "<="};
  const struct {
    DropDownList* Form::*box;
    std::vector<Text> items;
  } boxes[] = {
      {&Form::组合框_数据类型, types},          {&Form::组合框_数据类型_加字段, types},
      {&Form::组合框_delete, operators},        {&Form::组合框_update1, operators},
      {&Form::组合框_update2, operators},       {&Form::组合框_select1, operators},
      {&Form::组合框_select3, operators},       {&Form::组合框_select2, {"AND", "OR"}},
      {&Form::组合框_select4, {"DESC", "ASC"}},
  };
  for (const auto& b : boxes) {
    const DropDownList* box = ui().*b.box;
    SCOPED_TRACE(nameOf(box));
    std::vector<Text> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(gbk(box->itemText(i)));
    EXPECT_EQ(items, b.items);
    EXPECT_EQ(selectedIndex(box), 0);
    EXPECT_EQ(getText(box), b.items.front());
    EXPECT_FALSE(box->isEditable());
    EXPECT_TRUE(box->isEnabled());
  }
}

TEST_F(WindowTest, CheckBoxesStartUnchecked) {
  const struct {
    QCheckBox* Form::*box;
    bool enabled;
  } boxes[] = {
      {&Form::选择框_主键, true},    {&Form::选择框_自动增长, false}, {&Form::选择框_update, true},
      {&Form::选择框_select1, true}, {&Form::选择框_select2, false},  {&Form::选择框_select3, true},
  };
  for (const auto& b : boxes) {
    const QCheckBox* box = ui().*b.box;
    SCOPED_TRACE(nameOf(box));
    EXPECT_EQ(isChecked(box), 0);
    EXPECT_EQ(box->isEnabled(), b.enabled);
  }
}

TEST_F(WindowTest, ButtonsCarryTheirCaptions) {
  const struct {
    QPushButton* Form::*button;
    const char16_t* caption;
  } buttons[] = {
      {&Form::按钮_增加字段, u"增加字段"},
      {&Form::按钮_生成SQL, u"生成SQL"},
      {&Form::按钮_删除内容, u"删除"},
      {&Form::按钮_生成SQL_加字段, u"生成SQL"},
      {&Form::按钮_生成SQL_增加, u"生成SQL"},
      {&Form::按钮_生成SQL_删除, u"生成SQL"},
      {&Form::按钮_生成SQL_修改, u"生成SQL"},
      {&Form::按钮_生成SQL_查询, u"生成SQL"},
      {&Form::按钮_复制, u"复制"},
  };
  for (const auto& b : buttons) {
    const QPushButton* button = ui().*b.button;
    SCOPED_TRACE(nameOf(button));
    EXPECT_EQ(button->text(), QString::fromUtf16(b.caption));
    EXPECT_FALSE(button->isDefault());
    EXPECT_TRUE(button->isEnabled());
  }
}

TEST_F(WindowTest, FirstPageIsInFrontAndTheListsAreReady) {
  QTabWidget* pages = ui().高级选择夹1;
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), QStringLiteral(u"创建表"));
  EXPECT_EQ(pages->tabText(1), QStringLiteral(u"增删改查"));
  EXPECT_EQ(pages->tabText(2), QStringLiteral(u"进阶语句"));
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_TRUE(ui().编辑框_字段名->isVisible());
  EXPECT_FALSE(ui().编辑框_insert1->isVisible());
  EXPECT_FALSE(ui().超级列表框_进阶SQL->isVisible());

  EXPECT_EQ(rowCount(ui().超级列表框_字段), 0);
  EXPECT_EQ(selectedRow(ui().超级列表框_字段), -1);
  EXPECT_EQ(rowCount(ui().超级列表框_进阶SQL), 23);
  EXPECT_EQ(selectedRow(ui().超级列表框_进阶SQL), -1);
  EXPECT_FALSE(ui().超级列表框_进阶SQL->currentIndex().isValid());
}

TEST_F(WindowTest, ListColumnsHaveTheirHeadersAndWidths) {
  const struct {
    ReportList* Form::*list;
    int column;
    const char16_t* header;
    int width;
  } columns[] = {
      {&Form::超级列表框_字段, 0, u"字段名", 70},    {&Form::超级列表框_字段, 1, u"数据类型", 80},
      {&Form::超级列表框_字段, 2, u"主键", 50},      {&Form::超级列表框_字段, 3, u"自增", 50},
      {&Form::超级列表框_进阶SQL, 0, u"序号", 50},   {&Form::超级列表框_进阶SQL, 1, u"语句说明", 570},
      {&Form::超级列表框_进阶SQL, 2, u"SQL例句", 0},
  };
  EXPECT_EQ(ui().超级列表框_字段->columnCount(), 4);
  EXPECT_EQ(ui().超级列表框_进阶SQL->columnCount(), 3);
  for (const auto& c : columns) {
    const ReportList* list = ui().*c.list;
    SCOPED_TRACE(nameOf(list) + " column " + std::to_string(c.column));
    ASSERT_NE(list->horizontalHeaderItem(c.column), nullptr);
    EXPECT_EQ(list->horizontalHeaderItem(c.column)->text(), QString::fromUtf16(c.header));
    EXPECT_EQ(list->columnWidth(c.column), c.width);
  }
}

TEST_F(WindowTest, OnlyInputControlsTakeTheFocusByTab) {
  for (QWidget* control : window->findChildren<QWidget*>()) {
    // The toolkit's own parts of a control (scroll bars, the table's corner button, ...) have no name.
    if (control->objectName().isEmpty() || control->objectName().startsWith(QStringLiteral("qt_"))) continue;
    const bool input = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                       qobject_cast<QAbstractButton*>(control) || control == ui().超级列表框_字段 ||
                       control == ui().超级列表框_进阶SQL || control == ui().编辑框_输出;
    const bool passive = qobject_cast<QLabel*>(control) || qobject_cast<QGroupBox*>(control) ||
                         qobject_cast<QTabWidget*>(control);
    if (!input && !passive) continue;
    SCOPED_TRACE(nameOf(control) + " " + control->metaObject()->className());
    EXPECT_EQ((control->focusPolicy() & Qt::TabFocus) != 0, input);
  }
  EXPECT_FALSE(ui().高级选择夹1->tabBar()->focusPolicy() & Qt::TabFocus);
}

TEST_F(WindowTest, TitleIsByteExact) {
  EXPECT_EQ(gbk(window->windowTitle()), "Marlowen  软件基于【Vestrel开发】 DunmereID：Caldrin "s);
}

TEST_F(WindowTest, FrameIsFixedCentredAndHasNoMaximiseBox) {
  EXPECT_EQ(window->frameGeometry().size(), QSize(704, 506));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);

  const QRect screen = window->screen()->geometry();
  EXPECT_EQ(window->frameGeometry().topLeft(),
            screen.topLeft() + QPoint((screen.width() - 704) / 2, (screen.height() - 506) / 2));
}

// Places relative to the parent's area: the window's client area, the tab control with its tab strip, or a
// group box.
TEST_F(WindowTest, ControlsStandAtTheirPlaces) {
  const struct {
    Get control;
    Get reference;
    QPoint at;
    QSize size;
  } places[] = {
      {CONTROL(高级选择夹1), nullptr, {18, 12}, {658, 326}},
      {CONTROL(编辑框_输出), nullptr, {18, 352}, {656, 71}},
      {CONTROL(按钮_复制), nullptr, {309, 434}, {70, 28}},
      {CONTROL(分组框1), CONTROL(高级选择夹1), {18, 44}, {347, 160}},
      {CONTROL(超级列表框_字段), CONTROL(高级选择夹1), {381, 52}, {265, 120}},
      {CONTROL(编辑框_字段名), CONTROL(分组框1), {13, 65}, {80, 20}},
      {CONTROL(编辑框_加字段1), CONTROL(分组框2), {113, 34}, {72, 20}},
      {CONTROL(编辑框_insert1), CONTROL(高级选择夹1), {130, 45}, {72, 20}},
      {CONTROL(组合框_select4), CONTROL(高级选择夹1), {417, 291}, {63, 23}},
      {CONTROL(按钮_生成SQL_查询), CONTROL(高级选择夹1), {544, 287}, {70, 28}},
      {CONTROL(超级列表框_进阶SQL), CONTROL(高级选择夹1), {14, 36}, {632, 280}},
  };
  for (const auto& p : places) {
    QWidget* control = p.control(ui());
    QWidget* reference = p.reference ? p.reference(ui()) : window.get();
    SCOPED_TRACE(nameOf(control));
    showPageOf(control);
    EXPECT_EQ(control->mapTo(reference, QPoint(0, 0)), p.at);
    EXPECT_EQ(control->size(), p.size);
  }
}

TEST_F(WindowTest, OverlappingEditBoxesLieOnTopOfTheirLabels) {
  showPageOf(ui().编辑框_insert1);
  QWidget* page = ui().页面_增删改查;
  for (QLineEdit* box : {ui().编辑框_update1, ui().编辑框_insert2}) {
    SCOPED_TRACE(nameOf(box));
    QWidget* top = page->childAt(box->mapTo(page, box->rect().center()));
    EXPECT_TRUE(top == box || box->isAncestorOf(top));
  }
}

TEST_F(WindowTest, EditBoxesTakeLongInput) {
  QLineEdit* box = ui().编辑框_insert1;
  showPageOf(box);
  QApplication::clipboard()->setText(QString(40000, u'v'));
  key(box, Qt::Key_A, Qt::ControlModifier);
  key(box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(getText(box), Text(40000, 'v'));
}

// ---------------------------------------------------------------------------------------------------------
// Esc closes the window.

TEST_F(WindowTest, EscClosesTheWindowFromAnyControl) {
  const struct {
    const char* focus;
    Get control;
  } cases[] = {
      {"edit box", CONTROL(编辑框_insert1)},
      {"output box", CONTROL(编辑框_输出)},
      {"closed drop-down list", CONTROL(组合框_数据类型)},
      {"check box", CONTROL(选择框_主键)},
      {"catalogue list", CONTROL(超级列表框_进阶SQL)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.focus);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* control = c.control(ui());
    showPageOf(control);
    control->setFocus();
    ASSERT_TRUE(control->hasFocus());
    key(nullptr, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
  }
}

TEST_F(WindowTest, EscWithAModifierDoesNotClose) {
  for (const Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    SCOPED_TRACE(modifier);
    key(ui().编辑框_字段名, Qt::Key_Escape, modifier);
    EXPECT_TRUE(window->isVisible());
  }
}

TEST_F(WindowTest, EscInAnOpenDropDownListOnlyClosesTheList) {
  DropDownList* box = ui().组合框_数据类型;
  box->setFocus();
  box->showPopup();
  settle();
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  key(nullptr, Qt::Key_Escape);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_FALSE(box->view()->isVisible());
  EXPECT_TRUE(window->isVisible());
  // The next Esc, with the list closed, closes the window.
  key(nullptr, Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

// ---------------------------------------------------------------------------------------------------------
// The input dialog.

QLineEdit* editOf(QWidget* dialog) {
  return dialog->findChild<QLineEdit*>();
}

QPushButton* buttonOf(QWidget* dialog, const QString& caption) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  ADD_FAILURE() << "no button " << caption.toStdString();
  return nullptr;
}

// A click on a button of a dialog; a missing button has already failed the test.
void clickButton(QAbstractButton* button) {
  if (button) QTest::mouseClick(button, Qt::LeftButton);
}

void clickButton(QWidget* dialog, const QString& caption) {
  clickButton(buttonOf(dialog, caption));
}

// An answer to a dialog that also makes sure the dialog goes: one that the answer leaves open fails the test
// and is closed a little later, so that the test does not wait for ever.
std::function<void(QWidget*)> orClose(std::function<void(QWidget*)> answer) {
  return [answer](QWidget* dialog) {
    QTimer::singleShot(3000, dialog, [dialog] {
      ADD_FAILURE() << "the dialog is still open";
      if (auto* d = qobject_cast<QDialog*>(dialog)) d->done(QDialog::Rejected);
    });
    answer(dialog);
  };
}

// Keys as the keyboard sends them to the dialog's window.
void dialogKey(QWidget* dialog, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(dialog->windowHandle(), k, modifiers);
}

TEST_F(WindowTest, InputBoxOpensWithTheInitialTextSelected) {
  answerNextDialog(orClose([this](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(u"请输入："));
    EXPECT_EQ(dialog->parentWidget(), window.get());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    bool promptShown = false;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      promptShown = promptShown || label->text() == QStringLiteral(u"请输入表名，例如test");
    }
    EXPECT_TRUE(promptShown);

    QLineEdit* edit = editOf(dialog);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("test"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("test"));
    EXPECT_EQ(QApplication::focusWidget(), edit);

    QPushButton* ok = buttonOf(dialog, QStringLiteral(u"确认输入(&O)"));
    QPushButton* cancel = buttonOf(dialog, QStringLiteral(u"取消(&C)"));
    ASSERT_TRUE(ok && cancel);
    EXPECT_TRUE(ok->isDefault());
    dialogKey(dialog, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ok);
    dialogKey(dialog, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), cancel);
    dialogKey(dialog, Qt::Key_Escape);
  }));
  Text target;
  EXPECT_FALSE(inputBox("请输入表名，例如test", std::nullopt, "test", target, 1, nullptr));
  EXPECT_TRUE(dialogAnswered());
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

TEST_F(WindowTest, InputBoxConfirmsOrCancels) {
  const Text untouched = "untouched";
  const struct {
    const char* what;
    std::function<void(QWidget*)> answer;
    bool confirmed;
    Text target;
  } cases[] = {
      {"Enter at once", [](QWidget* d) { dialogKey(d, Qt::Key_Return); }, true, "test"},
      {"typing replaces the selection",
       [](QWidget* d) {
         QTest::keyClicks(editOf(d), QStringLiteral("users"));
         dialogKey(d, Qt::Key_Return);
       },
       true, "users"},
      {"blanks are kept",
       [](QWidget* d) {
         QTest::keyClicks(editOf(d), QStringLiteral("  t 1  "));
         dialogKey(d, Qt::Key_Enter);
       },
       true, "  t 1  "},
      {"Chinese from the input method",
       [](QWidget* d) {
         QInputMethodEvent commit;
         commit.setCommitString(QStringLiteral(u"学生表"));
         QApplication::sendEvent(editOf(d), &commit);
         dialogKey(d, Qt::Key_Return);
       },
       true, "学生表"},
      {"emptied box",
       [](QWidget* d) {
         dialogKey(d, Qt::Key_Backspace);
         dialogKey(d, Qt::Key_Return);
       },
       true, ""},
      {"OK button", [](QWidget* d) { clickButton(d, QStringLiteral(u"确认输入(&O)")); }, true, "test"},
      {"Alt+O",
       [](QWidget* d) {
         QTest::keyClicks(editOf(d), QStringLiteral("x"));
         dialogKey(d, Qt::Key_O, Qt::AltModifier);
       },
       true, "x"},
      {"Esc",
       [](QWidget* d) {
         QTest::keyClicks(editOf(d), QStringLiteral("x"));
         dialogKey(d, Qt::Key_Escape);
       },
       false, untouched},
      {"Cancel button", [](QWidget* d) { clickButton(d, QStringLiteral(u"取消(&C)")); }, false, untouched},
      {"Alt+C", [](QWidget* d) { dialogKey(d, Qt::Key_C, Qt::AltModifier); }, false, untouched},
      {"close box", [](QWidget* d) { d->close(); }, false, untouched},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    answerNextDialog(orClose(c.answer));
    Text target = untouched;
    EXPECT_EQ(inputBox("请输入表名，例如test", std::nullopt, "test", target, 1, nullptr), c.confirmed);
    EXPECT_TRUE(dialogAnswered());
    EXPECT_EQ(target, c.target);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window->isVisible());
  }
}

TEST_F(WindowTest, InputBoxTakesAGivenCaption) {
  answerNextDialog(orClose([](QWidget* d) { dialogKey(d, Qt::Key_Return); }));
  Text target;
  EXPECT_TRUE(inputBox("p", "标题"s, "", target, 1, nullptr));
  EXPECT_EQ(lastDialogTitle, QStringLiteral(u"标题"));
  EXPECT_EQ(target, ""s);
}

// ---------------------------------------------------------------------------------------------------------
// While a dialog is open, the main window reacts to neither mouse nor keyboard.

TEST_F(WindowTest, MainWindowWaitsWhileADialogIsOpen) {
  const struct {
    const char* what;
    std::function<void()> open;
  } dialogs[] = {
      {"input box",
       [] {
         Text target;
         inputBox("请输入表名，例如test", std::nullopt, "test", target, 1, nullptr);
       }},
      {"message box", [] { messageBox("SQL", 0, std::nullopt, nullptr); }},
  };
  QPushButton* button = ui().按钮_删除内容;
  QSignalSpy clicks(button, &QPushButton::clicked);
  const QPoint middle = button->mapTo(window.get(), button->rect().center());
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.what);
    clicks.clear();
    button->setFocus();
    answerNextDialog(orClose([&](QWidget* dialog) {
      QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, middle);
      QTest::keyClick(window->windowHandle(), Qt::Key_Space);
      settle();
      EXPECT_EQ(clicks.count(), 0);
      EXPECT_TRUE(dialog->isVisible());
      dialogKey(dialog, Qt::Key_Escape);
    }));
    d.open();
    EXPECT_TRUE(dialogAnswered());
    // Once the dialog has gone, the same click and key reach the button.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, middle);
    QTest::keyClick(window->windowHandle(), Qt::Key_Space);
    settle();
    EXPECT_EQ(clicks.count(), 2);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The message box.

TEST_F(WindowTest, MessageBoxShowsItsTextAndReturnsThePressedButton) {
  using B = QMessageBox::StandardButton;
  const struct {
    const char* what;
    int style;
    std::optional<Text> title;
    QString caption;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
    std::function<void(QMessageBox*)> answer;
    int result;
  } cases[] = {
      {"confirmation, OK clicked", 0, std::nullopt, QStringLiteral(u"信息："), B::Ok, QMessageBox::NoIcon,
       [](QMessageBox* box) { clickButton(box->button(B::Ok)); }, kButtonOk},
      {"confirmation, Enter", 0, std::nullopt, QStringLiteral(u"信息："), B::Ok, QMessageBox::NoIcon,
       [](QMessageBox* box) { dialogKey(box, Qt::Key_Return); }, kButtonOk},
      {"confirmation, Esc", 0, std::nullopt, QStringLiteral(u"信息："), B::Ok, QMessageBox::NoIcon,
       [](QMessageBox* box) { dialogKey(box, Qt::Key_Escape); }, kButtonOk},
      {"OK/Cancel with a caption", 1, "标题"s, QStringLiteral(u"标题"), B::Ok | B::Cancel,
       QMessageBox::NoIcon, [](QMessageBox* box) { clickButton(box->button(B::Cancel)); }, kButtonCancel},
      {"Yes/No with warning", 0x34, std::nullopt, QStringLiteral(u"信息："), B::Yes | B::No,
       QMessageBox::Warning, [](QMessageBox* box) { clickButton(box->button(B::No)); }, kButtonNo},
      {"Abort/Retry/Ignore with stop", 0x12, std::nullopt, QStringLiteral(u"信息："),
       B::Abort | B::Retry | B::Ignore, QMessageBox::Critical,
       [](QMessageBox* box) { clickButton(box->button(B::Retry)); }, kButtonRetry},
      {"Yes/No/Cancel with question", 0x23, std::nullopt, QStringLiteral(u"信息："),
       B::Yes | B::No | B::Cancel, QMessageBox::Question,
       [](QMessageBox* box) { clickButton(box->button(B::Yes)); }, kButtonYes},
  };
  const Text text = "SQL语句已成功复制。\r\n第二行";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    answerNextDialog(orClose([&c](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), c.caption);
      EXPECT_EQ(box->text(), QStringLiteral(u"SQL语句已成功复制。\r\n第二行"));
      EXPECT_EQ(box->standardButtons(), c.buttons);
      EXPECT_EQ(box->buttons().size(), std::popcount(static_cast<unsigned>(c.buttons.toInt())));
      EXPECT_EQ(box->icon(), c.icon);
      c.answer(box);
    }));
    EXPECT_EQ(messageBox(text, c.style, c.title, nullptr), c.result);
    EXPECT_TRUE(dialogAnswered());
    EXPECT_TRUE(window->isVisible());
  }
}

// ---------------------------------------------------------------------------------------------------------
// The clipboard.

TEST_F(WindowTest, ClipboardGetsTheTextWithItsLineBreaks) {
  const Text text = "CREATE TABLE 学生(\r\n  id INTEGER\r\n);\r\n";
  ASSERT_TRUE(setClipboardText(text));
  const QClipboard* clipboard = QGuiApplication::clipboard();
  EXPECT_EQ(clipboard->text(), QStringLiteral(u"CREATE TABLE 学生(\r\n  id INTEGER\r\n);\r\n"));
  EXPECT_EQ(gbk(clipboard->text()), text);

  // A second text replaces the first entirely.
  ASSERT_TRUE(setClipboardText("x"));
  EXPECT_EQ(clipboard->text(), QStringLiteral("x"));
}

}  // namespace
