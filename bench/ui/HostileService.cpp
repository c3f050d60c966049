#include "bench/ui/HostileService.h"

#include "demo/Pictures.h"
#include "tests/support/Compression.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <json/value.h>
#include <json/writer.h>

#include <memory>
#include <string>
#include <vector>

namespace pagetap::bench {
namespace {

constexpr const char* kUntouched = "application/octet-stream";  // httplib never compresses it

std::string Text(const Json::Value& document) {
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  writer["emitUTF8"] = true;
  return Json::writeString(writer, document);
}

// `users` users, user i's picture at "<pictures>/<i>.mov.3in1.jpg".
Json::Value TopList(int users, const std::string& pictures) {
  Json::Value root(Json::objectValue);
  Json::Value& list = root["video_list"] = Json::Value(Json::arrayValue);
  for (int user = 0; user < users; ++user) {
    Json::Value element(Json::objectValue);
    element["nickname"] = "user " + std::to_string(user);
    element["blog_id"] = "b" + std::to_string(user);
    element["video_desc"] = "the top video of user " + std::to_string(user);
    element["video_screenshots"] = pictures + "/" + std::to_string(user) + ".";
    list.append(element);
  }
  return root;
}

// A progressive JPEG of gradients with some grain, as a large photograph is.
std::string ProgressiveJpeg(int width, int height, int grain) {
  QImage image(width, height, QImage::Format_RGB32);
  QRandomGenerator noise(11);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int n = grain ? static_cast<int>(noise.bounded(grain)) : 0;
      line[x] =
          qRgb((x * 255 / width + n) & 255, (y * 255 / height + n) & 255, ((x ^ y) + n) & 255);
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(80);
  writer.setProgressiveScanWrite(true);
  writer.write(image);
  return bytes.toStdString();
}

// `megabytes` of numbered short lines.
std::string ShortLines(std::size_t megabytes) {
  std::string text;
  text.reserve(megabytes << 20);
  for (std::size_t line = 0; text.size() < (megabytes << 20); ++line) {
    text += "line " + std::to_string(line) + " of a long response\r\n";
  }
  return text;
}

}  // namespace

HostileService::HostileService() {
  const std::string base = m_server.BaseUrl();
  httplib::Server& routes = m_server.Routes();

  ServeTopList("ok", Text(TopList(20, base + "/ok/pictures")));
  ServePictures("ok", pagetap::demo::MakePicture(1), "");

  Json::Value with_long = TopList(20, base + "/ok/pictures");
  std::string megabyte;
  while (megabyte.size() < (1u << 20)) megabyte += "\xE4\xB8\xAD";  // one CJK character
  Json::Value long_user(Json::objectValue);
  long_user["nickname"] = megabyte;
  long_user["blog_id"] = "long";
  long_user["video_desc"] = megabyte;
  long_user["video_screenshots"] = base + "/ok/pictures/long.";
  with_long["video_list"].append(long_user);
  ServeTopList("nickname", Text(with_long));

  const std::string inner = pagetap::test::GzipOfRepeats(std::size_t{2} << 30, ' ');
  const auto nested = std::make_shared<const std::string>(pagetap::test::GzipCompress(inner));
  routes.Get("/nested/top_video", [nested](const httplib::Request&, httplib::Response& response) {
    response.set_header("Content-Encoding", "gzip, gzip");
    response.set_content(*nested, kUntouched);
  });

  routes.Get("/endless/top_video", [](const httplib::Request&, httplib::Response& response) {
    response.set_chunked_content_provider(
        kUntouched, [](std::size_t offset, httplib::DataSink& sink) {
          static const std::string start = "{\"video_list\":[";
          static std::string users;
          if (users.empty()) {
            for (int user = 0; user < 1000; ++user)
              users += "{\"nickname\":\"endless\",\"blog_id\":\"e\"},";
          }
          return offset == 0 ? sink.write(start.data(), start.size())
                             : sink.write(users.data(), users.size());
        });
  });

  std::string tiny = "{\"video_list\":[";
  while (tiny.size() < (4u << 20) - 16) tiny += "{},";
  ServeTopList("tiny", tiny + "{}]}");

  ServeTopList("pictures25", Text(TopList(100, base + "/pictures25/pictures")));
  ServePictures("pictures25", pagetap::demo::MakePicture(2) + std::string(25u << 20, '\0'), "");
  ServeTopList("picturebomb", Text(TopList(100, base + "/picturebomb/pictures")));
  ServePictures("picturebomb", pagetap::test::GzipOfRepeats(std::size_t{1} << 30, '\xFF'), "gzip");

  ServeTopList("bigjpeg", Text(TopList(10, base + "/bigjpeg/pictures")));
  const auto huge = std::make_shared<const std::string>(ProgressiveJpeg(5700, 5700, 0));
  const auto large = std::make_shared<const std::string>(ProgressiveJpeg(3900, 3900, 24));
  routes.Get(R"(/bigjpeg/pictures/(\d+)\.mov\.3in1\.jpg)",
             [huge, large](const httplib::Request& request, httplib::Response& response) {
               const bool even = std::stoi(request.matches[1]) % 2 == 0;
               response.set_content(even ? *huge : *large, "image/jpeg");
             });

  routes.Get("/endlesspages/home_user",
             [](const httplib::Request& request, httplib::Response& response) {
               const int page = std::atoi(request.get_param_value("cursor").c_str());
               Json::Value root(Json::objectValue);
               root["next_cursor"] = std::to_string(page + 1);
               Json::Value& diaries = root["diary_list"] = Json::Value(Json::arrayValue);
               Json::Value diary(Json::objectValue);
               Json::Value& videos = diary["video_list"] = Json::Value(Json::arrayValue);
               for (int video = 0; video < 200; ++video) {
                 const std::string id = std::to_string(page * 200 + video);
                 Json::Value element(Json::objectValue);
                 element["blog_id"] = "p" + id;
                 element["video_intro"] = "video " + id;
                 element["video_screenshot"] = "http://127.0.0.1:1/none/" + id + ".";
                 videos.append(element);
               }
               diaries.append(diary);
               response.set_content(Text(root), "application/json");
             });
  ServeTopList("endlesspages", Text(TopList(1, base + "/ok/pictures")));

  std::string line(1u << 20, ' ');
  for (std::size_t at = 0; at < line.size(); ++at) line[at] = static_cast<char>('!' + at % 90);
  m_server.Serve("/line1mb", std::make_shared<const std::string>(line));
  m_server.Serve("/lines50", std::make_shared<const std::string>(ShortLines(50)));
  m_server.Serve("/lines200", std::make_shared<const std::string>(ShortLines(200)));

  m_server.Start();
}

void HostileService::ServeTopList(const std::string& name, const std::string& json) {
  m_server.Serve("/" + name + "/top_video", std::make_shared<const std::string>(json));
}

void HostileService::ServePictures(const std::string& name, const std::string& bytes,
                                   const std::string& encoding) {
  const auto body = std::make_shared<const std::string>(bytes);
  m_server.Routes().Get("/" + name + R"(/pictures/.*)",
                        [body, encoding](const httplib::Request&, httplib::Response& response) {
                          if (!encoding.empty()) response.set_header("Content-Encoding", encoding);
                          response.set_content(*body, "image/jpeg");
                        });
}

}  // namespace pagetap::bench
