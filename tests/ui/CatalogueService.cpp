#include "tests/ui/CatalogueService.h"

#include "tests/support/ServiceDocuments.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>

namespace pagetap::test {
namespace {

constexpr int kPageSize = 4;
constexpr int kNewcomers = 2;

ServedPicture MakePicture(int number) {
  ServedPicture picture{{},
                        QColor::fromHsv(number * 47 % 360, 200, 230),
                        QColor::fromHsv((number * 47 + 160) % 360, 160, 120)};
  QImage image(96, 32, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(0, 0, 48, 32, picture.m_left);
  painter.fillRect(48, 0, 48, 32, picture.m_right);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 95);
  // A JPEG ends at its end marker; readers leave what follows alone.
  bytes.append(QByteArray(number % 7 * 1024 + number * 13 % 1000, '\0'));
  picture.m_bytes = bytes.toStdString();
  return picture;
}

}  // namespace

void Gate::Shut() {
  const std::lock_guard lock(m_mutex);
  m_open = false;
}

void Gate::Open() {
  {
    const std::lock_guard lock(m_mutex);
    m_open = true;
  }
  m_opened.notify_all();
}

void Gate::Pass() {
  std::unique_lock lock(m_mutex);
  ++m_waiting;
  m_opened.wait_for(lock, std::chrono::seconds(30), [this] { return m_open; });
  --m_waiting;
}

std::size_t Gate::Waiting() const {
  const std::lock_guard lock(m_mutex);
  return m_waiting;
}

CatalogueService::CatalogueService() {
  int number = 0;
  for (int user = 0; user < kUsers + kNewcomers; ++user) {
    m_pictures.emplace_back();
    for (int video = 0; video < VideoCount(user); ++video) {
      m_pictures.back().push_back(MakePicture(++number));
      m_pictures_by_blog_id[BlogId(user, video)] = {user, video};
    }
  }
  // Every request waiting at a gate keeps a server thread, so there are enough for many held
  // requests at once beside the ones that go through.
  m_server.Routes().new_task_queue = [] { return new httplib::ThreadPool(kRequestsAtOnce); };
  m_server.Routes().Get("/top_video", [this](const httplib::Request&, httplib::Response& response) {
    ServeTopList(response);
  });
  m_server.Routes().Get("/home_user",
                        [this](const httplib::Request& request, httplib::Response& response) {
                          ServeUserPage(request, response);
                        });
  m_server.Routes().Get(R"(/shots/.+)",
                        [this](const httplib::Request& request, httplib::Response& response) {
                          ServePicture(request, response);
                        });
  // The broken user's addresses: an empty answer, whichever way they are cut.
  m_server.Routes().Get(R"(/broken/.+)", [](const httplib::Request&, httplib::Response& response) {
    response.status = 404;
  });
  m_server.Start();
}

CatalogueService::~CatalogueService() { OpenGates(); }

void CatalogueService::OpenGates() {
  for (Gate* gate : {&m_top_list_gate, &m_user_pages_gate, &m_pictures_gate, &m_late_gate}) {
    gate->Open();
  }
}

std::string CatalogueService::Nickname(int user) {
  if (user == 1) return "小明 & co";
  if (user >= kUsers) return "newcomer " + std::to_string(user - kUsers + 1);
  return (user < 10 ? "user 0" : "user ") + std::to_string(user);
}

std::string CatalogueService::BlogId(int user, int video) {
  return "b" + std::to_string(user) + (video == 0 ? "" : "-" + std::to_string(video));
}

int CatalogueService::VideoCount(int user) { return user == kProlificUser ? 22 : 5; }

const ServedPicture& CatalogueService::Picture(int user, int video) const {
  return m_pictures.at(static_cast<std::size_t>(user)).at(static_cast<std::size_t>(video));
}

std::vector<RecordedRequest> CatalogueService::Requests(const std::string& prefix) const {
  std::vector<RecordedRequest> requests = m_server.Requests();
  std::erase_if(requests,
                [&](const RecordedRequest& request) { return !request.path.starts_with(prefix); });
  return requests;
}

std::string CatalogueService::Screenshot(int user, int video) const {
  // The first "." at index 30 or later ends "shot."; the 72-byte cut falls in the zeros.
  if (user == kBrokenUser && video == 0)
    return BaseUrl() + "/broken/shot." + std::string(60, '0') + ".jpg";
  return BaseUrl() + "/shots/" + BlogId(user, video) + ".";
}

void CatalogueService::ServeTopList(httplib::Response& response) {
  m_top_list_gate.Pass();
  int request = 0;
  {
    const std::lock_guard lock(m_mutex);
    request = ++m_top_list_requests;
  }
  std::vector<Json::Value> elements;
  for (int user = 0; user < kUsers + (request > 1 ? kNewcomers : 0); ++user) {
    Json::Value element = TopListElement(Nickname(user), BlogId(user, 0));
    element["video_screenshots"] = Screenshot(user, 0);
    elements.push_back(element);
  }
  response.set_content(TopListText(elements), "application/json");
}

// Pages by cursor "1", "2", ...; the first page repeats the top list's video.
void CatalogueService::ServeUserPage(const httplib::Request& request, httplib::Response& response) {
  m_user_pages_gate.Pass();
  int user = 0;
  while (user < kUsers + kNewcomers && Nickname(user) != request.get_param_value("nickname"))
    ++user;
  const int page = request.has_param("cursor") ? std::stoi(request.get_param_value("cursor")) : 0;
  const int first = page * kPageSize;
  const int end = user < kUsers + kNewcomers ? std::min(first + kPageSize, VideoCount(user)) : 0;
  std::vector<Json::Value> videos;
  for (int video = first; video < end; ++video) {
    Json::Value element = PageVideo(BlogId(user, video));
    element["video_screenshot"] = Screenshot(user, video);
    videos.push_back(element);
  }
  const bool more = end > 0 && end < VideoCount(user);
  response.set_content(UserPageText(more ? std::to_string(page + 1) : "", {videos}),
                       "application/json");
}

void CatalogueService::ServePicture(const httplib::Request& request, httplib::Response& response) {
  m_pictures_gate.Pass();
  constexpr std::string_view kSuffix = ".mov.3in1.jpg";
  std::string blog_id = request.path.substr(std::string("/shots/").size());
  if (!blog_id.ends_with(kSuffix)) {
    response.status = 404;
    return;
  }
  blog_id.resize(blog_id.size() - kSuffix.size());
  const auto found = m_pictures_by_blog_id.find(blog_id);
  if (found == m_pictures_by_blog_id.end()) {
    response.status = 404;
    return;
  }
  const auto [user, video] = found->second;
  if (user == kProlificUser && video >= kFirstLateVideo) m_late_gate.Pass();
  response.set_content(Picture(user, video).m_bytes, "image/jpeg");
}

}  // namespace pagetap::test
