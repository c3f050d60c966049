#pragma once

// The rows that a bench adds to docs/performance.md: one per figure, set against its peer or
// its limit. Printed as Markdown table rows on stdout, and appended to the file named by
// PAGETAP_BENCH_ROWS when scripts/bench collects them.

#include <optional>
#include <string>
#include <vector>

namespace pagetap::bench {

struct Row {
  std::string figure;   // what was measured
  std::string pagetap;  // pagetap's figure, with its unit
  std::string peer;     // the peer's figure, or the limit
  std::string ratio;
  std::string goal;
  std::string met;      // "met", "not met", or "—" for a figure given for reference
  std::string command;  // the narrower command that reproduces the row
};

// A row for a ratio that must stay at or below `limit` (`at_most`), or at or above it.
// Without a ratio (a side failed) the row says why and the goal is not met.
std::string Verdict(std::optional<double> ratio, double limit, bool at_most);

// `over` divided by `under`; nullopt when either side has no figure.
std::optional<double> Ratio(std::optional<double> over, std::optional<double> under);
// A ratio with `digits` decimals, or "—" without one.
std::string RatioText(std::optional<double> ratio, int digits);

std::string Fixed(double value, int digits);
std::string Milliseconds(double seconds);                      // "123.4 ms"
std::string MegabytesPerSecond(double bytes, double seconds);  // "812 MB/s", MB = 10^6 bytes
std::string Mebibytes(double bytes);                           // "12.3 MiB"

// The command that runs this bench alone, from the repository's root; `filter` narrows it to
// the benchmarks of one row. A window bench runs under a virtual X server, as scripts/bench
// runs it.
std::string BenchCommand(const std::string& bench, const std::string& filter = "");
std::string WindowBenchCommand(const std::string& bench);

void PublishRows(const std::vector<Row>& rows);

}  // namespace pagetap::bench
