// The video browser under load: twenty quick presses of the top-list button while three users'
// videos are paged and both picture sweeps run, the real dialog against a local video service.
// Every notice a worker posts must reach the dialog and the user view must end as the catalogue
// is. The longest the event loop went without answering is recorded as "longest_stall_ms".

#include "catalogue/ListWorkers.h"
#include "platform/Workers.h"
#include "tests/load/LoadFixture.h"
#include "tests/ui/CatalogueService.h"
#include "tests/ui/DialogFixture.h"
#include "ui/ControlIds.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>

namespace {

using namespace std::chrono_literals;
using pagetap::test::CatalogueService;
using pagetap::test::NoticeCounter;
using pagetap::test::RunLoopFor;
using pagetap::test::RunLoopUntil;
using pagetap::test::ScopedEnvironment;

constexpr int kPresses = 20;
// The prolific user pages through six pages, the other two through two each.
constexpr int kPagedUsers[] = {CatalogueService::kProlificUser, 1, 9};
constexpr std::chrono::milliseconds kTick{10};

// How late a 10 ms timer ran at worst: the longest the event loop went without answering.
class StallMeter {
 public:
  StallMeter() {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Note(); });
    m_since_tick.start();
    m_timer.start(kTick);
  }

  std::chrono::milliseconds Longest() {
    Note();
    return std::chrono::milliseconds(m_longest);
  }

 private:
  void Note() { m_longest = std::max(m_longest, m_since_tick.restart() - kTick.count()); }

  QTimer m_timer;
  QElapsedTimer m_since_tick;
  qint64 m_longest = 0;
};

class CatalogueUnderLoad : public pagetap::test::ShownDialog {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
    ShownDialog::SetUp();
    m_list = Item<QTreeWidget>(IDC_LIST);
    m_notices = std::make_unique<NoticeCounter>(m_dialog);
  }

  void TearDown() override {
    m_service.OpenGates();
    EXPECT_TRUE(WaitForWorkers(30s));
  }

  void PressTopListButton() { QTest::mouseClick(Item<QPushButton>(IDC_USERINFO), Qt::LeftButton); }

  void DoubleClickRow(int row) { pagetap::test::DoubleClickRow(*m_list, row); }

  int Handled(WorkerNoticeCode code) { return m_notices->Handled()[code]; }

  UserList& Catalogue() { return *CMainDlgProbe::Catalogue(m_dialog); }

  CatalogueService m_service;
  ScopedEnvironment m_api_base{"PAGETAP_API_BASE", QByteArray::fromStdString(m_service.BaseUrl())};
  std::unique_ptr<NoticeCounter> m_notices;
  QTreeWidget* m_list = nullptr;
};

}  // namespace

TEST_F(CatalogueUnderLoad, TwentyTopListPressesWhileThreeUsersArePagedAndPicturesSwept) {
  StallMeter stalls;
  PressTopListButton();
  ASSERT_TRUE(
      RunLoopUntil([&] { return m_list->topLevelItemCount() == CatalogueService::kUsers; }, 10s));

  // The list stays greyed from a double-click until that user's videos are shown, so one fetch
  // starts from the list and the other two as a double-click starts them.
  m_service.UserPagesGate().Shut();
  DoubleClickRow(kPagedUsers[0]);
  ASSERT_FALSE(m_list->isEnabled());
  ASSERT_TRUE(StartUserVideosThread(&Catalogue(), kPagedUsers[1]));
  ASSERT_TRUE(StartUserVideosThread(&Catalogue(), kPagedUsers[2]));
  ASSERT_TRUE(RunLoopUntil([&] { return m_service.UserPagesGate().Waiting() == 3; }, 10s));

  // The presses come while the users' pages do. The last press's list is held until every
  // user's videos have been shown, so that a top list is the last thing the list view shows.
  m_service.UserPagesGate().Open();
  for (int press = 1; press <= kPresses; ++press) {
    if (press == kPresses) m_service.TopListGate().Shut();
    PressTopListButton();
    RunLoopFor(kTick);
  }
  ASSERT_TRUE(RunLoopUntil([&] { return Handled(VideosPageReady) == 3; }, 30s));
  m_service.TopListGate().Open();
  ASSERT_TRUE(RunLoopUntil(
      [&] { return RunningWorkers() == 0 && m_notices->Posted() == m_notices->Handled(); }, 60s))
      << RunningWorkers() << " workers still running";

  const auto longest = stalls.Longest();
  std::cout << "longest event-loop stall: " << longest.count() << " ms\n";
  RecordProperty("longest_stall_ms", static_cast<int>(longest.count()));

  // Every notice reached the dialog: one top list per press, one per user's fetch.
  const auto posted = m_notices->Posted();
  EXPECT_EQ(posted, m_notices->Handled());
  EXPECT_EQ(posted.at(TopListReady), 1 + kPresses);
  EXPECT_EQ(posted.at(VideosPageReady), 3);

  // Twenty-one top lists, twenty of them fetched side by side, added each newcomer once.
  QStringList nicknames;
  for (int user = 0; user < CatalogueService::kUsers + 2; ++user) {
    nicknames << QString::fromStdString(CatalogueService::Nickname(user));
  }
  const QStringList catalogue = pagetap::test::Nicknames(Catalogue());
  EXPECT_EQ(catalogue, nicknames);

  EXPECT_TRUE(m_list->isEnabled());
  EXPECT_EQ(m_list->columnCount(), 4) << "the user view";
  EXPECT_EQ(pagetap::test::Column(*m_list, 0), catalogue) << "row r is user r";

  // The fetches paged to the end, and the sweeps brought every picture there is.
  for (const int user : kPagedUsers) {
    ASSERT_EQ(Catalogue().VideoCount(user),
              static_cast<std::size_t>(CatalogueService::VideoCount(user)))
        << "user " << user;
    for (int video = 0; video < CatalogueService::VideoCount(user); ++video) {
      EXPECT_EQ(Catalogue().Video(user, video)->m_picture_ready, 1) << user << ", " << video;
    }
  }
  for (int user = 0; user < catalogue.size(); ++user) {
    EXPECT_EQ(Catalogue().Video(user, 0)->m_picture_ready,
              user == CatalogueService::kBrokenUser ? 0 : 1)
        << "user " << user;
  }
}
