#pragma once

// The real main dialog, created and shown, for tests that drive it.

#include "catalogue/UserList.h"
#include "ui/CMainDlg.h"

#include <QByteArray>
#include <QTest>
#include <gtest/gtest.h>

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

  CMainDlg m_dialog;
};

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
