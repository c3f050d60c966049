// The dialog's keyboard rules: Enter is "ReturnList" wherever the focus is, and releasing Up
// or Down in the list asks for the details of its row. Esc is in RunTest.cpp, as it ends the
// event loop.

#include "tests/ui/DialogFixture.h"
#include "ui/ControlIds.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

namespace {

using pagetap::test::ShownDialog;

}  // namespace

TEST_F(ShownDialog, EnterPressesReturnListFromEveryKindOfControl) {
  QSignalSpy return_list(Item<QPushButton>(IDOK), &QAbstractButton::clicked);
  QSignalSpy cancel(Item<QPushButton>(IDCANCEL), &QAbstractButton::clicked);
  auto* post_data = Item<QPlainTextEdit>(IDC_POSTDATA);
  post_data->setPlainText(QStringLiteral("a=1"));
  auto* url = Item<QLineEdit>(IDC_URL);
  url->setText(QStringLiteral("http://127.0.0.1/"));

  int presses = 0;
  for (int id : {IDC_URL, IDC_POSTDATA, IDC_RESULT, IDCANCEL, IDC_LIST}) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      SCOPED_TRACE("control " + std::to_string(id));
      QWidget* control = m_dialog.GetDlgItem(id);
      control->setFocus();
      QTest::keyClick(control, key);
      EXPECT_EQ(return_list.count(), ++presses);
    }
  }
  EXPECT_EQ(cancel.count(), 0) << "Enter on a focused button is still ReturnList";
  EXPECT_TRUE(m_dialog.isVisible());
  EXPECT_EQ(post_data->toPlainText(), "a=1") << "no line break goes into the edit";
  EXPECT_EQ(url->text(), "http://127.0.0.1/");
}

TEST_F(ShownDialog, ReleasingUpOrDownInTheListAsksForTheDetails) {
  auto* list = Item<QTreeWidget>(IDC_LIST);
  for (const char* name : {"a", "b", "c"}) list->addTopLevelItem(new QTreeWidgetItem({name}));
  list->setCurrentItem(list->topLevelItem(0));
  QSignalSpy details(&m_dialog, &CMainDlg::ListArrowKeyReleased);

  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(details.count(), 1);
  EXPECT_EQ(list->currentItem(), list->topLevelItem(1)) << "the key still moves the selection";
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(details.count(), 2);
  EXPECT_EQ(list->currentItem(), list->topLevelItem(0));

  // Other keys, held-down repeats and other controls ask for nothing.
  QTest::keyClick(list, Qt::Key_Right);
  QTest::keyClick(list, Qt::Key_End);
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(list, &repeat);
  for (int id : {IDC_URL, IDC_RESULT, IDC_POSTDATA, IDOK}) {
    QWidget* control = m_dialog.GetDlgItem(id);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Down);
    QTest::keyClick(control, Qt::Key_Up);
  }
  EXPECT_EQ(details.count(), 2);
}

TEST_F(ShownDialog, KeysOutsideTheDialogAreLeftAlone) {
  QWidget other;
  other.show();
  QSignalSpy return_list(Item<QPushButton>(IDOK), &QAbstractButton::clicked);
  QTest::keyClick(&other, Qt::Key_Return);
  QTest::keyClick(&other, Qt::Key_Escape);
  EXPECT_EQ(return_list.count(), 0);
  EXPECT_TRUE(m_dialog.isVisible());
}
