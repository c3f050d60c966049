// MapTopList of a 100-element response into catalogues of 0, 10 000 and 100 000 users. The
// nickname lookup is a hash index, so the time per element should not grow with the catalogue.

#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"

#include <benchmark/benchmark.h>
#include <json/value.h>
#include <json/writer.h>

#include <memory>
#include <string>

namespace {

constexpr int kElements = 100;

Json::Value Element(const std::string& nickname) {
  Json::Value element(Json::objectValue);
  for (const char* key : {"user_id", "username", "avatar", "user_intro", "video_num", "mood", "liked",
                          "blog_id", "video_id", "video_intro", "video_desc", "video_release_time",
                          "video_duration", "s_receive"}) {
    element[key] = std::string(key) + " of " + nickname;
  }
  element["nickname"] = nickname;
  element["video_screenshots"] = "http://pictures.test/2024/05/01/" + nickname + "/abcdefghijklmnopqrstuvwxyz.jpg";
  return element;
}

// Nicknames "<stem><first>" .. "<stem><first + 99>".
std::string Response(const std::string& stem, long first) {
  Json::Value root(Json::objectValue);
  Json::Value& elements = root["video_list"] = Json::Value(Json::arrayValue);
  for (long i = first; i < first + kElements; ++i) elements.append(Element(stem + std::to_string(i)));
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  return Json::writeString(writer, root);
}

// A catalogue after its first fill with `users` users.
std::unique_ptr<UserList> Catalogue(long users) {
  auto list = std::make_unique<UserList>();
  for (long first = 0; first < users; first += kElements) MapTopList(*list, Response("listed ", first));
  list->EndFirstFill();
  return list;
}

// Every element names a new user: lookup and append. The catalogue grows by 100 per iteration.
void MapNewUsers(benchmark::State& state) {
  const auto list = Catalogue(state.range(0));
  long batch = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string text = Response("new ", batch++ * kElements);
    state.ResumeTiming();
    MapTopList(*list, text);
  }
  state.SetItemsProcessed(state.iterations() * kElements);
  state.counters["users_at_end"] = static_cast<double>(list->UserCount());
}

// Every element names a listed user: lookup only, the catalogue stays as it is.
void MapKnownUsers(benchmark::State& state) {
  const auto list = Catalogue(state.range(0));
  const std::string text = Response("listed ", 0);
  for (auto _ : state) MapTopList(*list, text);
  state.SetItemsProcessed(state.iterations() * kElements);
}

BENCHMARK(MapNewUsers)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(MapKnownUsers)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
