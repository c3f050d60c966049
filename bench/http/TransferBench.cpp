// A GET of a 256 MiB body from a server on 127.0.0.1 through HttpRequest::Perform, against
// `curl -s -o /dev/null` on the same address. Perform keeps the body in memory, curl throws it
// away; both get the same bytes over the same loopback connection from the same server.

#include "bench/support/Commands.h"
#include "bench/support/Figures.h"
#include "bench/support/LocalServer.h"
#include "bench/support/Rows.h"
#include "http/CreateRequest.h"

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
    CreateRequest(RequestKind::Get, url)->Perform(&body, nullptr);
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
void FreshMemory(benchmark::State& state) {
  const std::string piece(16 << 10, 'x');
  for (auto _ : state) {
    const auto started = std::chrono::steady_clock::now();
    std::string body;
    body.reserve(kBodyBytes);
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

  for (auto* bench : {benchmark::RegisterBenchmark("Get256MiB/Perform", ThroughPerform, url),
                      benchmark::RegisterBenchmark("Get256MiB/curl", ThroughCurl, url),
                      benchmark::RegisterBenchmark("Get256MiB/fresh_memory", FreshMemory)}) {
    bench->Iterations(1)->Repetitions(kRepetitions)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  const auto perform = figures.Seconds("Get256MiB/Perform");
  const auto curl = figures.Seconds("Get256MiB/curl");
  std::optional<double> ratio;
  if (perform && curl) ratio = *perform / *curl;
  const auto fresh = figures.Seconds("Get256MiB/fresh_memory");
  PublishRows(
      {{
           "GET of a 256 MiB body from 127.0.0.1 through `Perform` (median of " +
               std::to_string(kRepetitions) + ")",
           perform ? Milliseconds(*perform) + " (" + MegabytesPerSecond(kBodyBytes, *perform) + ")"
                   : "failed: " + figures.Error("Get256MiB/Perform"),
           curl ? "`curl -s -o /dev/null`: " + Milliseconds(*curl) + " (" +
                      MegabytesPerSecond(kBodyBytes, *curl) + ")"
                : "failed: " + figures.Error("Get256MiB/curl"),
           ratio ? Fixed(*ratio, 2) : "—",
           "time ratio ≤ 1.15",
           Verdict(ratio, 1.15, true),
           BenchCommand("transfer_bench"),
       },
       {
           "for reference: 256 MiB written into newly allocated memory, no transfer",
           fresh ? Milliseconds(*fresh) + " (" + MegabytesPerSecond(kBodyBytes, *fresh) + ")"
                 : "failed",
           curl ? "`curl` above: " + Milliseconds(*curl) : "—",
           fresh && curl ? Fixed(*fresh / *curl, 2) : "—",
           "—",
           "—",
           BenchCommand("transfer_bench"),
       }});
  return 0;
}
