// Closing the window with fifty transfers in flight, all held by the video service: picture
// downloads that the sweep and the details view started, a user's paging fetch, a workbench GET
// and top-list fetches. The program's loop must end with exit code 2 and no worker left. The
// service would hold each request for 30 s and a transfer's own time-out is 10 s, while Run
// waits 2 s for the workers before it ends the process itself; so a clean return shows that
// closing ended the transfers. How long it took is recorded as "closing_ms".

#include "platform/Workers.h"
#include "tests/ui/CatalogueService.h"
#include "tests/ui/DialogFixture.h"
#include "tests/ui/RunFixture.h"
#include "ui/ControlIds.h"

#include <QLineEdit>
#include <QTreeWidget>

#include <chrono>
#include <cstddef>
#include <iostream>

namespace {

using pagetap::test::CatalogueService;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kTransfers = 50;
// Every held request keeps a server thread; the picture sweep may hold one per user beyond these.
static_assert(kTransfers + CatalogueService::kUsers <= CatalogueService::kRequestsAtOnce);

// Transfers whose request has reached the service and waits there for its answer.
std::size_t HeldTransfers(CatalogueService& service) {
  return service.TopListGate().Waiting() + service.UserPagesGate().Waiting() +
         service.PicturesGate().Waiting();
}

void Press(CMainDlg& dialog, int id) { QTest::mouseClick(dialog.GetDlgItem(id), Qt::LeftButton); }

// Starts transfers as a person does, until kTransfers of them are held by the service.
void HoldTransfers(CMainDlg& dialog, CatalogueService& service) {
  auto* list = qobject_cast<QTreeWidget*>(dialog.GetDlgItem(IDC_LIST));
  service.PicturesGate().Shut();
  Press(dialog, IDC_USERINFO);
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() == CatalogueService::kUsers; },
                              10000));

  // A click on a user whose picture is not there yet asks for it, beside the sweep.
  for (int row = 0; row < CatalogueService::kUsers; ++row) pagetap::test::ClickRow(*list, row);

  service.UserPagesGate().Shut();
  pagetap::test::DoubleClickRow(*list, 3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return service.UserPagesGate().Waiting() == 1; }, 10000));

  service.TopListGate().Shut();
  qobject_cast<QLineEdit*>(dialog.GetDlgItem(IDC_URL))
      ->setText(QString::fromStdString(service.BaseUrl() + "/top_video"));
  Press(dialog, IDC_GET);
  ASSERT_TRUE(QTest::qWaitFor([&] { return service.TopListGate().Waiting() == 1; }, 10000));

  for (std::size_t presses = 1; HeldTransfers(service) < kTransfers; ++presses) {
    ASSERT_LE(presses, kTransfers);
    Press(dialog, IDC_USERINFO);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return service.TopListGate().Waiting() == presses + 1; }, 10000));
  }
}

}  // namespace

TEST(ClosingUnderLoad, FiftyTransfersInFlightEndOnEscapeWithExitCode2) {
  if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
  CatalogueService service;
  pagetap::test::ScopedEnvironment api_base("PAGETAP_API_BASE",
                                            QByteArray::fromStdString(service.BaseUrl()));
  pagetap::test::ScopedEnvironment workbench("PAGETAP_WORKBENCH", "1");

  std::size_t in_flight = 0;
  std::size_t pictures = 0;
  Clock::time_point closed;
  const int exit_code = pagetap::test::RunWith(Qt::WindowNoState, [&](CMainDlg& dialog) {
    HoldTransfers(dialog, service);
    in_flight = HeldTransfers(service);
    pictures = service.PicturesGate().Waiting();
    closed = Clock::now();
    QTest::keyClick(dialog.GetDlgItem(IDC_LIST), Qt::Key_Escape);
  });
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - closed);

  std::cout << "close with " << in_flight << " transfers in flight (" << pictures
            << " pictures) to Run's return: " << took.count() << " ms\n";
  RecordProperty("closing_ms", static_cast<int>(took.count()));
  EXPECT_GE(in_flight, kTransfers);
  EXPECT_EQ(exit_code, 2);
  EXPECT_EQ(RunningWorkers(), 0u) << "every worker ended before Run returned";
}
