// A GET of a 256 MiB body from a server on 127.0.0.1 through HttpRequest::Perform, which keeps
// the body in memory, against the floor of keeping it: 256 MiB written into newly allocated
// memory, with no transfer at all. For reference, `curl -s -o /dev/null` on the same address,
// which keeps nothing, and the floor in memory advised for huge pages, as Perform advises its
// body's.

#include "bench/support/Commands.h"
#include "bench/support/Figures.h"
#include "bench/support/LocalServer.h"
#include "bench/support/Rows.h"
#include "http/CreateRequest.h"
#include "platform/HugePages.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace pagetap::bench;

constexpr std::size_t kBodyBytes = std::size_t{256} << 20;
constexpr int kRepetitions = 7;

void ThroughPerform(benchmark::State& state, const std::string& url) {
  for (auto _ : state) {
    std::string body;
    const auto started = std::chrono::steady_clock::now();
    const auto request = CreateRequest(RequestKind::Get, url);
    request->LimitBody(kBodyBytes);  // four times the workbench's own limit
    request->Perform(&body, nullptr);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    if (body.size() != kBodyBytes) {
      state.SkipWithError("Perform did not receive the whole body");
      return;
    }
    state.SetIterationTime(took.count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBodyBytes));
}

// What holding the body alone costs: 256 MiB appended in libcurl's 16 KiB pieces to a string
// that was given room for all of it, with no transfer at all.
void FreshMemory(benchmark::State& state, bool huge_pages) {
  const std::string piece(16 << 10, 'x');
  for (auto _ : state) {
    const auto started = std::chrono::steady_clock::now();
    std::string body;
    body.reserve(kBodyBytes);
    if (huge_pages) AdviseHugePages(body.data(), body.capacity());
    while (body.size() < kBodyBytes) body.append(piece);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    benchmark::DoNotOptimize(body.data());
    state.SetIterationTime(took.count());
  }
}

void ThroughCurl(benchmark::State& state, const std::string& url) {
  for (auto _ : state) {
    const auto took = TimeCommand({"curl", "-s", "-o", "/dev/null", url});
    if (!took) {
      state.SkipWithError("curl failed");
      return;
    }
    state.SetIterationTime(*took);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBodyBytes));
}

}  // namespace

int main(int argc, char** argv) {
  InitializeBenchmarks(&argc, argv);
  LocalServer server;
  server.Serve("/body", std::make_shared<const std::string>(kBodyBytes, 'x'));
  server.Start();
  const std::string url = server.BaseUrl() + "/body";

  for (auto* bench :
       {benchmark::RegisterBenchmark("Get256MiB/Perform", ThroughPerform, url),
        benchmark::RegisterBenchmark("Get256MiB/curl", ThroughCurl, url),
        benchmark::RegisterBenchmark("Get256MiB/fresh_memory", FreshMemory, false),
        benchmark::RegisterBenchmark("Get256MiB/fresh_huge_pages", FreshMemory, true)}) {
    bench->Iterations(1)->Repetitions(kRepetitions)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  const auto perform = figures.Seconds("Get256MiB/Perform");
  const auto timed = [&](const std::string& name) {
    const auto seconds = figures.Seconds("Get256MiB/" + name);
    return seconds ? Milliseconds(*seconds) + " (" + MegabytesPerSecond(kBodyBytes, *seconds) + ")"
                   : "failed: " + figures.Error("Get256MiB/" + name);
  };
  // Perform's time over another figure's.
  const auto against = [&](const std::string& name) {
    return Ratio(perform, figures.Seconds("Get256MiB/" + name));
  };
  const std::string perform_text =
      "GET of a 256 MiB body from 127.0.0.1 through `Perform` (median of " +
      std::to_string(kRepetitions) + ")";
  PublishRows({
      {perform_text, timed("Perform"),
       "floor: 256 MiB written into newly allocated memory, no transfer: " + timed("fresh_memory"),
       RatioText(against("fresh_memory"), 2), "time ratio ≤ 1.1",
       Verdict(against("fresh_memory"), 1.1, true), BenchCommand("transfer_bench")},
      {"for reference: " + perform_text, timed("Perform"),
       "`curl -s -o /dev/null`, which keeps nothing: " + timed("curl"),
       RatioText(against("curl"), 2), "—", "—", BenchCommand("transfer_bench")},
      {"for reference: " + perform_text, timed("Perform"),
       "the floor in memory advised for huge pages: " + timed("fresh_huge_pages"),
       RatioText(against("fresh_huge_pages"), 2), "—", "—", BenchCommand("transfer_bench")},
  });
  return 0;
}
