// DecodeResponseText on 16 MiB of UTF-8 and of code page 936, in MB/s of response bytes,
// against the iconv program converting the same bytes (from a file) to the same wide form.

#include "bench/support/Commands.h"
#include "bench/support/Figures.h"
#include "bench/support/Rows.h"
#include "bench/support/SampleTexts.h"
#include "http/ResponseText.h"
#include "http/Workbench.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace pagetap::bench;

constexpr std::size_t kTextBytes = std::size_t{16} << 20;
constexpr int kRepetitions = 7;

// Every decode makes a new text, as every response does: the result box takes the previous one
// over whole.
void Decode(benchmark::State& state, const std::string& text) {
  ResponseBody = text;
  for (auto _ : state) {
    std::u16string().swap(ResultText);
    const auto started = std::chrono::steady_clock::now();
    DecodeResponseText();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    if (ResultText.size() < kTextBytes / 3) {
      state.SkipWithError("the text was not decoded");
      return;
    }
    state.SetIterationTime(took.count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Iconv(benchmark::State& state, const std::string& code_set, const std::string& file) {
  for (auto _ : state) {
    const auto took = TimeCommand({"iconv", "-f", code_set, "-t", "UTF-16LE", file});
    if (!took) {
      state.SkipWithError("iconv failed");
      return;
    }
    state.SetIterationTime(*took);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextBytes));
}

Row RowFor(const FigureCollector& figures, const std::string& code_set, const std::string& label) {
  const std::string prefix = "Decode16MiB/" + code_set + "/";
  const auto pagetap = figures.Seconds(prefix + "pagetap");
  const auto iconv = figures.Seconds(prefix + "iconv");
  const auto ratio = Ratio(iconv, pagetap);  // speed over speed
  return {"`DecodeResponseText` on 16 MiB of " + label + " (median of " +
              std::to_string(kRepetitions) + ")",
          pagetap ? MegabytesPerSecond(kTextBytes, *pagetap) + " (" + Milliseconds(*pagetap) + ")"
                  : "failed",
          "`iconv -f " + code_set + " -t UTF-16LE FILE`: " +
              (iconv ? MegabytesPerSecond(kTextBytes, *iconv) + " (" + Milliseconds(*iconv) + ")"
                     : "failed: " + figures.Error(prefix + "iconv")),
          RatioText(ratio, 2),
          "speed ratio ≥ 1",
          Verdict(ratio, 1.0, false),
          BenchCommand("decode_bench", prefix)};
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
  const std::string path = "/tmp/pagetap-decode-bench-" + std::to_string(getpid()) + "-" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  InitializeBenchmarks(&argc, argv);
  const std::string utf8 = Utf8Page(kTextBytes);
  const std::string cp936 = Cp936Page(kTextBytes);
  const std::string utf8_file = WriteFile("utf8.html", utf8);
  const std::string cp936_file = WriteFile("cp936.html", cp936);

  std::vector<benchmark::internal::Benchmark*> benches;
  for (const auto& [code_set, text, file] :
       {std::tuple{"UTF-8", &utf8, &utf8_file}, std::tuple{"CP936", &cp936, &cp936_file}}) {
    const std::string prefix = std::string("Decode16MiB/") + code_set + "/";
    benches.push_back(benchmark::RegisterBenchmark((prefix + "pagetap").c_str(), Decode, *text));
    benches.push_back(
        benchmark::RegisterBenchmark((prefix + "iconv").c_str(), Iconv, code_set, *file));
  }
  for (auto* bench : benches) {
    bench->Iterations(2)->Repetitions(kRepetitions)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();
  std::remove(utf8_file.c_str());
  std::remove(cp936_file.c_str());

  PublishRows({RowFor(figures, "UTF-8", "UTF-8"), RowFor(figures, "CP936", "code page 936")});
  return 0;
}
