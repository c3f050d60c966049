// The program's loop and exit codes: Run in this process with the real dialog, the program
// itself as a child process, and one death test for a worker that will not stop.

#include "app/Run.h"
#include "http/CreateRequest.h"
#include "platform/Workers.h"
#include "tests/support/TestServer.h"
#include "tests/ui/DialogFixture.h"
#include "tests/ui/RunFixture.h"
#include "ui/ControlIds.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

using pagetap::test::FindDialog;
using pagetap::test::RunWith;

void PressCancel(CMainDlg& dialog) {
  QTest::mouseClick(dialog.GetDlgItem(IDCANCEL), Qt::LeftButton);
}

}  // namespace

TEST(Run, CancelEndsTheLoopWithExitCode2) {
  bool was_visible = false;
  EXPECT_EQ(RunWith(Qt::WindowNoState,
                    [&](CMainDlg& dialog) {
                      was_visible = dialog.isVisible() && !dialog.isMinimized();
                      PressCancel(dialog);
                    }),
            2);
  EXPECT_TRUE(was_visible);
  EXPECT_TRUE(ShutdownRequested());
  EXPECT_EQ(FindDialog(), nullptr) << "the dialog is gone when Run returns";
}

TEST(Run, EscEndsTheLoopWithExitCode2) {
  EXPECT_EQ(RunWith(Qt::WindowNoState,
                    [](CMainDlg& dialog) {
                      QWidget* post_data = dialog.GetDlgItem(IDC_POSTDATA);
                      post_data->setFocus();
                      QTest::keyClick(post_data, Qt::Key_Escape);
                    }),
            2);
}

TEST(Run, TheCloseBoxEndsTheLoopWithExitCode2) {
  EXPECT_EQ(RunWith(Qt::WindowNoState, [](CMainDlg& dialog) { dialog.close(); }), 2);
}

// A minimised window is not painted, but its icon is what the taskbar shows.
TEST(Run, ShowsTheDialogMinimisedWhenAskedWithItsIcon) {
  bool minimised = false;
  bool icon = false;
  EXPECT_EQ(RunWith(Qt::WindowMinimized,
                    [&](CMainDlg& dialog) {
                      minimised = dialog.isMinimized();
                      icon = !dialog.windowIcon().isNull();
                      PressCancel(dialog);
                    }),
            2);
  EXPECT_TRUE(minimised);
  EXPECT_TRUE(icon);
}

TEST(StartupWindowState, OnlyTheWindowSystemsIconicRequestCounts) {
  EXPECT_EQ(StartupWindowState({"pagetap"}), Qt::WindowNoState);
  EXPECT_EQ(StartupWindowState({"pagetap", "-iconic"}), Qt::WindowMinimized);
  EXPECT_EQ(StartupWindowState({"pagetap", "http://127.0.0.1/", "-iconic", "--help"}),
            Qt::WindowMinimized);
  EXPECT_EQ(StartupWindowState({"pagetap", "--iconic", "iconic", "-v", "--help", "x y"}),
            Qt::WindowNoState);
  EXPECT_EQ(StartupWindowState({"-iconic"}), Qt::WindowNoState) << "the program's own name";
}

// The catalogue goes with the dialog; under the address sanitizer a worker that found it freed
// would fail this test.
TEST(Run, ClosingWaitsForRunningWorkersBeforeTheCatalogueGoes) {
  if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
  pagetap::test::TestServer server;
  std::atomic<bool> arrived{false};
  server.Routes().Get("/hold", [&](const httplib::Request&, httplib::Response& response) {
    arrived = true;
    server.WaitForStop(30s);
    response.set_content("late", "text/plain");
  });
  server.Start();

  std::atomic<bool> read_catalogue{false};
  const int exit_code = RunWith(Qt::WindowNoState, [&](CMainDlg& dialog) {
    UserList* catalogue = CMainDlgProbe::Catalogue(dialog);
    const bool started = StartWorker([&, catalogue, url = server.BaseUrl() + "/hold"] {
      std::string body;
      CreateRequest(RequestKind::Get, url)->Perform(&body, nullptr);
      read_catalogue = catalogue->UserCount() == 0;
    });
    EXPECT_TRUE(started);
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived.load(); }, 10000));
    PressCancel(dialog);
  });

  EXPECT_EQ(exit_code, 2);
  EXPECT_EQ(RunningWorkers(), 0u);
  EXPECT_TRUE(read_catalogue);
}

// A worker that ignores shutdown cannot keep the process, nor find its objects destroyed: Run
// ends the process itself, still with exit code 2.
TEST(RunDeathTest, AWorkerThatDoesNotStopDoesNotHoldTheExit) {
  EXPECT_EXIT(
      {
        const int exit_code = RunWith(Qt::WindowNoState, [](CMainDlg& dialog) {
          UserList* catalogue = CMainDlgProbe::Catalogue(dialog);
          StartWorker([catalogue] {
            std::this_thread::sleep_for(60s);
            catalogue->UserCount();
          });
          PressCancel(dialog);
        });
        std::exit(100 + exit_code);  // only when Run returned
      },
      ::testing::ExitedWithCode(2), "");
}

TEST(Program, EndsWithExitCode0WhenTheDialogCannotBeBuilt) {
  // An offscreen platform without screens: Qt starts, but no window can be made.
  QTemporaryDir directory;
  ASSERT_TRUE(directory.isValid());
  QFile configuration(directory.filePath("no-screens.json"));
  ASSERT_TRUE(configuration.open(QIODevice::WriteOnly));
  configuration.write(R"({"screens": []})");
  configuration.close();

  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + configuration.fileName());
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(PAGETAP_PROGRAM), {"--help", "-x", "some arguments"});
  ASSERT_TRUE(program.waitForFinished(60000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
}
