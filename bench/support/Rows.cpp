#include "bench/support/Rows.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace pagetap::bench {

std::string Verdict(std::optional<double> ratio, double limit, bool at_most) {
  if (!ratio) return "not met (no figure)";
  return (at_most ? *ratio <= limit : *ratio >= limit) ? "met" : "not met";
}

std::optional<double> Ratio(std::optional<double> over, std::optional<double> under) {
  if (!over || !under) return std::nullopt;
  return *over / *under;
}

std::string RatioText(std::optional<double> ratio, int digits) {
  return ratio ? Fixed(*ratio, digits) : "—";
}

std::string Fixed(double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", digits, value);
  return text;
}

std::string Milliseconds(double seconds) {
  return Fixed(seconds * 1e3, seconds < 0.01 ? 2 : 1) + " ms";
}

std::string MegabytesPerSecond(double bytes, double seconds) {
  return Fixed(bytes / seconds / 1e6, 0) + " MB/s";
}

std::string Mebibytes(double bytes) { return Fixed(bytes / (1024.0 * 1024.0), 1) + " MiB"; }

std::string BenchCommand(const std::string& bench, const std::string& filter) {
  std::string command = "`build/bench/bench/" + bench;
  if (!filter.empty()) command += " --benchmark_filter='" + filter + "'";
  return command + "`";
}

namespace {

// A table cell: a pipe inside it, a shell pipeline's say, must not end the cell.
std::string Cell(const std::string& text) {
  std::string cell;
  for (const char c : text) {
    if (c == '|') cell += '\\';
    cell += c;
  }
  return cell;
}

}  // namespace

std::string WindowBenchCommand(const std::string& bench) {
  return "`xvfb-run -a build/bench/bench/" + bench + "`";
}

void PublishRows(const std::vector<Row>& rows) {
  std::string table;
  for (const Row& row : rows) {
    table += "| " + Cell(row.figure) + " | " + Cell(row.pagetap) + " | " + Cell(row.peer) + " | " +
             Cell(row.ratio) + " | " + Cell(row.goal) + " | " + Cell(row.met) + " | " +
             Cell(row.command) + " |\n";
  }
  std::cout << "\n" << table << std::flush;
  if (const char* file = std::getenv("PAGETAP_BENCH_ROWS"); file != nullptr && *file != '\0') {
    std::ofstream(file, std::ios::app) << table;
  }
}

}  // namespace pagetap::bench
