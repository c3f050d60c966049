// Closing the window while the catalogue's workers are busy: a picture sweep pacing its
// downloads and a user's paging fetch waiting for the service.

#include "app/Run.h"
#include "platform/Workers.h"
#include "tests/ui/CatalogueService.h"
#include "tests/ui/DialogFixture.h"
#include "tests/ui/RunFixture.h"
#include "ui/ControlIds.h"

#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <iostream>

namespace {

using pagetap::test::CatalogueService;
using pagetap::test::FindDialog;
using Clock = std::chrono::steady_clock;

// The top list shown, its sweep running, and a double-click's fetch held by the service.
void StartSweepAndPaging(CMainDlg& dialog, CatalogueService& service) {
  auto* list = qobject_cast<QTreeWidget*>(dialog.GetDlgItem(IDC_LIST));
  QTest::mouseClick(dialog.GetDlgItem(IDC_USERINFO), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() == CatalogueService::kUsers; },
                              10000));
  service.UserPagesGate().Shut();
  pagetap::test::DoubleClickRow(*list, 3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return service.UserPagesGate().Waiting() == 1; }, 10000));
  EXPECT_LT(service.Requests("/shots/").size(), static_cast<std::size_t>(CatalogueService::kUsers))
      << "the sweep has more to do";
  EXPECT_GE(RunningWorkers(), 2u);
}

}  // namespace

TEST(CatalogueClosing, EndsWithExitCode2WhileASweepAndAPagingFetchRun) {
  if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
  CatalogueService service;
  pagetap::test::ScopedEnvironment api_base("PAGETAP_API_BASE",
                                            QByteArray::fromStdString(service.BaseUrl()));
  Clock::time_point cancelled;
  QTimer::singleShot(0, [&] {
    CMainDlg* dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    StartSweepAndPaging(*dialog, service);
    cancelled = Clock::now();
    QTest::mouseClick(dialog->GetDlgItem(IDCANCEL), Qt::LeftButton);
  });
  const int exit_code = ::Run(Qt::WindowNoState);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - cancelled);

  std::cout << "Cancel to Run's return: " << took.count() << " ms\n";
  RecordProperty("closing_ms", static_cast<int>(took.count()));
  EXPECT_EQ(exit_code, 2);
  EXPECT_EQ(RunningWorkers(), 0u) << "every worker ended before Run returned";
}
