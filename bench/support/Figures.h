#pragma once

// Google Benchmark's console output, kept as figures that a bench can compare once every
// benchmark has run: the median of a benchmark's repetitions, or its one run.

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pagetap::bench {

// Google Benchmark's flags with defaults of ours: repetitions of different benchmarks run in
// random order, so that load on the machine falls on both sides of a comparison alike, and only
// the aggregates are printed. Flags on the command line still win.
void InitializeBenchmarks(int* argc, char** argv);

class FigureCollector : public benchmark::ConsoleReporter {
 public:
  FigureCollector() : ConsoleReporter(OO_Tabular) {}  // counters as columns, no colours
  void ReportRuns(const std::vector<Run>& runs) override;

  // Seconds per iteration of the benchmark whose name starts with `name` (the part before
  // Google Benchmark's "/manual_time" and the like). Nothing when it did not run or failed.
  std::optional<double> Seconds(const std::string& name) const;
  std::optional<double> Counter(const std::string& name, const std::string& counter) const;
  // Why the benchmark failed; empty when it did not.
  std::string Error(const std::string& name) const;

 private:
  const Run* Find(const std::string& name) const;

  std::map<std::string, Run> m_runs;  // by full benchmark name, without the aggregate suffix
};

}  // namespace pagetap::bench
