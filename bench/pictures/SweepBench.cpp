// The user picture sweep over 100 users whose pictures (50 KiB each) come from a server on
// 127.0.0.1, from its start until the sweep and every download it started have ended, against
// the pacing floor the sweep must keep: 100 pauses of 100 ms and 7 rests of 300 ms (one after
// every 15 entries and one after the last).

#include "bench/support/Figures.h"
#include "bench/support/LocalServer.h"
#include "bench/support/Rows.h"
#include "bench/support/SampleTexts.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "pictures/PictureWorkers.h"
#include "platform/Workers.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace pagetap::bench;

constexpr int kUsers = 100;
constexpr std::size_t kPictureBytes = 50 * 1024;
constexpr double kFloorSeconds = kUsers * 0.100 + 7 * 0.300;

void Sweep(benchmark::State& state, const std::string& base) {
  for (auto _ : state) {
    UserList list;
    MapTopList(list, PictureTopList(base, kUsers));
    list.EndFirstFill();
    const auto started = std::chrono::steady_clock::now();
    if (!StartUserPictureSweep(&list) || !WaitForWorkers(std::chrono::seconds(60))) {
      state.SkipWithError("the sweep did not end");
      return;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    for (std::size_t user = 0; user < kUsers; ++user) {
      const auto video = list.Video(user, 0);
      if (!video || !video->m_picture_ready ||
          video->m_picture_size != static_cast<int>(kPictureBytes)) {
        state.SkipWithError("a picture did not arrive");
        return;
      }
    }
    state.SetIterationTime(took.count());
  }
}

}  // namespace

int main(int argc, char** argv) {
  InitializeBenchmarks(&argc, argv);
  LocalServer server;
  server.Serve(kShotsPattern, std::make_shared<const std::string>(PictureFile(kPictureBytes)));
  server.Start();

  benchmark::RegisterBenchmark("UserPictureSweep/100", Sweep, server.BaseUrl())
      ->Iterations(1)
      ->Repetitions(1)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  const auto took = figures.Seconds("UserPictureSweep/100");
  const auto ratio = Ratio(took, kFloorSeconds);
  PublishRows({{
      "picture sweep of 100 users (50 KiB pictures) from 127.0.0.1, start to the end of the sweep "
      "and of every download",
      took ? Milliseconds(*took) : "failed: " + figures.Error("UserPictureSweep/100"),
      "pacing floor 100 × 100 ms + 7 × 300 ms: " + Milliseconds(kFloorSeconds),
      RatioText(ratio, 3),
      "ratio ≤ 1.02",
      Verdict(ratio, 1.02, true),
      BenchCommand("sweep_bench"),
  }});
  return 0;
}
