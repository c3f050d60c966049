// MapTopList of a 100-element response of new users into catalogues of 0, 10 000, 100 000 and
// 1 000 000 users. The nickname lookup is a hash index, so the time per element should not
// grow with the catalogue: at 1 000 000 users it may be at most 1.5 times what it is at 0.

#include "bench/support/Figures.h"
#include "bench/support/Rows.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "tests/support/ServiceDocuments.h"

#include <benchmark/benchmark.h>
#include <json/value.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kElements = 100;

// Every key as text, as the tests' top-list elements have them, with a longer screenshot address.
Json::Value Element(const std::string& nickname) {
  Json::Value element = pagetap::test::TopListElement(nickname, "blog_id of " + nickname);
  element["video_screenshots"] =
      "http://pictures.test/2024/05/01/" + nickname + "/abcdefghijklmnopqrstuvwxyz.jpg";
  return element;
}

// Nicknames "<stem><first>" .. "<stem><first + 99>".
std::string Response(const std::string& stem, long first) {
  std::vector<Json::Value> elements;
  for (long i = first; i < first + kElements; ++i) {
    elements.push_back(Element(stem + std::to_string(i)));
  }
  return pagetap::test::TopListText(elements);
}

// A catalogue after its first fill with `users` users.
std::unique_ptr<UserList> Catalogue(long users) {
  // Far more users than a catalogue of the program may hold: what is measured is the mapping.
  auto list = std::make_unique<UserList>(CatalogueBounds{SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX});
  for (long first = 0; first < users; first += kElements)
    MapTopList(*list, Response("listed ", first));
  list->EndFirstFill();
  return list;
}

// Every element names a new user: lookup and append. The catalogue grows by 100 per iteration.
// Catalogues are kept to the end of the process, so that every new record lands in memory the
// process has not used before, as in a catalogue that grows; the one of a million users takes
// most of a minute to build, so it is built once and grows over the repetitions.
void MapNewUsers(benchmark::State& state, long users) {
  static std::vector<std::unique_ptr<UserList>> kept;
  static long batch = 0;  // new nicknames never repeat
  if (kept.empty() || users < 1000000) kept.push_back(Catalogue(users));
  UserList& list = *kept.back();
  for (auto _ : state) {
    state.PauseTiming();
    const std::string text = Response("new ", batch++ * kElements);
    state.ResumeTiming();
    MapTopList(list, text);
  }
  state.SetItemsProcessed(state.iterations() * kElements);
  state.counters["users_at_end"] = static_cast<double>(list.UserCount());
}

constexpr long kSizes[] = {0, 10000, 100000, 1000000};
constexpr int kRepetitions = 5;
constexpr const char* kFigurePrefix = "seconds per batch: ";

// Runs the benchmark for one catalogue size in this process and prints its figure.
int MeasureOneSize(int argc, char** argv, long users) {
  using namespace pagetap::bench;
  InitializeBenchmarks(&argc, argv);
  const std::string name = "MapNewUsers/" + std::to_string(users);
  benchmark::RegisterBenchmark(name.c_str(), MapNewUsers, users)
      ->Iterations(50)
      ->Repetitions(kRepetitions)
      ->Unit(benchmark::kMicrosecond);
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();
  if (const auto seconds = figures.Seconds(name)) std::printf("%s%.9f\n", kFigurePrefix, *seconds);
  return 0;
}

// Runs this program again for `users`, passing its output on; the figure it printed.
std::optional<double> MeasureInChild(const char* program, long users) {
  const std::string command = std::string("'") + program + "' --users=" + std::to_string(users);
  FILE* child = popen(command.c_str(), "r");
  if (child == nullptr) return std::nullopt;
  std::optional<double> figure;
  char line[4096];
  while (std::fgets(line, sizeof line, child) != nullptr) {
    std::fputs(line, stdout);
    if (const char* found = std::strstr(line, kFigurePrefix)) {
      figure = std::strtod(found + std::strlen(kFigurePrefix), nullptr);
    }
  }
  std::fflush(stdout);
  if (pclose(child) != 0) return std::nullopt;
  return figure;
}

}  // namespace

// Each catalogue size is measured in a fresh process of its own (this program with --users=N),
// so that no size inherits the memory another one left behind.
int main(int argc, char** argv) {
  using namespace pagetap::bench;
  if (argc > 1 && std::strncmp(argv[1], "--users=", 8) == 0) {
    const long users = std::atol(argv[1] + 8);
    argv[1] = argv[0];
    return MeasureOneSize(argc - 1, argv + 1, users);
  }
  std::map<long, std::optional<double>> seconds;
  for (const long users : kSizes) seconds[users] = MeasureInChild(argv[0], users);

  const auto empty = seconds[0];
  std::vector<Row> rows;
  for (const long users : kSizes) {
    const auto measured = seconds[users];
    const auto ratio = Ratio(measured, empty);
    const bool goal = users == 1000000;
    rows.push_back({"`MapTopList`, 100 new users into a catalogue of " + std::to_string(users) +
                        " users: time per element (median of " + std::to_string(kRepetitions) + ")",
                    measured ? Fixed(*measured / kElements * 1e6, 2) + " µs" : "failed",
                    empty ? "at 0 users: " + Fixed(*empty / kElements * 1e6, 2) + " µs" : "failed",
                    RatioText(ratio, 2), goal ? "ratio ≤ 1.5" : "— (for reference)",
                    goal ? Verdict(ratio, 1.5, true) : "—",
                    users == 0 ? "`build/bench/bench/catalogue_bench --users=0`"
                               : "`build/bench/bench/catalogue_bench --users=0` and `--users=" +
                                     std::to_string(users) + "`"});
  }
  PublishRows(rows);
  return 0;
}
