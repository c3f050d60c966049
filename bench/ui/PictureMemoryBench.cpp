// The program's memory after it has listed 100 users and downloaded their 100 pictures of
// 50 KiB each from a server on 127.0.0.1: the growth of the resident memory from the idle
// window to the window idling after the sweep, against the bytes of the pictures.

#include "bench/support/Figures.h"
#include "bench/support/LocalServer.h"
#include "bench/support/Resident.h"
#include "bench/support/Rows.h"
#include "bench/support/SampleTexts.h"
#include "bench/ui/DialogDriver.h"
#include "platform/Workers.h"
#include "ui/ControlIds.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace pagetap::bench;

constexpr int kUsers = 100;
constexpr std::size_t kPictureBytes = 50 * 1024;
constexpr int kIdleMs = 1000;

bool AllPicturesListed(const QTreeWidget& list) {
  if (list.topLevelItemCount() != kUsers || list.columnCount() != 4) return false;
  for (int row = 0; row < kUsers; ++row) {
    if (list.topLevelItem(row)->text(1).isEmpty()) return false;
  }
  return RunningWorkers() == 0;
}

void Growth(benchmark::State& state) {
  for (auto _ : state) {
    const auto dialog = ShowDialog();
    if (!dialog) {
      state.SkipWithError("the dialog could not be built");
      return;
    }
    Idle(kIdleMs);
    const std::int64_t before = ResidentBytes();
    const std::int64_t private_before = ResidentBytes("RssAnon");
    qobject_cast<QPushButton*>(dialog->GetDlgItem(IDC_USERINFO))->click();
    if (!WaitFor([&] { return AllPicturesListed(ListOf(*dialog)); }, 60000)) {
      state.SkipWithError("the pictures did not all arrive");
      return;
    }
    Idle(kIdleMs);
    const std::int64_t after = ResidentBytes();
    const std::int64_t private_after = ResidentBytes("RssAnon");
    state.SetIterationTime(1.0);
    state.counters["growth_bytes"] = static_cast<double>(after - before);
    state.counters["private_growth_bytes"] = static_cast<double>(private_after - private_before);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  InitializeBenchmarks(&argc, argv);
  LocalServer server;
  server.Serve("/top_video",
               std::make_shared<const std::string>(PictureTopList(server.BaseUrl(), kUsers)));
  server.Serve(kShotsPattern, std::make_shared<const std::string>(PictureFile(kPictureBytes)));
  server.Start();
  qputenv("PAGETAP_API_BASE", server.BaseUrl().c_str());
  QApplication application(argc, argv);

  benchmark::RegisterBenchmark("PictureMemory/100_users", Growth)
      ->Iterations(1)
      ->Repetitions(1)
      ->UseManualTime();
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  const double pictures = static_cast<double>(kUsers * kPictureBytes);
  const auto growth = figures.Counter("PictureMemory/100_users", "growth_bytes");
  const auto private_growth = figures.Counter("PictureMemory/100_users", "private_growth_bytes");
  const auto ratio = Ratio(growth, pictures);
  PublishRows(
      {{
           "resident memory growth from the idle window to the window idling after listing 100 "
           "users and "
           "downloading their 100 pictures of 50 KiB (" +
               QGuiApplication::platformName().toStdString() + " platform)",
           growth ? Mebibytes(*growth) : "failed: " + figures.Error("PictureMemory/100_users"),
           "the pictures' bytes: " + Mebibytes(pictures),
           RatioText(ratio, 2),
           "ratio ≤ 1.2",
           Verdict(ratio, 1.2, true),
           WindowBenchCommand("ui_memory_bench"),
       },
       {
           "for reference: the part of that growth in private memory (RssAnon), without the pages "
           "of "
           "libraries and fonts first used on the way",
           private_growth ? Mebibytes(*private_growth) : "failed",
           "the pictures' bytes: " + Mebibytes(pictures),
           RatioText(Ratio(private_growth, pictures), 2),
           "—",
           "—",
           WindowBenchCommand("ui_memory_bench"),
       }});
  return 0;
}
