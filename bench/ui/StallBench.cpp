// The window's responsiveness while it works: a 10 ms timer on the UI thread notes every tick
// while the dialog fetches the top list from the demo service (run in this process on
// 127.0.0.1), sweeps its pictures, pages through three users' videos (each starting a video
// picture sweep) and runs a 4 MiB workbench GET from a bench server. The longest gap between two
// ticks is the longest stall; the stall around the 4 MiB append to the result box is also
// reported on its own.

#include "bench/support/Figures.h"
#include "bench/support/LocalServer.h"
#include "bench/support/Rows.h"
#include "bench/support/SampleTexts.h"
#include "bench/ui/DialogDriver.h"
#include "demo/DemoService.h"
#include "platform/Workers.h"
#include "ui/ControlIds.h"
#include "ui/WorkerNoticeEvent.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace pagetap::bench;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kPageBytes = std::size_t{4} << 20;
constexpr int kPagedUsers = 3;
constexpr double kStallGoal = 0.050;  // seconds

struct Span {
  Clock::time_point begin;
  Clock::time_point end;
};

// Notes how long the dialog takes over each ShowResult notice, the one that appends the result.
class TimedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  std::vector<Span> m_show_result;

  bool notify(QObject* receiver, QEvent* event) override {
    if (event->type() != WorkerNoticeEvent::kType ||
        static_cast<WorkerNoticeEvent*>(event)->Code() != ShowResult) {
      return QApplication::notify(receiver, event);
    }
    const auto begin = Clock::now();
    const bool handled = QApplication::notify(receiver, event);
    m_show_result.push_back({begin, Clock::now()});
    return handled;
  }
};

struct Stalls {
  double longest = 0;          // seconds between two ticks
  std::string longest_during;  // the step that was under way
  double append = 0;           // the longest gap around a ShowResult
  double apart = 0;            // the longest gap around no ShowResult
  double show_result = 0;      // the dialog's own time for ShowResult
};

Stalls Measure(TimedApplication& application, const std::string& page_url, std::string& failure) {
  const auto dialog = ShowDialog();
  if (!dialog) {
    failure = "the dialog could not be built";
    return {};
  }
  QTreeWidget& list = ListOf(*dialog);
  Idle(500);

  std::vector<Clock::time_point> ticks;
  std::vector<std::pair<Clock::time_point, std::string>> steps;
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&] { ticks.push_back(Clock::now()); });
  timer.start(10);
  const auto step = [&](const std::string& name) { steps.emplace_back(Clock::now(), name); };
  const auto user_view = [&] {
    return list.isEnabled() && list.columnCount() == 4 && list.topLevelItemCount() > 0;
  };

  step("top list");
  qobject_cast<QPushButton*>(dialog->GetDlgItem(IDC_USERINFO))->click();
  bool ok = WaitFor(user_view, 20000);
  for (int user = 0; ok && user < kPagedUsers; ++user) {
    step("paging user " + std::to_string(user));
    DoubleClickRow(list, user);
    ok = WaitFor([&] { return list.isEnabled() && list.columnCount() == 3; }, 20000);
    if (ok) {
      qobject_cast<QPushButton*>(dialog->GetDlgItem(IDOK))->click();
      ok = WaitFor(user_view, 5000);
    }
  }
  if (ok) {
    step("4 MiB workbench GET");
    qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_URL))
        ->setText(QString::fromStdString(page_url));
    auto* get = qobject_cast<QPushButton*>(dialog->GetDlgItem(IDC_GET));
    get->click();
    ok = WaitFor([&] { return get->isEnabled() && !application.m_show_result.empty(); }, 30000);
  }
  if (ok) {
    step("sweeps ending");
    ok = WaitFor([] { return RunningWorkers() == 0; }, 60000);
  }
  timer.stop();
  if (!ok) {
    failure = "step '" + steps.back().second + "' did not finish";
    return {};
  }

  Stalls stalls;
  const auto overlaps_append = [&](Clock::time_point begin, Clock::time_point end) {
    for (const Span& span : application.m_show_result) {
      if (span.begin < end && span.end > begin) return true;
    }
    return false;
  };
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const double gap = std::chrono::duration<double>(ticks[i] - ticks[i - 1]).count();
    if (gap > stalls.longest) {
      stalls.longest = gap;
      for (const auto& [when, name] : steps) {
        if (when <= ticks[i - 1]) stalls.longest_during = name;
      }
    }
    double& kind = overlaps_append(ticks[i - 1], ticks[i]) ? stalls.append : stalls.apart;
    kind = std::max(kind, gap);
  }
  for (const Span& span : application.m_show_result) {
    stalls.show_result =
        std::max(stalls.show_result, std::chrono::duration<double>(span.end - span.begin).count());
  }
  return stalls;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  InitializeBenchmarks(&argc, argv);
  pagetap::demo::DemoService service([](const std::string&) {});
  if (const std::string error = service.Start("127.0.0.1", 0); !error.empty()) {
    std::fprintf(stderr, "the demo service did not start: %s\n", error.c_str());
    return 1;
  }
  LocalServer server;
  server.Serve("/page", std::make_shared<const std::string>(Utf8Page(kPageBytes)));
  server.Start();
  qputenv("PAGETAP_API_BASE", service.BaseUrl().c_str());
  qputenv("PAGETAP_SITE_BASE", service.BaseUrl().c_str());
  qputenv("PAGETAP_WORKBENCH", "1");
  TimedApplication application(argc, argv);

  Stalls stalls;
  std::string failure;
  benchmark::RegisterBenchmark("Stalls/catalogue_and_workbench",
                               [&](benchmark::State& state) {
                                 for (auto _ : state) {
                                   stalls =
                                       Measure(application, server.BaseUrl() + "/page", failure);
                                   if (!failure.empty()) {
                                     state.SkipWithError(failure.c_str());
                                     return;
                                   }
                                   state.SetIterationTime(stalls.longest);
                                   state.counters["append_stall_ms"] = stalls.append * 1e3;
                                   state.counters["other_stall_ms"] = stalls.apart * 1e3;
                                   state.counters["show_result_ms"] = stalls.show_result * 1e3;
                                 }
                               })
      ->Iterations(1)
      ->Repetitions(1)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();
  service.Stop();

  const bool measured = failure.empty();
  const std::string why = measured ? "" : "failed: " + failure;
  const auto row = [&](const std::string& figure, double seconds, const std::string& command_note) {
    const std::optional<double> ratio =
        measured ? std::optional<double>(seconds / 0.010) : std::nullopt;
    return Row{figure,
               measured ? Milliseconds(seconds) + command_note : why,
               "a 10 ms timer's ideal period: 10 ms",
               RatioText(ratio, 1),
               "≤ 50 ms",
               measured ? (seconds <= kStallGoal ? "met" : "not met") : "not met (no figure)",
               WindowBenchCommand("ui_stall_bench")};
  };
  PublishRows({
      row("longest event-loop stall during the top list, both picture sweeps, paging of three "
          "users "
          "and a 4 MiB workbench GET (" +
              QGuiApplication::platformName().toStdString() + ")",
          stalls.longest, measured ? " (during " + stalls.longest_during + ")" : ""),
      row("the stall around the 4 MiB append to the result box on its own", stalls.append,
          measured ? " (ShowResult itself: " + Milliseconds(stalls.show_result) + ")" : ""),
      row("the longest stall apart from that append", stalls.apart, ""),
  });
  return 0;
}
