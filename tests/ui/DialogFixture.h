#pragma once

// The real main dialog, created and shown, for tests that drive it.

#include "catalogue/UserList.h"
#include "ui/CMainDlg.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QStringList>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

// Reaches what the dialog keeps to itself.
struct CMainDlgProbe {
  static UserList* Catalogue(CMainDlg& dialog) { return dialog.m_user_list.get(); }
  static void SetCurrentUser(CMainDlg& dialog, std::int32_t user) { dialog.m_current_user = user; }
};

namespace pagetap::test {

class ShownDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create());
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
  }

  template <class Control>
  Control* Item(int id) {
    auto* control = qobject_cast<Control*>(m_dialog.GetDlgItem(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
  }

  // The window's icon, which follows the first paint.
  QIcon WindowIcon() {
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_dialog.windowIcon().isNull(); }));
    return m_dialog.windowIcon();
  }

  CMainDlg m_dialog;
};

// The list view as a person drives it. A row is scrolled into view before it is clicked.
inline QPoint RowCentre(QTreeWidget& list, int row) {
  QTreeWidgetItem* item = list.topLevelItem(row);
  list.scrollToItem(item);
  return list.visualItemRect(item).center();
}

inline void ClickRow(QTreeWidget& list, int row, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, RowCentre(list, row));
}

// As a mouse does it: press, release, the double-click's press, release.
inline void DoubleClickRow(QTreeWidget& list, int row) {
  const QPoint centre = RowCentre(list, row);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, centre);
}

// The tooltip the mouse resting on a cell brings up; empty when it brings none.
inline QString CellToolTip(QTreeWidget& list, int row, int column) {
  QTreeWidgetItem* item = list.topLevelItem(row);
  list.scrollToItem(item);
  const QPoint centre = list.visualRect(list.indexFromItem(item, column)).center();
  QHelpEvent event(QEvent::ToolTip, centre, list.viewport()->mapToGlobal(centre));
  QCoreApplication::sendEvent(list.viewport(), &event);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

inline QStringList Column(const QTreeWidget& list, int column) {
  QStringList cells;
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    cells << list.topLevelItem(row)->text(column);
  }
  return cells;
}

inline QStringList Headers(const QTreeWidget& list) {
  QStringList headers;
  for (int column = 0; column < list.columnCount(); ++column) {
    headers << list.headerItem()->text(column);
  }
  return headers;
}

// The nicknames of the catalogue's users, in their order.
inline QStringList Nicknames(const UserList& catalogue) {
  QStringList nicknames;
  for (std::size_t user = 0; user < catalogue.UserCount(); ++user) {
    nicknames << QString::fromStdString(catalogue.User(user)->m_nickname);
  }
  return nicknames;
}

// Sets an environment variable for as long as it lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const QByteArray& value)
      : m_name(name), m_had_value(qEnvironmentVariableIsSet(name)), m_old_value(qgetenv(name)) {
    qputenv(name, value);
  }
  ~ScopedEnvironment() {
    if (m_had_value) {
      qputenv(m_name, m_old_value);
    } else {
      qunsetenv(m_name);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* m_name;
  bool m_had_value;
  QByteArray m_old_value;
};

}  // namespace pagetap::test
