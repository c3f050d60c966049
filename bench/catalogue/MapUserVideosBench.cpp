// MapUserVideos of a 10 MiB page of one user's videos, against JsonCpp parsing the same text
// alone: the mapping may take at most 1.25 times the parse (at least 0.8 of its speed).

#include "bench/support/Figures.h"
#include "bench/support/Rows.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "catalogue/UserPageMapping.h"

#include <benchmark/benchmark.h>
#include <json/reader.h>
#include <json/value.h>
#include <json/writer.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

using namespace pagetap::bench;

constexpr std::size_t kPageBytes = std::size_t{10} << 20;
constexpr int kRepetitions = 9;

// A user page as the video service sends it: plain UTF-8, one diary per day, each holding that
// day's videos, every video with a new blog id.
std::string UserPage() {
  Json::Value root(Json::objectValue);
  root["next_cursor"] = "1719619200";
  Json::Value& diaries = root["diary_list"] = Json::Value(Json::arrayValue);
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  writer["emitUTF8"] = true;
  std::size_t bytes = 0;
  for (int video = 0; bytes < kPageBytes; ++video) {
    if (video % 8 == 0) {
      diaries.append(Json::Value(Json::objectValue));
      diaries[diaries.size() - 1]["video_list"] = Json::Value(Json::arrayValue);
    }
    const std::string id = std::to_string(1'000'000 + video);
    Json::Value element(Json::objectValue);
    element["blog_id"] = "b" + id;
    element["video_id"] = "v" + id;
    element["video_screenshot"] =
        "http://pictures.example.test/2024/06/30/user/" + id + "/abcdefghijklmnop.jpg";
    element["video_intro"] = "第" + id + "个视频：今天的天气很好，我们一起去公园散步。";
    bytes += Json::writeString(writer, element).size() + 1;
    diaries[diaries.size() - 1]["video_list"].append(element);
  }
  return Json::writeString(writer, root);
}

// A catalogue holding the one user whose page it is, with the video the top list named.
std::unique_ptr<UserList> OneUser() {
  // More videos than one user of the program may hold: what is measured is the mapping.
  auto list = std::make_unique<UserList>(CatalogueBounds{SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX});
  MapTopList(*list,
             R"({"video_list":[{"nickname":"someone","blog_id":"top","video_screenshots":"x"}]})");
  list->EndFirstFill();
  return list;
}

void MapVideos(benchmark::State& state, const std::string& page) {
  std::size_t videos = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto list = OneUser();
    state.ResumeTiming();
    MapUserVideos(*list, 0, page);
    state.PauseTiming();
    videos = list->VideoCount(0) - 1;
    list.reset();
    state.ResumeTiming();
  }
  state.counters["videos"] = static_cast<double>(videos);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void ParseOnly(benchmark::State& state, const std::string& page) {
  const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
  for (auto _ : state) {
    Json::Value root;
    std::string errors;
    if (!reader->parse(page.data(), page.data() + page.size(), &root, &errors)) {
      state.SkipWithError("the page does not parse");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

}  // namespace

int main(int argc, char** argv) {
  InitializeBenchmarks(&argc, argv);
  const std::string page = UserPage();
  for (auto* bench :
       {benchmark::RegisterBenchmark("UserPage10MiB/MapUserVideos", MapVideos, page),
        benchmark::RegisterBenchmark("UserPage10MiB/JsonCpp_parse", ParseOnly, page)}) {
    bench->Iterations(2)->Repetitions(kRepetitions)->UseRealTime()->Unit(benchmark::kMillisecond);
  }
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  const auto mapping = figures.Seconds("UserPage10MiB/MapUserVideos");
  const auto parse = figures.Seconds("UserPage10MiB/JsonCpp_parse");
  const auto videos = figures.Counter("UserPage10MiB/MapUserVideos", "videos");
  const auto ratio = Ratio(parse, mapping);  // speed over speed
  PublishRows({{
      "`MapUserVideos` of a 10 MiB user page (" +
          (videos ? std::to_string(static_cast<long>(*videos)) : std::string("?")) +
          " videos), into a catalogue without them (median of " + std::to_string(kRepetitions) +
          ")",
      mapping ? MegabytesPerSecond(static_cast<double>(page.size()), *mapping) + " (" +
                    Milliseconds(*mapping) + ")"
              : "failed: " + figures.Error("UserPage10MiB/MapUserVideos"),
      parse ? "JsonCpp `CharReader::parse` alone: " +
                  MegabytesPerSecond(static_cast<double>(page.size()), *parse) + " (" +
                  Milliseconds(*parse) + ")"
            : "failed: " + figures.Error("UserPage10MiB/JsonCpp_parse"),
      RatioText(ratio, 2),
      "speed ratio ≥ 0.8",
      Verdict(ratio, 0.8, false),
      BenchCommand("user_page_bench"),
  }});
  return 0;
}
