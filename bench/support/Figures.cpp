#include "bench/support/Figures.h"

#include <string_view>

namespace pagetap::bench {

void InitializeBenchmarks(int* argc, char** argv) {
  static std::vector<char*> arguments;
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  static char aggregates[] = "--benchmark_report_aggregates_only=true";
  arguments.assign(argv, argv + *argc);
  arguments.insert(arguments.begin() + 1, {interleave, aggregates});
  arguments.push_back(nullptr);
  int count = static_cast<int>(arguments.size()) - 1;
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) std::exit(1);
}

void FigureCollector::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    const std::string name = run.run_name.str();
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    // A benchmark with one repetition has no aggregates: its own run is the figure.
    if (median || (run.run_type == Run::RT_Iteration && !m_runs.contains(name))) {
      m_runs[name] = run;
    }
  }
  ConsoleReporter::ReportRuns(runs);
}

const FigureCollector::Run* FigureCollector::Find(const std::string& name) const {
  for (const auto& [full, run] : m_runs) {
    if (full == name || (full.starts_with(name) && full[name.size()] == '/')) return &run;
  }
  return nullptr;
}

std::optional<double> FigureCollector::Seconds(const std::string& name) const {
  const Run* run = Find(name);
  if (run == nullptr || run->error_occurred) return std::nullopt;
  return run->GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run->time_unit);
}

std::optional<double> FigureCollector::Counter(const std::string& name,
                                               const std::string& counter) const {
  const Run* run = Find(name);
  if (run == nullptr || run->error_occurred) return std::nullopt;
  const auto found = run->counters.find(counter);
  if (found == run->counters.end()) return std::nullopt;
  return found->second.value;
}

std::string FigureCollector::Error(const std::string& name) const {
  const Run* run = Find(name);
  if (run == nullptr) return "did not run";
  return run->error_occurred ? run->error_message : std::string();
}

}  // namespace pagetap::bench
