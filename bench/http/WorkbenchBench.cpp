// The workbench's pipeline on a 16 MiB UTF-8 page from a server on 127.0.0.1: WorkbenchGet
// (the transfer, with the form's switches all off) and DecodeResponseText (the body as wide
// text, the form the result box takes), against two peers that do the same from the command
// line: `curl -s URL | iconv -f UTF-8 -t UTF-16LE` and httpie's `http URL`.

#include "bench/support/Commands.h"
#include "bench/support/Figures.h"
#include "bench/support/LocalServer.h"
#include "bench/support/Rows.h"
#include "bench/support/SampleTexts.h"
#include "http/ResponseText.h"
#include "http/TransferSwitches.h"
#include "http/Workbench.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace pagetap::bench;

constexpr std::size_t kPageBytes = std::size_t{16} << 20;
constexpr int kRepetitions = 7;

// `first`: the response body and the result text find no room from an earlier response, as in
// the first GET of a process; otherwise the previous GET's room is reused.
void Pagetap(benchmark::State& state, const std::string& url, bool first) {
  FormSnapshot.url = url;
  const auto get = [] {
    // What pressing GET with every switch off sets before the worker starts.
    myCurl::TransferSwitches.Store({false, false, false, false});
    WorkbenchGet();
    DecodeResponseText();
  };
  if (!first) get();  // the earlier GET whose room a later one finds
  for (auto _ : state) {
    if (first) {
      std::string().swap(ResponseBody);
      std::u16string().swap(ResultText);
    }
    const auto started = std::chrono::steady_clock::now();
    get();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    if (ResponseBody.size() != kPageBytes || ResultText.size() < kPageBytes / 3) {
      state.SkipWithError("the page did not arrive whole");
      return;
    }
    state.SetIterationTime(took.count());
  }
}

void Peer(benchmark::State& state, const std::vector<CommandLine>& pipeline) {
  for (auto _ : state) {
    const auto took = TimePipeline(pipeline);
    if (!took) {
      state.SkipWithError("the peer failed");
      return;
    }
    state.SetIterationTime(*took);
  }
}

// The pipeline's time may be at most `goal` times the peer's.
Row Against(const FigureCollector& figures, const std::string& variant, const std::string& which,
            const std::string& peer_name, const std::string& peer_text, double goal) {
  const auto pagetap = figures.Seconds("Workbench16MiB/" + variant);
  const auto peer = figures.Seconds("Workbench16MiB/" + peer_name);
  const auto ratio = Ratio(pagetap, peer);
  return {
      "workbench pipeline: 16 MiB UTF-8 page, `WorkbenchGet` + `DecodeResponseText`, " + which +
          " (median of " + std::to_string(kRepetitions) + ")",
      pagetap ? Milliseconds(*pagetap) : "failed: " + figures.Error("Workbench16MiB/" + variant),
      peer_text + ": " +
          (peer ? Milliseconds(*peer) : "failed: " + figures.Error("Workbench16MiB/" + peer_name)),
      RatioText(ratio, 2),
      "time ratio ≤ " + Fixed(goal, 1),
      Verdict(ratio, goal, true),
      BenchCommand("workbench_bench", "Workbench16MiB/(" + variant + "|" + peer_name + ")")};
}

}  // namespace

int main(int argc, char** argv) {
  InitializeBenchmarks(&argc, argv);
  LocalServer server;
  server.Serve("/page", std::make_shared<const std::string>(Utf8Page(kPageBytes)));
  server.Start();
  const std::string url = server.BaseUrl() + "/page";

  const std::vector<CommandLine> curl_iconv = {{"curl", "-s", url},
                                               {"iconv", "-f", "UTF-8", "-t", "UTF-16LE"}};
  // Without --ignore-stdin httpie would read its standard input as a request body.
  const std::vector<CommandLine> httpie = {{"http", "--ignore-stdin", url}};
  for (auto* bench : {benchmark::RegisterBenchmark("Workbench16MiB/first", Pagetap, url, true),
                      benchmark::RegisterBenchmark("Workbench16MiB/later", Pagetap, url, false),
                      benchmark::RegisterBenchmark("Workbench16MiB/curl_iconv", Peer, curl_iconv),
                      benchmark::RegisterBenchmark("Workbench16MiB/httpie", Peer, httpie)}) {
    bench->Iterations(1)->Repetitions(kRepetitions)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  const std::string curl_text = "`curl -s URL | iconv -f UTF-8 -t UTF-16LE`";
  const std::string httpie_text = "`http URL` (httpie)";
  const char* const kFirst = "the first GET of a process";
  const char* const kLater = "a later GET";
  // Faster than the pipeline by a fifth, and than httpie at all.
  PublishRows({Against(figures, "first", kFirst, "curl_iconv", curl_text, 0.8),
               Against(figures, "first", kFirst, "httpie", httpie_text, 1.0),
               Against(figures, "later", kLater, "curl_iconv", curl_text, 0.8),
               Against(figures, "later", kLater, "httpie", httpie_text, 1.0)});
  return 0;
}
