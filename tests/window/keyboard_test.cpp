// The window without a mouse: Tab reaches every control that takes focus, Space and Enter press buttons and
// toggle boxes, Ctrl+Tab and Ctrl+PgDn switch pages, and every control has a name for screen readers.
#include <QAccessible>
#include <QSet>

#include "tests/support/window_fixture.h"
#include "widgets/controls.h"

namespace {

class KeyboardTest : public WindowTest {
 protected:
  // Controls on the current page and below it that take focus by Tab.
  QList<QWidget*> tabStops() {
    QList<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (w->isVisibleTo(window.get()) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
          w->isWindow() == false && !w->focusProxy())
        stops.append(w);
    }
    return stops;
  }

  QString accessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
  }
};

TEST_F(KeyboardTest, TabReachesEveryControlThatTakesFocusOnEveryPage) {
  for (int page = 0; page < 3; ++page) {
    setCurrentPage(ui().高级选择夹1, page);
    settle();
    const QList<QWidget*> stops = tabStops();
    ASSERT_GT(stops.size(), 2) << "page " << page;
    ui().按钮_复制->setFocus();
    QSet<QWidget*> reached;
    for (int i = 0; i < 3 * stops.size(); ++i) {
      key(nullptr, Qt::Key_Tab);
      reached.insert(QApplication::focusWidget());
    }
    for (QWidget* w : stops)
      EXPECT_TRUE(reached.contains(w)) << "page " << page << ": " << w->objectName().toStdString();
    // Labels, group boxes and the tab control itself are not stops.
    for (QWidget* w : reached) {
      EXPECT_FALSE(qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w) || w == ui().高级选择夹1)
          << w->objectName().toStdString();
    }
  }
}

TEST_F(KeyboardTest, SpaceAndEnterPressButtonsAndToggleBoxes) {
  setCurrentPage(ui().高级选择夹1, 1);
  ui().按钮_生成SQL_删除->setFocus();
  key(nullptr, Qt::Key_Space);
  EXPECT_EQ(output(), "DELETE FROM 表名 WHERE 字段名='字段值'");

  ui().按钮_生成SQL_修改->setFocus();
  key(nullptr, Qt::Key_Return);
  EXPECT_EQ(output(), "UPDATE 表名 SET 字段名1='字段值1'");

  // The first-condition box: Space ticks it and its handler enables the second condition; Enter unticks it.
  ui().选择框_select1->setFocus();
  key(nullptr, Qt::Key_Space);
  EXPECT_EQ(isChecked(ui().选择框_select1), 1);
  EXPECT_TRUE(ui().选择框_select2->isEnabled());
  key(nullptr, Qt::Key_Enter);
  EXPECT_EQ(isChecked(ui().选择框_select1), 0);
  EXPECT_FALSE(ui().选择框_select2->isEnabled());
}

TEST_F(KeyboardTest, EnterInAnEditBoxPressesNothing) {
  setCurrentPage(ui().高级选择夹1, 1);
  ui().编辑框_delete1->setFocus();
  key(nullptr, Qt::Key_Return);
  EXPECT_EQ(output(), "");
}

TEST_F(KeyboardTest, CtrlTabAndCtrlPageKeysSwitchPages) {
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int page;
  };
  const Step steps[] = {{Qt::Key_Tab, Qt::ControlModifier, 1},
                        {Qt::Key_PageDown, Qt::ControlModifier, 2},
                        {Qt::Key_PageUp, Qt::ControlModifier, 1},
                        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0}};
  ASSERT_EQ(ui().高级选择夹1->currentIndex(), 0);
  for (const Step& s : steps) {
    QWidget* inside = tabStops().first();
    key(inside, s.key, s.modifiers);
    EXPECT_EQ(ui().高级选择夹1->currentIndex(), s.page) << "from " << inside->objectName().toStdString();
  }
}

TEST_F(KeyboardTest, EveryControlThatTakesFocusHasAnAccessibleName) {
  QSet<QWidget*> controls;
  for (int page = 0; page < 3; ++page) {
    setCurrentPage(ui().高级选择夹1, page);
    for (QWidget* w : tabStops()) controls.insert(w);
  }
  QSet<QString> buttonNames;
  for (QWidget* w : controls) {
    {
      const QString name = accessibleName(w);
      EXPECT_FALSE(name.trimmed().isEmpty()) << w->objectName().toStdString();
      if (qobject_cast<QPushButton*>(w)) {
        EXPECT_FALSE(buttonNames.contains(name)) << "two buttons named " << name.toStdString();
        buttonNames.insert(name);
      }
    }
  }
  EXPECT_TRUE(accessibleName(ui().编辑框_输出).startsWith(QStringLiteral("输出")));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(ui().编辑框_输出)->role(), QAccessible::EditableText);
}

}  // namespace
